// Unit tests of the time text: rendering, the locale settings, splitting a time and counting days.
#include <cstdint>
#include <optional>

#include "tests/unit/timelocales.h"

namespace {

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

} // namespace
