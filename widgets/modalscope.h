// Makes a box or dialog modal for the whole program: while it is open, the thread's visible
// and enabled top-level windows are disabled; afterwards those that still exist are enabled
// again and the window that was active before is activated.
#pragma once

#include <windows.h>

#include <vector>

class TModalScope {
public:
    TModalScope();
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;
    ~TModalScope();

private:
    HWND FActive;
    std::vector<HWND> FDisabled;
};
