// The font chooser element: the platform's font dialog, started from the font it holds and,
// when the user confirms, giving the choice back in that font.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "widgets/font.h"

class TFontChooser {
public:
    explicit TFontChooser(const TFont& font) : Font(font) {}
    TFontChooser(const TFontChooser&) = delete;
    TFontChooser& operator=(const TFontChooser&) = delete;

    // Shows the dialog, modal for the whole program and owned by owner, centred across the
    // screen at a third of its free height. Returns whether the user confirmed; only then
    // has Font taken the chosen face, height, style and colour.
    bool Execute(HWND owner);

    TFont Font;
    int MinFontSize = 0;
    int MaxFontSize = 0;
};

// Where the dialog comes from: the platform, unless a test says otherwise.
using ChooseFontSource = BOOL(WINAPI*)(LPCHOOSEFONTA);
void SetChooseFontSource(ChooseFontSource source);
