// The layout on a display of any resolution and in any frame: run by CTest at 96 with the other
// tests, and with LogPixels set to 120, 144 and 192.
// The padded border of the frame metrics is known from Windows Vista on.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#undef WINVER
#define WINVER 0x0600
#include <windows.h>

#include <gtest/gtest.h>

#include "clock/localetime.h"
#include "tests/wine/harness.h"
#include "tests/wine/selftest.h"
#include "ui/mytime1.h"
#include "widgets/fontsize.h"

namespace {

int TextHeightOfZero(const TFont& font);

SIZE ClientSize(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

class Scaling : public FormFixture {
protected:
    // The client area is the layout's at each width, scaled, in its place, with no scroll bar
    // over it: with the clock alone, the panel open and the viewer open.
    void ExpectTheDesignClientArea(const char* frame)
    {
        SCOPED_TRACE(frame);
        const int h = TextHeightOfZero(form->Font());
        auto noScrollBars = [this] { return !(GetWindowLongA(Window(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)); };
        struct Width {
            const char* name;
            void (*use)();
            int design;
        };
        const Width widths[] = {
            {"at start", nullptr, 243}, {"narrow", UseNarrowLayout, 200}, {"wide", UseWideLayout, 250}};
        for (const Width& width : widths) {
            SCOPED_TRACE(width.name);
            if (width.use) width.use();
            RECT outer{};
            GetWindowRect(Window(), &outer);
            EXPECT_EQ(outer.right - outer.left, LockedWidth);
            EXPECT_EQ(outer.bottom - outer.top, LockedHeight);
            const SIZE client = ClientSize(Window());
            EXPECT_EQ(MulDiv(width.design - 8, h, 13), client.cx);
            EXPECT_EQ(MulDiv(139, h, 13), client.cy);
            EXPECT_EQ(255, outer.left);
            EXPECT_EQ(140, outer.top);
            EXPECT_TRUE(noScrollBars());
        }
        Choose(*form->SetAlarm2);
        EXPECT_TRUE(noScrollBars()) << "the panel open";
        Choose(*form->Help2);
        EXPECT_TRUE(noScrollBars()) << "the viewer open";
    }
};

// Frame metrics as Windows 10 and 11 give them, thicker than the system's, while it lives: a
// padded border beside a wider sizing border, a taller title bar and menu bar.
class ThickerFrame {
public:
    ThickerFrame()
    {
        saved_.cbSize = sizeof saved_;
        EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0));
        NONCLIENTMETRICSW thick = saved_;
        thick.iBorderWidth += 4;
        thick.iPaddedBorderWidth += 4;
        thick.iCaptionHeight += 5;
        thick.iMenuHeight += 3;
        Apply(thick);
    }
    ~ThickerFrame() { Apply(saved_); }
    ThickerFrame(const ThickerFrame&) = delete;
    ThickerFrame& operator=(const ThickerFrame&) = delete;

private:
    static void Apply(NONCLIENTMETRICSW& metrics)
    {
        // Told to every window as the system tells them. Wine tells them only of a change kept
        // in the (throw-away) profile.
        EXPECT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics,
                                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    }
    NONCLIENTMETRICSW saved_{};
};

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

TEST_F(Scaling, EverythingScalesByTheTextHeightAndTheWindowGrowsWithIt)
{
    const int ppi = ScreenPixelsPerInch();
    EXPECT_EQ(MulDiv(-11, ppi, 96), form->Font().Height());
    const int h = TextHeightOfZero(form->Font());
    auto scaled = [h](int edge) { return MulDiv(edge, h, 13); };
    ExpectTheDesignClientArea("the system's frame");

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
    EXPECT_EQ(TEditField::HeightForFont(form->Edit1->Font()), form->Edit1->Height());
    EXPECT_EQ(scaled(16), form->Timelabel1->Left());
    EXPECT_EQ(scaled(48), form->Label2->Top());

    form->Button3->SetVisible(true);

    // Every control that shows text holds a live font of its scaled height, its own or the one
    // it takes from its parent; own fonts scale by their point size.
    const int panel = HeightOfPoints(MulDiv(PointsOfHeight(-16, ppi), h, 13), ppi);
    const int window = MulDiv(-11, ppi, 96);
    struct Font {
        const char* name;
        const TWindowedElement* control;
        int height;
    };
    const Font fonts[] = {
        {"GroupBox1", form->GroupBox1.get(), panel}, {"Edit1", form->Edit1.get(), panel},
        {"Edit2", form->Edit2.get(), panel},         {"Button1", form->Button1.get(), panel},
        {"Button2", form->Button2.get(), panel},     {"Button3", form->Button3.get(), panel},
        {"ListBox1", form->ListBox1.get(), window},  {"Button4", form->Button4.get(), window},
    };
    for (const Font& font : fonts) {
        SCOPED_TRACE(font.name);
        const auto held = reinterpret_cast<HFONT>(SendMessageA(font.control->Handle(), WM_GETFONT, 0, 0));
        LOGFONTA described{};
        ASSERT_EQ(static_cast<int>(sizeof described), GetObjectA(held, sizeof described, &described));
        EXPECT_EQ(font.height, described.lfHeight);
    }
    for (const TWindowedElement* fontless : {static_cast<const TWindowedElement*>(form->UpDown1.get()),
                                             static_cast<const TWindowedElement*>(form->UpDown2.get())})
        EXPECT_EQ(0, SendMessageA(fontless->Handle(), WM_GETFONT, 0, 0));
    EXPECT_EQ(scaled(13), SendMessageA(form->ListBox1->Handle(), LB_GETITEMHEIGHT, 0, 0));
    // Each field shows its two digits whole: the room its margins leave holds them.
    for (const TEditField* field : {form->Edit1.get(), form->Edit2.get()}) {
        RECT room{};
        SendMessageA(field->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, field->Font().Handle());
        SIZE text{};
        GetTextExtentPoint32A(dc, field->Text().c_str(), static_cast<int>(field->Text().size()), &text);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        EXPECT_LE(text.cx, room.right - room.left) << "'" << field->Text() << "' in " << field->Width() << " pixels";
    }
}

TEST_F(Scaling, AThickerFrameLeavesTheClientAreaOfTheDesign)
{
    SKIP_OFF_THE_TEST_MACHINE("it changes the frame of every window on the desktop and keeps it in the "
                              "user's profile, as only a throw-away session may");
    RECT before{};
    GetWindowRect(Window(), &before);
    {
        ThickerFrame thicker;
        // As soon as the open window hears of it, and in one built under that frame.
        RECT outer{};
        EXPECT_TRUE(PumpUntil([&] {
            GetWindowRect(Window(), &outer);
            return outer.right - outer.left > before.right - before.left &&
                   outer.bottom - outer.top > before.bottom - before.top;
        })) << "waited for the window to grow with the frame from "
            << before.right - before.left << " by " << before.bottom - before.top << "; it is "
            << outer.right - outer.left << " by " << outer.bottom - outer.top;
        ExpectTheDesignClientArea("a thicker frame, changed while open");
        Rebuild();
        ExpectTheDesignClientArea("a thicker frame at start");
    }
    // Back in the system's frame, wide, with the viewer open.
    const int h = TextHeightOfZero(form->Font());
    SIZE client{};
    EXPECT_TRUE(PumpUntil([&] {
        client = ClientSize(Window());
        RECT outer{};
        GetWindowRect(Window(), &outer);
        return outer.bottom - outer.top == before.bottom - before.top;
    })) << "waited for the window to shrink back with the frame";
    EXPECT_EQ(MulDiv(250 - 8, h, 13), client.cx);
    EXPECT_EQ(MulDiv(139, h, 13), client.cy);
}

TEST_F(Scaling, AAndPChooseTheDayHalfFromTheKeyboard)
{
    FakeLocale locale({{LOCALE_STIME, ":"}, {LOCALE_S1159, "AM"}, {LOCALE_S2359, "PM"}, {LOCALE_ITIME, "0"}});
    FakeClock clock(9, 30, 0);
    form->FormCreate(nullptr);
    struct Row {
        WORD key;
        const char* half;
        const char* armed;
    };
    for (const Row& row : {Row{'P', "PM", "9:31:00 PM"}, Row{'A', "AM", "9:31:00 AM"}}) {
        SCOPED_TRACE(row.half);
        Choose(*form->SetAlarm2);
        // Wherever the focus is in the panel: the hour spinner after the preset, or a field.
        for (HWND focus : {form->UpDown1->Handle(), form->Edit2->Handle()}) {
            const char* other = row.key == 'A' ? "PM" : "AM";
            form->Label1->SetCaption(other);
            SetFocus(focus);
            // With Ctrl (select all in a field, say) the key is not the day half's.
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_CONTROL] = 0x80;
            SetKeyboardState(keys);
            SendMessageA(focus, WM_KEYDOWN, row.key, 1);
            EXPECT_EQ(other, form->Label1->Caption()) << "with Ctrl held";
            keys[VK_CONTROL] = 0;
            SetKeyboardState(keys);
            SendMessageA(focus, WM_KEYDOWN, row.key, 1);
            EXPECT_EQ(row.half, form->Label1->Caption());
        }
        Click(*form->Button2);
        EXPECT_EQ(row.armed, form->Label3->Caption());
    }
}

} // namespace
