// Elements of a window: what they keep (bounds, visibility, fonts, contents), keys and tab order.
#include "widgets/element.h"

#include <algorithm>
#include <utility>

#include "app/failure.h"
#include "widgets/accessible.h"
#include "widgets/label.h"

namespace {

TBounds ScaleEdges(const TBounds& b, int numerator, int denominator)
{
    const int left = MulDiv(b.Left, numerator, denominator);
    const int top = MulDiv(b.Top, numerator, denominator);
    return {left, top, MulDiv(b.Right(), numerator, denominator) - left,
            MulDiv(b.Bottom(), numerator, denominator) - top};
}

// The shown, enabled controls inside container in tab order, tab stops or not.
void CollectTabOrder(TWindowedElement* container, std::vector<TWindowedElement*>& out)
{
    std::vector<TWindowedElement*> children = container->Children();
    std::stable_sort(children.begin(), children.end(),
                     [](const TWindowedElement* a, const TWindowedElement* b) { return a->TabOrder < b->TabOrder; });
    for (TWindowedElement* child : children) {
        if (!child->Visible() || !child->Enabled()) continue;
        out.push_back(child);
        CollectTabOrder(child, out);
    }
}

} // namespace

// ---- TElement ----

TElement::TElement(TWindowedElement* parent) : FParent(parent)
{
}

void TElement::SetBounds(const TBounds& bounds)
{
    FBounds = bounds;
}

void TElement::SetVisible(bool visible)
{
    FVisible = visible;
}

bool TElement::Showing() const
{
    return UpToTheWindow([](const TElement& e) { return e.FVisible; });
}

bool TElement::UpToTheWindow(bool (*test)(const TElement&)) const
{
    for (const TElement* c = this; c; c = c->FParent)
        if (!test(*c)) return false;
    return true;
}

TBounds TElement::PlacedBounds() const
{
    const POINT origin = FParent ? FParent->ScrollOrigin() : POINT{0, 0};
    return {origin.x + FBounds.Left, origin.y + FBounds.Top, FBounds.Width, FBounds.Height};
}

const TFont& TElement::Font() const
{
    if (FFont) return *FFont;
    return FParent->Font();
}

void TElement::SetFont(const TFont& font)
{
    FFont.emplace(font);
    FontChanged();
}

TColor TElement::Color() const
{
    if (FColor) return *FColor;
    return FParent ? FParent->Color() : TColor::System(COLOR_BTNFACE);
}

void TElement::SetColor(TColor color)
{
    FColor = color;
    ColorChanged();
}

void TElement::ScaleBy(int numerator, int denominator)
{
    const TBounds scaled = ScaleEdges(FBounds, numerator, denominator);
    // The new size deletes the old font's handle at once: the new one goes out to the window
    // before anything else happens (a move repaints), so that nothing draws with the deleted one.
    if (FFont) {
        FFont->SetSize(MulDiv(FFont->Size(), numerator, denominator));
        FontChanged();
    }
    SetBounds(scaled);
}

TWindowedElement* TopLevelOf(const TElement* control)
{
    TElement* top = const_cast<TElement*>(control);
    while (top->Parent()) top = top->Parent();
    return static_cast<TWindowedElement*>(top);
}

// ---- TWindowedElement ----

TWindowedElement::TWindowedElement(TWindowedElement* parent) : TElement(parent)
{
    if (FParent) FParent->AddChild(this);
}

TWindowedElement::~TWindowedElement()
{
    ReleaseReaderObject(*this);
    if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
    if (FParent) FParent->RemoveChild(this);
}

void TWindowedElement::RemoveLabel(TLabel* label)
{
    FLabels.erase(std::remove(FLabels.begin(), FLabels.end(), label), FLabels.end());
}

void TWindowedElement::RemoveChild(TWindowedElement* child)
{
    FChildren.erase(std::remove(FChildren.begin(), FChildren.end(), child), FChildren.end());
}

