// The built-in chime, played from the exe's own resources.
#include "sound/chime.h"

#include <windows.h>

#include <mmsystem.h>

#include "widgets/systemlibrary.h"

void TChime::Sound()
{
    SystemLibrary::PlaySoundA("CHIME", GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
    sounding_ = true;
}

void TChime::Stop()
{
    if (!sounding_) return;
    SystemLibrary::PlaySoundA(nullptr, nullptr, 0);
    sounding_ = false;
}
