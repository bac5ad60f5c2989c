// Edit field: one line with a border; its height follows its font.
#pragma once

#include "widgets/element.h"

class TEditField : public TWindowedElement {
public:
    TEditField(TWindowedElement* parent, const TBounds& bounds, std::string text, bool readOnly);

    std::string Text() const;
    // Writing the current text does nothing; a different text runs OnChange inside the write.
    void SetText(const std::string& text);

    TEventHandler OnChange;

    // The height a single-line bordered field takes with a font: its cell plus eight borders.
    static int HeightForFont(const TFont& font);

protected:
    void CreateHandle() override;
    void Command(WORD code) override;
    void ApplyFont() override;
    void FontChanged() override;
    void ScaleBy(int numerator, int denominator) override;

private:
    std::string FText; // until the field has a window
    bool FReadOnly;
};
