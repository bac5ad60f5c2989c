// List box: single selection, unsorted, fixed item height.
#pragma once

#include <string>
#include <vector>

#include "widgets/control.h"

class TListBox : public TWinControl {
public:
    TListBox(TWinControl* parent, const TBounds& bounds, int itemHeight, const std::vector<std::string>& items);

    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const;

    TNotifyEvent OnDblClick;

protected:
    void Command(WORD code) override;
};
