// List box: single selection, unsorted, fixed item height.
#pragma once

#include <string>
#include <vector>

#include "widgets/element.h"

class TListBox : public TWindowedElement {
public:
    TListBox(TWindowedElement* parent, const TBounds& bounds, int itemHeight, const std::vector<std::string>& items);

    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const;

    TEventHandler OnDblClick;

protected:
    void Command(WORD code) override;
};
