// The alarm in the real window: the panel and its spinners, Done, the watch, the ringing with
// the real sound device, Kill Alarm and the failures, on a clock the test sets.
#include <windows.h>

#include "tests/wine/reader.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/failure.h"
#include "app/power.h"
#include "clock/localetime.h"
#include "tests/wine/harness.h"
#include "tests/wine/selftest.h"
#include "ui/mytime1.h"

namespace {

using TNotifyValue = TSoundPlayer::TNotifyValue;

// A 12-hour clock with AM and PM; the window is built, and probes its text, at 15:00.
class AlarmTest : public FormFixture {
protected:
    AlarmTest()
        : locale({{LOCALE_STIME, ":"}, {LOCALE_S1159, "AM"}, {LOCALE_S2359, "PM"}, {LOCALE_ITIME, "0"}}),
          clock(15, 0, 0)
    {
    }

    void SetUp() override
    {
        FormFixture::SetUp();
        ASSERT_EQ(2, SuffixMode);
        // Every notification and every look of the watch is counted on its way to the form's handler.
        form->MediaPlayer1->OnNotify = [this](void* sender) {
            ++notifications;
            if (form->MediaPlayer1->NotifyValue() == TNotifyValue::Successful) ++endings;
            form->MediaPlayer1Notify(sender);
        };
        form->Timer1->SetOnTimer([this](void* sender) {
            ++looks;
            form->Timer1Timer(sender);
        });
    }

    void Choose(TMenuItem& item) { SendMessageA(Window(), WM_COMMAND, item.Command(), 0); }

    // What a button tells its parent when it is clicked.
    void Click(TButton& button)
    {
        SendMessageA(GetParent(button.Handle()), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.Handle()));
    }

    // A press of an arrow key on a spinner.
    void Step(TSpinner& spinner, bool up)
    {
        const WPARAM key = up ? VK_UP : VK_DOWN;
        SendMessageA(spinner.Handle(), WM_KEYDOWN, key, 1);
        SendMessageA(spinner.Handle(), WM_KEYUP, key, 0xC0000001);
    }

    // Opens the panel, puts hour, minute and day half in and presses Done.
    void Arm(const char* hour, const char* minute, const char* half)
    {
        Choose(*form->SetAlarm2);
        form->Edit1->SetText(hour);
        form->Edit2->SetText(minute);
        if (form->Label1->Caption() != half) form->Label1->Click();
        Click(*form->Button2);
    }

    // Sets the clock and pumps until the watch has looked at the clock label showing that second.
    void Show(int hour, int minute, int second, int millisecond = 500)
    {
        FakeClock::Set(hour, minute, second, millisecond);
        const std::string text = FormatTimeText(TimeOfDay(hour, minute, second));
        int shownAt = -1;
        EXPECT_TRUE(PumpUntil([&] {
            if (shownAt < 0 && form->Timelabel1->Caption() == text) shownAt = looks;
            return shownAt >= 0 && looks > shownAt;
        })) << "waited "
            << kDeadline / 1000 << " s for the watch to look at the clock showing " << text << "; it shows "
            << form->Timelabel1->Caption() << ", after " << looks << " looks";
    }

    // The clock runs from the second before hour:minute into it, with both timers ticking.
    void Reach(int hour, int minute)
    {
        Show(minute ? hour : hour - 1, minute ? minute - 1 : 59, 59);
        Show(hour, minute, 0, 100);
        FakeClock::Set(hour, minute, 1);
    }

    FakeLocale locale;
    FakeClock clock;
    int notifications = 0;
    int endings = 0;
    int looks = 0;
};

