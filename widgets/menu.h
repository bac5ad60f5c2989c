// Menus: the window's menu bar and popup menus, with items that raise their own click events.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "widgets/element.h"
#include "widgets/msgwindow.h"

class TMenuItem {
public:
    explicit TMenuItem(std::string caption);
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    const std::string& Caption() const { return FCaption; }
    WORD Command() const { return FCommand; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    void Add(TMenuItem& item);
    const std::vector<TMenuItem*>& Items() const { return FItems; }

    TEventHandler OnClick;
    void Click();

    // Builds the item into menu at position; items with subitems become popups.
    // barWindow is the window whose menu bar holds the item directly, if any.
    void AppendTo(HMENU menu, UINT position, HWND barWindow = nullptr);
    // The item with this command among this item and its subitems.
    TMenuItem* Find(WORD command);

private:
    std::string FCaption;
    WORD FCommand;
    bool FEnabled = true;
    std::vector<TMenuItem*> FItems;
    HMENU FOwner = nullptr;
    HWND FBarWindow = nullptr;
    UINT FPosition = 0;
    HMENU FSubmenu = nullptr;
};

class TMenuBar {
public:
    TMenuBar() = default;
    TMenuBar(const TMenuBar&) = delete;
    TMenuBar& operator=(const TMenuBar&) = delete;

    void Add(TMenuItem& item) { FItems.push_back(&item); }
    // Builds the menu bar and gives it to the window, which then owns and destroys it.
    void AttachTo(HWND window);
    // Runs the click of the item behind a WM_COMMAND from the menu bar.
    bool Dispatch(WORD command);
    HMENU Handle() const { return FHandle; }

private:
    std::vector<TMenuItem*> FItems;
    HMENU FHandle = nullptr;
};

class TPopupMenu {
public:
    TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    ~TPopupMenu();

    void Add(TMenuItem& item);
    // An item that only the menu holds.
    TMenuItem& AddOwned(std::string caption);
    const std::vector<TMenuItem*>& Items() const { return FItems; }

    // Shows the menu with its top-left corner at a screen point; returns when it closes.
    void Popup(int x, int y);
    bool Dispatch(WORD command);
    HMENU Handle() const { return FHandle; }

    // The hidden window that popup menus report chosen items to; made by the first popup menu.
    static HWND FacilityWindow();

private:
    std::vector<TMenuItem*> FItems;
    std::vector<std::unique_ptr<TMenuItem>> FOwned;
    HMENU FHandle;
};
