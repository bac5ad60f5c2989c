// Failures under the guard: the box they show, the windows disabled meanwhile, and the timer element.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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
        throw TConversionError("'7:60' is not a valid time");
    };
    // Straight through the window procedure, as a menu choice arrives.
    const LRESULT result = SendMessageA(form->Handle(), WM_COMMAND, form->SetFont2->Command(), 0);
    EXPECT_EQ(0, result);
    EXPECT_TRUE(before) << "what the handler did before the failure stays done";
    ASSERT_EQ(1u, catcher.Boxes.size());
    EXPECT_EQ("'7:60' is not a valid time.", catcher.Boxes[0].Text);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));

    // A chosen popup item is reported through the popup facility's window, also guarded.
    form->SetAlarm1->OnClick = [](void*) { throw TFailure("Test", "from the popup"); };
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
        throw TFailure("Test", "tick");
    });
    form->Timer1->SetEnabled(true);
    PumpUntil([&] { return catcher.Boxes.size() >= 3; });
    form->Timer1->SetEnabled(false);
    ASSERT_GE(catcher.Boxes.size(), 3u);
    EXPECT_EQ("tick.", catcher.Boxes[2].Text);
    EXPECT_GE(ticks, 3);
}

// Refuses every window of one class made inside the main window, as a system out of handles
// would; the failure box's own windows are made.
const char* refusedClass = "";
HWND refusedIn = nullptr;

