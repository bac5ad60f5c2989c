// The main window: the clock, the alarm line and the hidden panels, with the menus that reach them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "clock/Timelabel.h"
#include "clock/periodictimer.h"
#include "clock/timetext.h"
#include "sound/chime.h"
#include "sound/soundplayer.h"
#include "ui/alarmtext.h"
#include "widgets/button.h"
#include "widgets/editfield.h"
#include "widgets/element.h"
#include "widgets/fontchooser.h"
#include "widgets/groupbox.h"
#include "widgets/label.h"
#include "widgets/listbox.h"
#include "widgets/menu.h"
#include "widgets/spinner.h"

class TForm1 : public TWindowedElement {
public:
    // Builds the window from its layout, owned by the application's taskbar window. A
    // failure here leaves the constructor; the half-built window is destroyed with it.
    TForm1();
    ~TForm1() override;

    std::unique_ptr<TPopupMenu> PopupMenu1;
    std::unique_ptr<TFontChooser> FontDialog1;
    TMenuItem* SetAlarm1 = nullptr;
    std::unique_ptr<TGroupBox> GroupBox1;
    std::unique_ptr<TSpinner> UpDown1;
    std::unique_ptr<TSpinner> UpDown2;
    std::unique_ptr<TEditField> Edit1;
    std::unique_ptr<TEditField> Edit2;
    std::unique_ptr<TLabel> Label1;
    std::unique_ptr<TButton> Button1;
    std::unique_ptr<TButton> Button2;
    std::unique_ptr<TPeriodicTimer> Timer1;
    std::unique_ptr<TLabel> Label3;
    std::unique_ptr<TSoundPlayer> MediaPlayer1;
    std::unique_ptr<TButton> Button3;
    std::unique_ptr<TLabel> Label2;
    std::unique_ptr<TMenuBar> MainMenu1;
    std::unique_ptr<TMenuItem> File1;
    std::unique_ptr<TMenuItem> SetAlarm2;
    std::unique_ptr<TMenuItem> SetFont2;
    std::unique_ptr<TMenuItem> Minimize1;
    std::unique_ptr<TMenuItem> Exit1;
    std::unique_ptr<TMenuItem> Help1;
    std::unique_ptr<TMenuItem> Help2;
    std::unique_ptr<TMenuItem> About1;
    std::unique_ptr<TListBox> ListBox1;
    std::unique_ptr<TButton> Button4;
    std::unique_ptr<TLabel> Label4;
    std::unique_ptr<TTimelabel> Timelabel1;
    // What the alarm sounds when its file cannot be played.
    TChime FChime;

    void timelabel1Click(void* sender);
    void Label1Click(void* sender);
    void Button1Click(void* sender);
    void Edit1Change(void* sender);
    void Edit2Change(void* sender);
    void FormCreate(void* sender);
    void FormResize(void* sender);
    void Button2Click(void* sender);
    void Timer1Timer(void* sender);
    void Button3Click(void* sender);
    void SetAlarm1Click(void* sender);
    void SetFont1Click(void* sender);
    void MediaPlayer1Notify(void* sender);
    void Button4Click(void* sender);
    void SetAlarm2Click(void* sender);
    void SetFont2Click(void* sender);
    void Exit1Click(void* sender);
    void Minimize1Click(void* sender);
    void ListBox1DblClick(void* sender);
    void Help2Click(void* sender);
    void About1Click(void* sender);
    void Resumed();
    void GroupBox1KeyDown(void* sender, WORD& key);

    // Shows the window in its normal state; the first showing runs the resize lock.
    void Show();

    enum class TWindowState { Normal, Minimized, Maximized };
    RECT OuterRect() const;
    // The outer size, in this system's frame, of the client area that a window of this design
    // size has in the layout's frame, scaled by the same factor as the elements.
    SIZE OuterSizeFor(int designWidth, int designHeight) const;
    // Gives the window the layout of this design width (200, 243 or 250), locked.
    void UseLayoutWidth(int designWidth);

    POINT ScrollOrigin() const override { return {-FScroll.x, -FScroll.y}; }
    void ContentChanged() override;

protected:
    void CreateHandle() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BindAlarmEvents();
    void BindFontEvents();
    void BindViewerEvents();
    // Opens the viewer with a title over the lines of a file in the program's folder.
    void OpenViewer(const char* title, const char* fileName);
    void BuildLayout();
    void BuildMenus();
    void ScaleForDisplay();
    void Resized(WPARAM kind);
    // The system's frame changed: the window keeps its client area.
    void FrameChanged();
    void Scroll(int bar, WORD request);
    void UpdateScrollBars();
    // The two-digit rule of the alarm fields, then the keyboard focus to the hour spinner.
    void KeepTwoDigits(TEditField& field);

    bool FLoading = true;
    bool FSizedSinceLoading = false;
    TWindowState FWindowState = TWindowState::Normal;
    POINT FScroll{0, 0};
    bool FUpdatingScrollBars = false;
    RECT FScrollExtent{-1, -1, -1, -1}; // extent and client size the scroll bars were last set for
    TAlarmWatch FAlarmWatch;
    bool FRingRefused = false; // the failure box about a refused Kill Alarm is open
    HWND FLastFocus = nullptr; // the control that had the keyboard when the window was left
    // The layout's scale on this display: the text height of "0" over its design height.
    int FScaleNumerator = 1;
    int FScaleDenominator = 1;
    int FLayoutWidth = 0; // the design width of the layout in use
};

// The main window, alive from its building to the end of the run.
extern TForm1* Form1;

// The folder of the executable, with its trailing separator.
extern std::string AppFolder;
// The outer size the resize lock gives the window.
extern int32_t LockedWidth;
extern int32_t LockedHeight;
// What the start-up probe learned from the clock's text.
extern std::string ProbeText;
extern std::string ClockSeparator;
extern uint8_t SuffixMode;

constexpr int kLockedLeft = 255;
constexpr int kLockedTop = 140;
// The window as the layout was drawn: where it is made, and its outer size at 96 pixels per inch.
constexpr TBounds kLayoutBounds{234, 111, 243, 185};

void UseWideLayout();
void UseNarrowLayout();

// The size in points at which the clock's font is capped, and the window is wide.
constexpr int kClockFontCap = 24;

// The armed alarm's time, as Done last read it; zero until then.
extern DateTime AlarmMoment;

// The panel's hour, minute and day half as a text the parser reads, shaped like the clock's text.
std::string ComposeAlarmText(const std::string& hour, const std::string& minute, const std::string& dayHalf);
// At the end of a playback: again while Kill Alarm is showing, else the device is closed. A
// playback that failed, was cut short or played nothing closes it too, and if Kill Alarm is
// showing the built-in chime rings instead.
void ReplayOrClose();
