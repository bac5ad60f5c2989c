// System libraries loaded from the system folder.
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

// The function name of library, loaded once and kept for the run.
template <typename Function>
Function Resolve(const char* library, const char* name)
{
    const FARPROC found = GetProcAddress(LoadFromSystemFolder(library), name);
    if (!found) throw TResourceError(std::string("Cannot find ") + name + " in " + library);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

#define SYSTEM_FUNCTION(library, name) static const auto function = Resolve<decltype(&::name)>(library, #name)

} // namespace

namespace SystemLibrary {

void RestrictSearchToSystemFolder()
{
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found) reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(found))(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void LoadCommonControls()
{
    static bool loaded = false;
    if (loaded) return;
    SYSTEM_FUNCTION("comctl32.dll", InitCommonControlsEx);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    function(&controls);
    loaded = true;
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data)
{
    SYSTEM_FUNCTION("comctl32.dll", SetWindowSubclass);
    return function(window, proc, id, data);
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id)
{
    SYSTEM_FUNCTION("comctl32.dll", RemoveWindowSubclass);
    return function(window, proc, id);
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SYSTEM_FUNCTION("comctl32.dll", DefSubclassProc);
    return function(window, message, wParam, lParam);
}

BOOL WINAPI ChooseFontA(LPCHOOSEFONTA record)
{
    SYSTEM_FUNCTION("comdlg32.dll", ChooseFontA);
    return function(record);
}

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parameters)
{
    SYSTEM_FUNCTION("winmm.dll", mciSendCommandA);
    return function(device, command, flags, parameters);
}

BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT size)
{
    SYSTEM_FUNCTION("winmm.dll", mciGetErrorStringA);
    return function(error, text, size);
}

BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags)
{
    SYSTEM_FUNCTION("winmm.dll", PlaySoundA);
    return function(sound, module, flags);
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD mode)
{
    SYSTEM_FUNCTION("ole32.dll", CoInitializeEx);
    return function(reserved, mode);
}

LRESULT LresultFromObject(REFIID iid, WPARAM wParam, LPUNKNOWN object)
{
    SYSTEM_FUNCTION("oleacc.dll", LresultFromObject);
    return function(iid, wParam, object);
}

HRESULT CreateStdAccessibleObject(HWND window, LONG id, REFIID iid, void** object)
{
    SYSTEM_FUNCTION("oleacc.dll", CreateStdAccessibleObject);
    return function(window, id, iid, object);
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD id, REFIID iid, void** object)
{
    SYSTEM_FUNCTION("oleacc.dll", AccessibleObjectFromWindow);
    return function(window, id, iid, object);
}

BSTR SysAllocString(const OLECHAR* text)
{
    SYSTEM_FUNCTION("oleaut32.dll", SysAllocString);
    return function(text);
}

} // namespace SystemLibrary
