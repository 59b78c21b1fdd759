// Driving the clock as a person would: start it, find its window and
// controls, click and type with real input, read what it shows.
#pragma once

#include "input.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// One running copy of the clock, started by the test and stopped when the
// test lets go of it, also when an assertion ends the test early.
struct ClockProcess {
    PROCESS_INFORMATION process = {};
    HWND form = NULL;

    ClockProcess() = default;
    ClockProcess(const ClockProcess&) = delete;
    ClockProcess& operator=(const ClockProcess&) = delete;
    ClockProcess(ClockProcess&& other) noexcept : process(other.process), form(other.form)
    {
        other.process = PROCESS_INFORMATION();
        other.form = NULL;
    }
    ClockProcess& operator=(ClockProcess&& other) noexcept;
    // Lets the clock run on after the driver ends.
    void Release();
    ~ClockProcess();
};

// Whether a started clock reaches the sound server. Only the cases that
// listen need it; the others leave it out, so that what they check does not
// depend on it. A 64-bit clock reaches it either way: the DLL override set in
// the environment CreateProcess passes does not reach Wine's Unix side there.
enum class Sound { Off, On };

// Starts vexo.exe from the driver's folder (or another program given), with
// extra environment variables such as "TZ=...", and waits for its form.
ClockProcess StartClock(const std::vector<std::string>& environment = {}, const std::string& program = "",
                        Sound sound = Sound::Off);
// The same start without the wait: form stays NULL.
ClockProcess LaunchClock(const std::vector<std::string>& environment = {}, const std::string& program = "",
                         Sound sound = Sound::Off);
// Ends a clock still running with WM_CLOSE, then expects its exit code 0
// (ExpectExitCodeZero). Whether it got 0.
bool StopClock(ClockProcess& clock);
extern void (*ReportStopFailure)(const std::string& what);
// Waits up to 10 s for a clock asked to close to end, then releases its
// handles. An exit code other than 0, or a clock still running then (which is
// terminated), is reported through ReportStopFailure (a test failure in the
// driver). Whether it ended with 0.
bool ExpectExitCodeZero(ClockProcess& clock);

// The driver's environment with the given variables added or replaced, as
// CreateProcessA takes it.
std::vector<char> EnvironmentBlock(const std::vector<std::string>& extra);

std::string DriverFolder();
std::string ClockProgramPath();

// The form of the given process, or NULL.
HWND FindClockForm(DWORD processId);
// The children a person can see, in z-order: those made without WS_VISIBLE,
// such as the labels that name the fields for screen readers, are left out.
std::vector<HWND> ChildWindows(HWND parent);
// The form's controls by creation order.
size_t const MinuteColonIndex = 0;
size_t const HourColonIndex = 1;
size_t const HoursFieldIndex = 2;
size_t const MinutesFieldIndex = 3;
size_t const SecondsFieldIndex = 4;
size_t const AlarmButtonIndex = 5;
size_t const SnoozeButtonIndex = 6;
size_t const TestButtonIndex = 7;
size_t const ClockLabelIndex = 8;
size_t const PictureLabelIndex = 9;
HWND ControlAt(HWND form, size_t creationIndex);
// Each control's rectangle in the client area at 96 DPI, by creation order.
extern RECT const ControlDesignRects[10];
// A design rectangle at a DPI: position and size each scaled on their own, as
// the clock places its controls.
RECT ScaledRect(RECT design, int dpi);
bool Within1(RECT a, RECT b);
// Prints a line for each check of the clock's layout at the session's DPI,
// which should be dpi; 0 when every check passed.
int CheckLayout(DWORD processId, int dpi);
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
RECT ClientRectInParent(HWND child);
HWND FocusedWindow(HWND anyWindowOfThread);
bool HasTaskbarButton(HWND window);

// Polls a condition every few milliseconds until it holds or time runs out.
template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
}

void BringToFront(HWND form);
// The selection of an edit control as EM_GETSEL reports it (start, end).
std::pair<int, int> SelectionOf(HWND edit);
// Clicks into an alarm field and waits until the click is wholly handled
// (focus there, both characters selected, the mouse released), so keys typed
// next reach the field after it: under Wine, clicks can be handled after keys
// sent later.
bool ClickIntoField(HWND form, HWND field);
// Sets the alarm time as a person does: for each field a click, which selects
// its two characters, then its two digits. "07:30:00" types 07, 30 and 00.
// True once every field reads what was typed.
bool TypeAlarmTime(HWND form, const std::string& timeText);

// Calendar time in milliseconds since 1970, as the clock reads it.
long long NowMs();
// Local time of a clock started with TimeZoneFor(offsetSeconds): UTC plus the
// offset, as HH:MM:SS.
std::string LocalTimeText(long long ms, int offsetSeconds);
// The TZ setting that puts a clock's local time offsetSeconds ahead of UTC;
// the C runtime honours it to the second.
std::string TimeZoneFor(int offsetSeconds);
// An offset (within half a day) that brings the given local time of day
// aheadSeconds from now, give or take a second.
// Five seconds: the clock is up within about one, and answers at once.
int OffsetBringingTimeSoon(int hour, int minute, int second, long long nowMs, int aheadSeconds = 5);
// Calendar milliseconds at which local time next reads the given HH:MM:SS.
long long NextLocalMoment(const std::string& timeText, int offsetSeconds, long long nowMs);
// The top-level window of the given process with the given class, or NULL.
HWND FindProcessWindow(DWORD processId, const char* className);
// The process's shown top-level window of the class ("#32770" a box,
// "#32768" a menu), or NULL.
HWND VisibleWindowOf(DWORD processId, const char* className);
HWND WaitForVisibleWindow(DWORD processId, const char* className, DWORD timeoutMs);
// Every top-level window, from one list; every window inside the parent, at any depth.
std::vector<HWND> TopLevelWindows();
std::vector<HWND> DescendantWindows(HWND parent);
// How many top-level windows of the process are shown, of the class or (NULL) of any.
int VisibleWindowCount(DWORD processId, const char* className = NULL);
// Closed or hidden.
bool Gone(HWND window);
// No window of the clock's class, of any copy, is left.
bool NoClockWindowLeft();
// How many windows of the clock's class there are, of every copy, shown or hidden.
int ClockWindowCount();
// The clock label shows that many more seconds, each within 2.5 s.
bool KeepsTicking(HWND form, int seconds = 2);
// A message box's text, and the number of its buttons.
std::string MessageOf(HWND box);
int ButtonsOf(HWND box);
