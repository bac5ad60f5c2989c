// The functions the program takes from the system libraries that are not loaded ahead of
// the exe's own folder (comctl32, comdlg32, winmm). A program unzipped into a downloads
// folder would otherwise load a winmm.dll lying beside it. These load each library from
// the system folder only, at the first call, and then call the system's function as it is.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <oleacc.h>

namespace SystemLibrary {

// The address of name in library, the library loaded from the system folder only; fails with
// "Cannot load <library>" or "Cannot find <name> in <library>".
void (*Find(const char* library, const char* name))();

// A system function called as the system's own, looked up by its name at the first call.
template <typename TFunction>
class TSystemFunction {
public:
    constexpr TSystemFunction(const char* library, const char* name) : FLibrary(library), FName(name) {}
    template <typename... TArguments>
    auto operator()(TArguments... arguments)
    {
        if (!FFunction) FFunction = reinterpret_cast<TFunction>(Find(FLibrary, FName));
        return FFunction(arguments...);
    }

private:
    const char* FLibrary;
    const char* FName;
    TFunction FFunction = nullptr;
};

#define HORALET_SYSTEM_FUNCTION(name) extern TSystemFunction<decltype(&::name)> name

// Limits every later library search of the process to the system folder, where the
// platform offers that; the program loads nothing from its own folder.
void RestrictSearchToSystemFolder();

// Registers the platform's controls the widgets use (buttons, fields, lists, spinners), once.
void LoadCommonControls();
HORALET_SYSTEM_FUNCTION(SetWindowSubclass);
HORALET_SYSTEM_FUNCTION(RemoveWindowSubclass);
HORALET_SYSTEM_FUNCTION(DefSubclassProc);
// The font chooser's, as a function: tests put another in its place.
BOOL WINAPI ChooseFontA(LPCHOOSEFONTA record);
HORALET_SYSTEM_FUNCTION(mciSendCommandA);
HORALET_SYSTEM_FUNCTION(mciGetErrorStringA);
HORALET_SYSTEM_FUNCTION(PlaySoundA);
// What a screen reader is answered with (oleacc, ole32, oleaut32), loaded when one first asks.
HORALET_SYSTEM_FUNCTION(CoInitializeEx);
HORALET_SYSTEM_FUNCTION(LresultFromObject);
HORALET_SYSTEM_FUNCTION(CreateStdAccessibleObject);
HORALET_SYSTEM_FUNCTION(AccessibleObjectFromWindow);
HORALET_SYSTEM_FUNCTION(SysAllocString);

#undef HORALET_SYSTEM_FUNCTION

} // namespace SystemLibrary
