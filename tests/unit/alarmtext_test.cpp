// Unit tests of the alarm's arithmetic: the panel's preset, the composed text as each kind of
// locale reads it back, and the watch over many simulated days.
#include "ui/alarmtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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

TEST(AlarmWatch, RingsOnceADayThroughStallsClockStepsAndDaylightSaving)
{
    // The clock label rewrites its caption every 450 ms, the watch looks every 250 ms; both
    // run late by up to 30 ms at each tick, and neither has a phase in common with the other
    // or with the seconds. Each day a row disturbs the clock around an alarm second a: at
    // monotonic time 0 the clock shows a - lead and steps by step, and nothing runs for the
    // first stall ms. The alarm rings once, within 1.5 s of when the program could first see
    // its second passed, unless the clock jumped over it by more than 2 hours.
    constexpr int32_t kH = 3600000;
    struct Row {
        const char* name;
        int32_t alarm;                      // second of the day; -1: any whole minute
        int32_t lead[2], step[2], stall[2]; // ranges drawn from
        bool rings;
    };
    const Row kRows[] = {
        {"undisturbed", -1, {0, 0}, {0, 0}, {0, 0}, true},
        {"a stall of up to 10 s", -1, {-2000, 11000}, {0, 0}, {0, 10000}, true},
        {"a stall over midnight, alarm at midnight", 0, {0, 999}, {0, 0}, {1000, 10000}, true},
        {"a stall, alarm at 23:59", 86340, {-2000, 11000}, {0, 0}, {0, 10000}, true},
        {"set forward over it, up to 2 h", -1, {1000, kH - 60000}, {kH, 2 * kH - 10000}, {0, 0}, true},
        {"set forward over it, over 2 h", -1, {1000, 2 * kH}, {2 * kH + 10000, 20 * kH}, {0, 0}, false},
        {"set back over it after the ring", -1, {-2500, -1500}, {-2 * kH + 10000, -3500}, {0, 0}, true},
        {"daylight saving starts, alarm in the skipped hour", -1, {0, kH - 1000}, {kH, kH}, {0, 0}, true},
        {"daylight saving starts, alarm at midnight", 0, {0, kH - 1000}, {kH, kH}, {0, 0}, true},
        {"asleep for 2 to 3 h right after the ring", -1, {-990, -770}, {0, 0}, {2 * kH, 3 * kH}, true},
        {"daylight saving ends, alarm in the repeated hour", -1, {-2500, -1500}, {-kH, -kH}, {0, 0}, true},
    };
    std::mt19937 random(20261209);
    auto any = [&random](const int32_t(&range)[2]) {
        return std::uniform_int_distribution<int32_t>(range[0], range[1])(random);
    };
    TAlarmWatch watch;
    for (int day = 0; day < 20000; ++day) {
        const Row& row = kRows[day % std::size(kRows)];
        const int32_t a = (row.alarm >= 0 ? row.alarm : any({1, 1438}) * 60) * 1000;
        const int32_t lead = any(row.lead), step = any(row.step), stall = any(row.stall);
        const std::string alarmText = FormatTimeText(TimeOfDay(0, 0, 0, a), kTwelve);
        auto local = [&](int32_t t) {
            return ((a - lead + t + (t >= 0 ? step : 0)) % kMsPerDay + kMsPerDay) % kMsPerDay;
        };
        // When the clock first reaches the alarm's second, or jumps past it; and when the program
        // can first see that, a stall under way hiding it until its end.
        const int32_t reached = lead < 0 ? lead : std::max(0, lead - step);
        const int32_t seen = stall > 0 && reached < stall ? stall : reached;
        // Looked at around 0, and again where a step back shows the alarm's second once more.
        std::vector<std::pair<int32_t, int32_t>> windows{{-3000, std::max(0, seen) + 3000}};
        if (const int32_t again = step < 0 ? lead - step : 0; again > 0) {
            if (again - 3000 <= windows[0].second)
                windows[0].second = again + 3000;
            else
                windows.push_back({again - 3000, again + 3000});
        }
        std::vector<std::pair<int32_t, bool>> ticks; // time, and whether it is the watch's
        for (const auto& [period, isWatch] : {std::pair{450, false}, std::pair{250, true}}) {
            const int32_t phase = any({0, period - 1});
            for (const auto& [from, to] : windows) {
                for (int32_t t = from + phase; t < to; t += period) {
                    // The ticks a stall holds up come as one at its end.
                    if (t >= 0 && t < stall) t += (stall - 1 - t) / period * period;
                    ticks.push_back({(t >= 0 && t < stall ? stall : t) + any({0, 30}), isWatch});
                }
            }
        }
        std::sort(ticks.begin(), ticks.end());
        std::string caption = "Timelabel1";
        std::optional<DateTime> shown;
        std::vector<int32_t> rings;
        const int64_t dayStart = int64_t(day) * kMsPerDay + 4 * kH; // the monotonic clock
        for (const auto& [t, isWatch] : ticks) {
            if (!isWatch) {
                shown = TimeOfDay(0, 0, 0, local(t));
                caption = FormatTimeText(*shown, kTwelve);
            } else if (watch.Rings(alarmText, caption, shown, kTwelve, uint64_t(dayStart + t))) {
                rings.push_back(t);
            }
        }
        ASSERT_EQ(row.rings ? 1u : 0u, rings.size()) << "day " << day << ", " << row.name << ", alarm " << alarmText;
        if (!row.rings) continue;
        ASSERT_GE(rings[0], reached) << "day " << day << ", " << row.name;
        ASSERT_LT(rings[0], seen + 1500) << "day " << day << ", " << row.name;
    }
}

} // namespace
