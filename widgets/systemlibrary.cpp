// The system libraries the program does not import: loaded from the system folder, when first needed.
#include "widgets/systemlibrary.h"

#include <string>

#include "app/failure.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

HMODULE LoadFromSystemFolder(const char* library)
{
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        // A Windows without the search flags: the library by its full name in the system folder.
        char folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) module = LoadLibraryA((std::string(folder) + "\\" + library).c_str());
    }
    if (!module) throw TResourceError(std::string("Cannot load ") + library);
    return module;
}

} // namespace

namespace SystemLibrary {

void (*Find(const char* library, const char* name))()
{
    const FARPROC found = GetProcAddress(LoadFromSystemFolder(library), name);
    if (!found) throw TResourceError(std::string("Cannot find ") + name + " in " + library);
    return reinterpret_cast<void (*)()>(found);
}

void RestrictSearchToSystemFolder()
{
    // Already loaded, and not there before Windows 8 without an update: looked up, not loaded.
    const FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found)
        reinterpret_cast<BOOL(WINAPI*)(DWORD)>(reinterpret_cast<void (*)()>(found))(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void LoadCommonControls()
{
    static bool loaded = false;
    if (loaded) return;
    static TSystemFunction<decltype(&::InitCommonControlsEx)> initCommonControlsEx("comctl32.dll",
                                                                                   "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    initCommonControlsEx(&controls);
    loaded = true;
}

BOOL WINAPI ChooseFontA(LPCHOOSEFONTA record)
{
    static TSystemFunction<decltype(&::ChooseFontA)> chooseFont("comdlg32.dll", "ChooseFontA");
    return chooseFont(record);
}

#define HORALET_SYSTEM_FUNCTION(library, name) TSystemFunction<decltype(&::name)> name(library, #name)

HORALET_SYSTEM_FUNCTION("comctl32.dll", SetWindowSubclass);
HORALET_SYSTEM_FUNCTION("comctl32.dll", RemoveWindowSubclass);
HORALET_SYSTEM_FUNCTION("comctl32.dll", DefSubclassProc);
HORALET_SYSTEM_FUNCTION("winmm.dll", mciSendCommandA);
HORALET_SYSTEM_FUNCTION("winmm.dll", mciGetErrorStringA);
HORALET_SYSTEM_FUNCTION("winmm.dll", PlaySoundA);
HORALET_SYSTEM_FUNCTION("ole32.dll", CoInitializeEx);
HORALET_SYSTEM_FUNCTION("oleacc.dll", LresultFromObject);
HORALET_SYSTEM_FUNCTION("oleacc.dll", CreateStdAccessibleObject);
HORALET_SYSTEM_FUNCTION("oleacc.dll", AccessibleObjectFromWindow);
HORALET_SYSTEM_FUNCTION("oleaut32.dll", SysAllocString);

} // namespace SystemLibrary
