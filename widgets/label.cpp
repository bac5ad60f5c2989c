// Label.
#include "widgets/label.h"

#include <utility>

#include "widgets/accessible.h"

TLabel::TLabel(TWindowedElement* parent, std::string caption) : TElement(parent), caption_(std::move(caption))
{
    parent_->AddLabel(this);
}

TLabel::~TLabel()
{
    parent_->RemoveLabel(this);
}

void TLabel::SetCaption(const std::string& caption)
{
    if (caption == caption_) return;
    caption_ = caption;
    AdjustBounds();
    Invalidate();
    AnnounceCaption(*this);
}

void TLabel::SetBounds(const TBounds& bounds)
{
    if (bounds == bounds_) return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
    parent_->ContentChanged();
}

void TLabel::SetVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    Invalidate();
    parent_->ContentChanged();
    // Shown, its caption is new to a reader.
    if (visible) AnnounceCaption(*this);
}

void TLabel::AdjustBounds()
{
    ScreenDC dc;
    SelectGuard font(dc.Get(), Font().Handle());
    // An empty caption still has the height of one line.
    const std::string text = caption_.empty() ? std::string(" ") : caption_;
    RECT rect{0, 0, 0, 0};
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_EXPANDTABS);
    SetBounds({bounds_.Left, bounds_.Top, rect.right - rect.left, rect.bottom - rect.top});
}

void TLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLabel::Invalidate() const
{
    if (!visible_ || !parent_->Handle()) return;
    const RECT rect = ToRect(bounds_, parent_->ScrollOrigin());
    InvalidateRect(parent_->Handle(), &rect, TRUE);
}

void TLabel::Paint(HDC dc, POINT origin) const
{
    if (!visible_) return;
    RECT rect = ToRect(bounds_, origin);
    FillRect(dc, &rect, Color().Brush());
    SelectGuard font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Font().Color().Resolve());
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rect, DT_LEFT | DT_EXPANDTABS);
}

void TLabel::Click()
{
    if (OnClick) OnClick(this);
}
