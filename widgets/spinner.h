// Up-down spinner attached to an edit field that shows its position.
#pragma once

#include "widgets/element.h"

class TEditField;

class TSpinner : public TWindowedElement {
public:
    TSpinner(TWindowedElement* parent, const TBounds& bounds, TEditField& buddy, int minimum, int maximum);

    int Position() const;
    void SetPosition(int position);
    int Min() const { return min_; }
    int Max() const { return max_; }

private:
    int min_;
    int max_;
};
