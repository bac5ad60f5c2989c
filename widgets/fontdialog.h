// The font chooser element: holds the font the chooser starts from and gives back.
#pragma once

#include "widgets/font.h"

class TFontDialog {
public:
    explicit TFontDialog(const TFont& font) : Font(font) {}
    TFontDialog(const TFontDialog&) = delete;
    TFontDialog& operator=(const TFontDialog&) = delete;

    TFont Font;
    int MinFontSize = 0;
    int MaxFontSize = 0;
};
