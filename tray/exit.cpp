// The one shutdown routine, shared by the close box, Alt+F4 and the tray's Exit.
#include "tray/tray.h"

#include "alarm/sound.h"
#include "alarm/volume.h"
#include "alarm/wake.h"
#include "app/control_ids.h"
#include "app/globals.h"
#include "resources/resource_ids.h"
#include "support/annotation.h"

#include <mmsystem.h>

namespace {

// No more ticks, no sound, and what the ring and the alarm borrowed from the system given
// back: the output's mute and level, the stay-awake request and the tray icon.
void StopAndGiveBack()
{
    KillTimer(MainForm, ClockTimerId);
    // Playing the silence once replaces a looping alarm. Then whatever still plays is
    // stopped, and waited for: a process that ends while the platform's player is busy
    // with a sound can fault on its way out (under Wine, in the sound server's client).
    PlayWaveResource(ResourceSilenceWave, 0);
    sndPlaySoundA(NULL, 0);
    RestoreOutputAfterRing();
    ReleaseStayAwake();
    Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
}

}  // namespace

void ExitApplication()
{
    StopAndGiveBack();
    ClearAnnotatedName(PictureLabel);
    // WM_DESTROY posts the quit message while this runs.
    DestroyWindow(MainForm);
    // The window is gone now, so this one removes the class.
    UnregisterClassA(ClassName, AppInstance);
}

void OnEndSession()
{
    // The process may be ended at any moment now, without WM_CLOSE or a way out of
    // the loop: everything borrowed goes back first, and nothing else is needed.
    StopAndGiveBack();
}
