// Long file names.
#include "widgets/longpath.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring Widen(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

} // namespace

std::wstring ExtendedPath(const std::string& path)
{
    const std::wstring wide = Widen(path);
    if (wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
    if (wide.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

std::string ShortEnoughPath(const std::string& path)
{
    if (path.size() < MAX_PATH) return path;
    const std::wstring extended = ExtendedPath(path);
    const DWORD needed = GetShortPathNameW(extended.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::vector<wchar_t> shortened(needed, L'\0');
    if (GetShortPathNameW(extended.c_str(), shortened.data(), needed) == 0) return path;
    std::wstring wide(shortened.data());
    // The short form keeps the extended prefix; functions of the classic kind want it without.
    if (wide.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        wide = L"\\\\" + wide.substr(8);
    else if (wide.compare(0, 4, L"\\\\?\\") == 0)
        wide = wide.substr(4);
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &narrow[0], length, nullptr,
                            nullptr);
    return length > 0 && narrow.size() < MAX_PATH ? narrow : path;
}