TEST_F(AlarmTest, AScreenReaderReadsWhatTheWindowShowsAndNothingHidden)
{
    SKIP_WITHOUT_SOUND_OUTPUT();
    auto has = [](const std::vector<std::string>& read, const std::string& line) {
        return std::find(read.begin(), read.end(), line) != read.end();
    };
    auto viewer = [this] { Choose(*form->Help2); };
    auto back = [this] { Click(*form->Button4); };
    struct Row {
        const char* state;
        std::function<void()> make;
        std::vector<std::string> read;
        std::vector<std::string> hidden;
    };
    const Row rows[] = {
        {"at start",
         [this] { PumpUntil([this] { return form->Timelabel1->Caption() == "3:00:00 PM"; }); },
         {"3:00:00 PM", "Alarm is not set"},
         {"Kill Alarm", "Help topics", "AM", "PM"}},
        {"the panel open",
         [this] { Choose(*form->SetAlarm2); },
         {"PM", "Hour=03", "Minute=01", "No Alarm", "Done"},
         {"Help topics", "Kill Alarm"}},
        {"armed", [this] { Click(*form->Button2); }, {"Alarm is set for", "3:01:00 PM"}, {"Hour=03", "PM", "Done"}},
        {"the viewer open", viewer, {"Help topics", "[window]", "Back"}, {"3:01:00 PM", "Alarm is set for"}},
        {"ringing",
         [&] {
             back();
             Reach(15, 1);
             ASSERT_TRUE(PumpUntil([this] { return form->Button3->Visible(); })) << "the alarm did not ring";
         },
         {"3:01:00 PM", "Kill Alarm"},
         {"Help topics", "Back"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        row.make();
        const std::vector<std::string> read = ReadAloud(Window());
        std::string all;
        for (const std::string& line : read) all += "'" + line + "' ";
        for (const std::string& line : row.read) EXPECT_TRUE(has(read, line)) << line << " not in " << all;
        for (const std::string& line : row.hidden) EXPECT_FALSE(has(read, line)) << line << " in " << all;
    }
}

// How many MCI devices the process holds open.
DWORD OpenDevices()
{
    DWORD count = 0;
    MCI_SYSINFO_PARMSA info{};
    info.lpstrReturn = reinterpret_cast<LPSTR>(&count);
    info.dwRetSize = sizeof count;
    info.wDeviceType = MCI_ALL_DEVICE_ID;
    mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_QUANTITY | MCI_SYSINFO_OPEN,
                    reinterpret_cast<DWORD_PTR>(&info));
    return count;
}

int OuterWidth(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r.right - r.left;
}

TEST_F(AlarmTest, SetAlarmPresetsTheNextMinuteAndEqualWritesRunNoHandler)
{
    FakeClock::Set(23, 59, 30);
    SendMessageA(TPopupMenu::FacilityWindow(), WM_COMMAND, form->SetAlarm1->Command(), 0);
    EXPECT_TRUE(form->GroupBox1->Showing());
    EXPECT_EQ(250, OuterWidth(Window()));
    EXPECT_EQ("11", form->Edit1->Text());
    EXPECT_EQ("59", form->Edit2->Text());
    EXPECT_EQ("PM", form->Label1->Caption());
    EXPECT_EQ(form->UpDown1->Handle(), GetFocus());

    // Again within the minute: the same texts, so no handler moves the focus.
    SetFocus(form->Button2->Handle());
    Choose(*form->SetAlarm2);
    EXPECT_EQ(form->Button2->Handle(), GetFocus());

    // A click on the day half toggles it; No Alarm keeps it and the panel open.
    SendMessageA(form->GroupBox1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(125, 37));
    SendMessageA(form->GroupBox1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(125, 37));
    EXPECT_EQ("AM", form->Label1->Caption());
    EXPECT_EQ(form->Button2->Handle(), GetFocus()) << "the click on the day half moved the focus";
    Click(*form->Button1);
    EXPECT_EQ("00", form->Edit1->Text());
    EXPECT_EQ("00", form->Edit2->Text());
    EXPECT_EQ("AM", form->Label1->Caption());
    EXPECT_TRUE(form->GroupBox1->Showing());
    EXPECT_EQ(form->UpDown1->Handle(), GetFocus());
}

TEST_F(AlarmTest, SpinnersStepFromTheFieldsNumberWithinTheirRangeAndFocusTheHour)
{
    struct Row {
        bool hour;
        const char* from;
        bool up;
        const char* to;
    };
    const Row rows[] = {
        {true, "12", true, "12"},  {true, "12", false, "11"},  {true, "01", false, "00"},
        {true, "00", false, "00"}, {false, "59", true, "59"},  {false, "00", false, "00"},
        {false, "09", true, "10"}, {false, "09", false, "08"}, {true, "09", true, "10"},
    };
    Choose(*form->SetAlarm2);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.hour ? "hour " : "minute ") + row.from + (row.up ? " up" : " down"));
        TEditField& field = row.hour ? *form->Edit1 : *form->Edit2;
        field.SetText(row.from);
        SetFocus(form->Button2->Handle());
        Step(row.hour ? *form->UpDown1 : *form->UpDown2, row.up);
        EXPECT_EQ(row.to, field.Text());
        // The minute spinner too hands the focus to the hour spinner, once its field changed.
        if (std::string(row.to) != row.from) {
            EXPECT_EQ(form->UpDown1->Handle(), GetFocus());
        }
    }

    // A field that changes while the panel is hidden cannot move the focus.
    form->GroupBox1->SetVisible(false);
    ModalCatcher catcher;
    form->Edit2->SetText("7");
    // The nested run for the leading zero reports, and so does the run around it.
    ASSERT_EQ(2u, catcher.Boxes.size());
    for (const CaughtBox& box : catcher.Boxes) EXPECT_EQ("Cannot focus a disabled or invisible window.", box.Text);
    EXPECT_EQ("07", form->Edit2->Text());
}

