// Fuzzes the integer conversion: it either fails naming the whole text, or gives a number
// whose decimal text converts back to it.
#include <cstdlib>
#include <string>

#include "app/failure.h"
#include "clock/timetext.h"
#include "tests/fuzz/fuzz_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<int32_t> tried = TryParseInteger(text);
    try {
        const int32_t value = ParseInteger(text);
        if (!tried || *tried != value) std::abort();
        if (ParseInteger(IntegerText(value)) != value) std::abort();
    } catch (const TConversionError& failure) {
        if (tried) std::abort();
        if (failure.what() != Shown("'" + text + "' is not a valid integer value")) std::abort();
    }
    return 0;
}
