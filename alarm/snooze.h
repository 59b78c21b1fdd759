// Moving a ringing alarm on by the snooze step. Portable code, no <windows.h>.
#pragma once

// A time of day as three numbers. Read from a text they can lie out of range
// (a pasted field); the arithmetic below takes them as they are.
struct ClockTime {
    int hours;
    int minutes;
    int seconds;
};

int const SnoozeMinutes = 7;

// Reads an "HH:MM:SS" text as the snooze does: two characters each from
// positions 1, 4 and 7 through TextToNumber, truncated toward zero; a part
// with no number in it reads 0.
ClockTime ClockTimeOfText(const char* text);

// The alarm time a snooze pressed at now sets: the alarm time moved on by
// whole snooze steps (seconds kept, past midnight to hour 0) until it lies
// after now. An alarm time half a day or more before now counts as ahead of
// it, typed while the alarm rang, and moves one step.
ClockTime SnoozedAlarmTime(ClockTime alarm, ClockTime now);
