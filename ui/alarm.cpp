// The alarm in the main window: the setting panel, Done, the watch, the ringing and Kill Alarm.
#include <string>

#include "app/application.h"
#include "app/power.h"
#include "clock/localetime.h"
#include "ui/mytime1.h"

DateTime AlarmMoment = 0;

void TForm1::BindAlarmEvents()
{
    SetAlarm1->OnClick = [this](void* sender) { SetAlarm1Click(sender); };
    SetAlarm2->OnClick = [this](void* sender) { SetAlarm2Click(sender); };
    Label1->OnClick = [this](void* sender) { Label1Click(sender); };
    Button1->OnClick = [this](void* sender) { Button1Click(sender); };
    Edit1->OnChange = [this](void* sender) { Edit1Change(sender); };
    Edit2->OnChange = [this](void* sender) { Edit2Change(sender); };
    Button2->OnClick = [this](void* sender) { Button2Click(sender); };
    Timer1->SetOnTimer([this](void* sender) { Timer1Timer(sender); });
    Button3->OnClick = [this](void* sender) { Button3Click(sender); };
    MediaPlayer1->OnNotify = [this](void* sender) { MediaPlayer1Notify(sender); };
    GroupBox1->OnKeyDown = [this](void* sender, WORD& key) { GroupBox1KeyDown(sender, key); };
}

// Set Alarm: the panel opens on the next minute, whatever alarm is armed.
void TForm1::SetAlarm1Click(void*)
{
    // The panel's windows first: one the system refuses leaves the window as it was.
    GroupBox1->WindowsNeeded();
    UseWideLayout();
    GroupBox1->SetVisible(true);
    const TTimeParts now = SplitTime(CurrentDateTime());
    const TAlarmPreset preset = PresetAlarm(now.Hour, now.Minute);
    Label1->SetCaption(preset.DayHalf);
    Edit1->SetText(preset.Hour);
    Edit2->SetText(preset.Minute);
}

void TForm1::SetAlarm2Click(void* sender)
{
    SetAlarm1Click(sender);
}

// The day half toggles; anything but "AM" becomes "AM".
void TForm1::Label1Click(void*)
{
    Label1->SetCaption(Label1->Caption() == "AM" ? "PM" : "AM");
}

