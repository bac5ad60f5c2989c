// Group box.
#include "widgets/groupbox.h"

TGroupBox::TGroupBox(TWindowedElement* parent, const TBounds& bounds, const std::string& caption, bool visible)
    : TWindowedElement(parent), FCaption(caption)
{
    FBounds = bounds;
    FVisible = visible;
}

void TGroupBox::CreateHandle()
{
    CreateStock("BUTTON", FCaption.c_str(), BS_GROUPBOX | WS_CLIPCHILDREN);
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
        GetClientRect(FHandle, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, Color().Brush());
        return 1;
    }
    case WM_PAINT: {
        const LRESULT result = TWindowedElement::WindowProc(message, wParam, lParam);
        HDC dc = GetDC(FHandle);
        PaintLabels(dc);
        ReleaseDC(FHandle, dc);
        return result;
    }
    }
    return TWindowedElement::WindowProc(message, wParam, lParam);
}
