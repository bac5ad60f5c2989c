// The alarm's arithmetic, which needs no window: the panel's preset, the text Done composes
// and arms, and the watch that rings once each time the clock reaches the alarm's text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clock/timetext.h"

// What the panel shows when it opens: hour "01" to "12", minute "00" to "59", "AM" or "PM".
struct TAlarmPreset {
    std::string Hour;
    std::string Minute;
    std::string DayHalf;
};

// The next minute after hour:minute (0-23, 0-59) on the 12-hour dial. At minute 59 nothing
// is carried: the preset is then the current minute.
TAlarmPreset PresetAlarm(int hour, int minute);

// A number as the panel's fields show it: a "0" before a single digit.
std::string TwoDigitText(int32_t value);

// The panel's hour, minute and day half as a text the time parser reads in this locale, from
// what the start-up probe saw of the clock's text: suffixMode 0 (no day half, so the 24-hour
// dial), 1 (a one-letter day half) or 2 (a longer one). Fails when the hour is not an integer.
std::string ComposeAlarmText(std::string_view hour, std::string_view minute, std::string_view dayHalf,
                             uint8_t suffixMode, std::string_view clockSeparator);

// How far the watch catches up when the clock passes over seconds it did not show: a busy
// moment or a short sleep of up to this long, and a step of the clock (a daylight-saving start,
// a clock set forward) of up to this long beyond the time that passed. Over more (a night
// asleep, a jump of a day) it rings nothing late.
constexpr uint64_t kCatchUpMs = 2 * 60 * 60 * 1000;
// What the shown seconds cannot tell apart: each is cut to its whole second, and the clock's
// caption is up to one of its ticks old when the watch reads it.
constexpr uint64_t kCatchUpSlackMs = 2000;
// After a ring, that alarm stays quiet this long by the monotonic clock, so that an hour the
// clock shows twice (a daylight-saving end, a clock set back) rings only the first time.
constexpr uint64_t kRingAgainAfterMs = 2 * 60 * 60 * 1000;
// How many alarms rung within that time are remembered: more are never set that fast by hand.
constexpr size_t kQuietAlarms = 8;

// The watch, at every tick: does the alarm's text ring now? It rings when the clock's caption
// becomes the alarm's text, and also when the clock has passed over the alarm's second since
// the previous tick, compared as the time text of each second passed over.
class TAlarmWatch {
public:
    // alarmText: the alarm line's caption. clockText and shown: the clock's caption and the time
    // of day it shows, none before its first tick. monotonicMs: a clock that never steps.
    bool Rings(std::string_view alarmText, std::string_view clockText, std::optional<DateTime> shown,
               const TimeTextSettings& settings, uint64_t monotonicMs);
    // Done: the next tick catches up from the second the clock shows now, never from earlier.
    // The alarms rung lately stay quiet.
    void Arm(std::optional<DateTime> shown, uint64_t monotonicMs);

private:
    struct TRing {
        std::string Alarm;
        uint64_t At;
    };
    std::optional<int32_t> FSeenSecond; // the second of the day the clock showed at the previous tick
    uint64_t FSeenAt = 0;               // when that was, by the monotonic clock
    std::string FSeenAlarm;             // and the alarm text that tick compared it with
    std::vector<TRing> FRung;           // the alarms rung within kRingAgainAfterMs, oldest first
};
