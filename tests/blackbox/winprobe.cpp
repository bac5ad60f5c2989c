// winprobe: looks at and pokes the windows of the Wine session it runs in, for the black-box test.
//
//   winprobe list                          one line per top-level window
//   winprobe children HWND                 one line per window inside HWND, at any depth
//   winprobe lines HWND                    the lines of a list box, one a line
//   winprobe version FILE                  the version record's texts of an exe, NAME=value lines
//   winprobe zero HEIGHT                   pixels per inch, and the height of "0" in MS Sans Serif of
//                                          HEIGHT at 96 pixels per inch, scaled to this display
//   winprobe resources PID                 the windows and the kernel handles process PID holds
//   winprobe locale                        the system locale's time values, NAME=value lines
//                                          (texts in the ANSI code page, as hex bytes)
//   winprobe client HWND                   client origin on screen, client size, menu and caption heights
//   winprobe read HWND                     what a screen reader reads in the window's client area,
//                                          one "name" or "name=value" a line (UTF-8)
//   winprobe setpos HWND X Y W H FLAGS     SetWindowPos(HWND, 0, X, Y, W, H, FLAGS)
//   winprobe show HWND CMD                 ShowWindow(HWND, CMD)
//   winprobe post HWND MSG WPARAM LPARAM   PostMessage(HWND, MSG, WPARAM, LPARAM)
//   winprobe settext HWND TEXT             WM_SETTEXT(HWND, TEXT), as typing it would
//   winprobe hold                          brings the desktop up, says "ready", and never ends
//                                          (it keeps a test session's Wine up; see with-wine)
//
// Numbers may be decimal or 0x-prefixed hex. Lines are tab-separated; window lines are
//   hwnd class caption left top right bottom visible iconic zoomed enabled owner pid hung image
// (hung: the window's thread has not taken its messages for a few seconds; image: the full path
// of the exe the window's process runs, which, unlike its id, no later process can be given,
// since every run of a test starts from a folder of its own); child lines are
//   hwnd class text left top right bottom visible enabled parent id
// with the text as the window answers WM_GETTEXT (an edit field's current text).
// The probe runs on the test machine only, never beside the shipped exe: it may ask for what
// Windows has had since Vista (a process's image path).
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include "tests/wine/reader.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

bool Number(const char* text, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text, &end, 0);
    return end != text && *end == '\0';
}

bool Window(const char* text, HWND& window)
{
    long long value = 0;
    if (!Number(text, value)) return false;
    window = reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
    return IsWindow(window) != FALSE;
}

std::string Clean(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

// The full path of a process's exe, in UTF-8; empty when the process cannot be asked (it has ended).
std::string ImagePath(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    // Room for a path past MAX_PATH: some runs start from a folder deeper than that.
    std::wstring wide(32768, L'\0');
    DWORD length = static_cast<DWORD>(wide.size());
    const bool known = QueryFullProcessImageNameW(process, 0, &wide[0], &length) != FALSE;
    CloseHandle(process);
    if (!known) return {};
    wide.resize(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string path(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &path[0], size, nullptr, nullptr);
    path.resize(path.size() - 1);
    return path;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    // The text as the system keeps it: asking the window would block on a program that is stuck.
    wchar_t wide[512] = {};
    char caption[1536] = {};
    InternalGetWindowText(window, wide, 512);
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, caption, sizeof caption, nullptr, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf("%#llx\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%d\t%d\t%d\t%d\t%#llx\t%lu\t%d\t%s\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), Clean(name).c_str(),
                Clean(caption).c_str(), rect.left, rect.top, rect.right, rect.bottom, IsWindowVisible(window) ? 1 : 0,
                IsIconic(window) ? 1 : 0, IsZoomed(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0,
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetWindow(window, GW_OWNER))),
                static_cast<unsigned long>(pid), IsHungAppWindow(window) ? 1 : 0, Clean(ImagePath(pid)).c_str());
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND window, LPARAM)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    char text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("%#llx\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%d\t%d\t%#llx\t%d\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), Clean(name).c_str(),
                Clean(text).c_str(), rect.left, rect.top, rect.right, rect.bottom, IsWindowVisible(window) ? 1 : 0,
                IsWindowEnabled(window) ? 1 : 0,
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetParent(window))), GetDlgCtrlID(window));
    return TRUE;
}