void TWindowedElement::SetBounds(const TBounds& bounds)
{
    if (bounds == FBounds) return;
    FBounds = bounds;
    if (FHandle && FParent) {
        const TBounds placed = PlacedBounds();
        SetWindowPos(FHandle, nullptr, placed.Left, placed.Top, placed.Width, placed.Height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (FParent) FParent->ContentChanged();
}

void TWindowedElement::SetVisible(bool visible)
{
    // Made visible where it is seen: its window, and those of what it shows, are made first, so
    // that a window the system refuses leaves the element as it was. Shown again, a window that
    // could not be made before is tried once more.
    if (visible && FParent && FParent->Showing()) WindowsNeeded();
    if (visible == FVisible) return;
    FVisible = visible;
    // A hidden window would keep the keyboard: the focus goes back to the window.
    if (!visible && FHandle && FParent) {
        HWND focus = GetFocus();
        if (focus == FHandle || IsChild(FHandle, focus)) ::SetFocus(TopLevelOf(this)->Handle());
    }
    if (FParent) FParent->ContentChanged();
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWindowedElement::SetEnabled(bool enabled)
{
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    if (FHandle) EnableWindow(FHandle, enabled);
}

void TWindowedElement::SetFocus()
{
    // Every container up to the window is a windowed element.
    if (!UpToTheWindow(
            [](const TElement& e) { return e.Visible() && static_cast<const TWindowedElement&>(e).Enabled(); }))
        throw TFailure("InvalidOperation", "Cannot focus a disabled or invisible window");
    ::SetFocus(HandleNeeded());
}

TLabel* TWindowedElement::LabelAt(POINT client) const
{
    const POINT origin = ScrollOrigin();
    for (auto it = FLabels.rbegin(); it != FLabels.rend(); ++it) {
        const RECT rect = ToRect((*it)->Bounds(), origin);
        if ((*it)->Visible() && PtInRect(&rect, client)) return *it;
    }
    return nullptr;
}

void TWindowedElement::PaintLabels(HDC dc) const
{
    const POINT origin = ScrollOrigin();
    for (const TLabel* label : FLabels) label->Paint(dc, origin);
}

void TWindowedElement::ScaleBy(int numerator, int denominator)
{
    TElement::ScaleBy(numerator, denominator);
    for (TLabel* label : FLabels) label->ScaleBy(numerator, denominator);
    for (TWindowedElement* child : FChildren) child->ScaleBy(numerator, denominator);
}

void TWindowedElement::ApplyFont()
{
    if (FHandle) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TWindowedElement::FontChanged()
{
    ApplyFont();
    // What takes its font from here shares its handle, which the change has replaced.
    for (TLabel* label : FLabels) label->ParentFontChanged();
    for (TWindowedElement* child : FChildren) child->ParentFontChanged();
}

void TWindowedElement::ColorChanged()
{
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

LRESULT TWindowedElement::CtlColor(HDC dc)
{
    SetTextColor(dc, Font().Color().Resolve());
    SetBkColor(dc, Color().Resolve());
    return reinterpret_cast<LRESULT>(Color().Brush());
}

bool TWindowedElement::OfferKey(WORD key)
{
    for (TWindowedElement* c = this; c; c = c->Parent()) {
        if (!c->OnKeyDown) continue;
        WORD offered = key;
        c->OnKeyDown(c, offered);
        if (offered == 0) return true;
    }
    return false;
}

bool TWindowedElement::HandleTabKey(UINT message, WPARAM wParam)
{
    if (wParam != VK_TAB) return false;
    if (message == WM_KEYDOWN) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (TWindowedElement* next = NextTabStop(TopLevelOf(this), this, !back)) next->SetFocus();
    }
    return message == WM_KEYDOWN || message == WM_CHAR;
}

TWindowedElement* NextTabStop(TWindowedElement* root, TWindowedElement* current, bool forward)
{
    std::vector<TWindowedElement*> order;
    CollectTabOrder(root, order);
    const auto stop = [](const TWindowedElement* c) { return c->TabStop; };
    if (std::none_of(order.begin(), order.end(), stop)) return nullptr;
    // From the current control's place in the tab order, a tab stop or not (a spinner, say).
    const auto at = std::find(order.begin(), order.end(), current);
    const size_t count = order.size();
    size_t index = at == order.end() ? (forward ? count - 1 : 0) : static_cast<size_t>(at - order.begin());
    do {
        index = forward ? (index + 1) % count : (index + count - 1) % count;
    } while (!order[index]->TabStop);
    return order[index];
}
