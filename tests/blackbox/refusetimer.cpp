// refusetimer: starts a program as its debugger and makes the platform refuse its first
// window timer of a given period, as a system out of timers would: that SetTimer call
// returns 0 without running. Everything else runs untouched. Prints "exit N" at the end.
//
//   refusetimer PERIOD EXE
//
// Wine keeps no limit on timers (200,000 on one window all succeed), so a refusal cannot be
// provoked by using them up; a debugger can give the answer the platform would give.
// The name of a library from its file handle is a call of Windows Vista and later.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The debuggee's user32 is the same file as ours: SetTimer lies at the same offset in it.
ULONG_PTR SetTimerOffset()
{
    HMODULE user32 = LoadLibraryA("user32.dll");
    return reinterpret_cast<ULONG_PTR>(GetProcAddress(user32, "SetTimer")) - reinterpret_cast<ULONG_PTR>(user32);
}

bool IsUser32(const LOAD_DLL_DEBUG_INFO& dll)
{
    char path[MAX_PATH * 2] = {};
    if (!dll.hFile || !GetFinalPathNameByHandleA(dll.hFile, path, sizeof path, 0)) return false;
    std::string name(path);
    name = name.substr(name.find_last_of("\\/") + 1);
    for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return name == "user32.dll";
}

BYTE ReadByte(HANDLE process, ULONG_PTR address)
{
    BYTE value = 0;
    ReadProcessMemory(process, reinterpret_cast<void*>(address), &value, 1, nullptr);
    return value;
}

void WriteByte(HANDLE process, ULONG_PTR address, BYTE value)
{
    WriteProcessMemory(process, reinterpret_cast<void*>(address), &value, 1, nullptr);
    FlushInstructionCache(process, reinterpret_cast<void*>(address), 1);
}

ULONG_PTR ReadPointer(HANDLE process, ULONG_PTR address)
{
    ULONG_PTR value = 0;
    ReadProcessMemory(process, reinterpret_cast<void*>(address), &value, sizeof value, nullptr);
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: refusetimer PERIOD EXE\n");
        return 2;
    }
    const DWORD period = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 0));
    std::string commandLine = std::string("\"") + argv[2] + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(argv[2], &commandLine[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "refusetimer: cannot start %s (%lu)\n", argv[2], GetLastError());
        return 2;
    }

    const ULONG_PTR offset = SetTimerOffset();
    ULONG_PTR breakpoint = 0;
    BYTE original = 0;
    bool refused = false;
    bool stepping = false; // past the breakpoint, to set it again
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, INFINITE)) return 2;
        DWORD answer = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case LOAD_DLL_DEBUG_EVENT:
            if (!breakpoint && IsUser32(event.u.LoadDll)) {
                breakpoint = reinterpret_cast<ULONG_PTR>(event.u.LoadDll.lpBaseOfDll) + offset;
                original = ReadByte(process.hProcess, breakpoint);
                WriteByte(process.hProcess, breakpoint, 0xCC);
            }
            if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
            break;
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
            const auto at = reinterpret_cast<ULONG_PTR>(record.ExceptionAddress);
            HANDLE thread = OpenThread(THREAD_ALL_ACCESS, FALSE, event.dwThreadId);
            CONTEXT context{};
            context.ContextFlags = CONTEXT_FULL;
            if (record.ExceptionCode == EXCEPTION_BREAKPOINT && breakpoint && at == breakpoint) {
                GetThreadContext(thread, &context);
#ifdef _WIN64
                const DWORD asked = static_cast<DWORD>(context.R8);
                ULONG_PTR& ip = reinterpret_cast<ULONG_PTR&>(context.Rip);
                ULONG_PTR& sp = reinterpret_cast<ULONG_PTR&>(context.Rsp);
                ULONG_PTR& result = reinterpret_cast<ULONG_PTR&>(context.Rax);
                const ULONG_PTR popped = sizeof(ULONG_PTR); // the return address
#else
                const DWORD asked = static_cast<DWORD>(ReadPointer(process.hProcess, context.Esp + 12));
                ULONG_PTR& ip = reinterpret_cast<ULONG_PTR&>(context.Eip);
                ULONG_PTR& sp = reinterpret_cast<ULONG_PTR&>(context.Esp);
                ULONG_PTR& result = reinterpret_cast<ULONG_PTR&>(context.Eax);
                const ULONG_PTR popped = 4 + 4 * 4; // the return address and four stdcall arguments
#endif
                WriteByte(process.hProcess, breakpoint, original);
                if (!refused && asked == period) {
                    // Return 0 to the caller, as a refused SetTimer does.
                    refused = true;
                    ip = ReadPointer(process.hProcess, sp);
                    sp += popped;
                    result = 0;
                    std::printf("refused SetTimer(%lu ms)\n", static_cast<unsigned long>(period));
                    std::fflush(stdout);
                } else {
                    // Run the call itself, then set the breakpoint again behind it.
                    ip = breakpoint;
                    context.EFlags |= 0x100;
                    stepping = !refused;
                }
                SetThreadContext(thread, &context);
            } else if (record.ExceptionCode == EXCEPTION_SINGLE_STEP && stepping) {
                stepping = false;
                WriteByte(process.hProcess, breakpoint, 0xCC);
            } else if (record.ExceptionCode != EXCEPTION_BREAKPOINT) {
                // The program's own exceptions are its own to handle.
                answer = DBG_EXCEPTION_NOT_HANDLED;
            }
            if (thread) CloseHandle(thread);
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            std::printf("exit %lu\n", event.u.ExitProcess.dwExitCode);
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            return 0;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, answer);
    }
}
