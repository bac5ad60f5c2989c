// The alarm's fixture: the real window on a 12-hour clock the test sets, its watch and sound
// player counted on their way to the form's handlers, and the platform's count of open devices.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
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

// How many MCI devices the process holds open.
inline DWORD OpenDevices()
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
