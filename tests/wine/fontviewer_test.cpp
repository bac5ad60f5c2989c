// Set Font with its cap and width rule, and the help and about viewer over files the test
// lays out, in the real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "tests/wine/harness.h"
#include "ui/mytime1.h"
#include "widgets/fontsize.h"

namespace {

// A chooser that records what it was given and answers like the platform's would.
struct FakeChooser {
    static inline CHOOSEFONTA record{};
    static inline LOGFONTA given{};
    static inline bool formEnabled = true;
    static inline LOGFONTA answer{};
    static inline COLORREF colour = 0;
    static inline BOOL confirm = TRUE;

    static BOOL WINAPI Choose(LPCHOOSEFONTA chosen)
    {
        record = *chosen;
        given = *chosen->lpLogFont;
        formEnabled = IsWindowEnabled(Form1->Handle()) != FALSE;
        // Like the platform's dialog, it writes its state back even when cancelled.
        *chosen->lpLogFont = answer;
        chosen->rgbColors = colour;
        return confirm;
    }
};

class FontTest : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        SetChooseFontSource(FakeChooser::Choose);
    }
    void TearDown() override
    {
        SetChooseFontSource(nullptr);
        FormFixture::TearDown();
    }
};

TEST_F(FontTest, TheChoiceIsCappedAt24PointsAndTheWidthFollows)
{
    const int ppi = ScreenPixelsPerInch();
    struct Row {
        const char* name;
        int points;
        LONG weight;
        const char* face;
        BOOL confirm;
        int height; // the clock's afterwards
        bool bold;
        const char* shownFace;
        int width;
    };
    const Row rows[] = {
        {"36 points", 36, FW_NORMAL, "DejaVu Serif", TRUE, HeightOfPoints(24, ppi), false, "DejaVu Serif", 250},
        {"12 points", 12, FW_NORMAL, "DejaVu Serif", TRUE, HeightOfPoints(12, ppi), false, "DejaVu Serif", 200},
        {"semibold", 12, 600, "DejaVu Serif", TRUE, HeightOfPoints(12, ppi), true, "DejaVu Serif", 200},
        {"light", 12, 300, "DejaVu Serif", TRUE, HeightOfPoints(12, ppi), false, "DejaVu Serif", 200},
        {"no face", 12, FW_BOLD, "", TRUE, HeightOfPoints(12, ppi), true, "MS Sans Serif", 200},
        {"cancelled", 36, FW_NORMAL, "DejaVu Serif", FALSE, -19, true, "MS Sans Serif", 200},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        form->Timelabel1->SetFont(TFont("MS Sans Serif", -19, kRed, true));
        // Set Alarm leaves the window 250 wide and the panel open; Set Font decides again.
        Choose(*form->SetAlarm2);
        FakeChooser::answer = LOGFONTA{};
        FakeChooser::answer.lfHeight = HeightOfPoints(row.points, ppi);
        FakeChooser::answer.lfWeight = row.weight;
        FakeChooser::answer.lfItalic = TRUE;
        FakeChooser::answer.lfCharSet = SYMBOL_CHARSET;
        FakeChooser::answer.lfPitchAndFamily = FIXED_PITCH;
        lstrcpynA(FakeChooser::answer.lfFaceName, row.face, LF_FACESIZE);
        FakeChooser::colour = RGB(0, 0, 255);
        FakeChooser::confirm = row.confirm;
        SendMessageA(TPopupMenu::FacilityWindow(), WM_COMMAND, form->PopupMenu1->Items()[0]->Command(), 0);

        const TFont& font = form->Timelabel1->Font();
        EXPECT_EQ(row.height, font.Height());
        EXPECT_EQ(row.bold, font.Bold());
        EXPECT_EQ(row.shownFace, font.Face());
        EXPECT_EQ(row.confirm != FALSE, font.Style().Italic);
        EXPECT_EQ(row.confirm ? RGB(0, 0, 255) : RGB(255, 0, 0), font.Color().Resolve());
        const LOGFONTA shown = font.Describe();
        EXPECT_EQ(DEFAULT_CHARSET, shown.lfCharSet) << "the choice's character set is not taken";
        EXPECT_EQ(DEFAULT_PITCH, shown.lfPitchAndFamily) << "nor its pitch";
        EXPECT_EQ(row.width, OuterWidth(Window()));
        EXPECT_TRUE(form->GroupBox1->Visible());
        // The label fits its text in the new font at once.
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font.Handle());
        RECT fit{0, 0, 0, 0};
        DrawTextA(dc, form->Timelabel1->Caption().c_str(), -1, &fit, DT_CALCRECT | DT_EXPANDTABS);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        EXPECT_EQ(fit.bottom, form->Timelabel1->Height());
    }

    // What the dialog was given, the last time round.
    const CHOOSEFONTA& record = FakeChooser::record;
    EXPECT_EQ(sizeof(void*) == 4 ? 60u : sizeof(CHOOSEFONTA), record.lStructSize) << "60 in the 32-bit program";
    EXPECT_EQ(Application->Handle(), record.hwndOwner);
    EXPECT_EQ(nullptr, record.hDC);
    EXPECT_EQ(0x149u, record.Flags);
    EXPECT_EQ(RGB(255, 0, 0), record.rgbColors);
    EXPECT_EQ(0, record.lCustData);
    EXPECT_NE(nullptr, record.lpfnHook);
    EXPECT_EQ(0, record.nSizeMin);
    EXPECT_EQ(0, record.nSizeMax);
    EXPECT_EQ(-19, FakeChooser::given.lfHeight);
    EXPECT_EQ(FW_BOLD, FakeChooser::given.lfWeight);
    EXPECT_EQ(DEFAULT_CHARSET, FakeChooser::given.lfCharSet);
    EXPECT_STREQ("MS Sans Serif", FakeChooser::given.lfFaceName);
    EXPECT_FALSE(FakeChooser::formEnabled) << "modal for the whole program";
    EXPECT_TRUE(IsWindowEnabled(Window()));
}

