// Push button.
#include "widgets/button.h"

TButton::TButton(TWinControl* parent, const TBounds& bounds, const std::string& caption, bool visible)
    : TWinControl(parent)
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
