// Driving the clock as a person would.
#include "clock.h"

#include <cstdio>
#include <cstring>
#include <vector>

std::string DriverFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (slash) *slash = 0;
    return path;
}

std::string ClockProgramPath()
{
    return DriverFolder() + "\\vexo.exe";
}

std::vector<char> EnvironmentBlock(const std::vector<std::string>& extra)
{
    std::vector<char> block;
    char* strings = GetEnvironmentStringsA();
    for (char* entry = strings; *entry; entry += strlen(entry) + 1) {
        bool replaced = false;
        for (const std::string& e : extra) {
            std::string name = e.substr(0, e.find('=') + 1);
            if (_strnicmp(entry, name.c_str(), name.size()) == 0) replaced = true;
        }
        if (!replaced) block.insert(block.end(), entry, entry + strlen(entry) + 1);
    }
    FreeEnvironmentStringsA(strings);
    for (const std::string& e : extra) block.insert(block.end(), e.c_str(), e.c_str() + e.size() + 1);
    block.push_back(0);
    return block;
}

HWND FindClockForm(DWORD processId)
{
    return FindProcessWindow(processId, "TOLVAPROG");
}

ClockProcess LaunchClock(const std::vector<std::string>& environment, const std::string& program, Sound sound)
{
    ClockProcess clock;
    std::string path = program.empty() ? ClockProgramPath() : program;
    std::string commandLine = "\"" + path + "\"";
    std::vector<std::string> variables = environment;
    if (sound == Sound::Off) {
        char overrides[1024] = "";
        GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
        variables.push_back(std::string("WINEDLLOVERRIDES=") + overrides + (overrides[0] ? ";" : "") +
                            "winepulse.drv=d");
    }
    std::vector<char> block = EnvironmentBlock(variables);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, block.data(), DriverFolder().c_str(),
                        &startup, &clock.process))
        fprintf(stderr, "cannot start %s: error %lu\n", path.c_str(), GetLastError());
    return clock;
}

ClockProcess StartClock(const std::vector<std::string>& environment, const std::string& program, Sound sound)
{
    ClockProcess clock = LaunchClock(environment, program, sound);
    if (!clock.process.hProcess) return clock;
    WaitFor(
        [&] {
            clock.form = FindClockForm(clock.process.dwProcessId);
            return clock.form != NULL && IsWindowVisible(clock.form);
        },
        20000);
    return clock;
}

namespace {

void PrintStopFailure(const std::string& what)
{
    fprintf(stderr, "%s\n", what.c_str());
}

}  // namespace

void (*ReportStopFailure)(const std::string& what) = PrintStopFailure;

bool ExpectExitCodeZero(ClockProcess& clock)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(clock.process.hProcess, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(clock.process.hProcess, &code);
        if (code != 0) ReportStopFailure("the clock ended with exit code " + std::to_string(code));
    } else {
        // Whether the clock's own part of the exit was done.
        bool formLeft = FindClockForm(clock.process.dwProcessId) != NULL;
        TerminateProcess(clock.process.hProcess, 1);
        WaitForSingleObject(clock.process.hProcess, 10000);
        ReportStopFailure(formLeft ? "the clock did not close within 10 s; terminated"
                                   : "the clock's form went but its process did not end within 10 s; terminated");
    }
    clock.Release();
    return code == 0;
}

bool StopClock(ClockProcess& clock)
{
    if (!clock.process.hProcess) return true;
    HWND form = FindClockForm(clock.process.dwProcessId);
    if (form) PostMessageA(form, WM_CLOSE, 0, 0);
    return ExpectExitCodeZero(clock);
}

ClockProcess& ClockProcess::operator=(ClockProcess&& other) noexcept
{
    if (this != &other) {
        StopClock(*this);
        process = other.process;
        form = other.form;
        other.process = PROCESS_INFORMATION();
        other.form = NULL;
    }
    return *this;
}

void ClockProcess::Release()
{
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = PROCESS_INFORMATION();
    form = NULL;
}

ClockProcess::~ClockProcess()
{
    StopClock(*this);
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) children.push_back(child);
    return children;
}

HWND ControlAt(HWND form, size_t creationIndex)
{
    std::vector<HWND> children = ChildWindows(form);
    return creationIndex < children.size() ? children[creationIndex] : NULL;
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[512] = "";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &result);
    return text;
}

RECT ClientRectInParent(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND FocusedWindow(HWND anyWindowOfThread)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfThread, NULL), &info);
    return info.hwndFocus;
}

namespace {

struct ButtonSearch {
    HWND window;
    bool found;
};

// Wine's taskbar makes one button per window, with that window's handle as
// the button's id.
BOOL CALLBACK MatchTaskbarButton(HWND button, LPARAM parameter)
{
    ButtonSearch* search = reinterpret_cast<ButtonSearch*>(parameter);
    if (IsWindowVisible(button) &&
        static_cast<ULONG_PTR>(GetWindowLongPtrA(button, GWLP_ID)) == reinterpret_cast<ULONG_PTR>(search->window))
        search->found = true;
    return TRUE;
}

}  // namespace

