// Makes a box or dialog modal for the whole program: while it is open, the thread's visible
// and enabled top-level windows are disabled; afterwards those that still exist are enabled
// again and the window that was active before is activated.
#pragma once

#include <windows.h>

#include <vector>

class ModalScope {
public:
    ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    ~ModalScope();

private:
    HWND active_;
    std::vector<HWND> disabled_;
};
