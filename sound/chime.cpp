// The built-in chime, played from the exe's own resources.
#include "sound/chime.h"

#include <windows.h>

#include <mmsystem.h>

#include "widgets/systemlibrary.h"

void TChime::Sound()
{
    SystemLibrary::PlaySoundA("CHIME", GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
    FSounding = true;
}

void TChime::Stop()
{
    if (!FSounding) return;
    SystemLibrary::PlaySoundA(nullptr, nullptr, 0);
    FSounding = false;
}
