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

TModalScope::TModalScope() : FActive(GetActiveWindow())
{
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&FDisabled));
    for (HWND window : FDisabled) EnableWindow(window, FALSE);
}

TModalScope::~TModalScope()
{
    for (HWND window : FDisabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (FActive && IsWindow(FActive)) SetActiveWindow(FActive);
}
