// Unit tests of the time text: rendering, reading back, the locale settings, the integer
// conversions and the start-up probe.
#include "clock/timetext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/failure.h"

namespace {

constexpr double kMs = 86400000.0;

// A time of day as a day fraction, worked out here rather than by the code under test.
double At(int hour, int minute, int second, int ms = 0)
{
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + ms) / kMs;
}

// The locales the tests run in.
const TimeTextSettings kTwelve{':', "AM", "PM", false, true};      // "h:mm:ss AMPM"
const TimeTextSettings kTwelveZero{':', "AM", "PM", true, true};   // "hh:mm:ss AMPM"
const TimeTextSettings kTwentyFour{'.', "", "", true, false};      // "hh.mm.ss"
const TimeTextSettings kTwentyFourBare{'.', "", "", false, false}; // "h.mm.ss"
const TimeTextSettings kLetters{':', "a", "p", false, true};       // one-letter day halves
const TimeTextSettings kNoHalves{':', "", "", false, true};        // 12-hour, empty day halves

void ExpectInvalidTime(std::string_view text, const TimeTextSettings& settings,
                       DesignatorMatch match = AsciiCaseInsensitiveMatch)
{
    try {
        const DateTime value = ParseTimeText(text, settings, match);
        ADD_FAILURE() << "accepted as " << value * kMs << " ms";
    } catch (const TConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid time");
    }
}

// ---- Rendering ----------------------------------------------------------------------

TEST(FormatTimeText, RendersEachLocaleForm)
{
    struct Case {
        double value;
        const char* twelve;         // "h:mm:ss AMPM"
        const char* twelveZero;     // "hh:mm:ss AMPM"
        const char* twentyFour;     // "hh.mm.ss"
        const char* twentyFourBare; // "h.mm.ss"
    };
    const Case kCases[] = {
        {At(0, 0, 0), "12:00:00 AM", "12:00:00 AM", "00.00.00", "0.00.00"},
        {At(0, 7, 5), "12:07:05 AM", "12:07:05 AM", "00.07.05", "0.07.05"},
        {At(9, 30, 0), "9:30:00 AM", "09:30:00 AM", "09.30.00", "9.30.00"},
        {At(10, 0, 1), "10:00:01 AM", "10:00:01 AM", "10.00.01", "10.00.01"},
        {At(11, 59, 59), "11:59:59 AM", "11:59:59 AM", "11.59.59", "11.59.59"},
        {At(12, 0, 0), "12:00:00 PM", "12:00:00 PM", "12.00.00", "12.00.00"},
        {At(13, 45, 9), "1:45:09 PM", "01:45:09 PM", "13.45.09", "13.45.09"},
        {At(21, 10, 30), "9:10:30 PM", "09:10:30 PM", "21.10.30", "21.10.30"},
        {At(23, 0, 40), "11:00:40 PM", "11:00:40 PM", "23.00.40", "23.00.40"},
        {At(23, 59, 59), "11:59:59 PM", "11:59:59 PM", "23.59.59", "23.59.59"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.twentyFour);
        EXPECT_EQ(FormatTimeText(c.value, kTwelve), c.twelve);
        EXPECT_EQ(FormatTimeText(c.value, kTwelveZero), c.twelveZero);
        EXPECT_EQ(FormatTimeText(c.value, kTwentyFour), c.twentyFour);
        EXPECT_EQ(FormatTimeText(c.value, kTwentyFourBare), c.twentyFourBare);
    }
}

TEST(FormatTimeText, TakesTheDayHalfFromTheLocale)
{
    const TimeTextSettings words{':', "vorm.", "nachm.", false, true};
    EXPECT_EQ(FormatTimeText(At(11, 59, 59), words), "11:59:59 vorm.");
    EXPECT_EQ(FormatTimeText(At(12, 0, 0), words), "12:00:00 nachm.");
    // Empty day halves still leave the blank that precedes them.
    EXPECT_EQ(FormatTimeText(At(3, 45, 0), kNoHalves), "3:45:00 ");
    EXPECT_EQ(FormatTimeText(At(15, 45, 0), kNoHalves), "3:45:00 ");
}

TEST(FormatTimeText, ShowsOnlyWholeSecondsOfTheTimeOfDay)
{
    EXPECT_EQ(FormatTimeText(At(13, 45, 9, 999), kTwelve), "1:45:09 PM");
    EXPECT_EQ(FormatTimeText(At(13, 45, 9, 999), kTwentyFour), "13.45.09");
    EXPECT_EQ(FormatTimeText(46000.5, kTwelve), "12:00:00 PM");
    EXPECT_EQ(FormatTimeText(46365 + At(9, 30, 0), kTwentyFour), "09.30.00");
}

// ---- Locale settings ----------------------------------------------------------------

