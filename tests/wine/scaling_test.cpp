// The layout on a display of another resolution: run by CTest with LogPixels set to 120.
#include <gtest/gtest.h>

#include "tests/wine/harness.h"
#include "ui/mytime1.h"

namespace {

using HighResolution = FormFixture;

int TextHeightOfZero(const TFont& font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, "0", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cy;
}

TEST_F(HighResolution, ElementsScaleByTheTextHeightAndTheWindowKeepsItsSize)
{
    const int ppi = ScreenPixelsPerInch();
    if (ppi == 96) GTEST_SKIP() << "runs only on a display of another resolution";
    EXPECT_EQ(MulDiv(-11, ppi, 96), form->Font().Height());
    const int h = TextHeightOfZero(form->Font());
    ASSERT_NE(13, h);

    RECT outer{};
    GetWindowRect(Window(), &outer);
    EXPECT_EQ(243, outer.right - outer.left);
    EXPECT_EQ(185, outer.bottom - outer.top);

    auto scaled = [h](int edge) { return MulDiv(edge, h, 13); };
    struct Row {
        const char* name;
        const TElement* element;
        int left, top, right, bottom;
    };
    const Row rows[] = {
        {"GroupBox1", form->GroupBox1.get(), 24, 16, 185, 105}, {"Button3", form->Button3.get(), 32, 40, 105, 65},
        {"ListBox1", form->ListBox1.get(), 16, 12, 185, 105},   {"Button4", form->Button4.get(), 56, 104, 113, 121},
        {"Button1", form->Button1.get(), 8, 64, 81, 81},        {"UpDown2", form->UpDown2.get(), 97, 24, 112, 52},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(scaled(row.left), row.element->Left());
        EXPECT_EQ(scaled(row.top), row.element->Top());
        EXPECT_EQ(scaled(row.right) - scaled(row.left), row.element->Width());
        EXPECT_EQ(scaled(row.bottom) - scaled(row.top), row.element->Height());
    }
    // Own fonts scale by their point size; an edit field's height follows its font.
    EXPECT_EQ(-MulDiv(MulDiv(-MulDiv(-16, 72, ppi), h, 13), ppi, 72), form->Label2->Font().Height());
    EXPECT_EQ(TEditField::HeightForFont(form->Edit1->Font()), form->Edit1->Height());
    EXPECT_EQ(scaled(16), form->Timelabel1->Left());
    EXPECT_EQ(scaled(48), form->Label2->Top());
}

} // namespace
