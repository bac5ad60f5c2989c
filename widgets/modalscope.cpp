// Modal for the whole program.
#include "widgets/modalscope.h"

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

ModalScope::ModalScope() : active_(GetActiveWindow())
{
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled_));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

ModalScope::~ModalScope()
{
    for (HWND window : disabled_)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
}