TEST(MakeTimeTextSettings, FallsBackWhereTheLocaleAnsweredNothing)
{
    const TimeTextSettings s = MakeTimeTextSettings(TLocaleAnswers{});
    EXPECT_EQ(s.Separator, ':');
    EXPECT_EQ(s.AmDesignator, "am");
    EXPECT_EQ(s.PmDesignator, "pm");
    EXPECT_FALSE(s.LeadingZero);
    EXPECT_TRUE(s.TwelveHour);
    EXPECT_EQ(s.TimePattern(), "h:mm:ss AMPM");
}

TEST(MakeTimeTextSettings, TakesTheAnswersThatCame)
{
    TLocaleAnswers answers;
    answers.Separator = ".";
    answers.AmDesignator = "a.m.";
    answers.PmDesignator = "";
    const TimeTextSettings s = MakeTimeTextSettings(answers);
    EXPECT_EQ(s.Separator, '.');
    EXPECT_EQ(s.AmDesignator, "a.m.");
    EXPECT_EQ(s.PmDesignator, ""); // an empty answer is kept, not replaced by the default

    answers.Separator = "h:"; // only the first character counts
    answers.AmDesignator = "";
    EXPECT_EQ(MakeTimeTextSettings(answers).Separator, 'h');
    EXPECT_EQ(MakeTimeTextSettings(answers).AmDesignator, "");

    // An empty separator would put a terminator into the clock's text.
    answers.Separator = "";
    EXPECT_EQ(MakeTimeTextSettings(answers).Separator, ':');
    EXPECT_EQ(FormatTimeText(0.5, MakeTimeTextSettings(answers)), "12:00:00 "); // empty PM designator
}

TEST(MakeTimeTextSettings, ReadsTheHourFlagsAsIntegers)
{
    struct Case {
        std::optional<std::string> leadingZero;
        std::optional<std::string> timeMode;
        const char* pattern;
    };
    const Case kCases[] = {
        {std::nullopt, std::nullopt, "h:mm:ss AMPM"},
        {"0", "0", "h:mm:ss AMPM"},
        {"1", "0", "hh:mm:ss AMPM"},
        {"0", "1", "h:mm:ss"},
        {"1", "1", "hh:mm:ss"},
        {std::nullopt, "1", "h:mm:ss"},
        {"1", std::nullopt, "hh:mm:ss AMPM"},
        {"2", "2", "hh:mm:ss"},
        {"-1", "-1", "hh:mm:ss"},
        {" 1", "$1", "hh:mm:ss"}, // leading blank and hex are integers too
        {"00", "$0", "h:mm:ss AMPM"},
        {"yes", "x", "h:mm:ss AMPM"}, // not an integer: counts as 0
        {"", "", "h:mm:ss AMPM"},
        {"1 ", "1 ", "h:mm:ss AMPM"}, // trailing blank: not an integer
        {"0x1", "1e3", "h:mm:ss AMPM"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pattern);
        SCOPED_TRACE("LeadingZero " + c.leadingZero.value_or("<none>") + ", TimeMode " + c.timeMode.value_or("<none>"));
        TLocaleAnswers answers;
        answers.LeadingZero = c.leadingZero;
        answers.TimeMode = c.timeMode;
        const TimeTextSettings s = MakeTimeTextSettings(answers);
        EXPECT_EQ(s.TimePattern(), c.pattern);
        EXPECT_EQ(s.LeadingZero, std::string(c.pattern).rfind("hh", 0) == 0);
        EXPECT_EQ(s.TwelveHour, std::string(c.pattern).find("AMPM") != std::string::npos);
    }
}

// ---- Splitting and calendar days ----------------------------------------------------

TEST(SplitTime, RoundsToTheNearestMillisecondOfTheDay)
{
    struct Case {
        double value;
        int hour, minute, second, ms;
    };
    const Case kCases[] = {
        {0.0, 0, 0, 0, 0},
        {At(13, 45, 9, 250), 13, 45, 9, 250},
        {At(23, 59, 59, 999), 23, 59, 59, 999},
        {0.4 / kMs, 0, 0, 0, 0},
        {0.5 / kMs, 0, 0, 0, 0}, // exact halves go to the even neighbour
        {0.6 / kMs, 0, 0, 0, 1},
        {1.5 / kMs, 0, 0, 0, 2},
        {2.5 / kMs, 0, 0, 0, 2},
        {3.5 / kMs, 0, 0, 0, 4},
        {86399999.4 / kMs, 23, 59, 59, 999},
        {86399999.6 / kMs, 0, 0, 0, 0}, // rounds up to a whole day and wraps
        {1.75, 18, 0, 0, 0},
        {46000.5, 12, 0, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "value*86400000 = " << c.value * kMs);
        const TTimeParts p = SplitTime(c.value);
        EXPECT_EQ(p.Hour, c.hour);
        EXPECT_EQ(p.Minute, c.minute);
        EXPECT_EQ(p.Second, c.second);
        EXPECT_EQ(p.Millisecond, c.ms);
    }
}

