// A window without controls that only receives messages: timers, the popup menus, the taskbar entry.
#pragma once

#include <windows.h>

#include <functional>

class TMessageWindow {
public:
    // Returns true when it handled the message and set the result.
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    struct TOptions {
        DWORD Style = WS_POPUP;
        DWORD ExStyle = 0;
        HWND Parent = HWND_MESSAGE;
        const char* Caption = "";
        RECT Rect{0, 0, 0, 0};
    };

    TMessageWindow(const char* className, Handler handler);
    TMessageWindow(const char* className, Handler handler, const TOptions& options);
    TMessageWindow(const TMessageWindow&) = delete;
    TMessageWindow& operator=(const TMessageWindow&) = delete;
    ~TMessageWindow();

    HWND Handle() const { return FHandle; }

private:
    template <typename TOwner>
    friend LRESULT CALLBACK OwnWindowThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam);

    Handler FHandler;
    HWND FHandle = nullptr;
};
