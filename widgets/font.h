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

    COLORREF Resolve() const { return system_ ? GetSysColor(value_) : static_cast<COLORREF>(value_); }
    HBRUSH Brush() const; // a system brush, or a cached solid brush
    bool operator==(const TColor& other) const { return system_ == other.system_ && value_ == other.value_; }
    bool operator!=(const TColor& other) const { return !(*this == other); }

private:
    TColor(bool system, int value) : system_(system), value_(value) {}
    bool system_;
    int value_;
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
        : face_(std::move(face)), height_(height), color_(color)
    {
        style_.Bold = bold;
    }
    // A copy has the face, height, style and colour; its handle is made anew. Every font
    // here keeps the default pitch: a chosen font's pitch is not taken over.
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::string& Face() const { return face_; }
    int Height() const { return height_; }
    TColor Color() const { return color_; }
    const TFontStyle& Style() const { return style_; }
    bool Bold() const { return style_.Bold; }
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
    std::string face_;
    int height_;
    TColor color_;
    TFontStyle style_;
    mutable GdiObject<HFONT> handle_;
};

// The screen's vertical resolution in pixels per inch, read once at start.
int ScreenPixelsPerInch();
