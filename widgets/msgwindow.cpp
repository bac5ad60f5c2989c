// A window that only receives messages, each handled under the failure guard.
#include "widgets/msgwindow.h"

#include "app/failure.h"
#include "app/guard.h"
#include "widgets/element.h"
#include "widgets/windowthunk.h"

TMessageWindow::TMessageWindow(const char* className, Handler handler)
    : TMessageWindow(className, std::move(handler), TOptions{})
{
}

TMessageWindow::TMessageWindow(const char* className, Handler handler, const TOptions& options)
    : FHandler(std::move(handler))
{
    RegisterOwnClass(className, OwnWindowThunk<TMessageWindow>, nullptr);
    const RECT& r = options.Rect;
    CreateWindowExA(options.ExStyle, className, options.Caption, options.Style, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, options.Parent, nullptr, GetModuleHandleA(nullptr), this);
    if (!FHandle) throw TResourceError("Error creating window");
}

TMessageWindow::~TMessageWindow()
{
    if (FHandle) DestroyWindow(FHandle);
}

LRESULT TMessageWindow::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    bool handled = false;
    if (!Guarded([&] { handled = FHandler(message, wParam, lParam, result); })) return 0;
    return handled ? result : DefWindowProcA(FHandle, message, wParam, lParam);
}
