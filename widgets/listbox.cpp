// List box.
#include "widgets/listbox.h"

TListBox::TListBox(TWindowedElement* parent, const TBounds& bounds, int itemHeight,
                   const std::vector<std::string>& items)
    : TWindowedElement(parent)
{
    bounds_ = bounds;
    visible_ = false;
    TabStop = true;
    color_ = TColor::System(COLOR_WINDOW);
    CreateStock("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE);
    SendMessageA(handle_, LB_SETITEMHEIGHT, 0, itemHeight);
    SetItems(items);
}

std::vector<std::string> TListBox::Items() const
{
    std::vector<std::string> items;
    const auto count = SendMessageA(handle_, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(SendMessageA(handle_, LB_GETTEXTLEN, i, 0)), '\0');
        SendMessageA(handle_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        items.push_back(text.c_str());
    }
    return items;
}

void TListBox::SetItems(const std::vector<std::string>& items)
{
    SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

int TListBox::ItemIndex() const
{
    return static_cast<int>(SendMessageA(handle_, LB_GETCURSEL, 0, 0));
}

void TListBox::Command(WORD code)
{
    if (code == LBN_DBLCLK && OnDblClick) OnDblClick(this);
}
