// List box: single selection, unsorted, fixed item height.
#pragma once

#include <string>
#include <vector>

#include "widgets/element.h"

class TListBox : public TWindowedElement {
public:
    TListBox(TWindowedElement* parent, const TBounds& bounds, int itemHeight, const std::vector<std::string>& items);

    void SetItems(const std::vector<std::string>& items);
    // Replaces the lines with those of a text file, read whole in one read. A file that
    // cannot be opened, with no sharing, fails with "Cannot open file <path>" and leaves the
    // list as it was; a line the list cannot take fails with "Unable to insert a line".
    void LoadFromFile(const std::string& path);
    int ItemIndex() const;

    TEventHandler OnDblClick;

    void ScaleBy(int numerator, int denominator) override;

protected:
    void CreateHandle() override;
    void Command(WORD code) override;
    // A new font resets the platform's item height: the list's own goes back in.
    void ApplyFont() override;

private:
    void ApplyItemHeight();

    std::vector<std::string> FItems; // until the list has a window
    int FItemHeight;
};
