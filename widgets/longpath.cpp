// Long file names. Wide text is kept in vectors: the wide string class alone would add a
// tenth to the exe.
#include "widgets/longpath.h"

#include <windows.h>

namespace {

bool StartsWith(const wchar_t* text, const wchar_t* prefix)
{
    while (*prefix)
        if (*text++ != *prefix++) return false;
    return true;
}

} // namespace

std::vector<wchar_t> ExtendedPath(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    if (StartsWith(wide.data(), L"\\\\?\\")) return wide;
    const bool unc = StartsWith(wide.data(), L"\\\\");
    const wchar_t* prefix = unc ? L"\\\\?\\UNC\\" : L"\\\\?\\";
    std::vector<wchar_t> extended(prefix, prefix + wcslen(prefix));
    extended.insert(extended.end(), wide.begin() + (unc ? 2 : 0), wide.end());
    return extended;
}

std::string ShortEnoughPath(const std::string& path)
{
    if (path.size() < MAX_PATH) return path;
    const std::vector<wchar_t> extended = ExtendedPath(path);
    const DWORD needed = GetShortPathNameW(extended.data(), nullptr, 0);
    if (needed == 0) return path;
    std::vector<wchar_t> shortened(needed, L'\0');
    if (GetShortPathNameW(extended.data(), shortened.data(), needed) == 0) return path;
    // The short form keeps the extended prefix; functions of the classic kind want it without.
    std::vector<wchar_t> plain;
    if (StartsWith(shortened.data(), L"\\\\?\\UNC\\")) {
        plain = {L'\\', L'\\'};
        plain.insert(plain.end(), shortened.begin() + 8, shortened.end());
    } else {
        plain.assign(shortened.begin() + (StartsWith(shortened.data(), L"\\\\?\\") ? 4 : 0), shortened.end());
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, plain.data(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return path;
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, plain.data(), -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length - 1));
    return narrow.size() < MAX_PATH ? narrow : path;
}
