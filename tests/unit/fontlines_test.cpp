// Unit tests of the font size rule and of the viewer's line splitting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/fontsize.h"
#include "widgets/textlines.h"

namespace {

TEST(FontSize, PointsRoundHalvesAwayFromZeroAndTheCapStoresItsHeight)
{
    struct Case {
        int height, ppi, points;
    };
    const Case kCases[] = {
        {-31, 96, 23},  {-32, 96, 24},  {-33, 96, 25},  {-30, 96, 23},  {-16, 96, 12},  {-11, 96, 8},
        {-38, 120, 23}, {-39, 120, 23}, {-40, 120, 24}, {-41, 120, 25}, {-46, 144, 23}, {-47, 144, 24},
        {-48, 144, 24}, {-49, 144, 25}, {0, 96, 0},     {20, 96, -15},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.height << " at " << c.ppi);
        EXPECT_EQ(c.points, PointsOfHeight(c.height, c.ppi));
    }
    EXPECT_EQ(-32, HeightOfPoints(24, 96));
    EXPECT_EQ(-40, HeightOfPoints(24, 120));
    EXPECT_EQ(-48, HeightOfPoints(24, 144));
    EXPECT_EQ(-1, MulDivRounded(5, 7, 0));
    EXPECT_EQ(-1, MulDivRounded(0x40000000, 8, 1)) << "a result that does not fit";
    EXPECT_EQ(-3, MulDivRounded(5, -1, 2)) << "-2.5 rounds away from zero";
}

TEST(SplitLines, EndsLinesAtCrLfOrCrLfAndStopsAtNul)
{
    using Lines = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string text;
        Lines lines;
    };
    const Case kCases[] = {
        {"empty", "", {}},
        {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
        {"LF", "one\ntwo\n", {"one", "two"}},
        {"CR", "one\rtwo\r", {"one", "two"}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"no end on the last line", "last", {"last"}},
        {"empty lines stay", "\n\nx\n", {"", "", "x"}},
        {"one line end", "\r\n", {""}},
        {"blanks and tabs stay", " \tx  \n", {" \tx  "}},
        {"NUL ends the text", std::string("shown\nhalf\0hidden\nmore", 23), {"shown", "half"}},
        {"NUL first", std::string("\0x", 2), {}},
        {"binary bytes stay", "\x01\xff\x7f\n\x80", {"\x01\xff\x7f", "\x80"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.lines, SplitLines(c.text));
    }
    const std::string wide(100000, 'w');
    EXPECT_EQ(Lines({wide, "x"}), SplitLines(wide + "\r\nx"));
}

} // namespace
