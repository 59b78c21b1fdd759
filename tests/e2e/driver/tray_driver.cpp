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

namespace {

// When the last button went down, so that separate presses are never taken
// for a double click.
DWORD LastPressTick;

}  // namespace

// The pointer is moved first and the buttons follow once it is there: a
// press that comes with the pointer's first move onto a window can be lost
// under Wine.
void MouseAt(POINT at, const std::vector<DWORD>& buttons)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(buttons.size() + 1);
    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = (at.x * 65536 + width / 2) / width;
        inputs[i].mi.dy = (at.y * 65536 + height / 2) / height;
        // Each button carries the place too, should the pointer have been put back.
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | (i == 0 ? 0 : buttons[i - 1]);
    }
    auto there = [&] {
        POINT now;
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    };
    // The window the pointer leaves may still hold a motion event from when
    // it came; handled late, that event puts the pointer back. A message it
    // must answer makes it handle its events first.
    POINT from;
    GetCursorPos(&from);
    HWND left = WindowFromPoint(from);
    for (int attempt = 0; attempt < 5; ++attempt) {
        SendInput(1, inputs.data(), sizeof(INPUT));
        WaitFor(there, 2000);
        DWORD_PTR answer;
        if (left) SendMessageTimeoutA(left, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
        if (there()) break;
    }
    if (buttons.empty()) return;
    DWORD const downs = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_MIDDLEDOWN;
    bool presses = false;
    for (DWORD button : buttons) presses = presses || (button & downs) != 0;
    DWORD const apart = GetDoubleClickTime() + 100;
    if (presses) WaitFor([&] { return GetTickCount() - LastPressTick > apart; }, apart);
    SendInput(static_cast<UINT>(buttons.size()), inputs.data() + 1, sizeof(INPUT));
    if (presses) LastPressTick = GetTickCount();
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
    MouseAt(CentreOf(icon), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

HWND VisibleWindowOf(DWORD processId, const char* className)
{
    HWND window = FindProcessWindow(processId, className);
    return window && IsWindowVisible(window) ? window : NULL;
}

HWND WaitForVisibleWindow(DWORD processId, const char* className, DWORD timeoutMs)
{
    HWND window = NULL;
    WaitFor([&] { return (window = VisibleWindowOf(processId, className)) != NULL; }, timeoutMs);
    return window;
}

HWND OpenTrayMenu(DWORD processId, TrayIcon& icon)
{
    POINT at = CentreOf(icon);
    MouseAt(at, {MOUSEEVENTF_RIGHTDOWN});
    HWND menu = WaitForVisibleWindow(processId, "#32768", 5000);
    MouseAt(at, {MOUSEEVENTF_RIGHTUP});
    return menu;
}

bool ChooseFromTrayMenu(DWORD processId, TrayIcon& icon, char mnemonic)
{
    HWND menu = OpenTrayMenu(processId, icon);
    if (!menu) return false;
    PressKey(static_cast<WORD>(mnemonic));
    return WaitFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5000);
}

POINT CentreOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT CloseBoxOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    int border = GetSystemMetrics(SM_CXFIXEDFRAME);
    return {r.right - border - GetSystemMetrics(SM_CXSIZE) / 2 - 1,
            r.top + border + GetSystemMetrics(SM_CYCAPTION) / 2};
}
