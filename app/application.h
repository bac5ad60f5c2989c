// The application object: the title, the taskbar window, minimizing, ending and the failure box.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "widgets/msgwindow.h"

class TApplication {
public:
    TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;
    ~TApplication();

    const std::string& Title() const { return FTitle; }
    // The zero-size window that carries the taskbar entry and owns the main window.
    HWND Handle() const { return FWindow->Handle(); }

    void SetMainWindow(HWND window) { FMainWindow = window; }

    void Minimize();
    // Brings a minimized application back, active, with the focus where it was; else does nothing.
    void Restore();
    // Asks the event loop to stop; the end of the run follows.
    void Terminate();
    // Shows message + "." in a stop box owned by the taskbar window; the program goes on.
    void ReportFailure(const std::string& message);

    // Takes messages until the quit request.
    void Run();
    // Hides the windows the taskbar window owns, before the main window is destroyed.
    void HideOwnedWindows();
    // Ends at once, with the clean-up of a normal end (log-off, shutdown).
    void EndSession();

    // What ending at once (log-off, shutdown) does before the process exits with 0.
    std::function<void()> OnEndSession;

private:
    bool HandleMessage(UINT message, WPARAM wParam, LRESULT& result);
    // The taskbar window took the activation or the focus: it hands them to the main window.
    void PassActivation();

    std::string FTitle;
    HWND FMainWindow = nullptr;
    bool FMinimizing = false;
    std::unique_ptr<TMessageWindow> FWindow;
};

// The one application object, alive for the whole run.
extern TApplication* Application;

// The full path of the running executable, however long.
std::string ModuleFileName();

// The box a failure while the main window is built gets; the program then ends with 1.
void ShowStartupFailure(const std::exception& failure);
