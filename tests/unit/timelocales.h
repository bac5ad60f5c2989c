// The locales and helpers the time text's unit tests share.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/failure.h"
#include "clock/timetext.h"

inline constexpr double kMs = 86400000.0;

// A time of day as a day fraction, worked out here rather than by the code under test.
inline double At(int hour, int minute, int second, int ms = 0)
{
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + ms) / kMs;
}

// The locales the tests run in.
inline const TimeTextSettings kTwelve{':', "AM", "PM", false, true};      // "h:mm:ss AMPM"
inline const TimeTextSettings kTwelveZero{':', "AM", "PM", true, true};   // "hh:mm:ss AMPM"
inline const TimeTextSettings kTwentyFour{'.', "", "", true, false};      // "hh.mm.ss"
inline const TimeTextSettings kTwentyFourBare{'.', "", "", false, false}; // "h.mm.ss"
inline const TimeTextSettings kLetters{':', "a", "p", false, true};       // one-letter day halves
inline const TimeTextSettings kNoHalves{':', "", "", false, true};        // 12-hour, empty day halves

inline void ExpectInvalidTime(std::string_view text, const TimeTextSettings& settings,
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
