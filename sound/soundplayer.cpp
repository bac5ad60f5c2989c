// The sound player element over the Media Control Interface.
#include "sound/soundplayer.h"

#include <mmsystem.h>

#include <vector>

#include "app/failure.h"
#include "widgets/longpath.h"
#include "widgets/systemlibrary.h"

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
    Send(MCI_PLAY, MCI_NOTIFY, &play);
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
    if (message != MM_MCINOTIFY) return TWindowedElement::WindowProc(message, wParam, lParam);
    switch (wParam) {
    case MCI_NOTIFY_SUCCESSFUL: notifyValue_ = TNotifyValue::Successful; break;
    case MCI_NOTIFY_SUPERSEDED: notifyValue_ = TNotifyValue::Superseded; break;
    case MCI_NOTIFY_ABORTED: notifyValue_ = TNotifyValue::Aborted; break;
    case MCI_NOTIFY_FAILURE: notifyValue_ = TNotifyValue::Failure; break;
    }
    notifyDeviceId_ = static_cast<uint16_t>(lParam & 0xFFFF);
    // Where the playback stopped, asked before the handler can start another one.
    if (deviceId_ != 0 && notifyDeviceId_ == deviceId_) playedTo_ = Status(MCI_STATUS_POSITION);
    if (OnNotify) OnNotify(this);
    return 0;
}
