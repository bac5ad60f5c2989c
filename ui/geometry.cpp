// The main window's geometry: scaling for the display, the outer size around the layout's
// client area, the size lock, the widths of the layouts, and the scroll bars.
#include <algorithm>

#include "ui/mytime1.h"

namespace {

constexpr int kDesignTextHeight = 13;
constexpr int kDesignPixelsPerInch = 96;
constexpr int kScrollLine = 8;
// What the layout's outer size holds beyond its client area: the frame, title bar and menu bar
// of a sizable window at 96 pixels per inch as the layout was drawn, 4-pixel borders and a
// 19-pixel title bar and menu bar. The client area is the layout's; the frame is the system's.
constexpr int kDesignFrameWidth = 8;
constexpr int kDesignFrameHeight = 46;

} // namespace

void TForm1::ScaleForDisplay()
{
    const int ppi = ScreenPixelsPerInch();
    if (ppi != kDesignPixelsPerInch) {
        FFont->SetHeight(MulDiv(FFont->Height(), ppi, kDesignPixelsPerInch));
        FontChanged();
    }
    TScreenDC dc;
    TSelectGuard select(dc.Get(), FFont->Handle());
    SIZE zero{};
    GetTextExtentPoint32A(dc.Get(), "0", 1, &zero);
    if (zero.cy != kDesignTextHeight) {
        FScaleNumerator = zero.cy;
        FScaleDenominator = kDesignTextHeight;
        for (TLabel* label : Labels()) label->ScaleBy(zero.cy, kDesignTextHeight);
        for (TWindowedElement* child : Children()) child->ScaleBy(zero.cy, kDesignTextHeight);
    }
    // The window holds the layout whatever frame the system draws around it.
    const SIZE outer = OuterSizeFor(FLayoutWidth, kLayoutBounds.Height);
    SetWindowPos(FHandle, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TForm1::OuterSizeFor(int designWidth, int designHeight) const
{
    // The layout's client area, scaled with the elements, inside the frame, title bar and menu
    // bar the system draws here.
    RECT outer{0, 0, MulDiv(designWidth - kDesignFrameWidth, FScaleNumerator, FScaleDenominator),
               MulDiv(designHeight - kDesignFrameHeight, FScaleNumerator, FScaleDenominator)};
    const DWORD style = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE)) & ~(WS_HSCROLL | WS_VSCROLL);
    AdjustWindowRectEx(&outer, style, TRUE, static_cast<DWORD>(GetWindowLongA(FHandle, GWL_EXSTYLE)));
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void TForm1::UseLayoutWidth(int designWidth)
{
    // The lock must know the new width before the change of width runs it.
    FLayoutWidth = designWidth;
    const int width = OuterSizeFor(designWidth, kLayoutBounds.Height).cx;
    LockedWidth = width;
    const RECT r = OuterRect();
    if (r.right - r.left != width)
        SetWindowPos(FHandle, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::FrameChanged()
{
    // The same client area inside the new frame: the lock takes the new size, and puts the
    // window back in its place when the size changes.
    const SIZE outer = OuterSizeFor(FLayoutWidth, kLayoutBounds.Height);
    LockedWidth = outer.cx;
    LockedHeight = outer.cy;
    // The frame is measured anew even where the outer size stays.
    SetWindowPos(FHandle, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

RECT TForm1::OuterRect() const
{
    RECT rect{};
    GetWindowRect(FHandle, &rect);
    return rect;
}

void TForm1::Resized(WPARAM kind)
{
    FWindowState = kind == SIZE_MAXIMIZED   ? TWindowState::Maximized
                   : kind == SIZE_MINIMIZED ? TWindowState::Minimized
                                            : TWindowState::Normal;
    if (FLoading) return;
    FSizedSinceLoading = true;
    FormResize(this);
}

void TForm1::FormResize(void*)
{
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    // Each step changes one value and may run this handler again, nested.
    RECT r = OuterRect();
    if (r.bottom - r.top != LockedHeight)
        SetWindowPos(FHandle, nullptr, 0, 0, r.right - r.left, LockedHeight, kFlags | SWP_NOMOVE);
    r = OuterRect();
    if (r.right - r.left != LockedWidth)
        SetWindowPos(FHandle, nullptr, 0, 0, LockedWidth, r.bottom - r.top, kFlags | SWP_NOMOVE);
    r = OuterRect();
    if (r.left != kLockedLeft) SetWindowPos(FHandle, nullptr, kLockedLeft, r.top, 0, 0, kFlags | SWP_NOSIZE);
    r = OuterRect();
    if (r.top != kLockedTop) SetWindowPos(FHandle, nullptr, r.left, kLockedTop, 0, 0, kFlags | SWP_NOSIZE);
    if (FWindowState != TWindowState::Normal) {
        FWindowState = TWindowState::Normal;
        ShowWindow(FHandle, SW_SHOWNORMAL);
    }
}

void UseWideLayout()
{
    Form1->UseLayoutWidth(250);
}

void UseNarrowLayout()
{
    Form1->UseLayoutWidth(200);
}

void TForm1::ContentChanged()
{
    if (!FLoading) UpdateScrollBars();
}

void TForm1::UpdateScrollBars()
{
    if (!FHandle || FUpdatingScrollBars) return;
    FUpdatingScrollBars = true;
    // Only visible elements count toward the extent.
    int extentX = 0;
    int extentY = 0;
    auto extend = [&](const TElement& c) {
        if (!c.Visible()) return;
        extentX = std::max(extentX, c.Bounds().Right());
        extentY = std::max(extentY, c.Bounds().Bottom());
    };
    for (const TLabel* label : Labels()) extend(*label);
    for (const TWindowedElement* child : Children()) extend(*child);

    RECT client{};
    GetClientRect(FHandle, &client);
    // The clock label re-measures every second; most of those change nothing here.
    const RECT wanted{extentX, extentY, client.right, client.bottom};
    if (EqualRect(&wanted, &FScrollExtent)) {
        FUpdatingScrollBars = false;
        return;
    }
    const LONG style = GetWindowLongA(FHandle, GWL_STYLE);
    int width = client.right + (style & WS_VSCROLL ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    int height = client.bottom + (style & WS_HSCROLL ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    bool needH = extentX > width;
    bool needV = extentY > height;
    if (needH) height -= GetSystemMetrics(SM_CYHSCROLL);
    if (!needV && extentY > height) needV = true;
    if (needV) width -= GetSystemMetrics(SM_CXVSCROLL);
    if (!needH && extentX > width) {
        needH = true;
        height -= GetSystemMetrics(SM_CYHSCROLL);
    }

    auto apply = [&](int bar, bool need, int extent, int page, LONG& position) {
        if (!need && position != 0) Scroll(bar, SB_TOP);
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | SIF_POS,
                        0,
                        std::max(extent - 1, 0),
                        static_cast<UINT>(std::max(page, 0)),
                        need ? static_cast<int>(position) : 0,
                        0};
        SetScrollInfo(FHandle, bar, &info, TRUE);
        ShowScrollBar(FHandle, bar, need);
    };
    apply(SB_HORZ, needH, extentX, width, FScroll.x);
    apply(SB_VERT, needV, extentY, height, FScroll.y);
    RECT after{};
    GetClientRect(FHandle, &after);
    FScrollExtent = {extentX, extentY, after.right, after.bottom};
    FUpdatingScrollBars = false;
}

void TForm1::Scroll(int bar, WORD request)
{
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(FHandle, bar, &info);
    LONG& position = bar == SB_HORZ ? FScroll.x : FScroll.y;
    int target = position;
    switch (request) {
    case SB_LINEUP: target -= kScrollLine; break;
    case SB_LINEDOWN: target += kScrollLine; break;
    case SB_PAGEUP: target -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: target += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = info.nTrackPos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = info.nMax; break;
    default: return;
    }
    const int limit = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
    target = std::clamp(target, 0, request == SB_TOP ? 0 : limit);
    const int delta = position - target;
    if (delta == 0) return;
    position = target;
    ScrollWindowEx(FHandle, bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    SetScrollPos(FHandle, bar, target, TRUE);
}
