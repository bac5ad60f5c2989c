// Fonts and colours of elements: a face, a height, a colour and a style, realised on demand.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/gdi.h"

// A colour is either a fixed RGB value or one of the system colours (COLOR_*).
class TColor {
public:
    static TColor Rgb(COLORREF rgb) { return TColor(false, static_cast<int>(rgb)); }
    static TColor System(int index) { return TColor(true, index); }

    COLORREF Resolve() const { return FSystem ? GetSysColor(FValue) : static_cast<COLORREF>(FValue); }
    HBRUSH Brush() const; // a system brush, or a cached solid brush
    bool operator==(const TColor& other) const { return FSystem == other.FSystem && FValue == other.FValue; }
    bool operator!=(const TColor& other) const { return !(*this == other); }

private:
    TColor(bool system, int value) : FSystem(system), FValue(value) {}
    bool FSystem;
    int FValue;
};

inline const TColor kBlack = TColor::Rgb(RGB(0, 0, 0));
inline const TColor kRed = TColor::Rgb(RGB(255, 0, 0));

// A font as an element stores it. Height is in pixels; negative means the
// character height without internal leading.
struct TFontStyle {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const TFontStyle& o) const
    {
        return Bold == o.Bold && Italic == o.Italic && Underline == o.Underline && StrikeOut == o.StrikeOut;
    }
};

class TFont {
public:
    TFont(std::string face, int height, TColor color, bool bold = false)
        : FFace(std::move(face)), FHeight(height), FColor(color)
    {
        FStyle.Bold = bold;
    }
    // A copy has the face, height, style and colour; its handle is made anew. Every font
    // here keeps the default pitch: a chosen font's pitch is not taken over.
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::string& Face() const { return FFace; }
    int Height() const { return FHeight; }
    TColor Color() const { return FColor; }
    const TFontStyle& Style() const { return FStyle; }
    bool Bold() const { return FStyle.Bold; }
    void SetFace(const std::string& face);
    void SetHeight(int height);
    void SetColor(TColor color);
    void SetStyle(const TFontStyle& style);

    // Point size at the screen's resolution, and the height that gives a point size.
    int Size() const;
    void SetSize(int points);

    HFONT Handle() const;
    LOGFONTA Describe() const;

private:
    std::string FFace;
    int FHeight;
    TColor FColor;
    TFontStyle FStyle;
    mutable TGdiObject<HFONT> FHandle;
};

// The screen's vertical resolution in pixels per inch, read once at start.
int ScreenPixelsPerInch();
