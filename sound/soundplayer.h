// The sound player element: one MCI device opened on a file, played with a notification at
// its end and closed again. Its hidden window is where MCI posts those notifications.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "widgets/element.h"

class TSoundPlayer : public TWindowedElement {
public:
    // The codes MCI reports the end of a notifying command with.
    enum class TNotifyValue { Successful, Superseded, Aborted, Failure };

    TSoundPlayer(TWindowedElement* parent, const TBounds& bounds);
    // Closes a device that is still held, which stops its sound.
    ~TSoundPlayer() override;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }

    // Opens the device on FileName, closing a held one first; fails with the device's error text.
    void Open();
    // Starts a playback that notifies at its end, from the start when the last one ran to the end.
    // Fails with "No MCI device open" when nothing is open; a refused play is only recorded.
    void Play();
    // Closes the held device, if any; a refused close changes nothing.
    void Close();
    // Back to the start of the sound, waiting for it; nothing when no device is held.
    void Rewind();
    // Whether the position the device gave at the end of the latest playback differs from the
    // one it started at: a playback that did not move played nothing.
    bool Moved() const { return playedTo_ != playedFrom_; }
    // Whether a play is under way whose end the device is still to report.
    bool Awaiting() const { return awaited_ != 0; }
    // Whether the latest notification reported the end of the play awaited. One about a play a
    // close or a later play cut short, or about another device, does not; nor does one that
    // comes while the device still plays short of its end, since its ids are used again. A
    // device that reports nothing within the sound's length and a margin has ended all the same.
    bool Answered() const { return answered_; }

    bool Opened() const { return opened_; }
    uint16_t DeviceId() const { return deviceId_; }
    uint32_t Error() const { return error_; }
    // The code of the latest notification and the device it was about.
    TNotifyValue NotifyValue() const { return notifyValue_; }
    uint16_t NotifyDeviceId() const { return notifyDeviceId_; }

    // Raised once for every notification, whatever its code and device.
    TEventHandler OnNotify;

    // The platform's text for an MCI error code, or "Unknown error code".
    static std::string ErrorText(uint32_t error);

protected:
    void CreateHandle() override;
    // It shows no text.
    void ApplyFont() override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Sends a command to the held device and records its result as the last error.
    uint32_t Send(UINT command, DWORD_PTR flags, void* parameters);
    DWORD_PTR Callback() const { return reinterpret_cast<DWORD_PTR>(handle_); }
    // One status item of the held device, recording the result as the last error.
    DWORD_PTR Status(DWORD item);

    // The play awaited has ended: its position is kept and nothing more is awaited.
    void Ended();
    // The device's report is overdue: it has ended unless it still plays on.
    void Overdue();

    std::string fileName_;
    bool opened_ = false;
    uint16_t deviceId_ = 0;
    uint32_t error_ = 0;
    TNotifyValue notifyValue_ = TNotifyValue::Successful;
    uint16_t notifyDeviceId_ = 0;
    DWORD_PTR playedFrom_ = 0;
    DWORD_PTR playedTo_ = 0;
    DWORD_PTR length_ = 0;
    uint32_t generation_ = 0;   // advanced by every open and every play
    uint32_t awaited_ = 0;      // the play whose end is awaited; 0: none
    uint32_t staleNotices_ = 0; // reports still owed by plays a close or a later play cut short
    bool answered_ = false;
};
