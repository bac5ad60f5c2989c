// Push button.
#include "widgets/button.h"

TButton::TButton(TWindowedElement* parent, const TBounds& bounds, const std::string& caption, bool visible)
    : TWindowedElement(parent), FCaption(caption)
{
    FBounds = bounds;
    FVisible = visible;
    TabStop = true;
}

void TButton::CreateHandle()
{
    CreateStock("BUTTON", FCaption.c_str(), WS_TABSTOP | BS_PUSHBUTTON);
}

void TButton::Command(WORD code)
{
    if (code == BN_CLICKED && OnClick) OnClick(this);
}
