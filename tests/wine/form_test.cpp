// The main window built for real: its layout, geometry lock, menus, tab order and scroll bars.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>

#include "app/application.h"
#include "app/failure.h"
#include "tests/wine/harness.h"
#include "ui/mytime1.h"

namespace {

// Bounds of a windowed element as the platform has them, relative to its parent's client area.
TBounds PlacedBounds(const TWindowedElement& element)
{
    RECT r{};
    GetWindowRect(element.Handle(), &r);
    MapWindowPoints(nullptr, GetParent(element.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string MenuText(HMENU menu, UINT position)
{
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

using FormTest = FormFixture;

TEST_F(FormTest, FirstShownLockedAtItsPlaceWithOnlyTheClockShowing)
{
    ExpectOuter(Window(), 255, 140, 243, 185);
    EXPECT_EQ(243, LockedWidth);
    EXPECT_EQ(185, LockedHeight);
    EXPECT_FALSE(IsZoomed(Window()));
    char caption[32] = {};
    GetWindowTextA(Window(), caption, sizeof caption);
    EXPECT_STREQ("Horalet", caption);
    EXPECT_EQ(Application->Handle(), GetWindow(Window(), GW_OWNER));

    EXPECT_TRUE(form->Timelabel1->Showing());
    EXPECT_TRUE(form->Label2->Showing());
    EXPECT_EQ("Alarm is not set", form->Label2->Caption());
    for (const TElement* hidden : std::initializer_list<const TElement*>{
             form->Label3.get(), form->Label4.get(), form->MediaPlayer1.get(), form->GroupBox1.get(),
             form->Button3.get(), form->ListBox1.get(), form->Button4.get(), form->Label1.get(), form->Edit1.get()})
        EXPECT_FALSE(hidden->Showing());
    EXPECT_EQ(nullptr, GetWindow(Window(), GW_CHILD)) << "nothing hidden has a window yet";
    EXPECT_FALSE(form->Timer1->Enabled());
    EXPECT_EQ(1000u, form->Timer1->Interval());
}

TEST_F(FormTest, WindowedElementsGetTheirLayoutGeometryWhenFirstShown)
{
    // Before their windows exist the elements hold what the windows will show.
    EXPECT_EQ("0", form->Edit1->Text());
    const int editHeight = TEditField::HeightForFont(form->Edit1->Font());
    Choose(*form->Help2);
    form->Button3->SetVisible(true);
    Choose(*form->SetAlarm2);
    form->MediaPlayer1->HandleNeeded();
    struct Row {
        const char* name;
        const TWindowedElement* element;
        TBounds bounds;
    };
    const Row rows[] = {
        {"MediaPlayer1", form->MediaPlayer1.get(), {0, 0, 253, 30}},
        {"GroupBox1", form->GroupBox1.get(), {24, 16, 161, 89}},
        {"Edit1", form->Edit1.get(), {8, 24, 33, editHeight}},
        {"Edit2", form->Edit2.get(), {64, 24, 33, editHeight}},
        {"UpDown1", form->UpDown1.get(), {41, 24, 15, 28}},
        {"UpDown2", form->UpDown2.get(), {97, 24, 15, 28}},
        {"Button1", form->Button1.get(), {8, 64, 73, 17}},
        {"Button2", form->Button2.get(), {88, 64, 57, 17}},
        {"Button3", form->Button3.get(), {32, 40, 73, 25}},
        {"ListBox1", form->ListBox1.get(), {16, 12, 169, 93}},
        {"Button4", form->Button4.get(), {56, 104, 57, 17}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TBounds placed = PlacedBounds(*row.element);
        EXPECT_EQ(row.bounds.Left, placed.Left);
        EXPECT_EQ(row.bounds.Top, placed.Top);
        EXPECT_EQ(row.bounds.Width, placed.Width);
        EXPECT_EQ(row.bounds.Height, placed.Height);
    }
    // A bordered single-line field is as tall as its font's cell plus eight borders.
    TEXTMETRICA metrics{};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, form->Edit1->Font().Handle());
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(metrics.tmHeight + 8 * GetSystemMetrics(SM_CYBORDER), editHeight);

    // The spinners were made with the panel, each attached to its field and given its range.
    struct Spinner {
        const TSpinner* spinner;
        const TEditField* field;
        int maximum;
    };
    for (const Spinner& row :
         {Spinner{form->UpDown1.get(), form->Edit1.get(), 12}, Spinner{form->UpDown2.get(), form->Edit2.get(), 59}}) {
        EXPECT_EQ(row.field->Handle(), reinterpret_cast<HWND>(SendMessageA(row.spinner->Handle(), UDM_GETBUDDY, 0, 0)));
        int low = -1, high = -1;
        SendMessageA(row.spinner->Handle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                     reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(0, low);
        EXPECT_EQ(row.maximum, high);
    }
    EXPECT_EQ(13, SendMessageA(form->ListBox1->Handle(), LB_GETITEMHEIGHT, 0, 0));
}

TEST_F(FormTest, LabelsKeepTheirPlaceAndFitTheirText)
{
    struct Row {
        const char* name;
        const TLabel* label;
        int left, top;
    };
    const Row rows[] = {{"Label2", form->Label2.get(), 16, 48},
                        {"Label3", form->Label3.get(), 16, 72},
                        {"Label4", form->Label4.get(), 16, 0},
                        {"Timelabel1", form->Timelabel1.get(), 16, 16},
                        {"Label1", form->Label1.get(), 120, 32}};
    HDC dc = GetDC(nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.left, row.label->Left());
        EXPECT_EQ(row.top, row.label->Top());
        const std::string text = row.label->Caption().empty() ? " " : row.label->Caption();
        HGDIOBJ old = SelectObject(dc, row.label->Font().Handle());
        RECT fit{0, 0, 0, 0};
        DrawTextA(dc, text.c_str(), -1, &fit, DT_CALCRECT | DT_EXPANDTABS);
        SelectObject(dc, old);
        EXPECT_EQ(fit.right, row.label->Width());
        EXPECT_EQ(fit.bottom, row.label->Height());
    }
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(form->Timelabel1->Font().Bold());
    EXPECT_EQ(-19, form->Timelabel1->Font().Height());
    EXPECT_EQ(RGB(255, 0, 0), form->Timelabel1->Font().Color().Resolve());
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), form->Label1->Color().Resolve());
}

TEST_F(FormTest, LaterWindowedElementsLieAboveEarlierOnesWhateverOrderTheyAreFirstShownIn)
{
    auto panel = [this] { form->GroupBox1->SetVisible(true); };
    auto viewer = [this] { form->ListBox1->SetVisible(true), form->Button4->SetVisible(true); };
    auto ring = [this] { form->MediaPlayer1->HandleNeeded(), form->Button3->SetVisible(true); };
    const std::vector<std::function<void()>> orders[] = {
        {panel, viewer, ring}, {viewer, panel, ring}, {ring, viewer, panel}};
    for (const auto& order : orders) {
        form = std::make_unique<TForm1>();
        form->Show();
        for (const auto& show : order) show();
        // GW_HWNDNEXT walks from the top of the z-order down.
        std::vector<HWND> stack;
        for (HWND child = GetWindow(Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            stack.push_back(child);
        const std::vector<HWND> expected{form->Button4->Handle(), form->ListBox1->Handle(), form->Button3->Handle(),
                                         form->GroupBox1->Handle(), form->MediaPlayer1->Handle()};
        EXPECT_EQ(expected, stack);
    }
}

TEST_F(FormTest, MenusCarryTheirCaptionsInOrder)
{
    HMENU bar = GetMenu(Window());
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(2, GetMenuItemCount(bar));
    EXPECT_EQ("File", MenuText(bar, 0));
    EXPECT_EQ("Help", MenuText(bar, 1));
    HMENU file = GetSubMenu(bar, 0);
    const char* fileItems[] = {"Set Alarm", "Set Font", "Minimize", "Exit"};
    ASSERT_EQ(4, GetMenuItemCount(file));
    for (UINT i = 0; i < 4; ++i) EXPECT_EQ(fileItems[i], MenuText(file, i));
    HMENU help = GetSubMenu(bar, 1);
    EXPECT_EQ("Help", MenuText(help, 0));
    EXPECT_EQ("About", MenuText(help, 1));
    HMENU popup = form->PopupMenu1->Handle();
    ASSERT_EQ(2, GetMenuItemCount(popup));
    EXPECT_EQ("Set Font", MenuText(popup, 0));
    EXPECT_EQ("Set Alarm", MenuText(popup, 1));
    EXPECT_EQ(form->SetAlarm1, form->PopupMenu1->Items()[1]);
}

TEST_F(FormTest, ResizeAndMaximizeSnapBackButAMoveStays)
{
    SetWindowPos(Window(), nullptr, 0, 0, 400, 400, SWP_NOMOVE | SWP_NOZORDER);
    ExpectOuter(Window(), 255, 140, 243, 185);

    SetWindowPos(Window(), nullptr, 10, 20, 300, 120, SWP_NOZORDER);
    ExpectOuter(Window(), 255, 140, 243, 185);

    ShowWindow(Window(), SW_MAXIMIZE);
    Pump(20);
    ExpectOuter(Window(), 255, 140, 243, 185);
    EXPECT_FALSE(IsZoomed(Window()));
    EXPECT_FALSE(IsIconic(Window()));

    SetWindowPos(Window(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ExpectOuter(Window(), 300, 200, 243, 185);
}

TEST_F(FormTest, WidthRoutinesRelockTheWindow)
{
    SetWindowPos(Window(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    UseWideLayout();
    EXPECT_EQ(250, LockedWidth);
    ExpectOuter(Window(), 255, 140, 250, 185);

    // Already that wide: nothing happens to the window, so a move stays.
    SetWindowPos(Window(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    UseWideLayout();
    ExpectOuter(Window(), 300, 200, 250, 185);

    UseNarrowLayout();
    ExpectOuter(Window(), 255, 140, 200, 185);
    UseNarrowLayout();
    ExpectOuter(Window(), 255, 140, 200, 185);
}

TEST_F(FormTest, TabMovesThroughTheVisibleEnabledTabStopsInOrder)
{
    form->GroupBox1->SetVisible(true);
    form->Edit1->SetFocus();
    std::vector<HWND> visited;
    for (int i = 0; i < 5; ++i) {
        SendMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        visited.push_back(GetFocus());
    }
    // Spinners and the group box are no tab stops; hidden elements are skipped.
    const std::vector<HWND> expected{form->Edit2->Handle(), form->Button1->Handle(), form->Button2->Handle(),
                                     form->Edit1->Handle(), form->Edit2->Handle()};
    EXPECT_EQ(expected, visited);

    // From a spinner, which holds the focus after every preset, to the stops after and before its
    // place in the tab order.
    BYTE keys[256] = {};
    for (TSpinner* spinner : {form->UpDown1.get(), form->UpDown2.get()}) {
        for (const bool back : {false, true}) {
            SCOPED_TRACE(std::string(spinner == form->UpDown1.get() ? "hour" : "minute") + (back ? " back" : ""));
            GetKeyboardState(keys);
            keys[VK_SHIFT] = back ? 0x80 : 0;
            SetKeyboardState(keys);
            SetFocus(spinner->Handle());
            SendMessageA(spinner->Handle(), WM_KEYDOWN, VK_TAB, 0);
            EXPECT_EQ(back ? form->Edit2->Handle() : form->Button1->Handle(), GetFocus());
        }
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);

    form->GroupBox1->SetVisible(false);
    EXPECT_THROW(form->Edit1->SetFocus(), TFailure);
}

TEST_F(FormTest, ScrollBarsAppearOnlyForVisibleElementsBeyondTheClientArea)
{
    auto style = [&] { return GetWindowLongA(Window(), GWL_STYLE); };
    EXPECT_FALSE(style() & WS_HSCROLL) << "the hidden, wide sound player does not count";
    EXPECT_FALSE(style() & WS_VSCROLL);
    form->Label2->SetCaption("Alarm is set for a very long time indeed, far beyond the edge");
    EXPECT_TRUE(style() & WS_HSCROLL);
    form->Label2->SetCaption("Alarm is not set");
    EXPECT_FALSE(style() & WS_HSCROLL);
}

} // namespace
