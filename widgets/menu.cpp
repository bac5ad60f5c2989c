// Menus: menu bar, popup menus and the hidden window that reports popup choices.
#include "widgets/menu.h"

#include <algorithm>

namespace {

WORD NextCommand()
{
    static WORD next = 100;
    return next++;
}

// Every popup menu alive, for the facility window to route a chosen item to.
std::vector<TPopupMenu*>& PopupMenus()
{
    static std::vector<TPopupMenu*> menus;
    return menus;
}

TMessageWindow& Facility()
{
    // A hidden top-level window rather than a message-only one: menus track against their owner.
    TMessageWindow::TOptions options;
    options.Parent = nullptr;
    static TMessageWindow window(
        "HoraletPopupWindow",
        [](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
            if (message != WM_COMMAND) return false;
            for (TPopupMenu* menu : PopupMenus())
                if (menu->Dispatch(LOWORD(wParam))) break;
            result = 0;
            return true;
        },
        options);
    return window;
}

// Runs the click of the item behind command, if it is among items or their subitems.
bool DispatchAmong(const std::vector<TMenuItem*>& items, WORD command)
{
    for (TMenuItem* item : items) {
        if (TMenuItem* found = item->Find(command)) {
            found->Click();
            return true;
        }
    }
    return false;
}

} // namespace

TMenuItem::TMenuItem(std::string caption) : FCaption(std::move(caption)), FCommand(NextCommand())
{
}

void TMenuItem::Add(TMenuItem& item)
{
    FItems.push_back(&item);
}

void TMenuItem::SetEnabled(bool enabled)
{
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    if (!FOwner) return;
    EnableMenuItem(FOwner, FPosition, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    if (FBarWindow) DrawMenuBar(FBarWindow);
}

void TMenuItem::Click()
{
    if (OnClick) OnClick(this);
}

void TMenuItem::AppendTo(HMENU menu, UINT position, HWND barWindow)
{
    FOwner = menu;
    FBarWindow = barWindow;
    FPosition = position;
    const UINT state = FEnabled ? MF_ENABLED : MF_GRAYED;
    if (FItems.empty()) {
        AppendMenuA(menu, MF_STRING | state, FCommand, FCaption.c_str());
        return;
    }
    FSubmenu = CreatePopupMenu();
    for (UINT i = 0; i < FItems.size(); ++i) FItems[i]->AppendTo(FSubmenu, i);
    AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(FSubmenu), FCaption.c_str());
}

TMenuItem* TMenuItem::Find(WORD command)
{
    if (command == FCommand && FItems.empty()) return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->Find(command)) return found;
    return nullptr;
}

void TMenuBar::AttachTo(HWND window)
{
    FHandle = CreateMenu();
    for (UINT i = 0; i < FItems.size(); ++i) FItems[i]->AppendTo(FHandle, i, window);
    SetMenu(window, FHandle);
}

bool TMenuBar::Dispatch(WORD command)
{
    return DispatchAmong(FItems, command);
}

TPopupMenu::TPopupMenu() : FHandle(CreatePopupMenu())
{
    Facility();
    PopupMenus().push_back(this);
}

TPopupMenu::~TPopupMenu()
{
    auto& menus = PopupMenus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
    DestroyMenu(FHandle);
}

void TPopupMenu::Add(TMenuItem& item)
{
    item.AppendTo(FHandle, static_cast<UINT>(FItems.size()));
    FItems.push_back(&item);
}

TMenuItem& TPopupMenu::AddOwned(std::string caption)
{
    FOwned.push_back(std::make_unique<TMenuItem>(std::move(caption)));
    Add(*FOwned.back());
    return *FOwned.back();
}

void TPopupMenu::Popup(int x, int y)
{
    TrackPopupMenu(FHandle, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, FacilityWindow(), nullptr);
}

bool TPopupMenu::Dispatch(WORD command)
{
    return DispatchAmong(FItems, command);
}

HWND TPopupMenu::FacilityWindow()
{
    return Facility().Handle();
}