// A and P choose the day half from the keyboard, wherever the focus is in the panel: the
// toggle itself is a label, which only the mouse reaches.
void TForm1::GroupBox1KeyDown(void*, WORD& key)
{
    if (key != 'A' && key != 'P') return;
    // Held with Ctrl, Alt (AltGr is both) or Windows, the key is someone else's: Ctrl+A selects.
    for (int modifier : {VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
        if (GetKeyState(modifier) < 0) return;
    Label1->SetCaption(key == 'A' ? "AM" : "PM");
    key = 0;
}

// No Alarm: hour 00 is what Done disarms on.
void TForm1::Button1Click(void*)
{
    Edit1->SetText("00");
    Edit2->SetText("00");
}

void TForm1::Edit1Change(void*)
{
    KeepTwoDigits(*Edit1);
}

void TForm1::Edit2Change(void*)
{
    KeepTwoDigits(*Edit2);
}

void TForm1::KeepTwoDigits(TEditField& field)
{
    // The spinner writes "5"; the field shows "05". The write runs this handler again, nested.
    const std::string text = field.Text();
    if (text.size() == 1) field.SetText("0" + text);
    if (GetFocus() != UpDown1->Handle()) UpDown1->SetFocus();
}

// Done: arms the alarm from the panel, or disarms it on hour 00, and closes the panel.
void TForm1::Button2Click(void*)
{
    if (Timelabel1->Font().Size() != kClockFontCap) UseNarrowLayout();
    if (ParseInteger(Edit1->Text()) == 0) {
        Timer1->SetEnabled(false);
        Label3->SetVisible(false);
        Label2->SetCaption("Alarm is not set");
    } else {
        // The watch starts only once the text has parsed: a Done that fails arms nothing.
        const std::string text = ComposeAlarmText(Edit1->Text(), Edit2->Text(), Label1->Caption());
        const DateTime moment = ParseTimeText(text);
        Timer1->SetEnabled(true);
        AlarmMoment = moment;
        Label3->SetCaption(FormatTimeText(AlarmMoment));
        Label3->SetVisible(true);
        Label2->SetCaption("Alarm is set for");
        // The watch catches up from the second the clock shows now, read afresh: a Done handled
        // late, after a busy moment, rings nothing for the seconds that passed before it.
        Timelabel1->UpdateTime(nullptr);
        FAlarmWatch.Arm(Timelabel1->ShownTime(), MonotonicMilliseconds());
    }
    GroupBox1->SetVisible(false);
}

// The watch: rings when the clock's text becomes the alarm's, or when the clock has passed over
// the alarm's second since the last look (a busy moment, a daylight-saving start).
void TForm1::Timer1Timer(void*)
{
    // While the box about a refused Kill Alarm is open, the watch waits: it looks again once the
    // box is closed, and catches up on what it missed.
    if (FRingRefused) return;
    const TAlarmWatch before = FAlarmWatch;
    if (!FAlarmWatch.Rings(Label3->Caption(), Timelabel1->Caption(), Timelabel1->ShownTime(), TimeSettings,
                           MonotonicMilliseconds()))
        return;
    // Kill Alarm's window before the sound: a sound nobody can stop must not start. Refused, the
    // ring is not counted, so that the next look rings it.
    try {
        Button3->WindowsNeeded();
    } catch (const std::exception& failure) {
        FAlarmWatch = before;
        FRingRefused = true;
        struct TWaitingWatch {
            bool& Flag;
            ~TWaitingWatch() { Flag = false; }
        } waiting{FRingRefused};
        Application->ReportFailure(failure.what());
        return;
    }
    Application->Restore();
    // From the first sound until Kill Alarm, neither the machine nor its display sleeps.
    KeepAwake(true);
    // Every ring tries the sound file afresh.
    FChime.Stop();
    try {
        MediaPlayer1->Open();
    } catch (const std::exception&) {
        // The box says why the file did not open; meanwhile the chime rings, and Kill Alarm stops it.
        FChime.Sound();
        Button3->SetVisible(true);
        throw;
    }
    MediaPlayer1->Play();
    // A play the device refuses reports nothing, and plays nothing.
    if (!MediaPlayer1->Awaiting()) {
        MediaPlayer1->Close();
        FChime.Sound();
    }
    Button3->SetVisible(true);
}

// Kill Alarm: the chime stops, and the playback under way is the last one.
void TForm1::Button3Click(void*)
{
    Button3->SetVisible(false);
    FChime.Stop();
    KeepAwake(false);
    // With no playback under way, no report will come to close the device.
    if (!MediaPlayer1->Awaiting()) MediaPlayer1->Close();
}

// Back from sleep: the clock and the watch look at once, not at their next ticks.
void TForm1::Resumed()
{
    Timelabel1->UpdateTime(nullptr);
    if (Timer1->Enabled()) Timer1Timer(Timer1.get());
}

void TForm1::MediaPlayer1Notify(void*)
{
    ReplayOrClose();
}

std::string ComposeAlarmText(const std::string& hour, const std::string& minute, const std::string& dayHalf)
{
    return ComposeAlarmText(hour, minute, dayHalf, SuffixMode, ClockSeparator);
}

void ReplayOrClose()
{
    TSoundPlayer& player = *Form1->MediaPlayer1;
    // Only the end of the playback awaited counts. A report about a playback that a later
    // command cut short, or about a device since closed, would otherwise start one more, and
    // that one's own report the next.
    if (!player.Answered()) return;
    const bool ringing = Form1->Button3->Visible();
    // A playback that ended where it began played nothing: a sound whose header promises more
    // than the file holds ends at the real end, and every replay from there would end at once.
    if (ringing && player.NotifyValue() == TSoundPlayer::TNotifyValue::Successful && player.Moved()) {
        // From the beginning, wherever the last one stopped: short of the length, the player
        // itself would not rewind.
        player.Rewind();
        player.Play();
        if (player.Awaiting()) return;
    }
    // Nothing more comes from the file: Kill Alarm was pressed, or the device failed, was
    // stopped by someone else, refused the play or played nothing. Still ringing, the chime rings.
    player.Close();
    if (ringing) Form1->FChime.Sound();
}