TEST_F(AlarmTest, DoneArmsInTheClocksFormOrDisarmsAndTheWidthFollowsTheFont)
{
    const int capHeight = -MulDiv(kClockFontCap, ScreenPixelsPerInch(), 72);
    for (const int height : {-19, capHeight}) {
        SCOPED_TRACE(height);
        form->Timelabel1->OwnFont().SetHeight(height);
        Arm("03", "07", "PM");
        EXPECT_EQ(height == capHeight ? 250 : 200, OuterWidth(Window()));
        EXPECT_FALSE(form->GroupBox1->Visible());
        EXPECT_TRUE(form->Timer1->Running());
        EXPECT_EQ("3:07:00 PM", form->Label3->Caption());
        EXPECT_TRUE(form->Label3->Visible());
        EXPECT_EQ("Alarm is set for", form->Label2->Caption());
        EXPECT_DOUBLE_EQ(TimeOfDay(15, 7, 0), AlarmMoment);

        Arm("00", "30", "AM");
        EXPECT_FALSE(form->Timer1->Enabled());
        EXPECT_FALSE(form->Label3->Visible());
        EXPECT_EQ("3:07:00 PM", form->Label3->Caption()) << "disarming keeps the caption";
        EXPECT_EQ("Alarm is not set", form->Label2->Caption());
    }
}

