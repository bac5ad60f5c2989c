// The clock's view of the platform: the locale's time settings and the local time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "clock/timetext.h"

// The one set of time settings the whole program renders and parses with.
extern TimeTextSettings TimeSettings;

// Reads the settings of the system's default locale into TimeSettings.
void ReadTimeTextSettings();

DateTime CurrentTimeOfDay();
DateTime CurrentDateTime();
// Milliseconds since the system started, never stepped by a change of the clock or its zone.
uint64_t MonotonicMilliseconds();

// FormatTimeText and ParseTimeText with TimeSettings; designators compare like the locale does.
std::string FormatTimeText(DateTime value);
DateTime ParseTimeText(std::string_view text);
bool LocaleDesignatorMatch(std::string_view text, std::string_view candidate);

// Where the local time and the locale values come from: the platform, unless a test says otherwise.
using LocalTimeSource = void(WINAPI*)(LPSYSTEMTIME);
using LocaleInfoSource = int(WINAPI*)(LCID, LCTYPE, LPSTR, int);
using MonotonicSource = uint64_t (*)();
void SetLocalTimeSource(LocalTimeSource source);
void SetMonotonicSource(MonotonicSource source);
void SetLocaleInfoSource(LocaleInfoSource source);
