// The alarm's arithmetic.
#include "ui/alarmtext.h"

AlarmPreset PresetAlarm(int hour, int minute)
{
    if (minute < 59) ++minute;
    AlarmPreset preset;
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

bool TAlarmWatch::Rings(std::string_view alarmText, std::string_view clockText)
{
    const bool equal = alarmText == clockText;
    const bool rings = equal && !sawEqual_;
    sawEqual_ = equal;
    return rings;
}
