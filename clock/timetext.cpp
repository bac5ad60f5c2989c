// Time text: rendering, parsing and splitting times of day, and the integer conversions.
#include "clock/timetext.h"

#include <cmath>
#include <cstdint>

#include "app/failure.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string TwoDigits(int value)
{
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

[[noreturn]] void InvalidTime(std::string_view text)
{
    throw TConversionError("'" + std::string(text) + "' is not a valid time");
}

// A cursor over a time text; positions past the end read as no character.
class TTimeScanner {
public:
    explicit TTimeScanner(std::string_view text) : FText(text) {}

    void SkipBlanks()
    {
        while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
    }

    bool AtEnd() const { return FPos >= FText.size(); }

    bool Take(char c)
    {
        if (AtEnd() || FText[FPos] != c) return false;
        ++FPos;
        return true;
    }

    // Reads digits while the value stays below 1000, so "12345" leaves its "5" behind.
    std::optional<int> Number()
    {
        SkipBlanks();
        if (AtEnd() || !IsDigit(FText[FPos])) return std::nullopt;
        int value = 0;
        while (!AtEnd() && IsDigit(FText[FPos]) && value < 1000) value = value * 10 + (FText[FPos++] - '0');
        return value;
    }

    bool TakeDesignator(std::string_view candidate, DesignatorMatch match)
    {
        SkipBlanks();
        if (candidate.empty() || FText.size() - FPos < candidate.size()) return false;
        if (!match(FText.substr(FPos, candidate.size()), candidate)) return false;
        FPos += candidate.size();
        return true;
    }

private:
    std::string_view FText;
    size_t FPos = 0;
};

int32_t LocaleFlag(const std::optional<std::string>& answer)
{
    return TryParseInteger(answer.value_or("0")).value_or(0);
}

} // namespace

std::string TimeTextSettings::TimePattern() const
{
    return std::string(LeadingZero ? "hh" : "h") + ":mm:ss" + (TwelveHour ? " AMPM" : "");
}

TimeTextSettings MakeTimeTextSettings(const TLocaleAnswers& answers)
{
    TimeTextSettings settings;
    // An empty answer would put its terminator between the numbers; it keeps ":" instead.
    if (answers.Separator && !answers.Separator->empty()) settings.Separator = answers.Separator->front();
    if (answers.AmDesignator) settings.AmDesignator = *answers.AmDesignator;
    if (answers.PmDesignator) settings.PmDesignator = *answers.PmDesignator;
    settings.LeadingZero = LocaleFlag(answers.LeadingZero) != 0;
    settings.TwelveHour = LocaleFlag(answers.TimeMode) == 0;
    return settings;
}

TTimeParts SplitTime(DateTime value)
{
    // nearbyint rounds an exact half to the even neighbour in the default rounding mode.
    const auto count = static_cast<int64_t>(std::nearbyint(value * kMsPerDay));
    const auto ms = static_cast<int32_t>(count % kMsPerDay);
    return {static_cast<uint16_t>(ms / 3600000), static_cast<uint16_t>(ms / 60000 % 60),
            static_cast<uint16_t>(ms % 60000 / 1000), static_cast<uint16_t>(ms % 1000)};
}

DateTime TimeOfDay(int hour, int minute, int second, int millisecond)
{
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMsPerDay;
}

int32_t DayNumber(int year, int month, int day)
{
    // Days from the civil calendar (proleptic Gregorian), shifted so that 1899-12-30 is 0.
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int32_t daysSince1970 = era * 146097 + doe - 719468;
    return daysSince1970 + 25569;
}

std::string FormatTimeText(DateTime value, const TimeTextSettings& settings)
{
    const TTimeParts parts = SplitTime(value);
    int hour = parts.Hour;
    if (settings.TwelveHour) {
        if (hour == 0)
            hour = 12;
        else if (hour > 12)
            hour -= 12;
    }
    std::string text = settings.LeadingZero || hour >= 10 ? TwoDigits(hour) : std::string(1, char('0' + hour));
    text += settings.Separator;
    text += TwoDigits(parts.Minute);
    text += settings.Separator;
    text += TwoDigits(parts.Second);
    if (settings.TwelveHour) {
        text += ' ';
        text += parts.Hour < 12 ? settings.AmDesignator : settings.PmDesignator;
    }
    return text;
}

bool AsciiCaseInsensitiveMatch(std::string_view text, std::string_view candidate)
{
    if (text.size() != candidate.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(candidate[i])) return false;
    }
    return true;
}

DateTime ParseTimeText(std::string_view text, const TimeTextSettings& settings, DesignatorMatch match)
{
    TTimeScanner scan(text);
    std::optional<int> hour = scan.Number();
    if (!hour) InvalidTime(text);
    int minute = 0;
    int second = 0;
    for (int* part : {&minute, &second}) {
        scan.SkipBlanks();
        if (!scan.Take(settings.Separator)) break;
        std::optional<int> value = scan.Number();
        if (!value) InvalidTime(text);
        *part = *value;
    }

    enum class THalf { None, Am, Pm } half = THalf::None;
    if (scan.TakeDesignator(settings.AmDesignator, match) || scan.TakeDesignator("AM", match))
        half = THalf::Am;
    else if (scan.TakeDesignator(settings.PmDesignator, match) || scan.TakeDesignator("PM", match))
        half = THalf::Pm;

    int h = *hour;
    if (half != THalf::None) {
        if (h < 1 || h > 12) InvalidTime(text);
        if (h == 12) h = 0;
        if (half == THalf::Pm) h += 12;
    }
    scan.SkipBlanks();
    if (h >= 24 || minute >= 60 || second >= 60 || !scan.AtEnd()) InvalidTime(text);
    return TimeOfDay(h, minute, second);
}

std::optional<int32_t> TryParseInteger(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos < text.size() && text[pos] == '$') {
        ++pos;
        if (pos == text.size()) return std::nullopt;
        uint32_t value = 0;
        int significant = 0;
        for (; pos < text.size(); ++pos) {
            const int digit = HexValue(text[pos]);
            if (digit < 0) return std::nullopt;
            if (significant > 0 || digit != 0) ++significant;
            if (significant > 8) return std::nullopt;
            value = value << 4 | static_cast<uint32_t>(digit);
        }
        return static_cast<int32_t>(value);
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    if (pos == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos])) return std::nullopt;
        value = value * 10 + (text[pos] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t ParseInteger(std::string_view text)
{
    if (std::optional<int32_t> value = TryParseInteger(text)) return *value;
    throw TConversionError("'" + std::string(text) + "' is not a valid integer value");
}

std::string IntegerText(int32_t value)
{
    return std::to_string(value);
}

std::string StripSpaces(std::string_view text)
{
    std::string result;
    for (char c : text)
        if (c != ' ') result += c;
    return result;
}

TProbeResult ProbeClockText(std::string_view timeText)
{
    TProbeResult probe;
    const std::string text = StripSpaces(timeText);
    size_t p = 1;
    while (p < text.size() && IsDigit(text[p])) ++p;
    if (p < text.size()) probe.ClockSeparator = text.substr(p, 1);
    probe.ProbeText = text.size() >= 2 ? text.substr(text.size() - 2) : text;
    if (probe.ProbeText.size() == 2) {
        const bool firstDigit = IsDigit(probe.ProbeText[0]);
        const bool secondDigit = IsDigit(probe.ProbeText[1]);
        probe.SuffixMode = !firstDigit ? 2 : secondDigit ? 0 : 1;
    }
    return probe;
}
