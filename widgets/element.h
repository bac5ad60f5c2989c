// Elements of a window: what every element has, and windowed elements with their contents.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "widgets/font.h"

class TAccessibleClient;
class TLabel;
class TWindowedElement;

// Messages a parent passes back to the control that sent a notification, so that
// each control raises its own typed events.
constexpr UINT kReflectCommand = WM_APP + 0x100;
constexpr UINT kReflectNotify = WM_APP + 0x101;
constexpr UINT kReflectColor = WM_APP + 0x102;

using TEventHandler = std::function<void(void* sender)>;
// A key pressed in a control; a handler that takes the key sets it to 0.
using TKeyEvent = std::function<void(void* sender, WORD& key)>;

// Left, top, width and height relative to the parent's client area.
struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool operator==(const TBounds& o) const
    {
        return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height;
    }
};

// The bounds as a rectangle in client coordinates of the parent, the layout's (0, 0) at origin.
inline RECT ToRect(const TBounds& b, POINT origin = {0, 0})
{
    return {origin.x + b.Left, origin.y + b.Top, origin.x + b.Right(), origin.y + b.Bottom()};
}

// What every element has: a parent, bounds, visibility, an optional font of its own.
class TElement {
public:
    explicit TElement(TWindowedElement* parent);
    TElement(const TElement&) = delete;
    TElement& operator=(const TElement&) = delete;
    virtual ~TElement() = default;

    TWindowedElement* Parent() const { return FParent; }
    const TBounds& Bounds() const { return FBounds; }
    virtual void SetBounds(const TBounds& bounds);
    int Left() const { return FBounds.Left; }
    int Top() const { return FBounds.Top; }
    int Width() const { return FBounds.Width; }
    int Height() const { return FBounds.Height; }
    // The bounds in the parent's client coordinates, where its scrolling has put them.
    TBounds PlacedBounds() const;

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    // Visible here and in every container up to the window.
    bool Showing() const;
    // Whether test holds for this element and every container up to the window.
    bool UpToTheWindow(bool (*test)(const TElement&)) const;

    // The element's own font, or the one it takes from its parent.
    const TFont& Font() const;
    void SetFont(const TFont& font);

    TColor Color() const;
    void SetColor(TColor color);

    // Runs once the whole layout has been read.
    virtual void Loaded() {}
    // Scales edges and own font by numerator/denominator, for other displays.
    virtual void ScaleBy(int numerator, int denominator);
    // The parent's font changed: an element that takes it takes the new one.
    void ParentFontChanged()
    {
        if (!FFont) FontChanged();
    }

protected:
    virtual void FontChanged() {}
    virtual void ColorChanged() {}

    TWindowedElement* FParent;
    TBounds FBounds;
    bool FVisible = true;
    std::optional<TFont> FFont;
    std::optional<TColor> FColor;
};

// An element with a window of its own. Stock controls are subclassed; own classes
// route their window procedure here through one thunk. The element keeps everything its
// window shows, and makes the window only the first time it or its container is shown, or
// something needs the window: a hidden element costs no window.
class TWindowedElement : public TElement {
public:
    TWindowedElement(TWindowedElement* parent);
    ~TWindowedElement() override;

    // The window, or null while the element has none yet.
    HWND Handle() const { return FHandle; }
    // The window, made now (its container's first) where it is missing; fails with
    // "Error creating window" and stays without one, to try again when next needed.
    HWND HandleNeeded();
    // The windows this element needs to be shown, made now where missing: its own, and those of
    // what it shows. A handler makes them before it changes anything, so that a refused window
    // leaves the program as it was.
    void WindowsNeeded();
    void SetBounds(const TBounds& bounds) override;
    void SetVisible(bool visible) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    int TabOrder = -1;
    bool TabStop = false;

    // Sees the keys pressed in this control and in every control inside it, before they do.
    TKeyEvent OnKeyDown;

    // What screen readers are told (widgets/accessible.h): the labels a container's client
    // object offers, in reading order, and a name for the system's object of a control.
    std::vector<TLabel*> ReadLabels;
    std::string AccessibleName;
    // The container's client object, made when a reader first asks; cut off when the element goes.
    TAccessibleClient* ReaderObject = nullptr;

    // Labels and windowed children that this control contains, in layout order.
    const std::vector<TLabel*>& Labels() const { return FLabels; }
    const std::vector<TWindowedElement*>& Children() const { return FChildren; }
    void AddLabel(TLabel* label) { FLabels.push_back(label); }
    void RemoveLabel(TLabel* label);
    void AddChild(TWindowedElement* child) { FChildren.push_back(child); }
    void RemoveChild(TWindowedElement* child);

    // Client coordinates of the parent at which the layout's (0, 0) lies; moves when scrolled.
    virtual POINT ScrollOrigin() const { return {0, 0}; }
    // Something inside changed its extent or visibility.
    virtual void ContentChanged() {}
    // The label under a client point, topmost first, if any.
    TLabel* LabelAt(POINT client) const;

    void PaintLabels(HDC dc) const;
    void SetFocus();
    void ScaleBy(int numerator, int denominator) override;

protected:
    // Makes the element's window from its stored settings, by CreateStock or CreateOwn.
    virtual void CreateHandle() = 0;
    // Creates a window of a stock class and subclasses it.
    void CreateStock(const char* className, const char* text, DWORD style, DWORD exStyle = 0);
    // Creates a window of a class we register, routed to WindowProc.
    void CreateOwn(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent, HMENU menu,
                   const TBounds& outer);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Handlers of the notifications a parent reflects back.
    virtual void Command(WORD /*code*/) {}
    virtual LRESULT Notify(NMHDR* /*header*/) { return 0; }
    virtual LRESULT CtlColor(HDC dc);

    void FontChanged() override;
    // Gives the window the element's font; elements that show no text take none.
    virtual void ApplyFont();
    void ColorChanged() override;
    bool HandleTabKey(UINT message, WPARAM wParam);
    // Offers a key to this control's OnKeyDown and its containers'; true when one took it.
    bool OfferKey(WORD key);

    HWND FHandle = nullptr;
    bool FEnabled = true;
    bool FOwnClass = false;

private:
    template <typename TOwner>
    friend LRESULT CALLBACK OwnWindowThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam);
    // Puts a new window below the later elements' windows and above the earlier ones'.
    void PlaceInStack();

    std::vector<TLabel*> FLabels;
    std::vector<TWindowedElement*> FChildren;
    TLabel* FPressedLabel = nullptr;
    bool FKeyTaken = false; // the character of a key an OnKeyDown took is not typed
};

// The top-level window that contains an element, if any.
TWindowedElement* TopLevelOf(const TElement* control);

// Tab order: the next visible, enabled tab stop after current inside root, wrapping.
TWindowedElement* NextTabStop(TWindowedElement* root, TWindowedElement* current, bool forward);

// Registers a window class of ours once; returns its name.
const char* RegisterOwnClass(const char* name, WNDPROC proc, HBRUSH background, UINT style = 0);
