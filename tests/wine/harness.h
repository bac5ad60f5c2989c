// Test harness for the in-process tests under Wine: message pumping, a settable clock and
// locale, and a catcher that reads and closes the modal boxes and menus a handler opens.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TButton;
class TForm1;
class TMenuItem;

// The lines of a list box window, or one of them, read through the platform as a screen reader
// would; none while there is no window.
std::vector<std::string> ListLines(HWND list);
std::string ListLine(HWND list, LRESULT index);

// A window's rectangle on the screen, its width, and a check of its place and size.
RECT Outer(HWND window);
int OuterWidth(HWND window);
void ExpectOuter(HWND window, int left, int top, int width, int height);

// Dispatches the thread's messages for a while.
void Pump(DWORD milliseconds);

// How long a test waits for what a timer or the system brings: far beyond what a busy machine
// takes, so that only a program that never gets there reaches it.
constexpr DWORD kDeadline = 60000;

// Dispatches the thread's messages until done() holds or the deadline passes; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = kDeadline);

// The clock the program reads while a test sets it, and a monotonic clock that stands still
// until the test lets time pass on it.
struct FakeClock {
    FakeClock(int hour, int minute, int second, int millisecond = 0);
    ~FakeClock();
    static void Set(int hour, int minute, int second, int millisecond = 0);
    static void Elapse(uint64_t milliseconds);
};

// Locale values by LCTYPE, answered like GetLocaleInfoA; values not given are not delivered.
struct FakeLocale {
    explicit FakeLocale(std::map<LCTYPE, std::string> values);
    ~FakeLocale();
    // Changes the answers without reading them, as a change of the user's settings does.
    static void Replace(std::map<LCTYPE, std::string> values);
};

// What a modal box showed before the catcher pressed its OK button.
struct CaughtBox {
    std::string Caption;
    std::string Text;
    HWND Owner = nullptr;
    bool FormWasEnabled = true;
    bool AppWasIconic = false;
    RECT Rect{};
    HWND Window = nullptr;
};

// While alive, closes every message box, dialog and popup menu the thread opens and records them.
class ModalCatcher {
public:
    ModalCatcher();
    ~ModalCatcher();
    ModalCatcher(const ModalCatcher&) = delete;
    ModalCatcher& operator=(const ModalCatcher&) = delete;

    std::vector<CaughtBox> Boxes;
    std::vector<RECT> Menus; // screen rectangles of the popup menus seen
    WPARAM Answer = IDOK;    // the button each box is closed with

private:
    static void CALLBACK Check(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
};

// Builds and shows the real main window for each test, as the program does at start.
class FormFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND Window() const;
    // A menu item chosen, and what a button tells its parent when it is clicked.
    void Choose(const TMenuItem& item) const;
    void Click(const TButton& button) const;
    // A new main window in place of the test's, as at start.
    void Rebuild();

    std::unique_ptr<TForm1> form;
};