BOOL CALLBACK CountChild(HWND, LPARAM state)
{
    ++reinterpret_cast<std::pair<DWORD, int>*>(state)->second;
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM state)
{
    auto* count = reinterpret_cast<std::pair<DWORD, int>*>(state);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == count->first) {
        ++count->second;
        // Every window inside, at any depth: the enumeration goes down by itself.
        EnumChildWindows(window, CountChild, state);
    }
    return TRUE;
}

int CountWindows(DWORD pid)
{
    std::pair<DWORD, int> count{pid, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    return count.second;
}

// The system's table of open handles, as NtQuerySystemInformation gives it.
struct HandleEntry {
    ULONG OwnerPid;
    BYTE ObjectType;
    BYTE Flags;
    USHORT Value;
    PVOID Object;
    ULONG Access;
};

long CountHandles(DWORD pid)
{
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::string table(1 << 16, '\0');
    LONG status = 0;
    ULONG needed = 0;
    constexpr ULONG kSystemHandleInformation = 16;
    while ((status = query(kSystemHandleInformation, &table[0], static_cast<ULONG>(table.size()), &needed)) ==
           static_cast<LONG>(0xC0000004))
        table.resize(table.size() * 2);
    if (status != 0) return -1;
    const ULONG count = *reinterpret_cast<const ULONG*>(table.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(table.data() + sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG i = 0; i < count; ++i) mine += entries[i].OwnerPid == pid;
    return mine;
}

int Usage(const char* why)
{
    std::fprintf(
        stderr,
        "winprobe: %s\n"
        "usage: winprobe list | children HWND | lines HWND | client HWND | setpos HWND X Y W H FLAGS | show HWND CMD"
        " | post HWND MSG WPARAM LPARAM\n",
        why);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage("no command");
    const std::string command = argv[1];
    const auto argsFit = [argc](int wanted) { return argc == wanted + 2; };

    if (command == "list") {
        if (!argsFit(0)) return Usage("list takes no arguments");
        EnumWindows(PrintWindow, 0);
        return 0;
    }

    if (command == "hold") {
        if (!argsFit(0)) return Usage("hold takes no arguments");
        // The desktop's process starts now, for this process and with its output, not with
        // that of a test's program.
        GetDesktopWindow();
        std::printf("ready\n");
        std::fflush(stdout);
        Sleep(INFINITE);
        return 0;
    }
    if (command == "zero") {
        if (!argsFit(1)) return Usage("zero takes a height");
        long long height = 0;
        if (!Number(argv[2], height)) return Usage("not a number");
        HDC dc = GetDC(nullptr);
        const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
        HFONT font = CreateFontA(MulDiv(static_cast<int>(height), ppi, 96), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                 DEFAULT_CHARSET, 0, 0, 0, DEFAULT_PITCH, "MS Sans Serif");
        HGDIOBJ old = SelectObject(dc, font);
        SIZE zero{};
        GetTextExtentPoint32A(dc, "0", 1, &zero);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
        std::printf("%d\t%ld\n", ppi, zero.cy);
        return 0;
    }
    if (command == "resources") {
        if (!argsFit(1)) return Usage("resources takes a process id");
        long long pid = 0;
        if (!Number(argv[2], pid)) return Usage("not a number");
        std::printf("windows=%d\nhandles=%ld\n", CountWindows(static_cast<DWORD>(pid)),
                    CountHandles(static_cast<DWORD>(pid)));
        return 0;
    }
    if (command == "locale") {
        if (!argsFit(0)) return Usage("locale takes no arguments");
        const LCID lcid = GetSystemDefaultLCID();
        std::printf("LCID=%#lx\nACP=%u\n", static_cast<unsigned long>(lcid), GetACP());
        const struct {
            const char* name;
            LCTYPE type;
        } values[] = {{"STIME", LOCALE_STIME},
                      {"S1159", LOCALE_S1159},
                      {"S2359", LOCALE_S2359},
                      {"ITLZERO", LOCALE_ITLZERO},
                      {"ITIME", LOCALE_ITIME}};
        for (const auto& value : values) {
            char text[256] = {};
            const int count = GetLocaleInfoA(lcid, value.type, text, sizeof text);
            std::printf("%s=", value.name);
            for (int i = 0; i + 1 < count; ++i) std::printf("%02x", static_cast<unsigned char>(text[i]));
            std::printf("\n");
        }
        return 0;
    }
    if (command == "version") {
        if (!argsFit(1)) return Usage("version takes one file");
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(argv[2], &ignored);
        if (size == 0) return Usage("no version record");
        std::string record(size, '\0');
        if (!GetFileVersionInfoA(argv[2], 0, size, &record[0])) return Usage("version record unreadable");
        for (const char* name : {"ProductName", "ProductVersion", "FileVersion", "FileDescription", "LegalCopyright",
                                 "OriginalFilename"}) {
            char* value = nullptr;
            UINT length = 0;
            const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
            if (VerQueryValueA(record.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) && value)
                std::printf("%s=%s\n", name, value);
        }
        return 0;
    }
    if (command != "children" && command != "lines" && command != "client" && command != "read" &&
        command != "setpos" && command != "show" && command != "post" && command != "settext")
        return Usage("unknown command");
    HWND window = nullptr;
    if (argc < 3) return Usage("no window given");
    if (!Window(argv[2], window)) return Usage("not a window");

    if (command == "settext") {
        if (argc != 4) return Usage("settext takes a window and a text");
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]), SMTO_ABORTIFHUNG, 2000,
                                 &answer))
            return Usage("no answer");
        return 0;
    }
    long long n[5] = {};
    for (int i = 3; i < argc && i - 3 < 5; ++i)
        if (!Number(argv[i], n[i - 3])) return Usage("not a number");

    if (command == "children") {
        if (!argsFit(1)) return Usage("children takes one window");
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (command == "lines") {
        if (!argsFit(1)) return Usage("lines takes one window");
        DWORD_PTR count = 0;
        if (!SendMessageTimeoutA(window, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return Usage("no answer");
        // Asked in wide characters, which is how the system carries the text across processes.
        for (DWORD_PTR i = 0; i < count; ++i) {
            wchar_t text[4096] = {};
            DWORD_PTR length = 0;
            SendMessageTimeoutW(window, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
            if (length < 4096)
                SendMessageTimeoutW(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                                    &length);
            char line[16384] = {};
            WideCharToMultiByte(CP_UTF8, 0, text, -1, line, sizeof line, nullptr, nullptr);
            std::printf("%s\n", line);
        }
        return 0;
    }
    if (command == "client") {
        if (!argsFit(1)) return Usage("client takes one window");
        POINT origin{0, 0};
        RECT rect{};
        ClientToScreen(window, &origin);
        GetClientRect(window, &rect);
        std::printf("%ld\t%ld\t%ld\t%ld\t%d\t%d\n", origin.x, origin.y, rect.right, rect.bottom,
                    GetSystemMetrics(SM_CYMENU), GetSystemMetrics(SM_CYCAPTION));
        return 0;
    }
    if (command == "read") {
        if (!argsFit(1)) return Usage("read takes one window");
        for (const std::string& line : ReadAloud(window)) std::printf("%s\n", line.c_str());
        return 0;
    }
    if (command == "setpos") {
        if (!argsFit(6)) return Usage("setpos takes a window, X, Y, W, H and flags");
        if (!SetWindowPos(window, nullptr, static_cast<int>(n[0]), static_cast<int>(n[1]), static_cast<int>(n[2]),
                          static_cast<int>(n[3]), static_cast<UINT>(n[4])))
            return Usage("SetWindowPos failed");
        return 0;
    }
    if (command == "show") {
        if (!argsFit(2)) return Usage("show takes a window and a command");
        ShowWindow(window, static_cast<int>(n[0]));
        return 0;
    }
    // post
    if (!argsFit(4)) return Usage("post takes a window, a message, wParam and lParam");
    if (!PostMessageA(window, static_cast<UINT>(n[0]), static_cast<WPARAM>(n[1]), static_cast<LPARAM>(n[2])))
        return Usage("PostMessage failed");
    return 0;
}
