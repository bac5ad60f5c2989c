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

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t interval);
    // Binding a handler restarts the period, even when it is the same one.
    void SetOnTimer(TEventHandler handler);

    HWND Handle() const { return FWindow.Handle(); }

    static constexpr UINT_PTR kTimerId = 1;

private:
    void UpdateTimer();
    bool HandleMessage(UINT message, LRESULT& result);

    bool FEnabled = true;
    uint32_t FInterval = 1000;
    TEventHandler FOnTimer;
    TMessageWindow FWindow;
};
