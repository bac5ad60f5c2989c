// The main window running: the clock label's ticks, the start-up probe, the popup menu,
// minimizing, exiting, the taskbar entry and the real locale.
#include "app/application.h"
#include "clock/localetime.h"
#include "tests/wine/harness.h"
#include "ui/mytime1.h"

namespace {

bool DropQuit(int* code)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
    *code = static_cast<int>(msg.wParam);
    return true;
}

using FormTest = FormFixture;

HWND clockWindow = nullptr;
int namesChanged = 0;

void CALLBACK CountClockNames(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (window == clockWindow && object == OBJID_CLIENT && child == 1) ++namesChanged;
}

TEST_F(FormTest, ClockLabelShowsTheTimeAndRepaintsOnlyOnChange)
{
    EXPECT_EQ(450u, form->Timelabel1->FTimer->Interval());
    EXPECT_TRUE(form->Timelabel1->FTimer->Enabled());

    FakeLocale locale({{LOCALE_STIME, ":"}, {LOCALE_S1159, "AM"}, {LOCALE_S2359, "PM"}, {LOCALE_ITIME, "0"}});
    // A screen reader hears of each new text as a name change of the clock, the first child.
    clockWindow = Window();
    namesChanged = 0;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, CountClockNames,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    FakeClock clock(22, 5, 0);
    form->Timelabel1->UpdateTime(nullptr);
    EXPECT_EQ("10:05:00 PM", form->Timelabel1->Caption());
    const int wide = form->Timelabel1->Width();
    EXPECT_TRUE(PumpUntil([] { return namesChanged > 0; })) << "waited for the clock's name change";

    UpdateWindow(Window());
    ValidateRect(Window(), nullptr);
    namesChanged = 0;
    FakeClock::Set(22, 5, 0, 450);
    form->Timelabel1->UpdateTime(nullptr);
    EXPECT_FALSE(GetUpdateRect(Window(), nullptr, FALSE)) << "the same second must not repaint";

    FakeClock::Set(21, 5, 0);
    form->Timelabel1->UpdateTime(nullptr);
    EXPECT_EQ("9:05:00 PM", form->Timelabel1->Caption());
    EXPECT_TRUE(GetUpdateRect(Window(), nullptr, FALSE));
    // Events come in order: the one change seen, the same second before it raised none.
    EXPECT_TRUE(PumpUntil([] { return namesChanged > 0; })) << "waited for the clock's name change";
    Pump(100);
    EXPECT_EQ(1, namesChanged) << "name changes for one change of text";
    UnhookWinEvent(hook);
    EXPECT_LT(form->Timelabel1->Width(), wide);
    EXPECT_EQ(16, form->Timelabel1->Left());
}

TEST_F(FormTest, ClockTicksOnItsOwnAndFollowsChangedSettings)
{
    FakeLocale locale({{LOCALE_STIME, ":"}, {LOCALE_S1159, "AM"}, {LOCALE_S2359, "PM"}, {LOCALE_ITIME, "0"}});
    FakeClock clock(13, 45, 9);
    // The caption once it shows text, or at the deadline.
    const auto shows = [this](const std::string& text) {
        PumpUntil([&] { return form->Timelabel1->Caption() == text; });
        return form->Timelabel1->Caption();
    };
    EXPECT_EQ("1:45:09 PM", shows("1:45:09 PM"));

    // A settings change reaches the taskbar window; the next tick shows the new form.
    FakeLocale::Replace({{LOCALE_STIME, "."}, {LOCALE_ITIME, "1"}, {LOCALE_ITLZERO, "1"}});
    FakeClock::Set(13, 45, 10);
    EXPECT_EQ("1:45:10 PM", shows("1:45:10 PM")) << "settings are read only on the notice";
    const std::string separatorAtStart = ClockSeparator;
    SendMessageA(Application->Handle(), WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    EXPECT_EQ("13.45.10", shows("13.45.10"));
    EXPECT_EQ(separatorAtStart, ClockSeparator) << "the probe is not run again";
}

TEST_F(FormTest, ProbeAndFolderAreSetByFormCreate)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\:") + 1);
    EXPECT_EQ(folder, AppFolder);
    EXPECT_EQ(AppFolder + "alarm.wav", form->MediaPlayer1->FileName());

    FakeLocale locale({{LOCALE_STIME, ":"}, {LOCALE_S1159, "AM"}, {LOCALE_S2359, "PM"}, {LOCALE_ITIME, "0"}});
    FakeClock clock(13, 45, 9);
    form->FormCreate(nullptr);
    EXPECT_EQ(":", ClockSeparator);
    EXPECT_EQ("PM", ProbeText);
    EXPECT_EQ(2, SuffixMode);
}

