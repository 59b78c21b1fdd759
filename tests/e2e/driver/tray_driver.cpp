// The clock's tray icon as the desktop's taskbar shows it.
#include "tray_driver.h"

#include <commctrl.h>

// Wine's taskbar gives each icon a tooltip window of its own, owned by the
// taskbar, whose one tool has the icon's place and tip. The window stays when
// the icon goes; its tool's place is then empty.
std::vector<TrayIcon> TrayIcons()
{
    std::vector<TrayIcon> icons;
    HWND taskbar = FindWindowA("Shell_TrayWnd", NULL);
    DWORD shellId = 0;
    GetWindowThreadProcessId(taskbar, &shellId);
    HANDLE shell = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, shellId);
    if (!taskbar || !shell) return icons;
    // The tool record and its text must live in the taskbar's process.
    size_t const textSize = 1024;
    char* remote =
        static_cast<char*>(VirtualAllocEx(shell, NULL, sizeof(TTTOOLINFOA) + textSize, MEM_COMMIT, PAGE_READWRITE));
    for (HWND tooltip = FindWindowExA(NULL, NULL, TOOLTIPS_CLASSA, NULL); remote && tooltip;
         tooltip = FindWindowExA(NULL, tooltip, TOOLTIPS_CLASSA, NULL)) {
        if (GetWindow(tooltip, GW_OWNER) != taskbar) continue;
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.lpszText = remote + sizeof tool;
        char text[textSize] = "";
        if (!WriteProcessMemory(shell, remote, &tool, sizeof tool, NULL) ||
            !WriteProcessMemory(shell, tool.lpszText, text, sizeof text, NULL) ||
            !SendMessageA(tooltip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(remote)) ||
            !ReadProcessMemory(shell, remote, &tool, sizeof tool, NULL) ||
            !ReadProcessMemory(shell, remote + sizeof tool, text, sizeof text - 1, NULL) || IsRectEmpty(&tool.rect))
            continue;
        TrayIcon icon = {tooltip, text, tool.rect};
        MapWindowPoints(tool.hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&icon.place), 2);
        icons.push_back(icon);
    }
    if (remote) VirtualFreeEx(shell, remote, 0, MEM_RELEASE);
    CloseHandle(shell);
    return icons;
}

bool HasIcon(const std::vector<TrayIcon>& icons, const TrayIcon& icon)
{
    for (const TrayIcon& i : icons)
        if (i.tooltip == icon.tooltip) return true;
    return false;
}

int ClockIconCount()
{
    int count = 0;
    for (const TrayIcon& icon : TrayIcons()) count += icon.tip == "Vexo - Tarnwick";
    return count;
}

std::vector<TrayIcon> NewIcons(const std::vector<TrayIcon>& before, const std::vector<TrayIcon>& now)
{
    std::vector<TrayIcon> added;
    for (const TrayIcon& icon : now)
        if (!HasIcon(before, icon)) added.push_back(icon);
    return added;
}

ClockProcess StartClockInTray(TrayIcon& icon, const std::vector<std::string>& environment, Sound sound,
                              const std::string& program)
{
    std::vector<TrayIcon> before = TrayIcons(), added;
    ClockProcess clock = StartClock(environment, program, sound);
    icon = TrayIcon();
    // The icon is added before the form is first shown.
    if (clock.form && WaitFor([&] { return !(added = NewIcons(before, TrayIcons())).empty(); }, 3000) &&
        added.size() == 1)
        icon = added[0];
    return clock;
}

bool FindIcon(TrayIcon& icon)
{
    for (const TrayIcon& now : TrayIcons()) {
        if (now.tooltip == icon.tooltip) {
            icon = now;
            return true;
        }
    }
    return false;
}

POINT CentreOf(TrayIcon& icon)
{
    FindIcon(icon);
    return {(icon.place.left + icon.place.right) / 2, (icon.place.top + icon.place.bottom) / 2};
}

void DoubleClickIcon(TrayIcon& icon)
{
    DoubleClickAt(CentreOf(icon));
}

HWND OpenTrayMenu(DWORD processId, TrayIcon& icon)
{
    POINT at = CentreOf(icon);
    PressButtonAt(at, Button::Right);
    HWND menu = WaitForVisibleWindow(processId, "#32768", 5000);
    ReleaseButtonAt(at, Button::Right);
    return menu;
}

bool ChooseFromTrayMenu(DWORD processId, TrayIcon& icon, char mnemonic)
{
    HWND menu = OpenTrayMenu(processId, icon);
    if (!menu) return false;
    PressKey(static_cast<WORD>(mnemonic));
    return WaitFor([&] { return Gone(menu); }, 5000);
}
