// Fonts and colours of elements.
#include "widgets/font.h"

#include <cstring>
#include <map>

#include "widgets/fontsize.h"

HBRUSH TColor::Brush() const
{
    if (FSystem) return GetSysColorBrush(FValue);
    // A handful of fixed colours are used; their brushes live as long as the program.
    static std::map<int, TGdiObject<HBRUSH>> brushes;
    TGdiObject<HBRUSH>& brush = brushes[FValue];
    if (!brush) brush.Reset(CreateSolidBrush(static_cast<COLORREF>(FValue)));
    return brush.Get();
}

TFont::TFont(const TFont& other)
    : FFace(other.FFace), FHeight(other.FHeight), FColor(other.FColor), FStyle(other.FStyle)
{
}

TFont& TFont::operator=(const TFont& other)
{
    if (this != &other) {
        FFace = other.FFace;
        FHeight = other.FHeight;
        FColor = other.FColor;
        FStyle = other.FStyle;
        FHandle.Reset();
    }
    return *this;
}

void TFont::SetFace(const std::string& face)
{
    if (face == FFace) return;
    FFace = face;
    FHandle.Reset();
}

void TFont::SetHeight(int height)
{
    if (height == FHeight) return;
    FHeight = height;
    FHandle.Reset();
}

void TFont::SetColor(TColor color)
{
    FColor = color;
}

void TFont::SetStyle(const TFontStyle& style)
{
    if (style == FStyle) return;
    FStyle = style;
    FHandle.Reset();
}

int TFont::Size() const
{
    return PointsOfHeight(FHeight, ScreenPixelsPerInch());
}

void TFont::SetSize(int points)
{
    SetHeight(HeightOfPoints(points, ScreenPixelsPerInch()));
}

LOGFONTA TFont::Describe() const
{
    LOGFONTA lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Italic;
    lf.lfUnderline = FStyle.Underline;
    lf.lfStrikeOut = FStyle.StrikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    strncpy(lf.lfFaceName, FFace.c_str(), LF_FACESIZE - 1);
    return lf;
}

HFONT TFont::Handle() const
{
    if (!FHandle) {
        const LOGFONTA lf = Describe();
        FHandle.Reset(CreateFontIndirectA(&lf));
    }
    return FHandle.Get();
}

int ScreenPixelsPerInch()
{
    static const int ppi = [] {
        TScreenDC dc;
        return GetDeviceCaps(dc.Get(), LOGPIXELSY);
    }();
    return ppi;
}
