// Time text: the one text form in which the clock shows, and the alarm compares, a time of day.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Days since 30 December 1899 in the integral part, the time of day in the fraction.
using DateTime = double;

constexpr int32_t kMsPerDay = 86400000;

// The locale's time settings, as far as the clock uses them.
struct TimeTextSettings {
    char Separator = ':';
    std::string AmDesignator = "am";
    std::string PmDesignator = "pm";
    bool LeadingZero = false; // hour token "hh" rather than "h"
    bool TwelveHour = true;   // the pattern ends in " AMPM"

    // The long time pattern these settings stand for, e.g. "h:mm:ss AMPM".
    std::string TimePattern() const;
};

// What the locale answered for each value the clock asks for; empty where it answered
// nothing (the call failed, or the answer did not fit the room it was given).
struct TLocaleAnswers {
    std::optional<std::string> Separator;
    std::optional<std::string> AmDesignator;
    std::optional<std::string> PmDesignator;
    std::optional<std::string> LeadingZero; // "0" or "1"
    std::optional<std::string> TimeMode;    // "0" 12-hour, "1" 24-hour
};

TimeTextSettings MakeTimeTextSettings(const TLocaleAnswers& answers);

struct TTimeParts {
    uint16_t Hour;
    uint16_t Minute;
    uint16_t Second;
    uint16_t Millisecond;
};

TTimeParts SplitTime(DateTime value);
DateTime TimeOfDay(int hour, int minute, int second, int millisecond = 0);
// The day count of a calendar date, 30 December 1899 being day 0.
int32_t DayNumber(int year, int month, int day);

std::string FormatTimeText(DateTime value, const TimeTextSettings& settings);

// Compares text with a day-half candidate of the same length, ignoring case.
using DesignatorMatch = bool (*)(std::string_view text, std::string_view candidate);
bool AsciiCaseInsensitiveMatch(std::string_view text, std::string_view candidate);

// Reads a time text back; throws TConversionError "'text' is not a valid time".
DateTime ParseTimeText(std::string_view text, const TimeTextSettings& settings,
                       DesignatorMatch match = AsciiCaseInsensitiveMatch);

// Decimal with optional sign, or "$" and up to eight significant hex digits;
// throws TConversionError "'text' is not a valid integer value".
int32_t ParseInteger(std::string_view text);
std::optional<int32_t> TryParseInteger(std::string_view text);
std::string IntegerText(int32_t value);
std::string StripSpaces(std::string_view text);

// What the start-up probe learns from the clock's own text.
struct TProbeResult {
    std::string ProbeText;      // the text's last two characters, blanks removed
    std::string ClockSeparator; // first non-digit after the first character, or empty
    uint8_t SuffixMode = 0;     // 0 digits, 1 one-letter designator, 2 longer designator
};

TProbeResult ProbeClockText(std::string_view timeText);
