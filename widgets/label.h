// Label: a caption painted by its parent, sized to its text.
#pragma once

#include <string>

#include "widgets/element.h"

// A label: no window of its own; its parent paints it beneath every windowed element
// and passes it the clicks on its area. It sizes itself to its caption.
class TLabel : public TElement {
public:
    TLabel(TWindowedElement* parent, std::string caption);
    ~TLabel() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);

    TEventHandler OnClick;
    // Read as a button, whose action is a click, rather than as text.
    bool ReadAsButton = false;

    void SetBounds(const TBounds& bounds) override;
    void SetVisible(bool visible) override;
    // Once loaded, a label fits its caption in the font it really got.
    void Loaded() override { AdjustBounds(); }
    void Paint(HDC dc, POINT origin) const;
    void Click();

    // Resizes to the caption in the label's font, keeping left and top.
    void AdjustBounds();

protected:
    void FontChanged() override;
    void ColorChanged() override { Invalidate(); }
    void Invalidate() const;

private:
    std::string FCaption;
};
