// Program entry: process-wide values, the window class and the message loop.
#include "alarm/volume.h"
#include "app/globals.h"
#include "app/main_form.h"
#include "app/one_clock.h"
#include "app/window_proc.h"
#include "resources/resource_ids.h"
#include "support/dpi.h"

#include <commctrl.h>
#include <cstring>

HINSTANCE AppInstance;
char ClassName[TextVariableSize];
int LayoutDpi;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    strcpy(ClassName, "TOLVAPROG");
    // Before anything is made: a later start only brings the running clock back.
    if (!ClaimOneClock()) {
        BringBackRunningClock();
        return 0;
    }
    LayoutDpi = SystemDpi();
    AppInstance = instance;
    // For the output's volume while the alarm rings.
    OpenAudioDevices();

    WNDCLASSA windowClass;
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ResourceAppIcon));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);

    INITCOMMONCONTROLSEX commonControls;
    commonControls.dwSize = 8;
    commonControls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                           ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES;
    InitCommonControlsEx(&commonControls);

    BuildMainForm();

    // GetMessageA returns -1 on error; looping on it would spin at full CPU.
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        // Asked anew per message: the dialog keyboard rules apply to whichever
        // of our windows is active, and to none while another program is.
        // Closing the tray menu can leave the hidden form active; keys must not
        // reach commands that nobody can see.
        HWND active = GetActiveWindow();
        if (IsWindow(active) && IsWindowVisible(active) && IsDialogMessageA(active, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
