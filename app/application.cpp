// The application object.
#include "app/application.h"

#include <vector>

#include "app/failure.h"
#include "app/guard.h"
#include "app/names.h"
#include "clock/localetime.h"
#include "widgets/modalscope.h"

TApplication* Application = nullptr;

namespace {

void PlatformLower(std::string& text)
{
    if (!text.empty()) CharLowerA(&text[0]);
}

std::string ReadTitle()
{
    std::string path = ModuleFileName();
    if (!path.empty()) OemToCharA(path.c_str(), &path[0]);
    return TitleFromModulePath(path, PlatformLower);
}

// Runs show with the system's minimize and restore animation off, if it is on.
template <typename Show>
void WithoutAnimation(Show&& show)
{
    ANIMATIONINFO animation{sizeof animation, 0};
    SystemParametersInfoA(SPI_GETANIMATION, sizeof animation, &animation, 0);
    const bool animated = animation.iMinAnimate != 0;
    if (animated) {
        animation.iMinAnimate = 0;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
    show();
    if (animated) {
        animation.iMinAnimate = 1;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
}

BOOL CALLBACK HideOwnedWindow(HWND window, LPARAM owner)
{
    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(window))
        ShowWindow(window, SW_HIDE);
    return TRUE;
}

} // namespace

std::string ModuleFileName()
{
    // A path that fills the buffer may have been cut: ask again with more room, so that a
    // program deep in a long folder still finds its own name and folder.
    for (DWORD capacity = MAX_PATH + 1;; capacity *= 2) {
        std::vector<char> buffer(capacity, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), capacity);
        if (length < capacity || capacity >= 32768) return std::string(buffer.data(), length);
    }
}

void ReportGuardedFailure(const std::exception& failure)
{
    if (Application) Application->ReportFailure(failure.what());
}

void ReportUnknownFailure()
{
    if (Application) Application->ReportFailure("Unknown failure");
}

TApplication::TApplication() : FTitle(ReadTitle())
{
    // Zero size at the centre of the screen: the window is only there for its taskbar entry.
    TMessageWindow::TOptions options;
    options.Style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
    options.Parent = nullptr;
    options.Caption = FTitle.c_str();
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    options.Rect = {x, y, x, y};
    FWindow = std::make_unique<TMessageWindow>(
        "HoraletApplication",
        [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) { return HandleMessage(message, wParam, result); },
        options);
    // The entry can be minimized and closed, not sized, maximized or moved.
    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(systemMenu, SC_MOVE, MF_BYCOMMAND);
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

TApplication::~TApplication() = default;

bool TApplication::HandleMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_SETTINGCHANGE: ReadTimeTextSettings(); return false;
    case WM_SETFOCUS:
        // Activation gives this window the focus too, so this covers both.
        PassActivation();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            Minimize();
            return true;
        }
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            Restore();
            return true;
        }
        return false;
    case WM_CLOSE:
        // Close on the taskbar entry closes the main window.
        if (FMainWindow) PostMessageA(FMainWindow, WM_CLOSE, 0, 0);
        return true;
    case WM_ENDSESSION:
        if (wParam) EndSession();
        return true;
    }
    return false;
}

void TApplication::PassActivation()
{
    // Not while minimizing, which activates this window on purpose, and not past a box or
    // the font chooser, which disable the main window while they are open.
    if (FMinimizing || !FMainWindow || !IsWindowVisible(FMainWindow) || !IsWindowEnabled(FMainWindow)) return;
    // The main window gives the focus back to the control that had it last.
    SetActiveWindow(FMainWindow);
}

void TApplication::Minimize()
{
    if (IsIconic(Handle())) return;
    // Leaving it, the main window remembers which control had the keyboard.
    FMinimizing = true;
    SetActiveWindow(Handle());
    WithoutAnimation([this] { ShowWindow(Handle(), SW_MINIMIZE); });
    // Windows hides the owned main window with its minimized owner; Wine leaves it up.
    ShowOwnedPopups(Handle(), FALSE);
    FMinimizing = false;
}

void TApplication::Restore()
{
    if (!IsIconic(Handle())) return;
    SetActiveWindow(Handle());
    WithoutAnimation([this] { ShowWindow(Handle(), SW_RESTORE); });
    ShowOwnedPopups(Handle(), TRUE);
    // Active again, the main window gives the focus back to the control that had it last.
    if (FMainWindow) SetActiveWindow(FMainWindow);
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::ReportFailure(const std::string& message)
{
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    const std::string text = message + ".";
    TModalScope modal;
    MessageBoxA(Handle(), text.c_str(), FTitle.c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::Run()
{
    MSG msg;
    for (;;) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TApplication::HideOwnedWindows()
{
    EnumThreadWindows(GetCurrentThreadId(), HideOwnedWindow, reinterpret_cast<LPARAM>(Handle()));
}

void TApplication::EndSession()
{
    HideOwnedWindows();
    if (OnEndSession) OnEndSession();
    ExitProcess(0);
}

void ShowStartupFailure(const std::exception& failure)
{
    const auto* known = dynamic_cast<const TFailure*>(&failure);
    const std::string module = ModuleBaseName(ModuleFileName());
    const std::string text = StartupFailureText(known ? known->Kind() : "Exception", module,
                                                known ? known->Address() : nullptr, failure.what());
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_ICONSTOP | MB_TASKMODAL);
}
