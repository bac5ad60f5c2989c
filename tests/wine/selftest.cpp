// The self-test: the in-process suite run on any Windows, and the report it writes beside itself
// of the machine it ran on and of how each test ended, for the user to send back.
#include "tests/wine/selftest.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef SM_CXPADDEDBORDER
#define SM_CXPADDEDBORDER 92
#endif

namespace {

FARPROC NtdllFunction(const char* name)
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), name);
}

bool UnderWine()
{
    return NtdllFunction("wine_get_version") != nullptr;
}

std::string Printed(const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

// The version Windows really has: GetVersionEx answers what the manifest names.
std::string WindowsVersion()
{
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    using TWineGetVersion = const char*(CDECL*)();
    const FARPROC rtlGetVersion = NtdllFunction("RtlGetVersion");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void (*)()>(rtlGetVersion))(&info) != 0)
        return "unknown";
    std::string text = Printed("%lu.%lu, build %lu", info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
    if (const FARPROC wine = NtdllFunction("wine_get_version"))
        text += std::string(", under Wine ") + reinterpret_cast<TWineGetVersion>(reinterpret_cast<void (*)()>(wine))();
    return text;
}

std::string LocaleValue(LCID locale, LCTYPE type)
{
    char value[100] = {};
    return GetLocaleInfoA(locale, type, value, sizeof value) > 0 ? value : "(none)";
}

std::string Machine()
{
    HDC screen = GetDC(nullptr);
    const int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const LCID locale = GetSystemDefaultLCID();
    std::string text;
    text += "Windows: " + WindowsVersion() + "\n";
    text += Printed("Display: %d by %d pixels, %d pixels per inch\n", GetSystemMetrics(SM_CXSCREEN),
                    GetSystemMetrics(SM_CYSCREEN), ppi);
    text += Printed("Frame: SM_CXSIZEFRAME %d, SM_CXPADDEDBORDER %d, SM_CYCAPTION %d, SM_CYMENU %d\n",
                    GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CXPADDEDBORDER),
                    GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENU));
    text += Printed("Locale: %04lx ", static_cast<unsigned long>(locale)) +
            LocaleValue(locale, LOCALE_SISO639LANGNAME) + "-" + LocaleValue(locale, LOCALE_SISO3166CTRYNAME) + "\n";
    text += "Time format: " + LocaleValue(locale, LOCALE_STIMEFORMAT) + ", day halves " +
            LocaleValue(locale, LOCALE_S1159) + " and " + LocaleValue(locale, LOCALE_S2359) + "\n";
    text += std::string("Sound output: ") + (HasSoundOutput() ? "yes" : "none") + "\n";
    return text;
}

std::string ModuleFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    if (what.size() < 4) return; // a drive alone, or nothing: too little to be personal
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// Nothing personal leaves the machine: the folders a message may name that hold the user's
// name are put by name, and the program's own folder is named relative to itself.
std::string Impersonal(std::string text)
{
    char folder[MAX_PATH] = {};
    char longFolder[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length > 0 && length < MAX_PATH && GetLongPathNameA(folder, longFolder, MAX_PATH) < MAX_PATH)
        ReplaceAll(text, longFolder, "%TEMP%\\");
    if (length > 0 && length < MAX_PATH) ReplaceAll(text, folder, "%TEMP%\\");
    ReplaceAll(text, ModuleFolder(), ".\\");
    if (const char* profile = std::getenv("USERPROFILE")) ReplaceAll(text, profile, "%USERPROFILE%");
    return text;
}

// How each test ended, in the order they ran.
class TReport : public testing::EmptyTestEventListener {
public:
    void OnTestEnd(const testing::TestInfo& test) override
    {
        const testing::TestResult& result = *test.result();
        const char* outcome = result.Skipped() ? "SKIPPED" : result.Failed() ? "FAILED" : "PASSED";
        lines_ += Printed("%-7s %s.%s (%lld ms)\n", outcome, test.test_suite_name(), test.name(),
                          static_cast<long long>(result.elapsed_time()));
        for (int i = 0; i < result.total_part_count(); ++i) {
            const testing::TestPartResult& part = result.GetTestPartResult(i);
            std::string where = part.file_name() ? Printed("%s:%d: ", part.file_name(), part.line_number()) : "";
            std::string message = where + part.message();
            for (size_t at = message.find('\n'); at != std::string::npos; at = message.find('\n', at + 1))
                message.insert(at + 1, "        ");
            lines_ += "        " + message + "\n";
        }
    }

    const std::string& Lines() const { return lines_; }

private:
    std::string lines_;
};

// A console of its own, which closes with the program: it was started from Explorer.
bool StartedByDoubleClick()
{
    DWORD processes[2];
    return !UnderWine() && GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR &&
           GetConsoleProcessList(processes, 2) == 1;
}

} // namespace

bool OnTestMachine()
{
    const char* asWindows = std::getenv("HORALET_SELFTEST_AS_WINDOWS");
    return UnderWine() && !(asWindows && *asWindows && std::string(asWindows) != "0");
}

bool HasSoundOutput()
{
    return waveOutGetNumDevs() > 0;
}

int RunSelfTest()
{
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    auto* report = new TReport; // the listeners own it
    listeners.Append(report);
    const int result = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    const std::string summary = Printed("%d tests: %d passed, %d failed, %d skipped", run.test_to_run_count(),
                                        run.successful_test_count(), run.failed_test_count(), run.skipped_test_count());
    const std::string text = "Self-test report\n\n" + Machine() +
                             "Run on the test machine: " + (OnTestMachine() ? "yes" : "no") + "\nResult: " + summary +
                             "\n\n" + Impersonal(report->Lines());
    const std::string path = ModuleFolder() + "selftest-report.txt";
    // In text mode, so that the lines end as Notepad expects.
    FILE* file = std::fopen(path.c_str(), "w");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file && std::fclose(file) != 0) written = false;
    std::string closing = summary + "\n" + (written ? "The report is " : "The report could not be written to ") + path;
    std::printf("%s\n", closing.c_str());
    std::fflush(stdout);
    if (StartedByDoubleClick())
        MessageBoxA(nullptr, closing.c_str(), "Horalet self-test",
                    MB_OK | (result == 0 && written ? MB_ICONINFORMATION : MB_ICONERROR));
    return result == 0 && written ? 0 : 1;
}
