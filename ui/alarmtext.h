// The alarm's arithmetic, which needs no window: the panel's preset, the text Done composes
// and arms, and the watch that rings once each time the clock reaches the alarm's text.
#pragma once

#include <cstdint>
#include <optional>
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

// How far forward the watch catches up when the clock passes over seconds it did not show: a
// daylight-saving start, a busy moment, a clock set forward, a short sleep. A longer step (a
// night asleep) rings nothing late.
constexpr int32_t kCatchUpSeconds = 2 * 60 * 60;
// After a ring, the same alarm stays quiet this long by the monotonic clock, so that an hour the
// clock shows twice (a daylight-saving end, a clock set back) rings only the first time.
constexpr uint64_t kRingAgainAfterMs = 2 * 60 * 60 * 1000;

// The watch, at every tick: does the alarm's text ring now? It rings when the clock's caption
// becomes the alarm's text, and also when the clock has passed over the alarm's second since
// the previous tick, compared as the time text of each second passed over.
class TAlarmWatch {
public:
    // alarmText: the alarm line's caption. clockText and shown: the clock's caption and the time
    // of day it shows, none before its first tick. monotonicMs: a clock that never steps.
    bool Rings(std::string_view alarmText, std::string_view clockText, std::optional<DateTime> shown,
               const TimeTextSettings& settings, uint64_t monotonicMs);
    // Starts afresh: the next tick looks only at what the clock shows, and the last ring is forgotten.
    void Forget();

private:
    std::optional<int32_t> seenSecond_; // the second of the day the clock showed at the previous tick
    std::string seenAlarm_;             // and the alarm text that tick compared it with
    std::optional<uint64_t> rangAt_;    // when the last ring was, by the monotonic clock
    std::string rang_;                  // and for which alarm text
};
