// Periodic timer element.
#include "clock/periodictimer.h"

#include "app/failure.h"

TPeriodicTimer::TPeriodicTimer()
    : window_("HoraletTimerWindow",
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
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TPeriodicTimer::SetInterval(uint32_t interval)
{
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TPeriodicTimer::SetOnTimer(TEventHandler handler)
{
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TPeriodicTimer::UpdateTimer()
{
    KillTimer(window_.Handle(), kTimerId);
    running_ = false;
    if (interval_ != 0 && enabled_ && onTimer_) {
        if (!SetTimer(window_.Handle(), kTimerId, interval_, nullptr))
            throw ResourceError("Not enough timers available");
        running_ = true;
    }
}

bool TPeriodicTimer::HandleMessage(UINT message, LRESULT& result)
{
    if (message != WM_TIMER) return false;
    // The window's guard reports a failure of the handler; the timer goes on.
    if (onTimer_) onTimer_(this);
    result = 0;
    return true;
}
