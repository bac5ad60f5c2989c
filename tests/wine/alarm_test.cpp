// The alarm panel in the real window: what a reader reads, the preset, the spinners and Done.
#include "tests/wine/alarmfixture.h"
#include "tests/wine/reader.h"

namespace {

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
        TFont font = form->Timelabel1->Font();
        font.SetHeight(height);
        form->Timelabel1->SetFont(font);
        Arm("03", "07", "PM");
        EXPECT_EQ(height == capHeight ? 250 : 200, OuterWidth(Window()));
        EXPECT_FALSE(form->GroupBox1->Visible());
        const int looked = looks;
        EXPECT_TRUE(PumpUntil([&] { return looks > looked; })) << "the watch did not look";
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

} // namespace
