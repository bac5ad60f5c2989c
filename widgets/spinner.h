// Up-down spinner attached to an edit field: each step starts from the number the field shows
// and writes the new one into it.
#pragma once

#include "widgets/element.h"

class TEditField;

class TSpinner : public TWindowedElement {
public:
    TSpinner(TWindowedElement* parent, const TBounds& bounds, TEditField& buddy, int minimum, int maximum);

    int Position() const;
    int Min() const { return min_; }
    int Max() const { return max_; }

protected:
    // Every step the platform asks about is granted.
    LRESULT Notify(NMHDR* header) override;

private:
    int min_;
    int max_;
};
