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

    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& fileName) { FFileName = fileName; }

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
    bool Moved() const { return FPlayedTo != FPlayedFrom; }
    // Whether a play is under way whose end the device is still to report.
    bool Awaiting() const { return FAwaited != 0; }
    // Whether the latest notification reported the end of the play awaited. One about a play a
    // close or a later play cut short, or about another device, does not; nor does one that
    // comes while the device still plays short of its end, since its ids are used again. A
    // device that reports nothing within the sound's length and a margin has ended all the same.
    bool Answered() const { return FAnswered; }

    uint16_t DeviceId() const { return FDeviceId; }
    // The code of the latest notification.
    TNotifyValue NotifyValue() const { return FNotifyValue; }

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
    DWORD_PTR Callback() const { return reinterpret_cast<DWORD_PTR>(FHandle); }
    // One status item of the held device, recording the result as the last error.
    DWORD_PTR Status(DWORD item);

    // The play awaited has ended: its position is kept and nothing more is awaited.
    void Ended();
    // The device's report is overdue: it has ended unless it still plays on.
    void Overdue();

    std::string FFileName;
    bool FOpened = false;
    uint16_t FDeviceId = 0;
    uint32_t FError = 0;
    TNotifyValue FNotifyValue = TNotifyValue::Successful;
    uint16_t FNotifyDeviceId = 0;
    DWORD_PTR FPlayedFrom = 0;
    DWORD_PTR FPlayedTo = 0;
    DWORD_PTR FLength = 0;
    uint32_t FGeneration = 0;   // advanced by every open and every play
    uint32_t FAwaited = 0;      // the play whose end is awaited; 0: none
    uint32_t FStaleNotices = 0; // reports still owed by plays a close or a later play cut short
    bool FAnswered = false;
};
