// Group box: a framed, captioned container whose labels it paints itself.
#pragma once

#include "widgets/element.h"

class TGroupBox : public TWindowedElement {
public:
    TGroupBox(TWindowedElement* parent, const TBounds& bounds, const std::string& caption, bool visible);

protected:
    void CreateHandle() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string FCaption;
};