TEST_F(FontTest, TheRealDialogOpensCentredAtAThirdOfTheHeightAndCancelKeepsTheFont)
{
    SetChooseFontSource(nullptr);
    Choose(*form->SetAlarm2);
    ModalCatcher catcher;
    catcher.Answer = IDCANCEL;
    Choose(*form->SetFont2);
    ASSERT_EQ(1u, catcher.Boxes.size());
    const RECT& r = catcher.Boxes[0].Rect;
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, r.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3, r.top);
    EXPECT_EQ(Application->Handle(), catcher.Boxes[0].Owner);
    EXPECT_FALSE(catcher.Boxes[0].FormWasEnabled);
    EXPECT_EQ(-19, form->Timelabel1->Font().Height());
    EXPECT_EQ(200, OuterWidth(Window()));
    EXPECT_TRUE(form->GroupBox1->Visible());
}

// The viewer over a folder of files the test writes.
class ViewerTest : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "horalet-viewer-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        shippedFolder = AppFolder;
        AppFolder = folder;
        Write("help.txt", "t1\r\nt2\r\nt3\r\nt4\r\nt5\r\nt6\r\n");
        Write("help3.txt", "three\r\n");
        Write("help6.txt", "six\r\n");
        Write("about.txt", "about\r\ntext\r\n");
    }
    void TearDown() override
    {
        for (const std::string& name : written) DeleteFileA((folder + name).c_str());
        RemoveDirectoryA(folder.c_str());
        AppFolder = shippedFolder;
        FormFixture::TearDown();
    }
    void Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder + name, std::ios::binary) << bytes;
        written.push_back(name);
    }
    // A double-click on a line, or with no line selected where line is -1.
    void DoubleClick(int line)
    {
        HWND list = form->ListBox1->Handle();
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    }
    void Back() { Click(*form->Button4); }
    bool MenusEnabled()
    {
        HMENU bar = GetMenu(Window());
        return !(GetMenuState(bar, 0, MF_BYPOSITION) & MF_GRAYED) && !(GetMenuState(bar, 1, MF_BYPOSITION) & MF_GRAYED);
    }
    // The viewer's state: whether it shows, its title and its lines.
    void ExpectState(bool open, const std::string& title, const std::vector<std::string>& lines)
    {
        EXPECT_EQ(open, form->ListBox1->Visible());
        EXPECT_EQ(open, form->Label4->Visible());
        EXPECT_EQ(open, form->Button4->Visible());
        EXPECT_EQ(!open, MenusEnabled());
        EXPECT_EQ(title, form->Label4->Caption());
        EXPECT_EQ(lines, ListLines(form->ListBox1->Handle()));
    }

    std::string folder, shippedFolder;
    std::vector<std::string> written;
};

using Lines = std::vector<std::string>;
const Lines kTopics{"t1", "t2", "t3", "t4", "t5", "t6"};
const Lines kLayoutTopics{"What is Horalet?", "How to set the alarm.", "How to change the font.", "Known bugs.",
                          "Uninstall."};

