// A library planted beside the exe under the name of a system one (winmm.dll, comdlg32.dll,
// comctl32.dll): loaded, it leaves a marker file beside itself, so a test can see that the
// exe took it instead of the system's. Its functions only stand in for the names the exe
// would import; they do nothing.
#include <windows.h>

namespace {

void LeaveMarker(HINSTANCE self)
{
    char path[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    lstrcatA(path, ".loaded");
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}

__declspec(dllexport) LRESULT WINAPI DefSubclassProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}
__declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*)
{
    return FALSE;
}
__declspec(dllexport) BOOL WINAPI RemoveWindowSubclass(HWND, void*, UINT_PTR)
{
    return FALSE;
}
__declspec(dllexport) BOOL WINAPI SetWindowSubclass(HWND, void*, UINT_PTR, DWORD_PTR)
{
    return FALSE;
}
__declspec(dllexport) BOOL WINAPI ChooseFontA(void*)
{
    return FALSE;
}
__declspec(dllexport) DWORD WINAPI mciSendCommandA(UINT, UINT, DWORD_PTR, DWORD_PTR)
{
    return 1;
}
__declspec(dllexport) BOOL WINAPI mciGetErrorStringA(DWORD, LPSTR, UINT)
{
    return FALSE;
}

} // extern "C"
