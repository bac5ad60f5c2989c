// The locale's time settings and the local time, read from the platform.
#include "clock/localetime.h"

#include <vector>

TimeTextSettings TimeSettings;

namespace {

LocalTimeSource localTimeSource = GetLocalTime;
LocaleInfoSource localeInfoSource = GetLocaleInfoA;

// GetTickCount64 where the system has it, looked up at run time: the headers this program is
// built with stop at Windows XP, and our own code adds no import that XP lacks. Without it,
// GetTickCount's 32 bits are widened by counting their wraps, which every 49.7 days would
// otherwise look like a step back. The watch asks once a second while it runs; a wrap unseen
// while it was off looks like a long pause, which catches up on nothing and quiets nothing.
uint64_t SystemMonotonic()
{
    using TickCount64 = ULONGLONG(WINAPI*)();
    static const auto tickCount64 = reinterpret_cast<TickCount64>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    if (tickCount64) return tickCount64();
    static DWORD last = 0;
    static uint64_t wraps = 0;
    const DWORD now = GetTickCount();
    if (now < last) ++wraps;
    last = now;
    return (wraps << 32) | now;
}

MonotonicSource monotonicSource = SystemMonotonic;

// The answer for one value, asked with room for capacity characters including the terminator.
std::optional<std::string> AskLocale(LCID locale, LCTYPE type, int capacity)
{
    std::vector<char> buffer(static_cast<size_t>(capacity), '\0');
    const int count = localeInfoSource(locale, type, buffer.data(), capacity);
    if (count <= 0) return std::nullopt;
    return std::string(buffer.data(), static_cast<size_t>(count - 1));
}

} // namespace

void ReadTimeTextSettings()
{
    const LCID locale = GetSystemDefaultLCID();
    TLocaleAnswers answers;
    // Room for one character: a longer separator does not fit, and ":" is used instead.
    answers.Separator = AskLocale(locale, LOCALE_STIME, 2);
    answers.AmDesignator = AskLocale(locale, LOCALE_S1159, 256);
    answers.PmDesignator = AskLocale(locale, LOCALE_S2359, 256);
    answers.LeadingZero = AskLocale(locale, LOCALE_ITLZERO, 256);
    answers.TimeMode = AskLocale(locale, LOCALE_ITIME, 256);
    TimeSettings = MakeTimeTextSettings(answers);
}

DateTime CurrentTimeOfDay()
{
    SYSTEMTIME now{};
    localTimeSource(&now);
    return TimeOfDay(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

DateTime CurrentDateTime()
{
    SYSTEMTIME today{};
    localTimeSource(&today);
    return DayNumber(today.wYear, today.wMonth, today.wDay) + CurrentTimeOfDay();
}

uint64_t MonotonicMilliseconds()
{
    return monotonicSource();
}

std::string FormatTimeText(DateTime value)
{
    return FormatTimeText(value, TimeSettings);
}

bool LocaleDesignatorMatch(std::string_view text, std::string_view candidate)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), static_cast<int>(text.size()),
                          candidate.data(), static_cast<int>(candidate.size())) == CSTR_EQUAL;
}

DateTime ParseTimeText(std::string_view text)
{
    return ParseTimeText(text, TimeSettings, LocaleDesignatorMatch);
}

void SetLocalTimeSource(LocalTimeSource source)
{
    localTimeSource = source ? source : GetLocalTime;
}

void SetMonotonicSource(MonotonicSource source)
{
    monotonicSource = source ? source : SystemMonotonic;
}

void SetLocaleInfoSource(LocaleInfoSource source)
{
    localeInfoSource = source ? source : GetLocaleInfoA;
}
