// Fuzzes reading a time text: it either fails naming the whole text, or gives a time of day
// whose own text reads back as the same time.
#include <cstdlib>
#include <string>

#include "app/failure.h"
#include "tests/fuzz/fuzz_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const FuzzLocale& locale = PickLocale(data[0]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const DateTime value = ParseTimeText(text, locale.Settings);
        if (!(value >= 0 && value < 1)) std::abort();
        const std::string shown = FormatTimeText(value, locale.Settings);
        const DateTime again = ParseTimeText(shown, locale.Settings);
        if (locale.Unambiguous && again != value) std::abort();
    } catch (const TConversionError& failure) {
        if (failure.what() != Shown("'" + text + "' is not a valid time")) std::abort();
    }
    return 0;
}
