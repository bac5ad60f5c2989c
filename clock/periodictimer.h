// Periodic timer element: a period, an on/off switch and a tick handler over a window timer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "widgets/element.h"
#include "widgets/msgwindow.h"

class TPeriodicTimer {
public:
    TPeriodicTimer();
    TPeriodicTimer(const TPeriodicTimer&) = delete;
    TPeriodicTimer& operator=(const TPeriodicTimer&) = delete;
    ~TPeriodicTimer();

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t interval);
    // Binding a handler restarts the period, even when it is the same one.
    void SetOnTimer(TEventHandler handler);

    // Whether a platform timer is running now.
    bool Running() const { return running_; }
    HWND Handle() const { return window_.Handle(); }

    static constexpr UINT_PTR kTimerId = 1;

private:
    void UpdateTimer();
    bool HandleMessage(UINT message, LRESULT& result);

    bool enabled_ = true;
    uint32_t interval_ = 1000;
    TEventHandler onTimer_;
    bool running_ = false;
    TMessageWindow window_;
};
