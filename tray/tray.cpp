// The tray icon and its menu: double clicks minimise and restore the form,
// the right button opens the menu, whose commands the window procedure runs.
#include "tray/tray.h"

#include "app/control_ids.h"
#include "app/globals.h"
#include "resources/resource_ids.h"
#include "support/dpi.h"

#include <cstring>

// The oldest record layout, which every shell accepts: 88 bytes on x86; on x64 the
// handles and the padding after them make it 104.
#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 104, "the x64 tray record is 104 bytes");
#else
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the x86 tray record is 88 bytes");
#endif

NOTIFYICONDATAA TrayIconData;
HMENU TrayMenuBar;
HMENU TrayMenu;
POINT TrayMenuPoint;
bool TrayIconAdded;

namespace {

// The project has no web site yet; example.com is reserved for examples.
const char UpdatePageAddress[] = "http://www.example.com/morvane.htm";

}  // namespace

void SetupTray()
{
    TrayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayIconData.hWnd = MainForm;
    TrayIconData.hIcon = LoadTrayIcon(ResourceAppIcon);
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIconData.uCallbackMessage = TrayCallbackMessage;
    strcpy(TrayIconData.szTip, "Vexo - Tarnwick");
    AddTrayIcon();

    TrayMenuBar = CreateMenu();
    TrayMenu = CreateMenu();
    AppendMenuA(TrayMenu, MF_STRING, TrayShowId, "&Show");
    AppendMenuA(TrayMenu, MF_SEPARATOR, 0, "");
    AppendMenuA(TrayMenu, MF_STRING, TrayHideId, "&Hide");
    AppendMenuA(TrayMenu, MF_SEPARATOR, 0, "");
    AppendMenuA(TrayMenu, MF_STRING, TrayUpdatesId, "&Check for Updates");
    AppendMenuA(TrayMenu, MF_SEPARATOR, 0, "");
    AppendMenuA(TrayMenu, MF_STRING, TrayAboutId, "&About");
    AppendMenuA(TrayMenu, MF_SEPARATOR, 0, "");
    AppendMenuA(TrayMenu, MF_STRING, TrayExitId, "E&xit");
    InsertMenuA(TrayMenuBar, 0, MF_BYCOMMAND | MF_POPUP, reinterpret_cast<UINT_PTR>(TrayMenu), "invisible menu");
}

void AddTrayIcon()
{
    TrayIconAdded = Shell_NotifyIconA(NIM_ADD, &TrayIconData) != FALSE;
}

void AddMissingTrayIcon()
{
    // A shell busy at logon can fail the add without ever announcing a new
    // taskbar; without the icon, a hidden form could not be brought back.
    if (!TrayIconAdded) AddTrayIcon();
}

void OnTrayCallback(HWND window, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDBLCLK || mouseMessage == WM_RBUTTONDBLCLK) {
        if (IsIconic(MainForm)) {
            ShowWindow(MainForm, SW_SHOW);
            ShowWindow(MainForm, SW_SHOWDEFAULT);
            SetFocus(MainForm);
        } else {
            // The minimised form then hides itself (WM_SIZE).
            ShowWindow(MainForm, SW_MINIMIZE);
        }
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        GetCursorPos(&TrayMenuPoint);
        // Without the foreground, the menu would stay open when the user clicks elsewhere.
        SetForegroundWindow(window);
        TrackPopupMenuEx(TrayMenu, TPM_RIGHTBUTTON, TrayMenuPoint.x, TrayMenuPoint.y, window, NULL);
        // Lets the menu, when opened again, close on a click elsewhere as well.
        PostMessageA(window, WM_NULL, 0, 0);
    }
}

void OpenUpdatePage()
{
    ShellExecuteA(NULL, NULL, UpdatePageAddress, NULL, NULL, SW_HIDE);
}
