// The alarm's arithmetic.
#include "ui/alarmtext.h"

#include <algorithm>
#include <utility>

TAlarmPreset PresetAlarm(int hour, int minute)
{
    if (minute < 59) ++minute;
    TAlarmPreset preset;
    preset.DayHalf = hour > 11 ? "PM" : "AM";
    if (hour > 12) hour -= 12;
    if (hour == 0) hour = 12;
    preset.Hour = TwoDigitText(hour);
    preset.Minute = TwoDigitText(minute);
    return preset;
}

std::string TwoDigitText(int32_t value)
{
    return value < 10 ? "0" + IntegerText(value) : IntegerText(value);
}

std::string ComposeAlarmText(std::string_view hour, std::string_view minute, std::string_view dayHalf,
                             uint8_t suffixMode, std::string_view clockSeparator)
{
    const int32_t number = ParseInteger(hour);
    std::string hourText(hour);
    std::string halfText(dayHalf);
    if (suffixMode == 0) {
        // No day half on the clock: the 24-hour dial.
        int32_t h = number;
        if (dayHalf == "PM") {
            if (h >= 1 && h <= 11) h += 12;
        } else if (h == 12) {
            h = 0;
        }
        hourText = IntegerText(h);
        halfText.clear();
    } else if (suffixMode == 1) {
        halfText = halfText.substr(0, 1);
    }
    // The blank stays even when no day half follows it.
    return hourText + std::string(clockSeparator) + std::string(minute) + " " + halfText;
}

bool TAlarmWatch::Rings(std::string_view alarmText, std::string_view clockText, std::optional<DateTime> shown,
                        const TimeTextSettings& settings, uint64_t monotonicMs)
{
    if (!shown) return false; // the clock shows no time yet
    const TTimeParts parts = SplitTime(*shown);
    const int32_t now = parts.Hour * 3600 + parts.Minute * 60 + parts.Second;
    const std::optional<int32_t> before = std::exchange(FSeenSecond, now);
    const uint64_t elapsed = monotonicMs - std::exchange(FSeenAt, monotonicMs);
    const bool sameAlarm = alarmText == FSeenAlarm;
    if (!sameAlarm) FSeenAlarm = alarmText;
    // The seconds passed over since the previous tick, counted forward around midnight. A step
    // back looks like a gap of nearly a day, and like any long gap starts the watch over.
    const int32_t gap = before ? (now - *before + 86400) % 86400 : 0;
    // A second already compared with this alarm rings no more, however long it stays.
    if (before && gap == 0 && sameAlarm) return false;
    bool due = alarmText == clockText;
    // The step is what the clock moved beyond the time that passed, so that a jump of exactly the
    // limit is caught up on whatever the phase of the seconds.
    const bool catchUp = before && elapsed <= kCatchUpMs + kCatchUpSlackMs &&
                         uint64_t(gap) * 1000 <= elapsed + kCatchUpMs + kCatchUpSlackMs;
    if (catchUp) {
        for (int32_t second = *before + 1; !due && second < *before + gap; ++second) {
            const int32_t s = second % 86400;
            due = FormatTimeText(TimeOfDay(s / 3600, s / 60 % 60, s % 60), settings) == alarmText;
        }
    }
    if (!due) return false;
    // An alarm again soon after its ring is the same hour shown twice, not a new day.
    FRung.erase(std::remove_if(FRung.begin(), FRung.end(),
                               [monotonicMs](const TRing& ring) { return monotonicMs - ring.At >= kRingAgainAfterMs; }),
                FRung.end());
    for (const TRing& ring : FRung)
        if (ring.Alarm == alarmText) return false;
    if (FRung.size() == kQuietAlarms) FRung.erase(FRung.begin());
    FRung.push_back({std::string(alarmText), monotonicMs});
    return true;
}

void TAlarmWatch::Arm(std::optional<DateTime> shown, uint64_t monotonicMs)
{
    if (shown) {
        const TTimeParts parts = SplitTime(*shown);
        FSeenSecond = parts.Hour * 3600 + parts.Minute * 60 + parts.Second;
    } else {
        FSeenSecond.reset();
    }
    FSeenAt = monotonicMs;
    // The second shown now has not been compared with the new alarm: it may still ring.
    FSeenAlarm.clear();
}
