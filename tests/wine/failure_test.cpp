// Failures under the guard: the box they show, the windows disabled meanwhile, and the timer element.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/application.h"
#include "app/failure.h"
#include "clock/localetime.h"
#include "clock/periodictimer.h"
#include "tests/wine/harness.h"
#include "ui/mytime1.h"

namespace {

using FailureTest = FormFixture;

TEST_F(FailureTest, ReportFailureAlwaysAppendsAPeriod)
{
    ModalCatcher catcher;
    Application->ReportFailure("Not enough timers available");
    Application->ReportFailure("x.");
    ASSERT_EQ(2u, catcher.Boxes.size());
    EXPECT_EQ("Not enough timers available.", catcher.Boxes[0].Text);
    EXPECT_EQ("x..", catcher.Boxes[1].Text);
    for (const CaughtBox& box : catcher.Boxes) {
        EXPECT_EQ(Application->Title(), box.Caption);
        EXPECT_EQ(Application->Handle(), box.Owner);
        EXPECT_FALSE(box.FormWasEnabled) << "the program's windows are disabled while the box is open";
    }
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(FailureTest, AFailureInAHandlerIsShownAndTheProgramGoesOn)
{
    ModalCatcher catcher;
    bool before = false;
    form->SetFont2->OnClick = [&](void*) {
        before = true;
        throw ConversionError("'7:60' is not a valid time");
    };
    // Straight through the window procedure, as a menu choice arrives.
    const LRESULT result = SendMessageA(form->Handle(), WM_COMMAND, form->SetFont2->Command(), 0);
    EXPECT_EQ(0, result);
    EXPECT_TRUE(before) << "what the handler did before the failure stays done";
    ASSERT_EQ(1u, catcher.Boxes.size());
    EXPECT_EQ("'7:60' is not a valid time.", catcher.Boxes[0].Text);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));

    // A chosen popup item is reported through the popup facility's window, also guarded.
    form->SetAlarm1->OnClick = [](void*) { throw Failure("Test", "from the popup"); };
    SendMessageA(TPopupMenu::FacilityWindow(), WM_COMMAND, form->SetAlarm1->Command(), 0);
    ASSERT_EQ(2u, catcher.Boxes.size());
    EXPECT_EQ("from the popup.", catcher.Boxes[1].Text);

    // And the clock still ticks.
    FakeClock clock(8, 0, 0);
    const std::string ticked = FormatTimeText(TimeOfDay(8, 0, 0));
    EXPECT_TRUE(PumpUntil([&] { return form->Timelabel1->Caption() == ticked; }))
        << "waited for the clock to show " << ticked << "; it shows " << form->Timelabel1->Caption();
}

TEST_F(FailureTest, AFailingTickIsReportedEachTimeAndTheTimerKeepsTicking)
{
    ModalCatcher catcher;
    int ticks = 0;
    form->Timer1->SetInterval(60);
    form->Timer1->SetOnTimer([&](void*) {
        ++ticks;
        throw Failure("Test", "tick");
    });
    form->Timer1->SetEnabled(true);
    PumpUntil([&] { return catcher.Boxes.size() >= 3; });
    form->Timer1->SetEnabled(false);
    ASSERT_GE(catcher.Boxes.size(), 3u);
    EXPECT_EQ("tick.", catcher.Boxes[2].Text);
    EXPECT_GE(ticks, 3);
}

