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
    // The alarm watch reads the time beside the caption, so the two change together.
    const DateTime now = CurrentTimeOfDay();
    SetCaption(FormatTimeText(now));
    FShownTime = now;
}
