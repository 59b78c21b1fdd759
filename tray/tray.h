// The tray icon, its menu, the About box and the one shutdown routine.
#pragma once

#include <windows.h>

#include <shellapi.h>

// Tray state, written once by SetupTray and kept until the process ends.
extern NOTIFYICONDATAA TrayIconData;  // the icon's record; the shell knows it by form and id 0
extern HMENU TrayMenuBar;  // holds TrayMenu as its one popup; never shown
extern HMENU TrayMenu;  // the menu shown from the icon
extern POINT TrayMenuPoint;  // the cursor when the menu was asked for

// Tray state that changes while the program runs.
extern bool TrayIconAdded;  // whether the shell took the last add; written by AddTrayIcon
extern HWND AboutBox;  // the open About box or NULL; written by AboutDialogProc, ShowAboutBox

// Adds the tray icon and builds its menu; called once the clock shows the time.
void SetupTray();
// Adds the icon with the record as SetupTray filled it, also after the
// taskbar was recreated.
void AddTrayIcon();
// Adds the icon again while the last add failed; called every clock tick.
void AddMissingTrayIcon();
// Mouse events on the icon; mouseMessage is the callback's lParam.
void OnTrayCallback(HWND window, LPARAM mouseMessage);
void OpenUpdatePage();
// The modal About box, only while the form is not minimised; one at a time.
void ShowAboutBox();
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Stops the clock and the sound, destroys the form and ends the program.
void ExitApplication();
// Windows signs out, restarts or shuts down: stops the clock and the sound and gives
// back the output and the tray icon, as the exit does, leaving the form to the system.
void OnEndSession();
