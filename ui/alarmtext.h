// The alarm's arithmetic, which needs no window: the panel's preset, the text Done composes
// and arms, and the watch that rings once each time the clock reaches the alarm's text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "clock/timetext.h"

// What the panel shows when it opens: hour "01" to "12", minute "00" to "59", "AM" or "PM".
struct AlarmPreset {
    std::string Hour;
    std::string Minute;
    std::string DayHalf;
};

// The next minute after hour:minute (0-23, 0-59) on the 12-hour dial. At minute 59 nothing
// is carried: the preset is then the current minute.
AlarmPreset PresetAlarm(int hour, int minute);

// A number as the panel's fields show it: a "0" before a single digit.
std::string TwoDigitText(int32_t value);

// The panel's hour, minute and day half as a text the time parser reads in this locale, from
// what the start-up probe saw of the clock's text: suffixMode 0 (no day half, so the 24-hour
// dial), 1 (a one-letter day half) or 2 (a longer one). Fails when the hour is not an integer.
std::string ComposeAlarmText(std::string_view hour, std::string_view minute, std::string_view dayHalf,
                             uint8_t suffixMode, std::string_view clockSeparator);

// The watch compares the alarm's text with the clock's, byte for byte, at every tick. It rings
// on the tick at which they become equal, so that each appearance of the alarm's second rings
// exactly once, however the tick falls against the clock's own rewrites.
class TAlarmWatch {
public:
    bool Rings(std::string_view alarmText, std::string_view clockText);
    // The next tick that sees the texts equal rings, even if the last one did too.
    void Forget() { sawEqual_ = false; }

private:
    bool sawEqual_ = false;
};