TEST_F(AlarmTest, ADoneThatFailsToParseArmsNothing)
{
    struct Row {
        const char* name;
        std::function<void()> before;
        bool armed;
    };
    const Row rows[] = {
        {"never armed", [] {}, false},
        {"armed", [this] { Arm("09", "05", "AM"); }, true},
        {"armed, then disarmed", [this] { Arm("09", "05", "AM"), Arm("00", "00", "AM"); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.before();
        const std::string line = form->Label3->Caption();
        const bool lineShown = form->Label3->Visible();
        const std::string status = form->Label2->Caption();
        const DateTime moment = AlarmMoment;
        // The locale's separator changed after start: the probe's no longer parses.
        ClockSeparator = ".";
        ModalCatcher catcher;
        Choose(*form->SetAlarm2);
        form->Edit1->SetText("10");
        form->Edit2->SetText("30");
        Click(*form->Button2);
        ClockSeparator = ":";
        ASSERT_EQ(1u, catcher.Boxes.size());
        EXPECT_EQ("'10.30 PM' is not a valid time.", catcher.Boxes[0].Text);
        EXPECT_EQ(row.armed, form->Timer1->Enabled());
        EXPECT_EQ(line, form->Label3->Caption());
        EXPECT_EQ(lineShown, form->Label3->Visible());
        EXPECT_EQ(status, form->Label2->Caption());
        EXPECT_DOUBLE_EQ(moment, AlarmMoment);
        EXPECT_EQ(200, OuterWidth(Window())) << "the width step comes first";
        EXPECT_TRUE(form->GroupBox1->Visible());
        Click(*form->Button1);
        Click(*form->Button2);
    }
}

std::vector<EXECUTION_STATE> executionStates;
EXECUTION_STATE WINAPI RecordExecutionState(EXECUTION_STATE state)
{
    executionStates.push_back(state);
    return ES_CONTINUOUS;
}

TEST_F(AlarmTest, RingsRestoredRepeatsUntilKillAlarmThenClosesAndRingsTheNextDay)
{
    SKIP_WITHOUT_SOUND_OUTPUT();
    executionStates.clear();
    SetExecutionStateSink(RecordExecutionState);
    struct TSinkBack {
        ~TSinkBack() { SetExecutionStateSink(nullptr); }
    } sinkBack;
    const EXECUTION_STATE awake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;
    Arm("03", "07", "PM");
    EXPECT_EQ(nullptr, form->MediaPlayer1->Handle()) << "the sound player's window waits for the first ring";
    Application->Minimize();
    ASSERT_TRUE(IsIconic(Application->Handle()));
    for (const char* day : {"first day", "next day"}) {
        SCOPED_TRACE(day);
        if (day != std::string("first day")) FakeClock::Elapse(24 * 3600 * 1000);
        Reach(15, 7);
        EXPECT_EQ(std::vector<EXECUTION_STATE>{awake}, executionStates) << "kept awake from the first play";
        EXPECT_FALSE(IsIconic(Application->Handle()));
        EXPECT_TRUE(IsWindowVisible(Window()));
        EXPECT_TRUE(form->Button3->Showing());
        EXPECT_TRUE(form->MediaPlayer1->Opened());
        EXPECT_NE(nullptr, form->MediaPlayer1->Handle());
        // At each end the sound starts again.
        EXPECT_TRUE(PumpUntil([this] { return endings >= 3; })) << endings << " playbacks ended";
        EXPECT_TRUE(form->MediaPlayer1->Opened());

        Click(*form->Button3);
        EXPECT_FALSE(form->Button3->Visible());
        EXPECT_EQ((std::vector<EXECUTION_STATE>{awake, ES_CONTINUOUS}), executionStates) << "released at Kill Alarm";
        executionStates.clear();
        const int killedAt = endings;
        EXPECT_TRUE(PumpUntil([this] { return !form->MediaPlayer1->Opened(); }));
        EXPECT_LE(endings - killedAt, 1) << "the playback under way is the last";
        EXPECT_EQ(0u, OpenDevices());
        EXPECT_TRUE(form->Timer1->Enabled()) << "ringing does not disarm";
        Show(16, 0, 0);
        EXPECT_EQ(0u, OpenDevices());
    }
}

TEST_F(AlarmTest, StepsOfTheClockRingOnceAtTheFirstLookPastTheAlarmAndDoneReArms)
{
    SKIP_WITHOUT_SOUND_OUTPUT();
    struct Row {
        const char* name;
        std::function<void()> before;
        int from[3], to[3]; // the clock shows from, then steps to
        bool rings;
    };
    const auto none = [] {};
    const auto armAt7 = [this] { Arm("03", "07", "PM"); };
    const auto armAt8 = [this] { Arm("03", "08", "PM"); };
    const auto rearmAt8 = [this] { Arm("00", "00", "AM"), Arm("03", "08", "PM"); };
    const Row rows[] = {
        {"a step forward over the alarm's second", armAt7, {15, 6, 58}, {15, 7, 30}, true},
        {"a step back over it after the ring", none, {15, 6, 59}, {15, 7, 0}, false},
        {"another alarm, right after the ring", armAt8, {15, 7, 59}, {15, 8, 0}, true},
        {"back again, and Done with the same alarm", armAt8, {15, 7, 59}, {15, 8, 0}, false},
        {"back again, disarmed and armed again", rearmAt8, {15, 7, 59}, {15, 8, 0}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.before();
        Show(row.from[0], row.from[1], row.from[2]);
        EXPECT_FALSE(form->Button3->Visible());
        Show(row.to[0], row.to[1], row.to[2]);
        if (!row.rings) {
            // The watch has looked once already; a few more looks still ring nothing.
            Pump(1000);
            EXPECT_FALSE(form->Button3->Visible()) << "rang within 1 s of the step";
            continue;
        }
        EXPECT_TRUE(form->Button3->Showing()) << "the watch's first look after the step did not ring";
        Click(*form->Button3);
        EXPECT_TRUE(PumpUntil([this] { return !form->MediaPlayer1->Opened(); })) << "the device stayed open";
    }
    // Back from sleep over the alarm's second, the watch looks at once, before its next tick.
    Arm("03", "09", "PM");
    Show(15, 8, 58);
    FakeClock::Set(15, 9, 30);
    SendMessageA(Window(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(form->Button3->Visible()) << "the resume did not ring at once";
}

TEST_F(AlarmTest, ExitWhileRingingClosesTheDevice)
{
    SKIP_WITHOUT_SOUND_OUTPUT();
    Arm("03", "07", "PM");
    Reach(15, 7);
    ASSERT_TRUE(form->Button3->Showing());
    EXPECT_EQ(1u, OpenDevices());
    Choose(*form->Exit1);
    form.reset();
    EXPECT_EQ(0u, OpenDevices());
}

TEST_F(AlarmTest, ASoundFileThatCannotPlayIsReportedAndTheChimeRingsUntilKillAlarm)
{
    SKIP_WITHOUT_SOUND_OUTPUT();
    // A wave header that promises 16-bit mono at 22050 Hz, and a data chunk of nothing.
    std::string header = "RIFF....WAVEfmt ";
    for (uint32_t field : {16u, 0x00010001u, 22050u, 44100u, 0x00100002u})
        header.append(reinterpret_cast<const char*>(&field), 4);
    header += "data";
    header.append(4, '\0');
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise += static_cast<char>(i * 7919 % 251);
    struct Row {
        const char* name;
        const std::string* bytes; // none: no file
        bool reported;
    };
    const Row rows[] = {
        {"missing", nullptr, true}, {"random bytes", &noise, true}, {"a header and no data", &header, false}};
    int minute = 7;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = AppFolder + "test-alarm-" + std::to_string(minute) + ".wav";
        if (row.bytes) std::ofstream(file, std::ios::binary) << *row.bytes;
        form->MediaPlayer1->SetFileName(file);
        Arm("03", TwoDigitText(minute).c_str(), "PM");
        Application->Minimize();
        {
            ModalCatcher catcher;
            Reach(15, minute);
            ASSERT_EQ(row.reported ? 1u : 0u, catcher.Boxes.size())
                << "one appearance of the alarm's text, one attempt";
            if (row.reported) {
                EXPECT_FALSE(catcher.Boxes[0].AppWasIconic) << "restored before the device was opened";
            }
            if (!row.bytes) {
                EXPECT_EQ(TSoundPlayer::ErrorText(MCIERR_FILE_NOT_FOUND) + ".", catcher.Boxes[0].Text);
            }
        }
        EXPECT_TRUE(form->Button3->Showing());
        EXPECT_TRUE(PumpUntil([this] { return form->FChime.Sounding() && OpenDevices() == 0; }))
            << "waited for the chime and the device closed; chime " << form->FChime.Sounding() << ", devices "
            << OpenDevices();
        EXPECT_TRUE(form->Timer1->Enabled());
        Click(*form->Button3);
        EXPECT_FALSE(form->FChime.Sounding());
        std::remove(file.c_str());
        ++minute;
    }
    EXPECT_EQ("Unknown error code", TSoundPlayer::ErrorText(0xFFFF));
}

TEST_F(AlarmTest, NotificationsAboutOtherPlaybacksStartNothing)
{
    SKIP_WITHOUT_SOUND_OUTPUT();
    Arm("03", "07", "PM");
    Reach(15, 7);
    ASSERT_TRUE(form->MediaPlayer1->Opened());
    const UINT device = form->MediaPlayer1->DeviceId();
    // Reports about the playback a later command cut short, or about another device.
    struct Row {
        WPARAM code;
        LPARAM device;
    };
    const Row rows[] = {{MCI_NOTIFY_ABORTED, static_cast<LPARAM>(device)},
                        {MCI_NOTIFY_SUPERSEDED, static_cast<LPARAM>(device)},
                        {MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(device + 1)},
                        // The end of an earlier ring's playback, whose device had the same id.
                        {MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(device)}};
    Click(*form->Button3);
    for (const Row& row : rows) SendMessageA(form->MediaPlayer1->Handle(), MM_MCINOTIFY, row.code, row.device);
    EXPECT_TRUE(form->MediaPlayer1->Opened()) << "none of them ended the playback under way";
    EXPECT_TRUE(PumpUntil([this] { return !form->MediaPlayer1->Opened(); }));
    // After the close, nothing is about the player's device any more.
    SendMessageA(form->MediaPlayer1->Handle(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(device));
    EXPECT_EQ(0u, OpenDevices());
}

TEST_F(AlarmTest, KillAlarmClosesTheDeviceWhenThePlaybackIsCutShortOrNeverReports)
{
    SKIP_WITHOUT_SOUND_OUTPUT();
    // Someone else stops the device (its report: aborted), or plays it with the report sent
    // elsewhere (ours: superseded, while it plays on; then nothing), before or after Kill Alarm.
    const auto stop = [](UINT device) {
        MCI_GENERIC_PARMS parameters{};
        mciSendCommandA(device, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters));
    };
    const auto playElsewhere = [](UINT device) {
        MCI_PLAY_PARMS play{};
        play.dwCallback = reinterpret_cast<DWORD_PTR>(GetDesktopWindow());
        mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
    };
    struct Row {
        const char* name;
        std::function<void(UINT)> cut;
        bool killFirst;
    };
    const Row rows[] = {{"stopped, then Kill Alarm", stop, false},
                        {"Kill Alarm, then stopped", stop, true},
                        {"Kill Alarm, then played elsewhere", playElsewhere, true}};
    Arm("03", "07", "PM");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeClock::Elapse(24 * 3600 * 1000); // a day later
        Reach(15, 7);
        ASSERT_TRUE(form->MediaPlayer1->Opened());
        if (row.killFirst) Click(*form->Button3);
        row.cut(form->MediaPlayer1->DeviceId());
        if (!row.killFirst) {
            EXPECT_TRUE(PumpUntil([this] { return form->FChime.Sounding(); })) << "the chime took over";
            Click(*form->Button3);
        }
        EXPECT_TRUE(PumpUntil([] { return OpenDevices() == 0; })) << "the device stayed open";
        EXPECT_FALSE(form->FChime.Sounding());
    }
}

// Run by CTest in a session whose sound output cannot be opened.
using NoSoundDevice = AlarmTest;

TEST_F(NoSoundDevice, APlayThatFailsClosesTheDeviceInsteadOfReplaying)
{
    if (!std::getenv("HORALET_NO_SOUND_DEVICE")) GTEST_SKIP() << "runs only without a sound device";
    Arm("03", "07", "PM");
    Reach(15, 7);
    EXPECT_TRUE(form->Button3->Showing());
    EXPECT_TRUE(PumpUntil([this] { return notifications > 0 && !form->MediaPlayer1->Opened(); }))
        << "the failed play did not close the device";
    Pump(3000);
    EXPECT_EQ(1, notifications) << "one play request, one failure, and nothing more for 3 s";
    EXPECT_EQ(TNotifyValue::Failure, form->MediaPlayer1->NotifyValue());
    EXPECT_FALSE(form->MediaPlayer1->Opened());
}

} // namespace
