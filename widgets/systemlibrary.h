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

// Limits every later library search of the process to the system folder, where the
// platform offers that; the program loads nothing from its own folder.
void RestrictSearchToSystemFolder();

// Registers the platform's controls the widgets use (buttons, fields, lists, spinners), once.
void LoadCommonControls();
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id);
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI ChooseFontA(LPCHOOSEFONTA record);
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parameters);
BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT size);
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
// What a screen reader is answered with (oleacc, ole32, oleaut32), loaded when one first asks.
HRESULT CoInitializeEx(LPVOID reserved, DWORD mode);
LRESULT LresultFromObject(REFIID iid, WPARAM wParam, LPUNKNOWN object);
HRESULT CreateStdAccessibleObject(HWND window, LONG id, REFIID iid, void** object);
HRESULT AccessibleObjectFromWindow(HWND window, DWORD id, REFIID iid, void** object);
BSTR SysAllocString(const OLECHAR* text);

} // namespace SystemLibrary
