// The clock's tray icon as the desktop's taskbar shows it, and real input on it.
#pragma once

#include "clock.h"

#include <windows.h>

#include <string>
#include <vector>

// One icon of the notification area: the tooltip that tells it apart, its tip
// and its place on the screen.
struct TrayIcon {
    HWND tooltip;
    std::string tip;
    RECT place;
};

// Every icon the taskbar shows, read from the tooltip tool it gives each one.
std::vector<TrayIcon> TrayIcons();
// The icons that are in `now` but not in `before`.
std::vector<TrayIcon> NewIcons(const std::vector<TrayIcon>& before, const std::vector<TrayIcon>& now);
bool HasIcon(const std::vector<TrayIcon>& icons, const TrayIcon& icon);
// The icons tipped with the clock's title, of any copy.
int ClockIconCount();
// Starts a clock (vexo.exe beside the driver, or the program given) and waits
// for the icon it adds to the tray; icon.tooltip stays NULL unless exactly one
// icon came.
ClockProcess StartClockInTray(TrayIcon& icon, const std::vector<std::string>& environment, Sound sound = Sound::Off,
                              const std::string& program = "");

// Brings the icon's place up to date; false once the icon is gone.
bool FindIcon(TrayIcon& icon);
POINT CentreOf(TrayIcon& icon);

void DoubleClickIcon(TrayIcon& icon);
// Presses the right button on the icon, waits for the clock's menu while the
// button is down, then releases it; the menu's window, or NULL.
HWND OpenTrayMenu(DWORD processId, TrayIcon& icon);
// Opens the menu and presses an item's mnemonic; true once the menu is closed.
bool ChooseFromTrayMenu(DWORD processId, TrayIcon& icon, char mnemonic);
