// The main window: its layout, its creation, its start and its window procedure.
#include "ui/mytime1.h"

#include <algorithm>
#include <vector>

#include "app/application.h"
#include "app/guard.h"
#include "app/names.h"
#include "app/power.h"
#include "clock/localetime.h"

TForm1* Form1 = nullptr;
std::string AppFolder;
int32_t LockedWidth = 0;
int32_t LockedHeight = 0;
std::string ProbeText;
std::string ClockSeparator;
uint8_t SuffixMode = 0;

namespace {

constexpr char kCaption[] = "Horalet";

TFont PanelFont()
{
    return TFont("MS Sans Serif", -16, kBlack);
}

template <typename Element>
Element& Placed(std::unique_ptr<Element>& element, const TBounds& bounds, bool visible)
{
    element->SetBounds(bounds);
    element->SetVisible(visible);
    return *element;
}

void LoadAll(TWindowedElement& container)
{
    container.Loaded();
    for (TLabel* label : container.Labels()) label->Loaded();
    for (TWindowedElement* child : container.Children()) LoadAll(*child);
}

} // namespace

TForm1::TForm1() : TWindowedElement(nullptr)
{
    Form1 = this;
    FFont.emplace("MS Sans Serif", -11, TColor::System(COLOR_WINDOWTEXT));
    FColor = TColor::System(COLOR_BTNFACE);
    FBounds = kLayoutBounds;
    FLayoutWidth = kLayoutBounds.Width;
    HandleNeeded();
    BuildLayout();
    BuildMenus();
    BindAlarmEvents();
    BindFontEvents();
    BindViewerEvents();
    ScaleForDisplay();
    LoadAll(*this);
    FLoading = false;
    Guarded([this] { FormCreate(this); });
}

void TForm1::CreateHandle()
{
    const char* windowClass =
        RegisterOwnClass("TForm1", nullptr, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    CreateOwn(windowClass, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, Application->Handle(), nullptr,
              kLayoutBounds);
    SendMessageA(FHandle, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), "MAINICON")));
}

