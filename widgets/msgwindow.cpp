// A window that only receives messages, each handled under the failure guard.
#include "widgets/msgwindow.h"

#include "app/failure.h"
#include "app/guard.h"
#include "widgets/element.h"

TMessageWindow::TMessageWindow(const char* className, Handler handler)
    : TMessageWindow(className, std::move(handler), TOptions{})
{
}

TMessageWindow::TMessageWindow(const char* className, Handler handler, const TOptions& options)
    : FHandler(std::move(handler))
{
    RegisterOwnClass(className, Thunk, nullptr);
    const RECT& r = options.Rect;
    CreateWindowExA(options.ExStyle, className, options.Caption, options.Style, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, options.Parent, nullptr, GetModuleHandleA(nullptr), this);
    if (!FHandle) throw TResourceError("Error creating window");
}

TMessageWindow::~TMessageWindow()
{
    if (FHandle) DestroyWindow(FHandle);
}

LRESULT CALLBACK TMessageWindow::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TMessageWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->FHandle = hwnd;
    }
    auto* self = reinterpret_cast<TMessageWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->FHandle = nullptr;
        self = nullptr;
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    bool handled = false;
    if (!Guarded([&] { handled = self->FHandler(message, wParam, lParam, result); })) return 0;
    return handled ? result : DefWindowProcA(hwnd, message, wParam, lParam);
}
