// Unit tests of the alarm's arithmetic: the panel's preset, the composed text as each kind of
// locale reads it back, and the watch over many simulated days.
#include "ui/alarmtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <tuple>
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
        const TAlarmPreset preset = PresetAlarm(c.hour, c.minute);
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
    } catch (const TConversionError& e) {
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
            EXPECT_THROW(ParseTimeText(text, c.settings), TConversionError) << text;
            continue;
        }
        EXPECT_EQ(c.line, FormatTimeText(ParseTimeText(text, c.settings), c.settings));
    }
}

// A stretch of time as the program lives it: the clock label rewrites its caption every 450 ms
// and the watch looks every 1000 ms, each tick late by up to 30 ms and the next one due a period
// after it, with no phase in common. The clock shows start at monotonic time 0 and steps by step
// at stepAt; nothing runs for the first stall ms, and the ticks held up come as one at its end.
// Each Done (when, the alarm's ms of the day) refreshes the clock and arms; before the first one
// the watch does not look. A Done within the stall is handled at its end, before the ticks.
struct TStretch {
    const TimeTextSettings& settings;
    int32_t start, step, stepAt, stall;
    std::vector<std::pair<int32_t, int32_t>> dones;
    int32_t from, to;
};

// When the watch rang, and for which alarm text.
std::vector<std::pair<int32_t, std::string>> Live(TAlarmWatch& watch, const TStretch& s, std::mt19937& random,
                                                  int64_t monotonicAtZero)
{
    auto any = [&random](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    const auto held = [&s](int32_t t) { return t >= 0 && t < s.stall ? s.stall : t; };
    struct TEvent {
        int32_t t;
        int kind; // 0 Done, 1 the clock's tick, 2 the watch's
        size_t done;
        bool operator<(const TEvent& other) const { return std::tie(t, kind) < std::tie(other.t, other.kind); }
    };
    std::vector<TEvent> events;
    for (size_t i = 0; i < s.dones.size(); ++i) events.push_back({held(s.dones[i].first), 0, i});
    for (const auto& [period, kind] : {std::pair{450, 1}, std::pair{1000, 2}}) {
        for (int32_t due = s.from + any(0, period - 1); due < s.to;) {
            const int32_t at = held(due) + any(0, 30);
            events.push_back({at, kind, 0});
            due = at + period;
        }
    }
    std::sort(events.begin(), events.end());
    std::string caption = "Timelabel1", alarm;
    std::optional<DateTime> shown;
    bool armed = false;
    std::vector<std::pair<int32_t, std::string>> rings;
    for (const TEvent& e : events) {
        const uint64_t now = uint64_t(monotonicAtZero + e.t);
        if (e.kind != 2) {
            const int32_t local = s.start + e.t + (e.t >= s.stepAt ? s.step : 0);
            shown = TimeOfDay(0, 0, 0, (local % kMsPerDay + kMsPerDay) % kMsPerDay);
            caption = FormatTimeText(*shown, s.settings);
        }
        if (e.kind == 0) {
            alarm = FormatTimeText(TimeOfDay(0, 0, 0, s.dones[e.done].second), s.settings);
            watch.Arm(shown, now);
            armed = true;
        } else if (e.kind == 2 && armed && watch.Rings(alarm, caption, shown, s.settings, now)) {
            rings.push_back({e.t, alarm});
        }
    }
    return rings;
}

TEST(AlarmWatch, RingsOnceADayThroughStallsClockStepsAndDaylightSaving)
{
    // Each day a row disturbs the clock around an alarm second a: at monotonic time 0 the clock
    // shows a - lead and steps by step, and nothing runs for the first stall ms. The alarm rings
    // once, within 2 s of when the program could first see its second passed, unless the clock
    // jumped over it by more than 2 hours or it passed before the Done that armed it.
    constexpr int32_t kH = 3600000;
    enum TArming { Armed, DoneJustBefore, DoneInTheStall };
    struct Row {
        const char* name;
        int32_t alarm;                      // second of the day; -1: any whole minute
        int32_t lead[2], step[2], stall[2]; // ranges drawn from
        bool rings;
        TArming arming = Armed; // or disarmed until a Done at -1 ms, or armed for another alarm
        const TimeTextSettings& settings = kTwelve;
    };
    const Row kRows[] = {
        {"undisturbed", -1, {0, 0}, {0, 0}, {0, 0}, true},
        {"a stall of up to 10 s", -1, {-2000, 11000}, {0, 0}, {0, 10000}, true},
        {"a stall over midnight, alarm at midnight", 0, {0, 999}, {0, 0}, {1000, 10000}, true},
        {"a stall, alarm at 23:59", 86340, {-2000, 11000}, {0, 0}, {0, 10000}, true},
        {"set forward over it, up to 2 h", -1, {1000, kH - 60000}, {kH, 2 * kH - 10000}, {0, 0}, true},
        {"set forward over it by exactly 2 h", -1, {1000, 2 * kH - 1000}, {2 * kH, 2 * kH}, {0, 0}, true},
        {"set forward over it, over 2 h", -1, {1000, 2 * kH}, {2 * kH + 10000, 20 * kH}, {0, 0}, false},
        {"set back over it after the ring", -1, {-2500, -1500}, {-2 * kH + 10000, -3500}, {0, 0}, true},
        {"daylight saving starts, alarm in the skipped hour", -1, {0, kH - 1000}, {kH, kH}, {0, 0}, true},
        {"daylight saving starts, alarm at midnight", 0, {0, kH - 1000}, {kH, kH}, {0, 0}, true},
        {"daylight saving starts, 24-hour clock", -1, {0, kH - 1000}, {kH, kH}, {0, 0}, true, Armed, kDotted},
        {"asleep for 2 to 3 h right after the ring", -1, {-2990, -2000}, {0, 0}, {2 * kH, 3 * kH}, true},
        {"daylight saving ends, alarm in the repeated hour", -1, {-2500, -1500}, {-kH, -kH}, {0, 0}, true},
        {"Done in the second before it, then a stall", -1, {2, 999}, {0, 0}, {1000, 5000}, true, DoneJustBefore},
        {"Done for it queued in a stall over it", -1, {1, 999}, {0, 0}, {2000, 10000}, false, DoneInTheStall},
    };
    std::mt19937 random(20261209);
    auto any = [&random](const int32_t(&range)[2]) {
        return std::uniform_int_distribution<int32_t>(range[0], range[1])(random);
    };
    TAlarmWatch watch;
    for (int day = 0; day < 6000; ++day) {
        const Row& row = kRows[day % std::size(kRows)];
        const int32_t a = (row.alarm >= 0 ? row.alarm : any({1, 1438}) * 60) * 1000;
        const int32_t lead = any(row.lead), step = any(row.step), stall = any(row.stall);
        const std::string alarmText = FormatTimeText(TimeOfDay(0, 0, 0, a), row.settings);
        // When the clock first reaches the alarm's second, or jumps past it; and when the program
        // can first see that, a stall under way hiding it until its end.
        const int32_t reached = lead < 0 ? lead : std::max(0, lead - step);
        const int32_t seen = stall > 0 && reached < stall ? stall : reached;
        // Watched from before 0 to after where a step back shows the alarm's second once more.
        const int32_t again = step < 0 ? lead - step : 0;
        TStretch stretch{row.settings, a - lead, step, 0, stall, {}, -3000, std::max(seen, again) + 3000};
        if (row.arming == DoneJustBefore) {
            stretch.dones = {{-1, a}};
        } else {
            stretch.dones = {{stretch.from - 1, row.arming == DoneInTheStall ? (a + kH) % kMsPerDay : a}};
            if (row.arming == DoneInTheStall) stretch.dones.push_back({1, a});
        }
        const auto rings = Live(watch, stretch, random, int64_t(day) * kMsPerDay + 4 * kH);
        ASSERT_EQ(row.rings ? 1u : 0u, rings.size()) << "day " << day << ", " << row.name << ", alarm " << alarmText;
        if (!row.rings) continue;
        ASSERT_EQ(alarmText, rings[0].second) << "day " << day << ", " << row.name;
        ASSERT_GE(rings[0].first, reached) << "day " << day << ", " << row.name;
        ASSERT_LT(rings[0].first, seen + 2000) << "day " << day << ", " << row.name;
    }
}

TEST(AlarmWatch, EveryAlarmRungStaysQuietThroughARepeatedHour)
{
    // A rings at 1:30 and B at 1:35; at 1:40 A is armed again, and at 2:00 the clock goes back
    // to 1:00 and is watched until 1:45 once more: neither rings a second time.
    constexpr int32_t kMin = 60000;
    std::mt19937 random(20261210);
    for (int night = 0; night < 20; ++night) {
        TAlarmWatch watch;
        const TStretch stretch{kTwelve,   89 * kMin, -60 * kMin,
                               31 * kMin, 0,         {{-1, 90 * kMin}, {2 * kMin, 95 * kMin}, {11 * kMin, 90 * kMin}},
                               -3000,     76 * kMin};
        const auto rings = Live(watch, stretch, random, int64_t(night + 1) * kMsPerDay);
        ASSERT_EQ(2u, rings.size()) << "night " << night << ", the last ring " << rings.back().second << " at "
                                    << rings.back().first << " ms";
        EXPECT_EQ("1:30:00 AM", rings[0].second);
        EXPECT_EQ("1:35:00 AM", rings[1].second);
    }
}

} // namespace
