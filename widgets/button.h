// Push button.
#pragma once

#include "widgets/control.h"

class TButton : public TWinControl {
public:
    TButton(TWinControl* parent, const TBounds& bounds, const std::string& caption, bool visible);

    TNotifyEvent OnClick;

protected:
    void Command(WORD code) override;
};
