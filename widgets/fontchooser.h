// The font chooser element: holds the font the chooser starts from and gives back.
#pragma once

#include "widgets/font.h"

class TFontChooser {
public:
    explicit TFontChooser(const TFont& font) : Font(font) {}
    TFontChooser(const TFontChooser&) = delete;
    TFontChooser& operator=(const TFontChooser&) = delete;

    TFont Font;
    int MinFontSize = 0;
    int MaxFontSize = 0;
};