TEST_F(FormTest, ClockClickOpensThePopupAtTheWindowCornerPlusTheLabelOffset)
{
    ModalCatcher catcher;
    const RECT outer = Outer(Window());
    const POINT inLabel{16 + 5, 16 + 5};
    SendMessageA(Window(), WM_RBUTTONDOWN, 0, MAKELPARAM(inLabel.x, inLabel.y));
    SendMessageA(Window(), WM_RBUTTONUP, 0, MAKELPARAM(inLabel.x, inLabel.y));
    Pump(100);
    EXPECT_TRUE(catcher.Menus.empty()) << "a right-click opens nothing";

    SendMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inLabel.x, inLabel.y));
    SendMessageA(Window(), WM_LBUTTONUP, 0, MAKELPARAM(inLabel.x, inLabel.y));
    ASSERT_EQ(1u, catcher.Menus.size());
    EXPECT_EQ(outer.left + 16, catcher.Menus[0].left);
    EXPECT_EQ(outer.top + 16, catcher.Menus[0].top);
    EXPECT_EQ(271, catcher.Menus[0].left);
    EXPECT_EQ(156, catcher.Menus[0].top);
}

TEST_F(FormTest, MinimizeHidesTheWindowAndTheClockGoesOn)
{
    const char* ways[] = {"File, Minimize", "minimize box", "taskbar entry"};
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(ways[way]);
        FakeClock clock(9, 0, 0);
        if (way == 0)
            Choose(*form->Minimize1);
        else
            SendMessageA(way == 1 ? Window() : Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        PumpUntil([this] { return IsIconic(Application->Handle()) && !IsWindowVisible(Window()); });
        EXPECT_TRUE(IsIconic(Application->Handle()));
        EXPECT_FALSE(IsWindowVisible(Window()));
        ExpectOuter(Window(), 255, 140, 243, 185);
        FakeClock::Set(9, 0, 1);
        const std::string ticked = FormatTimeText(TimeOfDay(9, 0, 1));
        PumpUntil([&] { return form->Timelabel1->Caption() == ticked; });
        EXPECT_EQ(ticked, form->Timelabel1->Caption());
        SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        PumpUntil([this] { return IsWindowVisible(Window()) != FALSE; });
        EXPECT_TRUE(IsWindowVisible(Window()));
    }
}

TEST_F(FormTest, ExitAndClosingPostTheQuitRequestWithCodeZero)
{
    int code = -1;
    Choose(*form->Exit1);
    ASSERT_TRUE(DropQuit(&code));
    EXPECT_EQ(0, code);
    EXPECT_TRUE(IsWindow(Window())) << "Exit asks no question and destroys nothing itself";

    code = -1;
    SendMessageA(Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(DropQuit(&code));
    EXPECT_EQ(0, code);

    // Close on the taskbar entry is passed on to the main window.
    code = -1;
    SendMessageA(Application->Handle(), WM_CLOSE, 0, 0);
    Pump(50);
    ASSERT_TRUE(DropQuit(&code));
    EXPECT_EQ(0, code);
}

TEST_F(FormTest, TheTaskbarWindowPassesItsActivationToTheMainWindowAndItsLastFocus)
{
    Choose(*form->SetAlarm2);
    form->Edit2->SetFocus();
    SetActiveWindow(Application->Handle());
    EXPECT_EQ(Window(), GetActiveWindow());
    EXPECT_EQ(form->Edit2->Handle(), GetFocus());
    // A box open disables the main window: the activation stays where the box wants it.
    EnableWindow(Window(), FALSE);
    SetActiveWindow(Application->Handle());
    EXPECT_EQ(Application->Handle(), GetActiveWindow());
    EnableWindow(Window(), TRUE);
}

TEST_F(FormTest, TheWindowAndTheTaskbarEntryCarryTheMainIcon)
{
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    ASSERT_NE(nullptr, icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_NE(0u, GetClassLongPtrA(Window(), GCLP_HICON));
    EXPECT_NE(0u, GetClassLongPtrA(Application->Handle(), GCLP_HICON));
    // The title comes from this executable's name.
    EXPECT_EQ("Horaletselftest", Application->Title()); // the first letter is kept as it stands
    char caption[32] = {};
    GetWindowTextA(Application->Handle(), caption, sizeof caption);
    EXPECT_STREQ("Horaletselftest", caption);
    RECT entry{};
    GetWindowRect(Application->Handle(), &entry);
    EXPECT_EQ(entry.left, entry.right) << "the taskbar window has no size";
    HMENU systemMenu = GetSystemMenu(Application->Handle(), FALSE);
    for (UINT command : {SC_SIZE, SC_MAXIMIZE, SC_MOVE})
        EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(systemMenu, command, MF_BYCOMMAND)) << command;
    EXPECT_NE(static_cast<UINT>(-1), GetMenuState(systemMenu, SC_MINIMIZE, MF_BYCOMMAND));
}

TEST(RealLocale, AnAmericanLocaleGivesATwelveHourClock)
{
    // The test runs with LANG=en_US.UTF-8.
    ReadTimeTextSettings();
    EXPECT_EQ(':', TimeSettings.Separator);
    EXPECT_EQ("AM", TimeSettings.AmDesignator);
    EXPECT_EQ("PM", TimeSettings.PmDesignator);
    EXPECT_EQ("h:mm:ss AMPM", TimeSettings.TimePattern());
    EXPECT_EQ("1:45:09 PM", FormatTimeText(TimeOfDay(13, 45, 9)));
}

} // namespace
