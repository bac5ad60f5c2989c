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
    for (const TElement* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

const TFont& TElement::Font() const
{
    if (FFont) return *FFont;
    return FParent->Font();
}

TFont& TElement::OwnFont()
{
    if (!FFont) FFont.emplace(Font());
    return *FFont;
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
    // The new font goes out before anything else happens, so that no control is left holding
    // the one the change deleted.
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
        const POINT origin = FParent->ScrollOrigin();
        SetWindowPos(FHandle, nullptr, origin.x + bounds.Left, origin.y + bounds.Top, bounds.Width, bounds.Height,
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

HWND TWindowedElement::HandleNeeded()
{
    if (!FHandle) {
        if (FParent) FParent->HandleNeeded();
        CreateHandle();
        if (FParent) PlaceInStack();
    }
    return FHandle;
}

void TWindowedElement::WindowsNeeded()
{
    HandleNeeded();
    for (TWindowedElement* child : FChildren)
        if (child->FVisible) child->WindowsNeeded();
}

void TWindowedElement::PlaceInStack()
{
    // Among the windows made so far, the next later element's lies lowest of those above this one.
    HWND above = HWND_TOP;
    const std::vector<TWindowedElement*>& siblings = FParent->Children();
    for (auto it = std::find(siblings.begin(), siblings.end(), this); it != siblings.end(); ++it) {
        if (*it != this && (*it)->FHandle) {
            above = (*it)->FHandle;
            break;
        }
    }
    SetWindowPos(FHandle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWindowedElement::SetEnabled(bool enabled)
{
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    if (FHandle) EnableWindow(FHandle, enabled);
}

void TWindowedElement::SetFocus()
{
    for (const TElement* c = this; c; c = c->Parent()) {
        const auto* w = static_cast<const TWindowedElement*>(c);
        if (!w->Visible() || !w->Enabled())
            throw TFailure("InvalidOperation", "Cannot focus a disabled or invisible window");
    }
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

void TWindowedElement::CreateStock(const char* className, const char* text, DWORD style, DWORD exStyle)
{
    // The platform's controls are loaded with the first of them, not at start.
    SystemLibrary::LoadCommonControls();
    const POINT origin = FParent->ScrollOrigin();
    FHandle =
        CreateWindowExA(exStyle, className, text,
                        style | WS_CHILD | WS_CLIPSIBLINGS | (FVisible ? WS_VISIBLE : 0) | (FEnabled ? 0 : WS_DISABLED),
                        origin.x + FBounds.Left, origin.y + FBounds.Top, FBounds.Width, FBounds.Height,
                        FParent->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!FHandle) throw TResourceError("Error creating window");
    SystemLibrary::SetWindowSubclass(FHandle, SubclassThunk, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ApplyFont();
}

void TWindowedElement::CreateOwn(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent,
                                 HMENU menu, const TBounds& outer)
{
    FOwnClass = true;
    CreateWindowExA(exStyle, className, text, style, outer.Left, outer.Top, outer.Width, outer.Height, parent, menu,
                    GetModuleHandleA(nullptr), this);
    if (!FHandle) throw TResourceError("Error creating window");
}

LRESULT CALLBACK TWindowedElement::OwnWindowThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TWindowedElement*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->FHandle = hwnd;
    }
    auto* self = reinterpret_cast<TWindowedElement*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = self->Route(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->FHandle = nullptr;
    }
    return result;
}

LRESULT CALLBACK TWindowedElement::SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR data)
{
    auto* self = reinterpret_cast<TWindowedElement*>(data);
    if (message == WM_NCDESTROY) {
        SystemLibrary::RemoveWindowSubclass(hwnd, SubclassThunk, kSubclassId);
        self->FHandle = nullptr;
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
    if (!RegisterClassExA(&wc)) throw TResourceError("Error registering window class");
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
    return FOwnClass ? DefWindowProcA(FHandle, message, wParam, lParam)
                     : SystemLibrary::DefSubclassProc(FHandle, message, wParam, lParam);
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
        if ((FPressedLabel = LabelAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))) {
            SetCapture(FHandle);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (TLabel* pressed = std::exchange(FPressedLabel, nullptr)) {
            ReleaseCapture();
            // A click is a press and a release on the same label.
            if (LabelAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == pressed) pressed->Click();
            return 0;
        }
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (FPressedLabel && (message == WM_CANCELMODE || reinterpret_cast<HWND>(lParam) != FHandle)) {
            FPressedLabel = nullptr;
            if (message == WM_CANCELMODE && GetCapture() == FHandle) ReleaseCapture();
        }
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = AnswerReader(*this, wParam, lParam)) return object;
        break;
    case WM_KEYDOWN:
        if (HandleTabKey(message, wParam)) return 0;
        FKeyTaken = OfferKey(static_cast<WORD>(wParam));
        if (FKeyTaken) return 0;
        break;
    case WM_CHAR:
        if (HandleTabKey(message, wParam) || std::exchange(FKeyTaken, false)) return 0;
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