LRESULT CALLBACK RefuseAClass(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const HWND parent = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->hwndParent;
        char name[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if ((parent == refusedIn || IsChild(refusedIn, parent)) && lstrcmpiA(name, refusedClass) == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What a command changes: the menus, what is shown and where, the window's width, the watch
// and the sound.
std::string StateOf(const TForm1& form)
{
    std::string state = std::string("File ") + (form.File1->Enabled() ? "on" : "off") + ", Help " +
                        (form.Help1->Enabled() ? "on" : "off");
    const std::pair<const char*, const TWindowedElement*> windowed[] = {{"panel", form.GroupBox1.get()},
                                                                        {"Kill Alarm", form.Button3.get()},
                                                                        {"list", form.ListBox1.get()},
                                                                        {"Back", form.Button4.get()}};
    for (const auto& [name, element] : windowed) {
        state += std::string(", ") + name + (element->Visible() ? " shown" : " hidden");
        if (element->Handle() && IsWindowVisible(element->Handle())) state += " on screen";
    }
    state += form.Label4->Visible() ? ", title shown" : ", title hidden";
    const RECT outer = form.OuterRect();
    state += ", width " + std::to_string(outer.right - outer.left);
    state += form.Timer1->Enabled() ? ", armed" : ", not armed";
    state += form.MediaPlayer1->DeviceId() ? ", sound open" : ", sound closed";
    return state;
}

TEST_F(FailureTest, ARefusedWindowLeavesTheProgramAsItWasAndTheCommandCanBeTriedAgain)
{
    FakeLocale locale({{LOCALE_STIME, ":"}, {LOCALE_S1159, "AM"}, {LOCALE_S2359, "PM"}, {LOCALE_ITIME, "0"}});
    FakeClock clock(9, 30, 0);
    auto shown = [](const TWindowedElement& element) { return element.Handle() && IsWindowVisible(element.Handle()); };
    struct Command {
        const char* name;
        std::vector<std::string> needs; // the classes of the windows it makes
        std::function<void(ModalCatcher&)> run;
        std::function<bool()> done;
    };
    const Command commands[] = {
        {"Help",
         {"Button", "ListBox"},
         [&](ModalCatcher&) { Choose(*form->Help2); },
         [&] { return shown(*form->ListBox1) && shown(*form->Button4) && !form->File1->Enabled(); }},
        {"About",
         {"Button", "ListBox"},
         [&](ModalCatcher&) { Choose(*form->About1); },
         [&] { return shown(*form->ListBox1) && form->Label4->Caption() == "About"; }},
        {"Set Alarm",
         {"Button", "msctls_updown32", "Edit"},
         [&](ModalCatcher&) { Choose(*form->SetAlarm2); },
         [&] {
             return shown(*form->Edit1) && form->Edit2->Text() == "31" &&
                    form->Edit1->Handle() ==
                        reinterpret_cast<HWND>(SendMessageA(form->UpDown1->Handle(), UDM_GETBUDDY, 0, 0));
         }},
        {"a ring",
         {"Button"},
         [&](ModalCatcher& catcher) {
             FakeClock::Set(9, 31, 0, 100);
             PumpUntil([&] { return !catcher.Boxes.empty() || shown(*form->Button3); });
         },
         [&] { return PumpUntil([&] { return shown(*form->Button3) && form->MediaPlayer1->DeviceId(); }); }},
    };
    for (const Command& command : commands) {
        for (const char* refused : {"Button", "ListBox", "msctls_updown32", "Edit"}) {
            SCOPED_TRACE(std::string(command.name) + " with no " + refused);
            FakeClock::Set(9, 30, 0);
            Rebuild();
            const bool ring = std::string(command.name) == "a ring";
            if (ring) {
                // Armed for the next minute, 9:31, at 9:30; the panel's windows are made by then.
                Choose(*form->SetAlarm2);
                Click(*form->Button2);
                ASSERT_EQ("9:31:00 AM", form->Label3->Caption());
            }
            const std::string before = StateOf(*form);
            const bool needed = std::find(command.needs.begin(), command.needs.end(), refused) != command.needs.end();
            {
                ModalCatcher catcher;
                refusedClass = refused;
                refusedIn = Window();
                HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseAClass, nullptr, GetCurrentThreadId());
                command.run(catcher);
                const std::string after = StateOf(*form);
                UnhookWindowsHookEx(hook);
                if (!needed) {
                    EXPECT_TRUE(catcher.Boxes.empty()) << catcher.Boxes[0].Text;
                    EXPECT_TRUE(command.done()) << after;
                    continue;
                }
                ASSERT_FALSE(catcher.Boxes.empty()) << "no failure box; " << after;
                EXPECT_EQ("Error creating window.", catcher.Boxes[0].Text);
                EXPECT_EQ(before, after);
            }
            // Once the system makes the window, the same command, or the watch's next look, succeeds.
            ModalCatcher catcher;
            if (!ring) command.run(catcher);
            EXPECT_TRUE(command.done()) << StateOf(*form);
            EXPECT_TRUE(catcher.Boxes.empty()) << catcher.Boxes[0].Text;
        }
    }
}

TEST(TimerElement, RunsOnlyWithAnIntervalAHandlerAndEnabled)
{
    TPeriodicTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(1000u, timer.Interval());
    // With no handler, no platform timer: none is due to its window.
    timer.SetInterval(30);
    Sleep(150);
    MSG due{};
    EXPECT_FALSE(PeekMessageA(&due, timer.Handle(), WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "no handler yet";

    int ticks = 0;
    timer.SetInterval(0);
    timer.SetOnTimer([&](void*) { ++ticks; });
    Pump(150);
    EXPECT_EQ(0, ticks) << "ticked within 150 ms with interval 0";

    timer.SetInterval(30);
    EXPECT_TRUE(PumpUntil([&] { return ticks > 2; })) << ticks << " ticks";

    timer.SetEnabled(false);
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
    ShowStartupFailure(TResourceError("Not enough timers available"));
    ShowStartupFailure(TResourceError("ends with a period."));
    ASSERT_EQ(2u, catcher.Boxes.size());
    EXPECT_EQ("Application Error", catcher.Boxes[0].Caption);
    EXPECT_EQ(nullptr, catcher.Boxes[0].Owner);
    const std::string& text = catcher.Boxes[0].Text;
    EXPECT_EQ(0u, text.find("Exception ResourceError in module HoraletSelfTest.exe at ")) << text;
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
    } catch (const TConversionError& e) {
        EXPECT_STREQ("'13 PM' is not a valid time", e.what());
    }
}

} // namespace
