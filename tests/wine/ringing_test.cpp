// The ringing in the real window, on the real sound device: the watch, restoring, the replays,
// Kill Alarm, the built-in chime, stale reports and the machine kept awake.
#include "tests/wine/alarmfixture.h"

namespace {

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
        EXPECT_NE(0u, OpenDevices());
        EXPECT_NE(nullptr, form->MediaPlayer1->Handle());
        // At each end the sound starts again.
        EXPECT_TRUE(PumpUntil([this] { return endings >= 3; })) << endings << " playbacks ended";
        EXPECT_NE(0u, OpenDevices());

        Click(*form->Button3);
        EXPECT_FALSE(form->Button3->Visible());
        EXPECT_EQ((std::vector<EXECUTION_STATE>{awake, ES_CONTINUOUS}), executionStates) << "released at Kill Alarm";
        executionStates.clear();
        const int killedAt = endings;
        EXPECT_TRUE(PumpUntil([this] { return OpenDevices() == 0; }));
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
        EXPECT_TRUE(PumpUntil([this] { return OpenDevices() == 0; })) << "the device stayed open";
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
    ASSERT_NE(0u, OpenDevices());
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
    EXPECT_NE(0u, OpenDevices()) << "none of them ended the playback under way";
    EXPECT_TRUE(PumpUntil([this] { return OpenDevices() == 0; }));
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
        ASSERT_NE(0u, OpenDevices());
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
    EXPECT_TRUE(PumpUntil([this] { return notifications > 0 && OpenDevices() == 0; }))
        << "the failed play did not close the device";
    Pump(3000);
    EXPECT_EQ(1, notifications) << "one play request, one failure, and nothing more for 3 s";
    EXPECT_EQ(TNotifyValue::Failure, form->MediaPlayer1->NotifyValue());
    EXPECT_EQ(0u, OpenDevices());
}

} // namespace