TEST(DayNumber, CountsDaysFromTheThirtiethOfDecember1899)
{
    struct Case {
        int year, month, day;
        int32_t number;
    };
    const Case kCases[] = {
        {1899, 12, 30, 0},   {1899, 12, 31, 1},    {1900, 1, 1, 2},
        {1900, 2, 28, 60},   {1900, 3, 1, 61}, // 1900 has no 29 February
        {1970, 1, 1, 25569}, {2000, 1, 1, 36526},  {2000, 2, 29, 36585},
        {2000, 3, 1, 36586}, {2026, 12, 9, 46365},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.year << '-' << c.month << '-' << c.day);
        EXPECT_EQ(DayNumber(c.year, c.month, c.day), c.number);
    }
}

// ---- Reading a time back ------------------------------------------------------------

TEST(ParseTimeText, ReadsValidTimes)
{
    struct Case {
        const char* text;
        const TimeTextSettings* settings;
        int hour, minute, second;
    };
    const Case kCases[] = {
        {"15", &kTwelve, 15, 0, 0},
        {"3 PM", &kTwelve, 15, 0, 0},
        {"3PM", &kTwelve, 15, 0, 0},
        {"12 AM", &kTwelve, 0, 0, 0},
        {"12 PM", &kTwelve, 12, 0, 0},
        {"12:30 pm", &kTwelve, 12, 30, 0},
        {"1 am", &kTwelve, 1, 0, 0},
        {"7 aM", &kTwelve, 7, 0, 0},
        {"11:59:59 PM", &kTwelve, 23, 59, 59},
        {"23:59:59", &kTwelve, 23, 59, 59},
        {"0:00", &kTwelve, 0, 0, 0},
        {"7:05", &kTwelve, 7, 5, 0},
        {"  7 : 05 : 09  ", &kTwelve, 7, 5, 9},
        {"0007", &kTwelve, 7, 0, 0},
        {"00000000007:0000005", &kTwelve, 7, 5, 0}, // zeros keep the value below 1000
        {"7p", &kLetters, 19, 0, 0},
        {"7 a", &kLetters, 7, 0, 0},
        {"12 P", &kLetters, 12, 0, 0},
        {"3.15 PM", &kTwentyFour, 15, 15, 0},
        {"3.15 am", &kTwentyFour, 3, 15, 0},
        {"13.45.09", &kTwentyFour, 13, 45, 9},
        {"3 ", &kNoHalves, 3, 0, 0},
        {"3 pm", &kNoHalves, 15, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        const DateTime value = ParseTimeText(c.text, *c.settings);
        EXPECT_NEAR(value * kMs, (c.hour * 3600 + c.minute * 60 + c.second) * 1000.0, 1e-3);
    }
}

TEST(ParseTimeText, RejectsInvalidTimesNamingTheWholeText)
{
    struct Case {
        const char* text;
        const TimeTextSettings* settings;
    };
    const Case kCases[] = {
        {"0 AM", &kTwelve},      {"0 PM", &kTwelve},     {"13 PM", &kTwelve},
        {"24:00", &kTwelve},     {"100", &kTwelve},      {"7:60", &kTwelve},
        {"7:05:60", &kTwelve},   {"7:", &kTwelve},       {"7 : ", &kTwelve},
        {":30", &kTwelve},       {"7::05", &kTwelve},    {"7:05:09:00", &kTwelve},
        {"7:05x", &kTwelve},     {"12345", &kTwelve},    {"99999999999999999999", &kTwelve},
        {"", &kTwelve},          {"   ", &kTwelve},      {"7 AMX", &kTwelve},
        {"7 AM PM", &kTwelve},   {"AM", &kTwelve},       {"-7", &kTwelve},
        {"\t7", &kTwelve},       {"7\t", &kTwelve},      {"7p", &kTwelve},
        {"7 A", &kTwelve},       {"7:30", &kTwentyFour}, {"3.15 P", &kTwentyFour},
        {"7.05.09 ", &kLetters},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        ExpectInvalidTime(c.text, *c.settings);
    }
}

bool ExactMatch(std::string_view text, std::string_view candidate)
{
    return text == candidate;
}

bool AnyMatchOfCandidateLength(std::string_view text, std::string_view candidate)
{
    EXPECT_EQ(text.size(), candidate.size());
    return true;
}

TEST(ParseTimeText, UsesTheDayHalfMatchItIsGiven)
{
    EXPECT_NEAR(ParseTimeText("3 PM", kTwelve, ExactMatch) * kMs, 15 * 3600000.0, 1e-3);
    EXPECT_NEAR(ParseTimeText("3 pm", kTwelve) * kMs, 15 * 3600000.0, 1e-3);
    ExpectInvalidTime("3 pm", kTwelve, ExactMatch);
    // Any two characters pass for the first candidate, the locale's "AM".
    EXPECT_NEAR(ParseTimeText("3 xy", kTwelve, AnyMatchOfCandidateLength) * kMs, 3 * 3600000.0, 1e-3);
    ExpectInvalidTime("3 x", kTwelve, AnyMatchOfCandidateLength);
}

TEST(AsciiCaseInsensitiveMatch, FoldsLettersOnly)
{
    EXPECT_TRUE(AsciiCaseInsensitiveMatch("pm", "PM"));
    EXPECT_TRUE(AsciiCaseInsensitiveMatch("Pm", "pM"));
    EXPECT_TRUE(AsciiCaseInsensitiveMatch("a.m.", "A.M."));
    EXPECT_FALSE(AsciiCaseInsensitiveMatch("pn", "PM"));
    EXPECT_FALSE(AsciiCaseInsensitiveMatch("@[", "`{")); // 32 apart, but not letters
}

TEST(ParseTimeText, ReadsBackEverySecondItRenders)
{
    for (const TimeTextSettings* settings : {&kTwelve, &kTwentyFour, &kTwelveZero}) {
        SCOPED_TRACE(settings->TimePattern());
        int failures = 0;
        for (int s = 0; s < 86400 && failures < 5; ++s) {
            const std::string text = FormatTimeText(At(s / 3600, s / 60 % 60, s % 60), *settings);
            try {
                const DateTime value = ParseTimeText(text, *settings);
                if (FormatTimeText(value, *settings) != text || std::abs(value * kMs - s * 1000.0) > 1e-3) {
                    ADD_FAILURE() << "'" << text << "' read back as " << value * kMs << " ms";
                    ++failures;
                }
            } catch (const TConversionError& e) {
                ADD_FAILURE() << e.what();
                ++failures;
            }
        }
    }
}

// ---- Integers -----------------------------------------------------------------------

TEST(ParseInteger, ReadsDecimalAndHex)
{
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const Case kCases[] = {
        {"0", 0},
        {"05", 5},
        {" 5", 5},
        {"+7", 7},
        {"-5", -5},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"$FFFFFFFF", -1},
        {"$7FFFFFFF", 2147483647},
        {"$80000000", std::numeric_limits<int32_t>::min()},
        {"$000000010", 16},
        {"$00000000000", 0},
        {"$ff", 255},
        {"$123456789", std::nullopt},
        {"$", std::nullopt},
        {"$G", std::nullopt},
        {"$1 ", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"5 ", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"- 5", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
        {"\t5", std::nullopt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        EXPECT_EQ(TryParseInteger(c.text), c.value);
        if (c.value) {
            EXPECT_EQ(ParseInteger(c.text), *c.value);
            // What the panel writes of a number reads back as that number.
            EXPECT_EQ(ParseInteger(IntegerText(*c.value)), *c.value);
            continue;
        }
        try {
            const int32_t value = ParseInteger(c.text);
            ADD_FAILURE() << "accepted as " << value;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(dynamic_cast<const TConversionError*>(&e), nullptr);
            EXPECT_EQ(std::string(e.what()), std::string("'") + c.text + "' is not a valid integer value");
        }
    }
}

TEST(StripSpaces, RemovesBlanksOnly)
{
    EXPECT_EQ(StripSpaces(""), "");
    EXPECT_EQ(StripSpaces("   "), "");
    EXPECT_EQ(StripSpaces(" 1:45 : 09  PM "), "1:45:09PM");
    EXPECT_EQ(StripSpaces("\t1 2\t"), "\t12\t");
}

// ---- Start-up probe -----------------------------------------------------------------

TEST(ProbeClockText, LearnsSeparatorAndDayHalfForm)
{
    struct Case {
        const char* text;
        const char* separator;
        const char* probe;
        int suffixMode;
    };
    const Case kCases[] = {
        {"1:45:09 PM", ":", "PM", 2},      {"12:07:05 AM", ":", "AM", 2}, {"07.05.09", ".", "09", 0},
        {"3:45:00 ", ":", "00", 0},        {"9:30:00 a", ":", "0a", 1},   {"1234567", "", "67", 0},
        {"12h30m05", "h", "05", 0},        {" :12", "", "12", 0}, // the scan starts at the second character
        {"1 2:3", ":", ":3", 2},                                  // blanks go before anything is looked at
        {"11:00:40 nachm.", ":", "m.", 2},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        const TProbeResult r = ProbeClockText(c.text);
        EXPECT_EQ(r.ClockSeparator, c.separator);
        EXPECT_EQ(r.ProbeText, c.probe);
        EXPECT_EQ(r.SuffixMode, c.suffixMode);
    }
}

} // namespace
