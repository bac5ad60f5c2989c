// Font size arithmetic, which needs no window: points and pixel heights at a resolution.
#pragma once

#include <cstdint>

// a × b / c rounded to the nearest integer, halves away from zero, as the platform's MulDiv
// does it; -1 when c is 0 or the result does not fit.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);

// The size in points of a font stored with this height (negative: without internal leading)
// on a screen of pixelsPerInch, and the height that stores a size.
int32_t PointsOfHeight(int32_t height, int32_t pixelsPerInch);
int32_t HeightOfPoints(int32_t points, int32_t pixelsPerInch);
