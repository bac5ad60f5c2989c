// Font size arithmetic.
#include "widgets/fontsize.h"

#include <cstdlib>
#include <limits>

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c)
{
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    int64_t quotient = product / c;
    const int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<int64_t>(c))) quotient += (product < 0) == (c < 0) ? 1 : -1;
    if (quotient > std::numeric_limits<int32_t>::max() || quotient < std::numeric_limits<int32_t>::min()) return -1;
    return static_cast<int32_t>(quotient);
}

int32_t PointsOfHeight(int32_t height, int32_t pixelsPerInch)
{
    return -MulDivRounded(height, 72, pixelsPerInch);
}

int32_t HeightOfPoints(int32_t points, int32_t pixelsPerInch)
{
    return -MulDivRounded(points, pixelsPerInch, 72);
}
