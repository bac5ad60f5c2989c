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
    FBounds = bounds;
    FVisible = false; // never shown: the clock drives it, the user does not
}

void TSoundPlayer::CreateHandle()
{
    CreateOwn(RegisterOwnClass("HoraletMediaPlayer", nullptr, GetSysColorBrush(COLOR_BTNFACE)), "",
              WS_CHILD | WS_CLIPSIBLINGS, 0, FParent->Handle(), nullptr, PlacedBounds());
}

TSoundPlayer::~TSoundPlayer()
{
    Close();
}

uint32_t TSoundPlayer::Send(UINT command, DWORD_PTR flags, void* parameters)
{
    FError = SystemLibrary::mciSendCommandA(FDeviceId, command, flags, reinterpret_cast<DWORD_PTR>(parameters));
    return FError;
}

void TSoundPlayer::Open()
{
    if (FOpened) Close();
    ++FGeneration;
    MCI_OPEN_PARMSA open{};
    // The notifications go to the player's window, made for the first open.
    open.dwCallback = reinterpret_cast<DWORD_PTR>(HandleNeeded());
    // MCI takes no name of 260 characters or more: a file that deep goes by its short name.
    const std::string element = ShortEnoughPath(FFileName);
    open.lpstrElementName = element.c_str();
    // Device 0: MCI picks the device by the file's extension.
    FError = SystemLibrary::mciSendCommandA(0, MCI_OPEN, MCI_WAIT | (FFileName.empty() ? 0 : MCI_OPEN_ELEMENT),
                                            reinterpret_cast<DWORD_PTR>(&open));
    if (FError) throw TFailure("DeviceError", ErrorText(FError));
    FOpened = true;
    FDeviceId = static_cast<uint16_t>(open.wDeviceID & 0xFFFF);
    FLength = Status(MCI_STATUS_LENGTH);
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
    if (!FOpened) throw TFailure("DeviceError", "No MCI device open");
    // A plain play at the end of the sound plays nothing and reports nothing: rewind first.
    if (Status(MCI_STATUS_POSITION) == Status(MCI_STATUS_LENGTH)) Rewind();
    FPlayedFrom = Status(MCI_STATUS_POSITION);
    MCI_PLAY_PARMS play{};
    play.dwCallback = Callback();
    ++FGeneration;
    // Refused, the play reports nothing.
    if (Send(MCI_PLAY, MCI_NOTIFY, &play) != 0) return;
    // A play still under way reports too, as superseded, before this one does.
    if (FAwaited) ++FStaleNotices;
    FAwaited = FGeneration;
    FPlayedTo = FPlayedFrom;
    const DWORD_PTR rest = FLength > FPlayedFrom ? FLength - FPlayedFrom : 0;
    SetTimer(FHandle, kReportTimer, static_cast<UINT>(std::min(rest, kLongestWaitMs) + kReportMarginMs), nullptr);
}

void TSoundPlayer::Ended()
{
    FAwaited = 0;
    FAnswered = true;
    KillTimer(FHandle, kReportTimer);
    FPlayedTo = Status(MCI_STATUS_POSITION);
}

void TSoundPlayer::Overdue()
{
    if (!FAwaited) {
        KillTimer(FHandle, kReportTimer);
        return;
    }
    // Still playing, and further on than at the last look: a slow device, not a silent one.
    const DWORD_PTR position = Status(MCI_STATUS_POSITION);
    if (Status(MCI_STATUS_MODE) == MCI_MODE_PLAY && position != FPlayedTo) {
        FPlayedTo = position;
        return;
    }
    FNotifyValue = TNotifyValue::Successful;
    FNotifyDeviceId = FDeviceId;
    Ended();
    if (OnNotify) OnNotify(this);
}

void TSoundPlayer::Rewind()
{
    if (FDeviceId == 0) return;
    MCI_SEEK_PARMS seek{};
    // Its result is not kept: a failed rewind shows as a playback that does not move.
    SystemLibrary::mciSendCommandA(FDeviceId, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT,
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
    if (FDeviceId == 0) return;
    MCI_GENERIC_PARMS close{};
    close.dwCallback = Callback();
    if (Send(MCI_CLOSE, MCI_WAIT, &close) != 0) return;
    FOpened = false;
    FDeviceId = 0;
    // The play cut short still reports, as aborted, under an id the next open may be given.
    if (FAwaited) ++FStaleNotices;
    FAwaited = 0;
    KillTimer(FHandle, kReportTimer);
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
    case MCI_NOTIFY_SUCCESSFUL: FNotifyValue = TNotifyValue::Successful; break;
    case MCI_NOTIFY_SUPERSEDED: FNotifyValue = TNotifyValue::Superseded; break;
    case MCI_NOTIFY_ABORTED: FNotifyValue = TNotifyValue::Aborted; break;
    case MCI_NOTIFY_FAILURE: FNotifyValue = TNotifyValue::Failure; break;
    }
    FNotifyDeviceId = static_cast<uint16_t>(lParam & 0xFFFF);
    FAnswered = false;
    // The reports come in the order of the plays: those owed by plays cut short come first.
    if (FStaleNotices > 0) {
        --FStaleNotices;
    } else if (FAwaited && FDeviceId != 0 && FNotifyDeviceId == FDeviceId &&
               !(Status(MCI_STATUS_MODE) == MCI_MODE_PLAY && Status(MCI_STATUS_POSITION) < FLength)) {
        // Where the playback stopped, asked before the handler can start another one.
        Ended();
    }
    if (OnNotify) OnNotify(this);
    return 0;
}
