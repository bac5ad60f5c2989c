// Fuzzes cutting a file into the viewer's lines: no line holds a line end or a NUL, nothing
// is invented, and the lines written back with line ends cut into the same lines.
#include <cstdlib>
#include <string>
#include <vector>

#include "widgets/textlines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitLines(text);
    size_t bytes = 0;
    std::string written;
    for (const std::string& line : lines) {
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
        bytes += line.size() + 1;
        written += line + "\n";
    }
    if (bytes > size + 1) std::abort();
    if (SplitLines(written) != lines) std::abort();
    return 0;
}