bool HasTaskbarButton(HWND window)
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", NULL);
    ButtonSearch search = {window, false};
    if (taskbar) EnumChildWindows(taskbar, MatchTaskbarButton, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void BringToFront(HWND form)
{
    SetForegroundWindow(form);
    WaitFor([&] { return GetForegroundWindow() == form; }, 3000);
}

std::pair<int, int> SelectionOf(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

bool ClickIntoField(HWND form, HWND field)
{
    // A field that has the focus already selects both characters only on the
    // button's release.
    SendMessageA(field, EM_SETSEL, 1, 1);
    ClickControl(field);
    int const both = static_cast<int>(TextOf(field).size() < 2 ? TextOf(field).size() : 2);
    return WaitFor(
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(form, NULL), &info);
            return info.hwndFocus == field && info.hwndCapture == NULL && SelectionOf(field) == std::make_pair(0, both);
        },
        3000);
}

bool TypeAlarmTime(HWND form, const std::string& timeText)
{
    BringToFront(form);
    size_t const fields[] = {HoursFieldIndex, MinutesFieldIndex, SecondsFieldIndex};
    for (int i = 0; i < 3; ++i) {
        HWND field = ControlAt(form, fields[i]);
        std::string digits = timeText.substr(static_cast<size_t>(i) * 3, 2);
        // Typing replaces the two selected characters.
        if (!ClickIntoField(form, field)) return false;
        TypeDigits(digits);
        if (!WaitFor([&] { return TextOf(field) == digits; }, 3000)) return false;
    }
    return true;
}

long long NowMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return static_cast<long long>(ticks.QuadPart / 10000) - 11644473600000LL;
}

std::string LocalTimeText(long long ms, int offsetSeconds)
{
    long long seconds = ms / 1000 + offsetSeconds;
    long long ofDay = ((seconds % 86400) + 86400) % 86400;
    char text[16];
    snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(ofDay / 3600), static_cast<int>(ofDay / 60 % 60),
             static_cast<int>(ofDay % 60));
    return text;
}

int OffsetBringingTimeSoon(int hour, int minute, int second, long long nowMs, int aheadSeconds)
{
    long long target = hour * 3600 + minute * 60 + second;
    long long utcOfDay = (nowMs / 1000) % 86400;
    long long offset = ((target - utcOfDay - aheadSeconds) % 86400 + 86400) % 86400;
    if (offset > 43200) offset -= 86400;
    return static_cast<int>(offset);
}

std::string TimeZoneFor(int offsetSeconds)
{
    // The C runtime reads "NAME[+|-]hh[:mm[:ss]]" as the offset west of UTC.
    int west = -offsetSeconds;
    int size = west < 0 ? -west : west;
    char text[40];
    snprintf(text, sizeof text, "TZ=VXO%s%d:%02d:%02d", west < 0 ? "-" : "", size / 3600, size / 60 % 60, size % 60);
    return text;
}

long long NextLocalMoment(const std::string& timeText, int offsetSeconds, long long nowMs)
{
    long long second = nowMs / 1000 + 1;
    for (int i = 0; i < 86400; ++i, ++second)
        if (LocalTimeText(second * 1000, offsetSeconds) == timeText) return second * 1000;
    return -1;
}

namespace {

struct ClassSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM parameter)
{
    ClassSearch* search = reinterpret_cast<ClassSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassOf(window) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className)
{
    ClassSearch search = {processId, className, NULL};
    EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
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

namespace {

BOOL CALLBACK ListWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

// EnumWindows lists the windows at one moment; a walk with GW_HWNDNEXT misses a window or
// counts it twice when the z-order changes under it, as when a box is brought forward.
std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> windows;
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> DescendantWindows(HWND parent)
{
    std::vector<HWND> windows;
    EnumChildWindows(parent, ListWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

int VisibleWindowCount(DWORD processId, const char* className)
{
    int count = 0;
    for (HWND w : TopLevelWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && IsWindowVisible(w) && (!className || ClassOf(w) == className)) ++count;
    }
    return count;
}

bool Gone(HWND window)
{
    return !IsWindow(window) || !IsWindowVisible(window);
}

bool NoClockWindowLeft()
{
    return FindWindowA("TOLVAPROG", NULL) == NULL;
}

int ClockWindowCount()
{
    int count = 0;
    for (HWND w : TopLevelWindows()) count += ClassOf(w) == "TOLVAPROG";
    return count;
}

bool KeepsTicking(HWND form, int seconds)
{
    HWND label = ControlAt(form, ClockLabelIndex);
    for (int tick = 0; tick < seconds; ++tick) {
        std::string shown = TextOf(label);
        if (!WaitFor([&] { return TextOf(label) != shown; }, 2500)) return false;
    }
    return true;
}

std::string MessageOf(HWND box)
{
    return TextOf(GetDlgItem(box, 0xFFFF));
}

int ButtonsOf(HWND box)
{
    int buttons = 0;
    for (HWND child : ChildWindows(box))
        if (ClassOf(child) == "Button" && IsWindowVisible(child)) ++buttons;
    return buttons;
}
