// Group box.
#include "widgets/groupbox.h"

TGroupBox::TGroupBox(TWindowedElement* parent, const TBounds& bounds, const std::string& caption, bool visible)
    : TWindowedElement(parent), caption_(caption)
{
    bounds_ = bounds;
    visible_ = visible;
}

void TGroupBox::CreateHandle()
{
    CreateStock("BUTTON", caption_.c_str(), BS_GROUPBOX | WS_CLIPCHILDREN);
}

LRESULT TGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        // A stock group box lets the mouse through; ours takes it, for the labels inside.
        return HTCLIENT;
    case WM_ERASEBKGND: {
        // A stock group box leaves its inside as it was: the clock and the status line
        // beneath would show through the open panel.
        RECT inside{};
        GetClientRect(handle_, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, Color().Brush());
        return 1;
    }
    case WM_PAINT: {
        const LRESULT result = TWindowedElement::WindowProc(message, wParam, lParam);
        HDC dc = GetDC(handle_);
        PaintLabels(dc);
        ReleaseDC(handle_, dc);
        return result;
    }
    }
    return TWindowedElement::WindowProc(message, wParam, lParam);
}
