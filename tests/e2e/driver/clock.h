// Driving the clock as a person would: start it, find its window and
// controls, click and type with real input, read what it shows.
#pragma once

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
// listen need it: Wine's PulseAudio driver now and then faults while a
// process exits (about 1 close in 15 here), which would blur what a case
// checks about closing.
enum class Sound { Off, On };

// Starts vexo.exe from the driver's folder (or another program given), with
// extra environment variables such as "TZ=...", and waits for its form.
ClockProcess StartClock(const std::vector<std::string>& environment = {}, const std::string& program = "",
                        Sound sound = Sound::Off);
// Waits for the process to end; returns its exit code, or -1 on timeout.
long WaitForExit(ClockProcess& clock, DWORD timeoutMs);
// Ends the process (WM_CLOSE, then termination) and releases its handles.
void StopClock(ClockProcess& clock);

// The driver's environment with the given variables added or replaced, as
// CreateProcessA takes it.
std::vector<char> EnvironmentBlock(const std::vector<std::string>& extra);

std::string DriverFolder();
std::string ClockProgramPath();

// The form of the given process, or NULL.
HWND FindClockForm(DWORD processId);
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

// Real input through SendInput.
void BringToFront(HWND form);
enum class Button { Left, Right };
void ClickAt(int screenX, int screenY, Button button = Button::Left);
// Waits until a click now would come later than the double-click time after
// the last click made through here, as a person's next single click does; an
// edit control takes no focus from a double click.
void SpaceFromLastClick();
void ClickControl(HWND control);
void PressKey(WORD virtualKey, bool shift = false, bool alt = false);
// Puts the text on the clipboard, as another program would.
void PutOnClipboard(const std::string& text);
// Ctrl+V: the edit control pastes the clipboard's text.
void PressControlV();
// Types the digits (and only digits) on the keyboard, one key at a time.
void TypeDigits(const std::string& digits);
// The selection of an edit control as EM_GETSEL reports it (start, end).
std::pair<int, int> SelectionOf(HWND edit);
// Clicks into an alarm field and waits until the click is wholly handled
// (focus there, both characters selected, the mouse released), so keys typed
// next reach the field after it: under Wine, clicks can be handled after keys
// sent later. The click is spaced from the last one (SpaceFromLastClick).
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
int OffsetBringingTimeSoon(int hour, int minute, int second, long long nowMs, int aheadSeconds = 8);
// Calendar milliseconds at which local time next reads the given HH:MM:SS.
long long NextLocalMoment(const std::string& timeText, int offsetSeconds, long long nowMs);
// The top-level window of the given process with the given class, or NULL.
HWND FindProcessWindow(DWORD processId, const char* className);
