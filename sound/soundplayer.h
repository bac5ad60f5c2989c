// The sound player element: a hidden windowed element that holds the alarm sound's file name.
#pragma once

#include <string>

#include "widgets/element.h"

class TSoundPlayer : public TWindowedElement {
public:
    TSoundPlayer(TWindowedElement* parent, const TBounds& bounds);

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }

private:
    std::string fileName_;
};
