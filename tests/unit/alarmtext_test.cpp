// Unit tests of the alarm's arithmetic: the panel's preset, the composed text as each kind of
// locale reads it back, and the watch over many simulated days.
#include "ui/alarmtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/failure.h"

namespace {

TEST(PresetAlarm, OpensOnTheNextMinuteOfTheTwelveHourDial)
{
    struct Case {
        int hour, minute;
        const char *shownHour, *shownMinute, *half;
    };
    const Case kCases[] = {
        {10, 59, "10", "59", "AM"}, // no carry at minute 59
        {23, 59, "11", "59", "PM"}, {0, 5, "12", "06", "AM"},  {12, 30, "12", "31", "PM"},
        {11, 58, "11", "59", "AM"}, {13, 0, "01", "01", "PM"}, {0, 59, "12", "59", "AM"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute);
        const AlarmPreset preset = PresetAlarm(c.hour, c.minute);
        EXPECT_EQ(c.shownHour, preset.Hour);
        EXPECT_EQ(c.shownMinute, preset.Minute);
        EXPECT_EQ(c.half, preset.DayHalf);
    }
}

// The locales each composition mode is made for, and the time text their clock shows.
const TimeTextSettings kTwelve{':', "AM", "PM", false, true}; // "h:mm:ss AMPM": mode 2
const TimeTextSettings kLetters{':', "a", "p", false, true};  // one-letter day halves: mode 1
const TimeTextSettings kTwentyFour{':', "", "", true, false}; // "hh:mm:ss": mode 0
const TimeTextSettings kDotted{'.', "", "", true, false};     // "hh.mm.ss": mode 0
const TimeTextSettings kNoHalves{':', "", "", false, true};   // 12-hour, empty day halves: mode 0
const TimeTextSettings* const kModeLocale[] = {&kTwentyFour, &kLetters, &kTwelve};

std::string WithSeparator(std::string text, char separator)
{
    std::replace(text.begin(), text.end(), ':', separator);
    return text;
}

TEST(ComposeAlarmText, ShapesThePanelLikeTheClocksTextInEachMode)
{
    struct Case {
        const char *hour, *minute, *half;
        const char* composed[3]; // by mode
        int h, m;                // what the parser makes of each
    };
    const Case kCases[] = {
        {"03", "07", "PM", {"15:07 ", "03:07 P", "03:07 PM"}, 15, 7},
        {"09", "05", "AM", {"9:05 ", "09:05 A", "09:05 AM"}, 9, 5},
        {"12", "30", "AM", {"0:30 ", "12:30 A", "12:30 AM"}, 0, 30},
        {"12", "30", "PM", {"12:30 ", "12:30 P", "12:30 PM"}, 12, 30},
    };
    for (const char separator : {':', '.'}) {
        for (const Case& c : kCases) {
            for (uint8_t mode = 0; mode < 3; ++mode) {
                SCOPED_TRACE(testing::Message() << c.hour << c.half << " mode " << int(mode) << " " << separator);
                const std::string composed = ComposeAlarmText(c.hour, c.minute, c.half, mode, {&separator, 1});
                EXPECT_EQ(WithSeparator(c.composed[mode], separator), composed);
                TimeTextSettings locale = *kModeLocale[mode];
                locale.Separator = separator;
                EXPECT_DOUBLE_EQ(TimeOfDay(c.h, c.m, 0), ParseTimeText(composed, locale));
            }
        }
    }
    try {
        ComposeAlarmText("1x", "00", "AM", 2, ":");
        ADD_FAILURE() << "composed from a hour that is no integer";
    } catch (const ConversionError& e) {
        EXPECT_STREQ("'1x' is not a valid integer value", e.what());
    }
}

TEST(ComposeAlarmText, ArmsTheClocksOwnTextOrFailsWhereTheLocaleCannotReadIt)
{
    struct Case {
        const char* locale;
        const TimeTextSettings& settings;
        uint8_t mode;
        const char* separator; // as the probe saw it
        const char *hour, *minute, *half;
        const char* line; // the alarm line, or nullptr where the parser refuses the text
    };
    const TimeTextSettings kOtherHalves{':', "vorm.", "nachm.", false, true};
    const Case kCases[] = {
        {"24-hour, 12 AM", kDotted, 0, ".", "12", "05", "AM", "00.05.00"},
        {"24-hour, 12 PM", kDotted, 0, ".", "12", "05", "PM", "12.05.00"},
        {"a and p", kLetters, 1, ":", "03", "07", "PM", "3:07:00 p"},
        {"AM and PM, read by letter", kTwelve, 1, ":", "03", "07", "PM", nullptr},
        {"other day halves", kOtherHalves, 2, ":", "03", "07", "PM", "3:07:00 nachm."},
        {"empty day halves", kNoHalves, 0, ":", "03", "07", "PM", "3:07:00 "},
        {"no separator seen", kTwelve, 2, "", "03", "07", "PM", nullptr},
        {"separator changed since start", kDotted, 0, ":", "03", "07", "PM", nullptr},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.locale);
        const std::string text = ComposeAlarmText(c.hour, c.minute, c.half, c.mode, c.separator);
        if (!c.line) {
            EXPECT_THROW(ParseTimeText(text, c.settings), ConversionError) << text;
            continue;
        }
        EXPECT_EQ(c.line, FormatTimeText(ParseTimeText(text, c.settings), c.settings));
    }
}

TEST(AlarmWatch, RingsExactlyOnceADayWhateverTheTimersPhases)
{
    // The clock label rewrites its caption every 450 ms, the watch looks every 250 ms; both
    // run late by up to 30 ms at each tick, and neither has a phase in common with the other
    // or with the seconds. Each day the alarm's text must ring once, within its second.
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> phase450(0, 449), phase250(0, 249), late(0, 30);
    std::uniform_int_distribution<int> second(60, 86399 - 60);
    TAlarmWatch watch;
    for (int day = 0; day < 20000; ++day) {
        const int alarm = second(random);
        const std::string alarmText = FormatTimeText(TimeOfDay(alarm / 3600, alarm / 60 % 60, 0), kTwelve);
        const int alarmMinute = alarm / 60 * 60; // the alarm's text has zero seconds
        const int from = (alarmMinute - 3) * 1000, to = (alarmMinute + 3) * 1000;
        std::vector<std::pair<int, bool>> ticks; // time, and whether it is the watch's
        for (int t = from + phase450(random); t < to; t += 450) ticks.push_back({t + late(random), false});
        for (int t = from + phase250(random); t < to; t += 250) ticks.push_back({t + late(random), true});
        std::sort(ticks.begin(), ticks.end());
        std::string caption = "Timelabel1";
        int rings = 0;
        for (const auto& [t, isWatch] : ticks) {
            if (!isWatch) {
                caption = FormatTimeText(TimeOfDay(0, 0, 0, t % 86400000), kTwelve);
            } else if (watch.Rings(alarmText, caption)) {
                ++rings;
                EXPECT_GE(t, alarmMinute * 1000);
                EXPECT_LT(t, alarmMinute * 1000 + 1500);
            }
        }
        ASSERT_EQ(1, rings) << "day " << day << ", alarm " << alarmText;
    }
}

} // namespace
