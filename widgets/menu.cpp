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
    TMessageWindow::Options options;
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

TMenuItem::TMenuItem(std::string caption) : caption_(std::move(caption)), command_(NextCommand())
{
}

void TMenuItem::Add(TMenuItem& item)
{
    items_.push_back(&item);
}

void TMenuItem::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!owner_) return;
    EnableMenuItem(owner_, position_, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    if (barWindow_) DrawMenuBar(barWindow_);
}

void TMenuItem::Click()
{
    if (OnClick) OnClick(this);
}

void TMenuItem::AppendTo(HMENU menu, UINT position, HWND barWindow)
{
    owner_ = menu;
    barWindow_ = barWindow;
    position_ = position;
    const UINT state = enabled_ ? MF_ENABLED : MF_GRAYED;
    if (items_.empty()) {
        AppendMenuA(menu, MF_STRING | state, command_, caption_.c_str());
        return;
    }
    submenu_ = CreatePopupMenu();
    for (UINT i = 0; i < items_.size(); ++i) items_[i]->AppendTo(submenu_, i);
    AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(submenu_), caption_.c_str());
}

TMenuItem* TMenuItem::Find(WORD command)
{
    if (command == command_ && items_.empty()) return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->Find(command)) return found;
    return nullptr;
}

void TMenuBar::AttachTo(HWND window)
{
    handle_ = CreateMenu();
    for (UINT i = 0; i < items_.size(); ++i) items_[i]->AppendTo(handle_, i, window);
    SetMenu(window, handle_);
}

bool TMenuBar::Dispatch(WORD command)
{
    return DispatchAmong(items_, command);
}

TPopupMenu::TPopupMenu() : handle_(CreatePopupMenu())
{
    Facility();
    PopupMenus().push_back(this);
}

TPopupMenu::~TPopupMenu()
{
    auto& menus = PopupMenus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
    DestroyMenu(handle_);
}

void TPopupMenu::Add(TMenuItem& item)
{
    item.AppendTo(handle_, static_cast<UINT>(items_.size()));
    items_.push_back(&item);
}

TMenuItem& TPopupMenu::AddOwned(std::string caption)
{
    owned_.push_back(std::make_unique<TMenuItem>(std::move(caption)));
    Add(*owned_.back());
    return *owned_.back();
}

void TPopupMenu::Popup(int x, int y)
{
    TrackPopupMenu(handle_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, FacilityWindow(), nullptr);
}

bool TPopupMenu::Dispatch(WORD command)
{
    return DispatchAmong(items_, command);
}

HWND TPopupMenu::FacilityWindow()
{
    return Facility().Handle();
}