// Refuses the next edit field's window, as a system out of resources would.
LRESULT CALLBACK RefuseAField(int code, WPARAM wParam, LPARAM lParam)
{
    char name[16] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    return code == HCBT_CREATEWND && lstrcmpiA(name, "Edit") == 0 ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(FailureTest, AWindowThatCannotBeMadeIsReportedAndMadeAtTheNextShowing)
{
    {
        ModalCatcher catcher;
        HHOOK refuse = SetWindowsHookExA(WH_CBT, RefuseAField, nullptr, GetCurrentThreadId());
        SendMessageA(form->Handle(), WM_COMMAND, form->SetAlarm2->Command(), 0);
        UnhookWindowsHookEx(refuse);
        ASSERT_EQ(1u, catcher.Boxes.size());
        EXPECT_EQ("Error creating window.", catcher.Boxes[0].Text);
        EXPECT_EQ(nullptr, form->Edit1->Handle());
        EXPECT_EQ("0", form->Edit1->Text()) << "what the field holds is read without its window";
    }
    SendMessageA(form->Handle(), WM_COMMAND, form->SetAlarm2->Command(), 0);
    ASSERT_NE(nullptr, form->Edit1->Handle());
    EXPECT_EQ(form->Edit1->Handle(), reinterpret_cast<HWND>(SendMessageA(form->UpDown1->Handle(), UDM_GETBUDDY, 0, 0)));
    EXPECT_EQ(2u, form->Edit1->Text().size()) << "the preset reached the field";
}

TEST(TimerElement, RunsOnlyWithAnIntervalAHandlerAndEnabled)
{
    TPeriodicTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(1000u, timer.Interval());
    EXPECT_FALSE(timer.Running()) << "no handler yet";

    int ticks = 0;
    timer.SetInterval(0);
    timer.SetOnTimer([&](void*) { ++ticks; });
    EXPECT_FALSE(timer.Running()) << "interval 0";
    Pump(150);
    EXPECT_EQ(0, ticks) << "ticked within 150 ms with interval 0";

    timer.SetInterval(30);
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(PumpUntil([&] { return ticks > 2; })) << ticks << " ticks";

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    const int stopped = ticks;
    Pump(150);
    EXPECT_EQ(stopped, ticks) << "ticked within 150 ms of being switched off";
}

TEST(TimerElement, OnlyEffectiveChangesRestartThePeriod)
{
    TPeriodicTimer timer;
    int ticks = 0;
    timer.SetInterval(250);
    timer.SetOnTimer([&](void*) { ++ticks; });
    // Setting the same values again and again must not push the first tick back.
    const DWORD start = GetTickCount();
    while (ticks == 0 && GetTickCount() - start < kDeadline) {
        timer.SetInterval(250);
        timer.SetEnabled(true);
        Pump(20);
    }
    EXPECT_EQ(1, ticks);

    // Switching off and on restarts it: kept up faster than the period, it never ticks.
    ticks = 0;
    const DWORD again = GetTickCount();
    while (GetTickCount() - again < 600) {
        timer.SetEnabled(false);
        timer.SetEnabled(true);
        Pump(20);
    }
    EXPECT_EQ(0, ticks) << "ticked within 600 ms of restarts every 20 ms";
}

TEST(StartupFailure, ShowsTheKindTheModuleAndTheMessageWithAPeriod)
{
    ModalCatcher catcher;
    ShowStartupFailure(ResourceError("Not enough timers available"));
    ShowStartupFailure(ResourceError("ends with a period."));
    ASSERT_EQ(2u, catcher.Boxes.size());
    EXPECT_EQ("Application Error", catcher.Boxes[0].Caption);
    EXPECT_EQ(nullptr, catcher.Boxes[0].Owner);
    const std::string& text = catcher.Boxes[0].Text;
    EXPECT_EQ(0u, text.find("Exception ResourceError in module wine_tests.exe at ")) << text;
    EXPECT_NE(std::string::npos, text.find(".\nNot enough timers available."));
    const std::string& second = catcher.Boxes[1].Text;
    EXPECT_EQ("ends with a period.", second.substr(second.size() - 19));
}

TEST(TimeSettings, ReadFromTheLocaleWithItsDefaultsAndRoom)
{
    {
        // Nothing delivered: the defaults.
        FakeLocale locale({});
        EXPECT_EQ(':', TimeSettings.Separator);
        EXPECT_EQ("am", TimeSettings.AmDesignator);
        EXPECT_EQ("pm", TimeSettings.PmDesignator);
        EXPECT_EQ("h:mm:ss AMPM", TimeSettings.TimePattern());
    }
    {
        // A two-character separator does not fit the room for one, so ":" is used.
        FakeLocale locale({{LOCALE_STIME, "::"},
                           {LOCALE_S1159, ""},
                           {LOCALE_S2359, "p.m."},
                           {LOCALE_ITLZERO, "x"},
                           {LOCALE_ITIME, "1"}});
        EXPECT_EQ(':', TimeSettings.Separator);
        EXPECT_EQ("", TimeSettings.AmDesignator);
        EXPECT_EQ("p.m.", TimeSettings.PmDesignator);
        EXPECT_EQ("h:mm:ss", TimeSettings.TimePattern());
    }
    {
        FakeLocale locale({{LOCALE_STIME, "."}, {LOCALE_ITLZERO, "1"}, {LOCALE_ITIME, "1"}});
        EXPECT_EQ("07.05.09", FormatTimeText(TimeOfDay(7, 5, 9)));
    }
}

TEST(TimeSettings, DesignatorsCompareLikeTheLocale)
{
    FakeLocale locale({{LOCALE_STIME, ":"}, {LOCALE_S1159, "AM"}, {LOCALE_S2359, "PM"}, {LOCALE_ITIME, "0"}});
    EXPECT_DOUBLE_EQ(TimeOfDay(12, 30, 0), ParseTimeText("12:30 pm"));
    EXPECT_DOUBLE_EQ(TimeOfDay(0, 0, 0), ParseTimeText("12 Am"));
    EXPECT_TRUE(LocaleDesignatorMatch("pM", "PM"));
    EXPECT_FALSE(LocaleDesignatorMatch("PX", "PM"));
    try {
        ParseTimeText("13 PM");
        ADD_FAILURE() << "13 PM parsed";
    } catch (const ConversionError& e) {
        EXPECT_STREQ("'13 PM' is not a valid time", e.what());
    }
}

} // namespace
