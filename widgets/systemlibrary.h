// The functions the program takes from the system libraries that are not loaded ahead of
// the exe's own folder (comctl32, comdlg32, winmm). A program unzipped into a downloads
// folder would otherwise load a winmm.dll lying beside it. These load each library from
// the system folder only, at the first call, and then call the system's function as it is.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>

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

} // namespace SystemLibrary
