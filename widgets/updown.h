// Up-down spinner attached to an edit field that shows its position.
#pragma once

#include "widgets/control.h"

class TEdit;

class TUpDown : public TWinControl {
public:
    TUpDown(TWinControl* parent, const TBounds& bounds, TEdit& buddy, int minimum, int maximum);

    int Position() const;
    void SetPosition(int position);
    int Min() const { return min_; }
    int Max() const { return max_; }

private:
    int min_;
    int max_;
};
