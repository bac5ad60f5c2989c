// Push button.
#pragma once

#include "widgets/element.h"

class TButton : public TWindowedElement {
public:
    TButton(TWindowedElement* parent, const TBounds& bounds, const std::string& caption, bool visible);

    TEventHandler OnClick;

protected:
    void CreateHandle() override;
    void Command(WORD code) override;

private:
    std::string FCaption;
};
