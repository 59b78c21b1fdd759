// Real input through SendInput.
#include "input.h"

#include "clock.h"

#include <cstring>

namespace {

// When the last button went down, so that separate presses are never taken
// for a double click.
DWORD LastPressTick;
// Calendar milliseconds just before the last buttons were sent.
long long LastButtonsMs;

DWORD PressOf(Button button)
{
    return button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
}

DWORD ReleaseOf(Button button)
{
    return button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
}

INPUT KeyInput(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// The pointer is moved first and the buttons follow once it is there: a
// press that comes with the pointer's first move onto a window can be lost
// under Wine.
void MouseAt(POINT at, const std::vector<DWORD>& buttons)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(buttons.size() + 1);
    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_MOUSE;
        // Rounded up: Wine takes the pixel as (d * size) >> 16, which lands a
        // rounded-down d one pixel short, and the pointer would never be there.
        inputs[i].mi.dx = (at.x * 65536 + width - 1) / width;
        inputs[i].mi.dy = (at.y * 65536 + height - 1) / height;
        // Each button carries the place too: under Wine a late pointer motion
        // from X can put the pointer back where the previous click was.
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
    LastButtonsMs = NowMs();
    SendInput(static_cast<UINT>(buttons.size()), inputs.data() + 1, sizeof(INPUT));
    if (presses) LastPressTick = GetTickCount();
}

}  // namespace

long long LastButtonsSentMs()
{
    return LastButtonsMs;
}

void MoveMouseTo(POINT at)
{
    MouseAt(at, {});
}

void ClickAt(POINT at, Button button)
{
    MouseAt(at, {PressOf(button), ReleaseOf(button)});
}

void PressButtonAt(POINT at, Button button)
{
    MouseAt(at, {PressOf(button)});
}

void ReleaseButtonAt(POINT at, Button button)
{
    MouseAt(at, {ReleaseOf(button)});
}

void DoubleClickAt(POINT at)
{
    MouseAt(at, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
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

void ClickControl(HWND control, Button button)
{
    ClickAt(CentreOf(control), button);
}

void PressKey(WORD virtualKey, bool shift, bool alt)
{
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) { inputs.push_back(KeyInput(vk, up)); };
    if (shift) key(VK_SHIFT, false);
    if (alt) key(VK_MENU, false);
    key(virtualKey, false);
    key(virtualKey, true);
    if (alt) key(VK_MENU, true);
    if (shift) key(VK_SHIFT, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeDigits(const std::string& digits)
{
    for (char digit : digits) PressKey(static_cast<WORD>(digit));
}

void PutOnClipboard(const std::string& text)
{
    // The clipboard is one for the desktop; another program may hold it a moment.
    WaitFor([] { return OpenClipboard(NULL) != FALSE; }, 2000);
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

void PressControlV()
{
    INPUT inputs[] = {KeyInput(VK_CONTROL, false), KeyInput('V', false), KeyInput('V', true),
                      KeyInput(VK_CONTROL, true)};
    SendInput(4, inputs, sizeof(INPUT));
}