TEST_F(ViewerTest, WalksThroughEveryStateAndBack)
{
    struct Step {
        const char* name;
        std::function<void()> act;
        bool open;
        const char* title;
        Lines lines;
        bool loads = true; // else the selection stays as the double-click left it
    };
    const Step steps[] = {
        {"Help", [&] { Choose(*form->Help2); }, true, "Help topics", kTopics},
        {"third topic", [&] { DoubleClick(2); }, true, "", {"three"}},
        {"double-click in a topic", [&] { DoubleClick(0); }, true, "", {"three"}, false},
        {"Back to the topics", [&] { Back(); }, true, "Help topics", kTopics},
        {"sixth topic", [&] { DoubleClick(5); }, true, "", {"six"}},
        {"Back", [&] { Back(); }, true, "Help topics", kTopics},
        {"Back closes", [&] { Back(); }, false, "Help topics", kTopics, false},
        {"About", [&] { Choose(*form->About1); }, true, "About", {"about", "text"}},
        {"double-click in About", [&] { DoubleClick(0); }, true, "About", {"about", "text"}, false},
        {"Back closes About", [&] { Back(); }, false, "About", {"about", "text"}, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        ExpectState(step.open, step.title, step.lines);
        if (step.loads) {
            EXPECT_EQ(LB_ERR, SendMessageA(form->ListBox1->Handle(), LB_GETCURSEL, 0, 0)) << "no line selected";
        }
    }
}

TEST_F(ViewerTest, AFileThatCannotBeOpenedIsReportedAndTheListKeepsItsLines)
{
    ModalCatcher catcher;
    auto lastBox = [&] { return catcher.Boxes.empty() ? std::string() : catcher.Boxes.back().Text; };
    // No topic selected asks for help0.txt; then Back reads the topics again.
    Choose(*form->Help2);
    DoubleClick(-1);
    EXPECT_EQ("Cannot open file " + folder + "help0.txt.", lastBox());
    ExpectState(true, "", kTopics);
    DoubleClick(0);
    EXPECT_EQ(1u, catcher.Boxes.size()) << "a double-click in a topic does nothing";
    Back();
    ExpectState(true, "Help topics", kTopics);

    // A topic whose file is missing, and then help.txt gone too: Back shows the topic's lines.
    DoubleClick(3);
    EXPECT_EQ("Cannot open file " + folder + "help4.txt.", lastBox());
    DoubleClick(-1);
    DeleteFileA((folder + "help.txt").c_str());
    Back();
    EXPECT_EQ("Cannot open file " + folder + "help.txt.", lastBox());
    ExpectState(true, "Help topics", kTopics);
    Back();
    ExpectState(false, "Help topics", kTopics);

    // Another program holds help.txt open without sharing.
    Write("help.txt", "t1\r\n");
    HANDLE held = CreateFileA((folder + "help.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Choose(*form->Help2);
    CloseHandle(held);
    EXPECT_EQ("Cannot open file " + folder + "help.txt.", lastBox());
    ExpectState(true, "Help topics", kTopics);
    for (const CaughtBox& box : catcher.Boxes) EXPECT_EQ(Application->Title(), box.Caption);
}

TEST_F(ViewerTest, StrangeFilesGiveACompleteList)
{
    const std::string longLine(200000, 'x');
    std::string large;
    for (int i = 0; i < 1000000; ++i) large += "line " + std::to_string(i) + " of a large file\r\n";
    struct Row {
        const char* name;
        std::string bytes;
        size_t count;
        std::string first, last;
    };
    const Row rows[] = {
        {"empty", "", 0, "", ""},
        {"binary", std::string("\x01\x02\xff\xfe\r\x80\x90", 7), 2, "\x01\x02\xff\xfe", "\x80\x90"},
        {"NUL inside", std::string("a\nb\0c\nd", 7), 2, "a", "b"},
        {"mixed line ends", "a\r\nb\nc\rd\n\re", 6, "a", "e"},
        {"a very long line", longLine + "\r\nend", 2, longLine, "end"},
        {"tens of megabytes", large, 1000000, "line 0 of a large file", "line 999999 of a large file"},
    };
    ModalCatcher catcher;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Write("about.txt", row.bytes);
        const DWORD start = GetTickCount();
        Choose(*form->About1);
        Pump(50); // and the list paints
        const DWORD took = GetTickCount() - start;
        ASSERT_EQ(row.count, static_cast<size_t>(SendMessageA(form->ListBox1->Handle(), LB_GETCOUNT, 0, 0)));
        if (row.count) {
            EXPECT_EQ(row.first, ListLine(form->ListBox1->Handle(), 0));
            EXPECT_EQ(row.last, ListLine(form->ListBox1->Handle(), static_cast<LRESULT>(row.count - 1)));
        }
        // How fast is the proof page's business; this only tells a hang from a busy machine.
        EXPECT_LT(took, 4 * kDeadline) << "the load hung";
        std::printf("[ loaded   ] %s: %u lines in %lu ms\n", row.name, static_cast<unsigned>(row.count), took);
        Back();
    }
    EXPECT_TRUE(catcher.Boxes.empty());
}

// The texts shipped beside the exe, as the viewer shows them.
using ShippedTexts = FormFixture;

TEST_F(ShippedTexts, TheTopicsAreTheLayoutsAndEveryLineFitsTheList)
{
    Choose(*form->Help2);
    EXPECT_EQ(kLayoutTopics, ListLines(form->ListBox1->Handle()));
    HWND list = form->ListBox1->Handle();
    for (const char* name :
         {"help.txt", "help1.txt", "help2.txt", "help3.txt", "help4.txt", "help5.txt", "about.txt"}) {
        SCOPED_TRACE(name);
        form->ListBox1->LoadFromFile(AppFolder + name);
        const Lines lines = ListLines(list);
        EXPECT_GT(lines.size(), 1u);
        RECT client{};
        GetClientRect(list, &client);
        HDC dc = GetDC(list);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
        for (const std::string& line : lines) {
            SIZE size{};
            GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
            EXPECT_LE(size.cx + 2, client.right) << line;
        }
        SelectObject(dc, old);
        ReleaseDC(list, dc);
    }
}

} // namespace
