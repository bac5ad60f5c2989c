// Elements of a window: parent relation, labels painted by their parent, subclassed and own windows.
#include "widgets/element.h"

#include <commctrl.h>

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "app/failure.h"
#include "app/guard.h"
#include "widgets/accessible.h"
#include "widgets/label.h"
#include "widgets/systemlibrary.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

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

TElement::TElement(TWindowedElement* parent) : parent_(parent)
{
}

void TElement::SetBounds(const TBounds& bounds)
{
    bounds_ = bounds;
}

void TElement::SetVisible(bool visible)
{
    visible_ = visible;
}

bool TElement::Showing() const
{
    for (const TElement* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

const TFont& TElement::Font() const
{
    if (font_) return *font_;
    return parent_->Font();
}

TFont& TElement::OwnFont()
{
    if (!font_) font_.emplace(Font());
    return *font_;
}

void TElement::SetFont(const TFont& font)
{
    font_.emplace(font);
    FontChanged();
}

TColor TElement::Color() const
{
    if (color_) return *color_;
    return parent_ ? parent_->Color() : TColor::System(COLOR_BTNFACE);
}

void TElement::SetColor(TColor color)
{
    color_ = color;
    ColorChanged();
}

void TElement::ScaleBy(int numerator, int denominator)
{
    const TBounds scaled = ScaleEdges(bounds_, numerator, denominator);
    // The new font goes out before anything else happens, so that no control is left holding
    // the one the change deleted.
    if (font_) {
        font_->SetSize(MulDiv(font_->Size(), numerator, denominator));
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
    if (parent_) parent_->AddChild(this);
}

TWindowedElement::~TWindowedElement()
{
    ReleaseReaderObject(*this);
    if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
    if (parent_) parent_->RemoveChild(this);
}

void TWindowedElement::RemoveLabel(TLabel* label)
{
    labels_.erase(std::remove(labels_.begin(), labels_.end(), label), labels_.end());
}

void TWindowedElement::RemoveChild(TWindowedElement* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TWindowedElement::SetBounds(const TBounds& bounds)
{
    if (bounds == bounds_) return;
    bounds_ = bounds;
    if (handle_ && parent_) {
        const POINT origin = parent_->ScrollOrigin();
        SetWindowPos(handle_, nullptr, origin.x + bounds.Left, origin.y + bounds.Top, bounds.Width, bounds.Height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (parent_) parent_->ContentChanged();
}

void TWindowedElement::SetVisible(bool visible)
{
    // Made visible where it is seen: its window, and those of what it shows, are made first, so
    // that a window the system refuses leaves the element as it was. Shown again, a window that
    // could not be made before is tried once more.
    if (visible && parent_ && parent_->Showing()) WindowsNeeded();
    if (visible == visible_) return;
    visible_ = visible;
    // A hidden window would keep the keyboard: the focus goes back to the window.
    if (!visible && handle_ && parent_) {
        HWND focus = GetFocus();
        if (focus == handle_ || IsChild(handle_, focus)) ::SetFocus(TopLevelOf(this)->Handle());
    }
    if (parent_) parent_->ContentChanged();
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

HWND TWindowedElement::HandleNeeded()
{
    if (!handle_) {
        if (parent_) parent_->HandleNeeded();
        CreateHandle();
        if (parent_) PlaceInStack();
    }
    return handle_;
}

void TWindowedElement::WindowsNeeded()
{
    HandleNeeded();
    for (TWindowedElement* child : children_)
        if (child->visible_) child->WindowsNeeded();
}

void TWindowedElement::PlaceInStack()
{
    // Among the windows made so far, the next later element's lies lowest of those above this one.
    HWND above = HWND_TOP;
    const std::vector<TWindowedElement*>& siblings = parent_->Children();
    for (auto it = std::find(siblings.begin(), siblings.end(), this); it != siblings.end(); ++it) {
        if (*it != this && (*it)->handle_) {
            above = (*it)->handle_;
            break;
        }
    }
    SetWindowPos(handle_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWindowedElement::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (handle_) EnableWindow(handle_, enabled);
}

void TWindowedElement::SetFocus()
{
    for (const TElement* c = this; c; c = c->Parent()) {
        const auto* w = static_cast<const TWindowedElement*>(c);
        if (!w->Visible() || !w->Enabled())
            throw Failure("InvalidOperation", "Cannot focus a disabled or invisible window");
    }
    ::SetFocus(HandleNeeded());
}

TLabel* TWindowedElement::LabelAt(POINT client) const
{
    const POINT origin = ScrollOrigin();
    for (auto it = labels_.rbegin(); it != labels_.rend(); ++it) {
        const RECT rect = ToRect((*it)->Bounds(), origin);
        if ((*it)->Visible() && PtInRect(&rect, client)) return *it;
    }
    return nullptr;
}

void TWindowedElement::PaintLabels(HDC dc) const
{
    const POINT origin = ScrollOrigin();
    for (const TLabel* label : labels_) label->Paint(dc, origin);
}

void TWindowedElement::ScaleBy(int numerator, int denominator)
{
    TElement::ScaleBy(numerator, denominator);
    for (TLabel* label : labels_) label->ScaleBy(numerator, denominator);
    for (TWindowedElement* child : children_) child->ScaleBy(numerator, denominator);
}

void TWindowedElement::ApplyFont()
{
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TWindowedElement::FontChanged()
{
    ApplyFont();
    // What takes its font from here shares its handle, which the change has replaced.
    for (TLabel* label : labels_) label->ParentFontChanged();
    for (TWindowedElement* child : children_) child->ParentFontChanged();
}

void TWindowedElement::ColorChanged()
{
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
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

void TWindowedElement::CreateStock(const char* className, const char* text, DWORD style, DWORD exStyle)
{
    // The platform's controls are loaded with the first of them, not at start.
    SystemLibrary::LoadCommonControls();
    const POINT origin = parent_->ScrollOrigin();
    handle_ =
        CreateWindowExA(exStyle, className, text,
                        style | WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED),
                        origin.x + bounds_.Left, origin.y + bounds_.Top, bounds_.Width, bounds_.Height,
                        parent_->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!handle_) throw ResourceError("Error creating window");
    SystemLibrary::SetWindowSubclass(handle_, SubclassThunk, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ApplyFont();
}

void TWindowedElement::CreateOwn(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent,
                                 HMENU menu, const TBounds& outer)
{
    ownClass_ = true;
    CreateWindowExA(exStyle, className, text, style, outer.Left, outer.Top, outer.Width, outer.Height, parent, menu,
                    GetModuleHandleA(nullptr), this);
    if (!handle_) throw ResourceError("Error creating window");
}

LRESULT CALLBACK TWindowedElement::OwnWindowThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TWindowedElement*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->handle_ = hwnd;
    }
    auto* self = reinterpret_cast<TWindowedElement*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = self->Route(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
    }
    return result;
}

LRESULT CALLBACK TWindowedElement::SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR data)
{
    auto* self = reinterpret_cast<TWindowedElement*>(data);
    if (message == WM_NCDESTROY) {
        SystemLibrary::RemoveWindowSubclass(hwnd, SubclassThunk, kSubclassId);
        self->handle_ = nullptr;
        return SystemLibrary::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return self->Route(message, wParam, lParam);
}

const char* RegisterOwnClass(const char* name, WNDPROC proc, HBRUSH background, UINT style)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &existing)) return name;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc ? proc : TWindowedElement::OwnWindowThunk;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    wc.lpszClassName = name;
    if (!RegisterClassExA(&wc)) throw ResourceError("Error registering window class");
    return name;
}

LRESULT TWindowedElement::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!Guarded([&] { result = WindowProc(message, wParam, lParam); })) result = 0;
    return result;
}

LRESULT TWindowedElement::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ownClass_ ? DefWindowProcA(handle_, message, wParam, lParam)
                     : SystemLibrary::DefSubclassProc(handle_, message, wParam, lParam);
}

LRESULT TWindowedElement::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kReflectCommand: Command(HIWORD(wParam)); return 0;
    case kReflectNotify: return Notify(reinterpret_cast<NMHDR*>(lParam));
    case kReflectColor: return CtlColor(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
        // A control tells its parent; the control itself raises the event.
        if (lParam) return SendMessageA(reinterpret_cast<HWND>(lParam), kReflectCommand, wParam, lParam);
        break;
    case WM_NOTIFY: return SendMessageA(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, kReflectNotify, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        // Windows that are not ours answer 0 and get the default colours.
        if (LRESULT brush = SendMessageA(reinterpret_cast<HWND>(lParam), kReflectColor, wParam, lParam)) return brush;
        break;
    case WM_LBUTTONDOWN:
        // A press on a label is the label's: a stock control would take the focus for it.
        if ((pressedLabel_ = LabelAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))) {
            SetCapture(handle_);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (TLabel* pressed = std::exchange(pressedLabel_, nullptr)) {
            ReleaseCapture();
            // A click is a press and a release on the same label.
            if (LabelAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == pressed) pressed->Click();
            return 0;
        }
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (pressedLabel_ && (message == WM_CANCELMODE || reinterpret_cast<HWND>(lParam) != handle_)) {
            pressedLabel_ = nullptr;
            if (message == WM_CANCELMODE && GetCapture() == handle_) ReleaseCapture();
        }
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = AnswerReader(*this, wParam, lParam)) return object;
        break;
    case WM_KEYDOWN:
        if (HandleTabKey(message, wParam)) return 0;
        keyTaken_ = OfferKey(static_cast<WORD>(wParam));
        if (keyTaken_) return 0;
        break;
    case WM_CHAR:
        if (HandleTabKey(message, wParam) || std::exchange(keyTaken_, false)) return 0;
        break;
    }
    return DefaultProc(message, wParam, lParam);
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
