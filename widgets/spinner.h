// Up-down spinner attached to an edit field: each step starts from the number the field shows
// and writes the new one into it.
#pragma once

#include "widgets/element.h"

class TEditField;

class TSpinner : public TWindowedElement {
public:
    // Made with the windows of its container, after its field, and attached to the field then.
    TSpinner(TWindowedElement* parent, const TBounds& bounds, TEditField& buddy, int minimum, int maximum);

protected:
    void CreateHandle() override;
    // It shows no text.
    void ApplyFont() override {}
    // Every step the platform asks about is granted.

private:
    TEditField& FBuddy;
    int FMin;
    int FMax;
};
