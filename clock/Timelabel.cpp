// The clock label.
#include "clock/Timelabel.h"

#include "clock/localetime.h"

void TTimelabel::Loaded()
{
    TLabel::Loaded();
    FTimer = std::make_unique<TPeriodicTimer>();
    FTimer->SetInterval(450);
    // The handler is the last thing missing, so the timer starts here.
    FTimer->SetOnTimer([this](void* sender) { UpdateTime(sender); });
    FTimer->SetEnabled(true);
}

void TTimelabel::UpdateTime(void*)
{
    SetCaption(FormatTimeText(CurrentTimeOfDay()));
}
