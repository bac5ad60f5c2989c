// The font chooser element.
#include "widgets/fontchooser.h"

#include <cstring>
#include <string>

#include "widgets/modalscope.h"
#include "widgets/systemlibrary.h"

namespace {

ChooseFontSource chooseFontSource = SystemLibrary::ChooseFontA;

UINT_PTR CALLBACK CentreOnScreen(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return 0;
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 3;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    return 1;
}

} // namespace

bool TFontChooser::Execute(HWND owner)
{
    LOGFONTA logFont = Font.Describe();
    CHOOSEFONTA record{};
    // 60 bytes in the 32-bit program; the 64-bit build's record is larger.
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpLogFont = &logFont;
    record.Flags = CF_SCREENFONTS | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    record.rgbColors = Font.Color().Resolve();
    record.lpfnHook = CentreOnScreen;
    record.nSizeMin = MinFontSize;
    record.nSizeMax = MaxFontSize;
    bool confirmed = false;
    {
        TModalScope modal;
        confirmed = chooseFontSource(&record) != 0;
    }
    // A cancelled dialog still writes its state into the record: take nothing from it then.
    if (!confirmed) return false;
    const std::string face(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE - 1));
    if (!face.empty()) Font.SetFace(face);
    Font.SetHeight(logFont.lfHeight);
    TFontStyle style;
    style.Bold = logFont.lfWeight > FW_NORMAL;
    style.Italic = logFont.lfItalic != 0;
    style.Underline = logFont.lfUnderline != 0;
    style.StrikeOut = logFont.lfStrikeOut != 0;
    Font.SetStyle(style);
    Font.SetColor(TColor::Rgb(record.rgbColors));
    return true;
}

void SetChooseFontSource(ChooseFontSource source)
{
    chooseFontSource = source ? source : SystemLibrary::ChooseFontA;
}
