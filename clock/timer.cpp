// Periodic timer element.
#include "clock/timer.h"

#include "app/failure.h"

TTimer::TTimer()
    : window_("HoraletTimerWindow",
              [this](UINT message, WPARAM, LPARAM, LRESULT& result) { return HandleMessage(message, result); })
{
}

TTimer::~TTimer()
{
    try {
        SetEnabled(false);
    } catch (...) {
        // Switching off only kills the timer; it cannot be refused.
    }
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t interval)
{
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    KillTimer(window_.Handle(), kTimerId);
    running_ = false;
    if (interval_ != 0 && enabled_ && onTimer_) {
        if (!SetTimer(window_.Handle(), kTimerId, interval_, nullptr))
            throw ResourceError("Not enough timers available");
        running_ = true;
    }
}

bool TTimer::HandleMessage(UINT message, LRESULT& result)
{
    if (message != WM_TIMER) return false;
    // The window's guard reports a failure of the handler; the timer goes on.
    if (onTimer_) onTimer_(this);
    result = 0;
    return true;
}
