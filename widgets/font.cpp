// Fonts and colours of elements.
#include "widgets/font.h"

#include <cstring>
#include <map>

#include "widgets/fontsize.h"

HBRUSH TColor::Brush() const
{
    if (system_) return GetSysColorBrush(value_);
    // A handful of fixed colours are used; their brushes live as long as the program.
    static std::map<int, GdiObject<HBRUSH>> brushes;
    GdiObject<HBRUSH>& brush = brushes[value_];
    if (!brush) brush.Reset(CreateSolidBrush(static_cast<COLORREF>(value_)));
    return brush.Get();
}

TFont::TFont(const TFont& other)
    : face_(other.face_), height_(other.height_), color_(other.color_), style_(other.style_)
{
}

TFont& TFont::operator=(const TFont& other)
{
    if (this != &other) {
        face_ = other.face_;
        height_ = other.height_;
        color_ = other.color_;
        style_ = other.style_;
        handle_.Reset();
    }
    return *this;
}

void TFont::SetFace(const std::string& face)
{
    if (face == face_) return;
    face_ = face;
    handle_.Reset();
}

void TFont::SetHeight(int height)
{
    if (height == height_) return;
    height_ = height;
    handle_.Reset();
}

void TFont::SetColor(TColor color)
{
    color_ = color;
}

void TFont::SetStyle(const TFontStyle& style)
{
    if (style == style_) return;
    style_ = style;
    handle_.Reset();
}

int TFont::Size() const
{
    return PointsOfHeight(height_, ScreenPixelsPerInch());
}

void TFont::SetSize(int points)
{
    SetHeight(HeightOfPoints(points, ScreenPixelsPerInch()));
}

LOGFONTA TFont::Describe() const
{
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Italic;
    lf.lfUnderline = style_.Underline;
    lf.lfStrikeOut = style_.StrikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    strncpy(lf.lfFaceName, face_.c_str(), LF_FACESIZE - 1);
    return lf;
}

HFONT TFont::Handle() const
{
    if (!handle_) {
        const LOGFONTA lf = Describe();
        handle_.Reset(CreateFontIndirectA(&lf));
    }
    return handle_.Get();
}

int ScreenPixelsPerInch()
{
    static const int ppi = [] {
        ScreenDC dc;
        return GetDeviceCaps(dc.Get(), LOGPIXELSY);
    }();
    return ppi;
}
