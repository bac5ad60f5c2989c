// Edit field: one line with a border; its height follows its font.
#pragma once

#include "widgets/control.h"

class TEdit : public TWinControl {
public:
    TEdit(TWinControl* parent, const TBounds& bounds, std::string text, bool readOnly);

    std::string Text() const;
    // Writing the current text does nothing; a different text runs OnChange inside the write.
    void SetText(const std::string& text);

    TNotifyEvent OnChange;

    // The height a single-line bordered field takes with a font: its cell plus eight borders.
    static int HeightForFont(const TFont& font);

protected:
    void Command(WORD code) override;
    void FontChanged() override;
    void ScaleBy(int numerator, int denominator) override;
};
