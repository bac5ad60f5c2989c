// The sound player element over the Media Control Interface.
#include "sound/soundplayer.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "app/failure.h"
#include "widgets/longpath.h"
#include "widgets/systemlibrary.h"

namespace {

// The timer on the player's window that waits for the report of a play.
constexpr UINT_PTR kReportTimer = 1;
// How late a report may come after the sound's end, on a busy machine.
constexpr DWORD_PTR kReportMarginMs = 2000;
// The longest wait before the device is asked whether it still plays.
constexpr DWORD_PTR kLongestWaitMs = 10000;

} // namespace

TSoundPlayer::TSoundPlayer(TWindowedElement* parent, const TBounds& bounds) : TWindowedElement(parent)
{
    bounds_ = bounds;
    visible_ = false; // never shown: the clock drives it, the user does not
}

void TSoundPlayer::CreateHandle()
{
    const POINT origin = parent_->ScrollOrigin();
    CreateOwn(RegisterOwnClass("HoraletMediaPlayer", nullptr, GetSysColorBrush(COLOR_BTNFACE)), "",
              WS_CHILD | WS_CLIPSIBLINGS, 0, parent_->Handle(), nullptr,
              {origin.x + bounds_.Left, origin.y + bounds_.Top, bounds_.Width, bounds_.Height});
}

TSoundPlayer::~TSoundPlayer()
{
    Close();
}

uint32_t TSoundPlayer::Send(UINT command, DWORD_PTR flags, void* parameters)
{
    error_ = SystemLibrary::mciSendCommandA(deviceId_, command, flags, reinterpret_cast<DWORD_PTR>(parameters));
    return error_;
}

void TSoundPlayer::Open()
{
    if (opened_) Close();
    ++generation_;
    MCI_OPEN_PARMSA open{};
    // The notifications go to the player's window, made for the first open.
    open.dwCallback = reinterpret_cast<DWORD_PTR>(HandleNeeded());
    // MCI takes no name of 260 characters or more: a file that deep goes by its short name.
    const std::string element = ShortEnoughPath(fileName_);
    open.lpstrElementName = element.c_str();
    // Device 0: MCI picks the device by the file's extension.
    error_ = SystemLibrary::mciSendCommandA(0, MCI_OPEN, MCI_WAIT | (fileName_.empty() ? 0 : MCI_OPEN_ELEMENT),
                                            reinterpret_cast<DWORD_PTR>(&open));
    if (error_) throw Failure("DeviceError", ErrorText(error_));
    opened_ = true;
    deviceId_ = static_cast<uint16_t>(open.wDeviceID & 0xFFFF);
    length_ = Status(MCI_STATUS_LENGTH);
    // The wave driver plays on a thread of its own, which still runs the driver's code for a
    // moment after it has posted the end of a playback. A close in that moment, which the end
    // of the last playback and the end of the run both bring, unloads the driver under that
    // thread: seen under Wine, on a busy machine, as a crash at exit. The driver stays loaded
    // for the rest of the run instead.
    HMODULE driver = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, "mciwave.dll", &driver);
}

void TSoundPlayer::Play()
{
    if (!opened_) throw Failure("DeviceError", "No MCI device open");
    // A plain play at the end of the sound plays nothing and reports nothing: rewind first.
    if (Status(MCI_STATUS_POSITION) == Status(MCI_STATUS_LENGTH)) Rewind();
    playedFrom_ = Status(MCI_STATUS_POSITION);
    MCI_PLAY_PARMS play{};
    play.dwCallback = Callback();
    ++generation_;
    // Refused, the play reports nothing.
    if (Send(MCI_PLAY, MCI_NOTIFY, &play) != 0) return;
    // A play still under way reports too, as superseded, before this one does.
    if (awaited_) ++staleNotices_;
    awaited_ = generation_;
    playedTo_ = playedFrom_;
    const DWORD_PTR rest = length_ > playedFrom_ ? length_ - playedFrom_ : 0;
    SetTimer(handle_, kReportTimer, static_cast<UINT>(std::min(rest, kLongestWaitMs) + kReportMarginMs), nullptr);
}

void TSoundPlayer::Ended()
{
    awaited_ = 0;
    answered_ = true;
    KillTimer(handle_, kReportTimer);
    playedTo_ = Status(MCI_STATUS_POSITION);
}

void TSoundPlayer::Overdue()
{
    if (!awaited_) {
        KillTimer(handle_, kReportTimer);
        return;
    }
    // Still playing, and further on than at the last look: a slow device, not a silent one.
    const DWORD_PTR position = Status(MCI_STATUS_POSITION);
    if (Status(MCI_STATUS_MODE) == MCI_MODE_PLAY && position != playedTo_) {
        playedTo_ = position;
        return;
    }
    notifyValue_ = TNotifyValue::Successful;
    notifyDeviceId_ = deviceId_;
    Ended();
    if (OnNotify) OnNotify(this);
}

void TSoundPlayer::Rewind()
{
    if (deviceId_ == 0) return;
    MCI_SEEK_PARMS seek{};
    // Its result is not kept: a failed rewind shows as a playback that does not move.
    SystemLibrary::mciSendCommandA(deviceId_, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT,
                                   reinterpret_cast<DWORD_PTR>(&seek));
}

DWORD_PTR TSoundPlayer::Status(DWORD item)
{
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    Send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status);
    return status.dwReturn;
}

void TSoundPlayer::Close()
{
    if (deviceId_ == 0) return;
    MCI_GENERIC_PARMS close{};
    close.dwCallback = Callback();
    if (Send(MCI_CLOSE, MCI_WAIT, &close) != 0) return;
    opened_ = false;
    deviceId_ = 0;
    // The play cut short still reports, as aborted, under an id the next open may be given.
    if (awaited_) ++staleNotices_;
    awaited_ = 0;
    KillTimer(handle_, kReportTimer);
}

std::string TSoundPlayer::ErrorText(uint32_t error)
{
    std::vector<char> text(4096, '\0');
    if (!SystemLibrary::mciGetErrorStringA(error, text.data(), static_cast<UINT>(text.size())))
        return "Unknown error code";
    return text.data();
}

LRESULT TSoundPlayer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kReportTimer) {
        Overdue();
        return 0;
    }
    if (message != MM_MCINOTIFY) return TWindowedElement::WindowProc(message, wParam, lParam);
    switch (wParam) {
    case MCI_NOTIFY_SUCCESSFUL: notifyValue_ = TNotifyValue::Successful; break;
    case MCI_NOTIFY_SUPERSEDED: notifyValue_ = TNotifyValue::Superseded; break;
    case MCI_NOTIFY_ABORTED: notifyValue_ = TNotifyValue::Aborted; break;
    case MCI_NOTIFY_FAILURE: notifyValue_ = TNotifyValue::Failure; break;
    }
    notifyDeviceId_ = static_cast<uint16_t>(lParam & 0xFFFF);
    answered_ = false;
    // The reports come in the order of the plays: those owed by plays cut short come first.
    if (staleNotices_ > 0) {
        --staleNotices_;
    } else if (awaited_ && deviceId_ != 0 && notifyDeviceId_ == deviceId_ &&
               !(Status(MCI_STATUS_MODE) == MCI_MODE_PLAY && Status(MCI_STATUS_POSITION) < length_)) {
        // Where the playback stopped, asked before the handler can start another one.
        Ended();
    }
    if (OnNotify) OnNotify(this);
    return 0;
}
