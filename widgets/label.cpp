// Label.
#include "widgets/label.h"

#include <utility>

#include "widgets/accessible.h"

TLabel::TLabel(TWindowedElement* parent, std::string caption) : TElement(parent), FCaption(std::move(caption))
{
    FParent->AddLabel(this);
}

TLabel::~TLabel()
{
    FParent->RemoveLabel(this);
}

void TLabel::SetCaption(const std::string& caption)
{
    if (caption == FCaption) return;
    FCaption = caption;
    AdjustBounds();
    Invalidate();
    AnnounceCaption(*this);
}

void TLabel::SetBounds(const TBounds& bounds)
{
    if (bounds == FBounds) return;
    Invalidate();
    FBounds = bounds;
    Invalidate();
    FParent->ContentChanged();
}

void TLabel::SetVisible(bool visible)
{
    if (visible == FVisible) return;
    FVisible = visible;
    Invalidate();
    FParent->ContentChanged();
    // Shown, its caption is new to a reader.
    if (visible) AnnounceCaption(*this);
}

void TLabel::AdjustBounds()
{
    TScreenDC dc;
    TSelectGuard font(dc.Get(), Font().Handle());
    // An empty caption still has the height of one line.
    const std::string text = FCaption.empty() ? std::string(" ") : FCaption;
    RECT rect{0, 0, 0, 0};
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_EXPANDTABS);
    SetBounds({FBounds.Left, FBounds.Top, rect.right - rect.left, rect.bottom - rect.top});
}

void TLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLabel::Invalidate() const
{
    if (!FVisible || !FParent->Handle()) return;
    const RECT rect = ToRect(PlacedBounds());
    InvalidateRect(FParent->Handle(), &rect, TRUE);
}

void TLabel::Paint(HDC dc, POINT origin) const
{
    if (!FVisible) return;
    RECT rect = ToRect(FBounds, origin);
    FillRect(dc, &rect, Color().Brush());
    TSelectGuard font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Font().Color().Resolve());
    DrawTextA(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &rect, DT_LEFT | DT_EXPANDTABS);
}

void TLabel::Click()
{
    if (OnClick) OnClick(this);
}
