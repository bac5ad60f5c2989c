// Test harness for the in-process tests under Wine.
#include "tests/wine/harness.h"

#include "app/application.h"
#include "clock/localetime.h"
#include "ui/mytime1.h"

namespace {

SYSTEMTIME fakeNow{};
uint64_t fakeMonotonic = 0;
std::map<LCTYPE, std::string> fakeLocale;
ModalCatcher* activeCatcher = nullptr;

void WINAPI ReadFakeClock(LPSYSTEMTIME time)
{
    *time = fakeNow;
}

uint64_t ReadFakeMonotonic()
{
    return fakeMonotonic;
}

int WINAPI ReadFakeLocale(LCID, LCTYPE type, LPSTR buffer, int capacity)
{
    auto it = fakeLocale.find(type);
    if (it == fakeLocale.end()) return 0;
    const int needed = static_cast<int>(it->second.size()) + 1;
    // Like the platform: an answer that does not fit fails.
    if (needed > capacity) return 0;
    memcpy(buffer, it->second.c_str(), static_cast<size_t>(needed));
    return needed;
}

std::string TextOf(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM out)
{
    auto& text = *reinterpret_cast<std::string*>(out);
    if (ClassOf(child) == "Static" && !TextOf(child).empty()) text += TextOf(child);
    return TRUE;
}

BOOL CALLBACK CloseModal(HWND window, LPARAM)
{
    if (!IsWindowVisible(window)) return TRUE;
    const std::string kind = ClassOf(window);
    if (kind == "#32770") {
        // A box that has not yet taken its answer is not recorded twice.
        for (const CaughtBox& seen : activeCatcher->Boxes)
            if (seen.Window == window) return TRUE;
        CaughtBox box;
        box.Window = window;
        box.Caption = TextOf(window);
        box.Owner = GetWindow(window, GW_OWNER);
        box.FormWasEnabled = !Form1 || IsWindowEnabled(Form1->Handle());
        box.AppWasIconic = IsIconic(Application->Handle()) != FALSE;
        GetWindowRect(window, &box.Rect);
        EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&box.Text));
        activeCatcher->Boxes.push_back(box);
        PostMessageA(window, WM_COMMAND, activeCatcher->Answer, 0);
    } else if (kind == "#32768") {
        RECT rect{};
        GetWindowRect(window, &rect);
        activeCatcher->Menus.push_back(rect);
        EndMenu();
    }
    return TRUE;
}

} // namespace

std::string ListLine(HWND list, LRESULT index)
{
    // In the list's own characters: an ANSI request is converted through a fixed buffer that a
    // long line overruns.
    std::wstring wide(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
    wide.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&wide[0]))));
    std::string text(wide.size() * 2, '\0');
    text.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                                        static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

std::vector<std::string> ListLines(HWND list)
{
    std::vector<std::string> lines;
    for (LRESULT i = 0, count = list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0; i < count; ++i)
        lines.push_back(ListLine(list, i));
    return lines;
}

RECT Outer(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

int OuterWidth(HWND window)
{
    const RECT r = Outer(window);
    return r.right - r.left;
}

void ExpectOuter(HWND window, int left, int top, int width, int height)
{
    const RECT r = Outer(window);
    EXPECT_EQ(left, r.left);
    EXPECT_EQ(top, r.top);
    EXPECT_EQ(width, r.right - r.left);
    EXPECT_EQ(height, r.bottom - r.top);
}

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        // The time is checked between messages too: a flood of them must not hold the test.
        while (GetTickCount() - start < milliseconds && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Left for the test to find.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < milliseconds) Pump(20);
    return done();
}

FakeClock::FakeClock(int hour, int minute, int second, int millisecond)
{
    fakeNow = SYSTEMTIME{2026, 12, 3, 9, 0, 0, 0, 0};
    Set(hour, minute, second, millisecond);
    SetLocalTimeSource(ReadFakeClock);
    fakeMonotonic = 1000000;
    SetMonotonicSource(ReadFakeMonotonic);
}

FakeClock::~FakeClock()
{
    SetLocalTimeSource(nullptr);
    SetMonotonicSource(nullptr);
}

void FakeClock::Elapse(uint64_t milliseconds)
{
    fakeMonotonic += milliseconds;
}

void FakeClock::Set(int hour, int minute, int second, int millisecond)
{
    fakeNow.wHour = static_cast<WORD>(hour);
    fakeNow.wMinute = static_cast<WORD>(minute);
    fakeNow.wSecond = static_cast<WORD>(second);
    fakeNow.wMilliseconds = static_cast<WORD>(millisecond);
}

FakeLocale::FakeLocale(std::map<LCTYPE, std::string> values)
{
    fakeLocale = std::move(values);
    SetLocaleInfoSource(ReadFakeLocale);
    ReadTimeTextSettings();
}

void FakeLocale::Replace(std::map<LCTYPE, std::string> values)
{
    fakeLocale = std::move(values);
}

FakeLocale::~FakeLocale()
{
    SetLocaleInfoSource(nullptr);
    ReadTimeTextSettings();
}

ModalCatcher::ModalCatcher()
{
    activeCatcher = this;
    // A thread timer runs inside the modal loop of the box or the menu.
    timer_ = SetTimer(nullptr, 0, 40, Check);
}

ModalCatcher::~ModalCatcher()
{
    KillTimer(nullptr, timer_);
    activeCatcher = nullptr;
}

void CALLBACK ModalCatcher::Check(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeCatcher) EnumThreadWindows(GetCurrentThreadId(), CloseModal, 0);
}

void FormFixture::SetUp()
{
    form = std::make_unique<TForm1>();
    Application->SetMainWindow(form->Handle());
    form->Show();
    Pump(50);
}

void FormFixture::TearDown()
{
    form.reset();
    // A quit request a test left behind must not reach the next one.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void FormFixture::Rebuild()
{
    form.reset();
    SetUp();
}

HWND FormFixture::Window() const
{
    return form->Handle();
}

void FormFixture::Choose(const TMenuItem& item) const
{
    SendMessageA(Window(), WM_COMMAND, item.Command(), 0);
}

void FormFixture::Click(const TButton& button) const
{
    SendMessageA(GetParent(button.Handle()), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button.Handle()));
}
