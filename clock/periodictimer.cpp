// Periodic timer element.
#include "clock/periodictimer.h"

#include "app/failure.h"

TPeriodicTimer::TPeriodicTimer()
    : FWindow("HoraletTimerWindow",
              [this](UINT message, WPARAM, LPARAM, LRESULT& result) { return HandleMessage(message, result); })
{
}

TPeriodicTimer::~TPeriodicTimer()
{
    try {
        SetEnabled(false);
    } catch (...) {
        // Switching off only kills the timer; it cannot be refused.
    }
}

void TPeriodicTimer::SetEnabled(bool enabled)
{
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    UpdateTimer();
}

void TPeriodicTimer::SetInterval(uint32_t interval)
{
    if (interval == FInterval) return;
    FInterval = interval;
    UpdateTimer();
}

void TPeriodicTimer::SetOnTimer(TEventHandler handler)
{
    FOnTimer = std::move(handler);
    UpdateTimer();
}

void TPeriodicTimer::UpdateTimer()
{
    KillTimer(FWindow.Handle(), kTimerId);
    if (FInterval != 0 && FEnabled && FOnTimer && !SetTimer(FWindow.Handle(), kTimerId, FInterval, nullptr))
        throw TResourceError("Not enough timers available");
}

bool TPeriodicTimer::HandleMessage(UINT message, LRESULT& result)
{
    if (message != WM_TIMER) return false;
    // The window's guard reports a failure of the handler; the timer goes on.
    if (FOnTimer) FOnTimer(this);
    result = 0;
    return true;
}
