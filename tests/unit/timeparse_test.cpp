// Unit tests of reading a time text back, the integer conversions and the start-up probe.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

#include "tests/unit/timelocales.h"

namespace {

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
