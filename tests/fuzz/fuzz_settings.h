// The locale settings the fuzz targets read texts in: one picked by the input's first byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "clock/timetext.h"

struct FuzzLocale {
    TimeTextSettings Settings;
    bool Unambiguous; // each time of day has a text of its own (no empty day halves)
};

inline const FuzzLocale kFuzzLocales[] = {
    {{':', "AM", "PM", false, true}, true}, {{':', "am", "pm", true, true}, true},
    {{'.', "", "", true, false}, true},     {{':', "", "", false, false}, true},
    {{':', "a", "p", false, true}, true},   {{'.', "ap.", "ip.", false, true}, true},
    {{':', "", "", false, true}, false},    {{':', "\x8c\xdf\x91\x4f", "\x8c\xdf\x8c\xe3", false, true}, true},
    {{'-', "AM", "PMX", true, true}, true},
};

// A failure's message as a user sees it: up to its first NUL.
inline std::string Shown(const std::string& message)
{
    return message.substr(0, message.find('\0'));
}

inline const FuzzLocale& PickLocale(uint8_t byte)
{
    return kFuzzLocales[byte % (sizeof kFuzzLocales / sizeof kFuzzLocales[0])];
}
