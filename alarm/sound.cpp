// Sound playback straight from the resource memory of the running module.
#include "alarm/sound.h"

#include "app/globals.h"

#include <mmsystem.h>

void PlayWaveResource(unsigned id, int looping)
{
    HRSRC found = NULL;
    HGLOBAL loaded = NULL;
    void* image = NULL;
    WORD number = static_cast<WORD>(id & 0xFFFF);
    UINT flags =
        looping == 1 ? SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP : SND_ASYNC | SND_NODEFAULT | SND_MEMORY;

    found = FindResourceA(AppInstance, MAKEINTRESOURCEA(number), "WAVE");
    if (found != NULL) loaded = LoadResource(AppInstance, found);
    if (loaded != NULL) image = LockResource(loaded);
    if (image == NULL) {
        // The sound that is playing, if any, goes on.
        MessageBoxA(GetActiveWindow(), "Error: 600S1 - wav not found", "", MB_OK);
        return;
    }
    sndPlaySoundA(static_cast<const char*>(image), flags);
    // Resources of our own module stay mapped: the player keeps reading them.
    FreeResource(loaded);
}
