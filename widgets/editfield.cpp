// Edit field.
#include "widgets/editfield.h"

#include <utility>
#include <vector>

TEditField::TEditField(TWindowedElement* parent, const TBounds& bounds, std::string text, bool readOnly)
    : TWindowedElement(parent), FText(std::move(text)), FReadOnly(readOnly)
{
    FBounds = bounds;
    TabStop = true;
    FColor = TColor::System(COLOR_WINDOW);
}

void TEditField::CreateHandle()
{
    CreateStock("EDIT", FText.c_str(), WS_TABSTOP | ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0), WS_EX_CLIENTEDGE);
}

std::string TEditField::Text() const
{
    // Once there is a window, the text is the window's: its spinner writes there.
    if (!FHandle) return FText;
    std::vector<char> buffer(static_cast<size_t>(GetWindowTextLengthA(FHandle)) + 1);
    const int length = GetWindowTextA(FHandle, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<size_t>(length));
}

void TEditField::SetText(const std::string& text)
{
    if (text == Text()) return;
    if (FHandle) {
        // The field answers with EN_CHANGE, reflected to Command, while the text is set.
        SetWindowTextA(FHandle, text.c_str());
        return;
    }
    FText = text;
    if (OnChange) OnChange(this);
}

void TEditField::Command(WORD code)
{
    if (code == EN_CHANGE && OnChange) OnChange(this);
}

int TEditField::HeightForFont(const TFont& font)
{
    TScreenDC dc;
    TSelectGuard select(dc.Get(), font.Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmHeight + GetSystemMetrics(SM_CYBORDER) * 8;
}

void TEditField::ApplyFont()
{
    TWindowedElement::ApplyFont();
    // A new font brings the font's own margins, half a character each side, but only to a field
    // wide enough for them: the fields of the panel get none at their design size and would get
    // them once scaled, and two digits would no longer fit. The margins stay as designed.
    if (FHandle) SendMessageA(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

void TEditField::FontChanged()
{
    TWindowedElement::FontChanged();
    SetBounds({FBounds.Left, FBounds.Top, FBounds.Width, HeightForFont(Font())});
}

void TEditField::ScaleBy(int numerator, int denominator)
{
    // The height comes from the font, not from scaling the edges.
    TWindowedElement::ScaleBy(numerator, denominator);
    SetBounds({FBounds.Left, FBounds.Top, FBounds.Width, HeightForFont(Font())});
}
