// The one shutdown routine, shared by the close box, Alt+F4 and the tray's Exit.
#include "tray/tray.h"

#include "alarm/sound.h"
#include "alarm/wake.h"
#include "app/control_ids.h"
#include "app/globals.h"
#include "resources/resource_ids.h"

void ExitApplication()
{
    KillTimer(MainForm, ClockTimerId);
    // Playing the silence once replaces a looping alarm.
    PlayWaveResource(ResourceSilenceWave, 0);
    ReleaseStayAwake();
    // WM_DESTROY posts the quit message while this runs.
    DestroyWindow(MainForm);
    // The window is gone now, so this one removes the class.
    UnregisterClassA(ClassName, AppInstance);
    // The record still names the destroyed form, which is how the shell finds the icon.
    Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
}
