// Names the program derives from its own path.
#include "app/names.h"

#include <cstdint>

std::string ModuleBaseName(std::string_view path)
{
    const size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string TitleFromModulePath(std::string_view path, void (*lower)(std::string& tail))
{
    std::string name = ModuleBaseName(path);
    name = name.substr(0, name.find('.'));
    if (name.size() > 1) {
        std::string tail = name.substr(1);
        lower(tail);
        name = name.substr(0, 1) + tail;
    }
    return name;
}

void AsciiLower(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

std::string FolderOfPath(std::string_view path)
{
    const size_t cut = path.find_last_of("\\:");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string StartupFailureText(const std::string& kind, const std::string& module, const void* address,
                               const std::string& message)
{
    // The address as the platform writes a pointer: every hex digit, upper case.
    const auto value = reinterpret_cast<uintptr_t>(address);
    std::string hex;
    for (int shift = static_cast<int>(sizeof value) * 8 - 4; shift >= 0; shift -= 4)
        hex += "0123456789ABCDEF"[(value >> shift) & 0xF];
    const bool addPeriod = !message.empty() && message.back() != '.';
    return "Exception " + kind + " in module " + module.substr(0, 63) + " at " + hex + ".\n" + message +
           (addPeriod ? "." : "");
}
