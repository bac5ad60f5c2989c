// Fuzzes composing the alarm's text from the panel's fields in every mode, and reading it
// back in a locale: any outcome but a conversion failure or a time of day is a fault.
#include <cstdlib>
#include <string>

#include "app/failure.h"
#include "tests/fuzz/fuzz_settings.h"
#include "ui/alarmtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    const FuzzLocale& locale = PickLocale(data[0]);
    const uint8_t mode = data[1] % 3;
    const std::string separator = data[2] % 2 ? std::string(1, static_cast<char>(data[2])) : std::string();
    // The rest is hour, minute and day half, cut at the first two bytes 0x1f.
    std::string fields(reinterpret_cast<const char*>(data + 3), size - 3);
    const size_t first = fields.find('\x1f');
    const size_t second = first == std::string::npos ? std::string::npos : fields.find('\x1f', first + 1);
    const std::string hour = fields.substr(0, first);
    const std::string minute = first == std::string::npos ? "" : fields.substr(first + 1, second - first - 1);
    const std::string half = second == std::string::npos ? "" : fields.substr(second + 1);
    std::string text;
    try {
        text = ComposeAlarmText(hour, minute, half, mode, separator);
    } catch (const TConversionError& failure) {
        if (failure.what() != Shown("'" + hour + "' is not a valid integer value")) std::abort();
        return 0;
    }
    if (text.find(separator + minute + " ") == std::string::npos) std::abort();
    try {
        const DateTime value = ParseTimeText(text, locale.Settings);
        if (!(value >= 0 && value < 1)) std::abort();
    } catch (const TConversionError&) {
    }
    return 0;
}