TForm1::~TForm1()
{
    // The timers first, so that no tick reaches a half-destroyed window; then the sound
    // player, which closes its device, and so stops a sound that plays, before its window goes.
    if (Timelabel1) Timelabel1->FTimer.reset();
    Timer1.reset();
    FChime.Stop();
    KeepAwake(false);
    MediaPlayer1.reset();
    if (FHandle) DestroyWindow(FHandle);
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::BuildLayout()
{
    // In layout order, which is also the order of creation.
    Label2 = std::make_unique<TLabel>(this, "Alarm is not set");
    Label2->SetFont(PanelFont());
    Placed(Label2, {16, 48, 109, 20}, true);

    Label3 = std::make_unique<TLabel>(this, "");
    Label3->SetFont(PanelFont());
    Placed(Label3, {16, 72, 4, 20}, false);

    Label4 = std::make_unique<TLabel>(this, "Help topics");
    Placed(Label4, {16, 0, 53, 13}, false);

    Timelabel1 = std::make_unique<TTimelabel>(this, "Timelabel1");
    Timelabel1->SetFont(TFont("MS Sans Serif", -19, kRed, true));
    Placed(Timelabel1, {16, 16, 104, 24}, true);
    Timelabel1->OnClick = [this](void* sender) { timelabel1Click(sender); };

    MediaPlayer1 = std::make_unique<TSoundPlayer>(this, TBounds{0, 0, 253, 30});
    MediaPlayer1->TabOrder = 0;

    GroupBox1 = std::make_unique<TGroupBox>(this, TBounds{24, 16, 161, 89}, "Set Alarm", false);
    GroupBox1->SetFont(PanelFont());
    GroupBox1->TabOrder = 1;
    TGroupBox* panel = GroupBox1.get();

    Label1 = std::make_unique<TLabel>(panel, "AM");
    Label1->SetFont(PanelFont());
    Label1->SetColor(TColor::System(COLOR_3DLIGHT));
    Placed(Label1, {120, 32, 24, 20}, true);

    Edit1 = std::make_unique<TEditField>(panel, TBounds{8, 24, 33, 28}, "0", true);
    Edit1->SetFont(PanelFont());
    Edit1->TabOrder = 0;
    Edit2 = std::make_unique<TEditField>(panel, TBounds{64, 24, 33, 28}, "0", true);
    Edit2->SetFont(PanelFont());
    Edit2->TabOrder = 1;

    UpDown1 = std::make_unique<TSpinner>(panel, TBounds{41, 24, 15, 28}, *Edit1, 0, 12);
    UpDown1->TabOrder = 2;
    UpDown2 = std::make_unique<TSpinner>(panel, TBounds{97, 24, 15, 28}, *Edit2, 0, 59);
    UpDown2->TabOrder = 3;

    Button1 = std::make_unique<TButton>(panel, TBounds{8, 64, 73, 17}, "No Alarm", true);
    Button1->TabOrder = 4;
    Button2 = std::make_unique<TButton>(panel, TBounds{88, 64, 57, 17}, "Done", true);
    Button2->TabOrder = 5;

    Button3 = std::make_unique<TButton>(this, TBounds{32, 40, 73, 25}, "Kill Alarm", false);
    Button3->SetFont(PanelFont());
    Button3->TabOrder = 2;

    ListBox1 =
        std::make_unique<TListBox>(this, TBounds{16, 12, 169, 93}, 13,
                                   std::vector<std::string>{"What is Horalet?", "How to set the alarm.",
                                                            "How to change the font.", "Known bugs.", "Uninstall."});
    ListBox1->TabOrder = 3;

    Button4 = std::make_unique<TButton>(this, TBounds{56, 104, 57, 17}, "Back", false);
    Button4->TabOrder = 4;

    // What a screen reader reads, in reading order: the time, the alarm line, the day half
    // (pressed like a button) and the viewer's title; then the windows. The fields and their
    // spinners are named for what they set.
    ReadLabels = {Timelabel1.get(), Label2.get(), Label3.get(), Label1.get(), Label4.get()};
    Label1->ReadAsButton = true;
    Edit1->AccessibleName = UpDown1->AccessibleName = "Hour";
    Edit2->AccessibleName = UpDown2->AccessibleName = "Minute";

    // The watch looks once a second; it catches up on the seconds it did not see.
    Timer1 = std::make_unique<TPeriodicTimer>();
    Timer1->SetEnabled(false);

    FontDialog1 = std::make_unique<TFontChooser>(TFont("MS Sans Serif", -11, TColor::System(COLOR_WINDOWTEXT)));
}

void TForm1::BuildMenus()
{
    PopupMenu1 = std::make_unique<TPopupMenu>();
    PopupMenu1->AddOwned("Set Font");
    SetAlarm1 = &PopupMenu1->AddOwned("Set Alarm");

    MainMenu1 = std::make_unique<TMenuBar>();
    File1 = std::make_unique<TMenuItem>("File");
    SetAlarm2 = std::make_unique<TMenuItem>("Set Alarm");
    SetFont2 = std::make_unique<TMenuItem>("Set Font");
    Minimize1 = std::make_unique<TMenuItem>("Minimize");
    Exit1 = std::make_unique<TMenuItem>("Exit");
    Help1 = std::make_unique<TMenuItem>("Help");
    Help2 = std::make_unique<TMenuItem>("Help");
    About1 = std::make_unique<TMenuItem>("About");
    for (TMenuItem* item : {SetAlarm2.get(), SetFont2.get(), Minimize1.get(), Exit1.get()}) File1->Add(*item);
    Help1->Add(*Help2);
    Help1->Add(*About1);
    Minimize1->OnClick = [this](void* sender) { Minimize1Click(sender); };
    Exit1->OnClick = [this](void* sender) { Exit1Click(sender); };
    MainMenu1->Add(*File1);
    MainMenu1->Add(*Help1);
    MainMenu1->AttachTo(FHandle);
}

void TForm1::FormCreate(void*)
{
    AppFolder = FolderOfPath(ModuleFileName());
    MediaPlayer1->SetFileName(AppFolder + "alarm.wav");
    const RECT outer = OuterRect();
    LockedWidth = outer.right - outer.left;
    LockedHeight = outer.bottom - outer.top;
    const TProbeResult probe = ProbeClockText(FormatTimeText(CurrentDateTime()));
    ProbeText = probe.ProbeText;
    ClockSeparator = probe.ClockSeparator;
    SuffixMode = probe.SuffixMode;
}

void TForm1::Show()
{
    ShowWindow(FHandle, SW_SHOWNORMAL);
    // The first showing brings the first size notification; where the platform sent it
    // already while the window was built, the lock runs now.
    if (!FSizedSinceLoading) Resized(SIZE_RESTORED);
    UpdateWindow(FHandle);
}

void TForm1::timelabel1Click(void*)
{
    // The window's outer corner plus the label's client offset: not the label's own screen position.
    const RECT outer = OuterRect();
    PopupMenu1->Popup(outer.left + Timelabel1->Left(), outer.top + Timelabel1->Top());
}

void TForm1::Exit1Click(void*)
{
    Application->Terminate();
}

void TForm1::Minimize1Click(void*)
{
    Application->Minimize();
}

LRESULT TForm1::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(FHandle, &paint);
        PaintLabels(dc);
        EndPaint(FHandle, &paint);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(FHandle, focus)) FLastFocus = focus;
        } else if (!HIWORD(wParam) && FLastFocus && IsChild(FHandle, FLastFocus) && IsWindowVisible(FLastFocus) &&
                   IsWindowEnabled(FLastFocus)) {
            // Back to the control that had the keyboard, not to the window itself.
            ::SetFocus(FLastFocus);
            return 0;
        }
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS && !FLoading) FrameChanged();
        break;
    case WM_THEMECHANGED:
        if (!FLoading) FrameChanged();
        break;
    case WM_SIZE:
        Resized(wParam);
        if (!FLoading) UpdateScrollBars();
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam) break;
        Scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            MainMenu1->Dispatch(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            Application->Minimize();
            return 0;
        }
        break;
    case WM_CLOSE:
        // No close handler is bound, and this is the main window: closing ends the run.
        Application->Terminate();
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC && !FLoading) Resumed();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) Application->EndSession();
        return 0;
    }
    return TWindowedElement::WindowProc(message, wParam, lParam);
}
