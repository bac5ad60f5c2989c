// bareclock: the least a seconds clock can do on this platform, to measure Horalet against.
// A window of Horalet's size shows the local time in the locale's format, from a 450 ms
// timer; the text is drawn once, with one DrawTextA, each time it changes.
#include <windows.h>

#include <cstring>

namespace {

char shown[64] = "";
HFONT font = nullptr;

void Tick(HWND window)
{
    char now[64] = {};
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, now, sizeof now);
    if (std::strcmp(now, shown) == 0) return;
    std::strcpy(shown, now);
    RECT area{16, 16, 227, 40};
    InvalidateRect(window, &area, TRUE);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: Tick(window); return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HGDIOBJ old = SelectObject(dc, font);
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        RECT area{16, 16, 227, 40};
        DrawTextA(dc, shown, -1, &area, DT_LEFT);
        SelectObject(dc, old);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "BareClock";
    RegisterClassA(&windowClass);
    font = CreateFontA(-19, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, DEFAULT_PITCH, "MS Sans Serif");
    HWND window = CreateWindowExA(0, "BareClock", "Bare clock", WS_OVERLAPPEDWINDOW, 255, 140, 243, 185, nullptr,
                                  nullptr, instance, nullptr);
    Tick(window);
    SetTimer(window, 1, 450, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
