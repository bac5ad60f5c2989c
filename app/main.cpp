// The program's entry: start-up in its order, the event loop, and the end of the run.
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "app/application.h"
#include "clock/localetime.h"
#include "ui/mytime1.h"
#include "widgets/font.h"
#include "widgets/systemlibrary.h"

// Every handler runs under the failure guard, so nothing reaches std::terminate; should it,
// a window program has nobody to print the runtime's verbose report to. Defining the
// handler here leaves that report, and the name demangler it needs, out of the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before any library is loaded by name: none may come from the exe's own folder.
    SystemLibrary::RestrictSearchToSystemFolder();
    ReadTimeTextSettings();
    ScreenPixelsPerInch();

    TApplication application;
    Application = &application;

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>();
    } catch (const std::exception& failure) {
        // The half-built window is gone with the constructor.
        Form1 = nullptr;
        ShowStartupFailure(failure);
        return 1;
    }
    application.SetMainWindow(form->Handle());
    application.OnEndSession = [&form] { form.reset(); };
    form->Show();

    application.Run();

    application.HideOwnedWindows();
    form.reset();
    Application = nullptr;
    return 0;
}
