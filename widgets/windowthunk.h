// The one window procedure of our own window classes, which hands each message to its object.
#pragma once

#include <windows.h>

// The object named at creation comes with WM_NCCREATE and is kept in GWLP_USERDATA (a window
// of our own class only) until WM_NCDESTROY, the last message a window gets. Its Route answers
// every message; FHandle holds the window while it exists.
template <typename TOwner>
LRESULT CALLBACK OwnWindowThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TOwner*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->FHandle = hwnd;
    }
    auto* self = reinterpret_cast<TOwner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = self->Route(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->FHandle = nullptr;
    }
    return result;
}
