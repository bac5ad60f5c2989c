// Push button.
#include "widgets/button.h"

TButton::TButton(TWindowedElement* parent, const TBounds& bounds, const std::string& caption, bool visible)
    : TWindowedElement(parent)
{
    bounds_ = bounds;
    visible_ = visible;
    TabStop = true;
    CreateStock("BUTTON", caption.c_str(), WS_TABSTOP | BS_PUSHBUTTON);
}

void TButton::Command(WORD code)
{
    if (code == BN_CLICKED && OnClick) OnClick(this);
}
