// The window of a windowed element: made when first needed, stacked among its siblings', and
// its procedure, which routes every message to the element under the failure guard.
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
#include "widgets/windowthunk.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

} // namespace

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

void TWindowedElement::CreateStock(const char* className, const char* text, DWORD style, DWORD exStyle)
{
    // The platform's controls are loaded with the first of them, not at start.
    SystemLibrary::LoadCommonControls();
    const TBounds placed = PlacedBounds();
    FHandle = CreateWindowExA(
        exStyle, className, text,
        style | WS_CHILD | WS_CLIPSIBLINGS | (FVisible ? WS_VISIBLE : 0) | (FEnabled ? 0 : WS_DISABLED), placed.Left,
        placed.Top, placed.Width, placed.Height, FParent->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
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
    wc.lpfnWndProc = proc ? proc : OwnWindowThunk<TWindowedElement>;
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
