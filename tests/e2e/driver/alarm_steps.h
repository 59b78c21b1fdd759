// Steps around a ringing alarm as a person takes them, and what they show and
// sound like.
#pragma once

#include "capture.h"
#include "clock.h"

#include <gtest/gtest.h>

#include <string>

// A clock armed for its default 06:00:00, started with local time a few
// seconds before it.
struct AlarmClock {
    ClockProcess clock;
    int offset = 0;  // local time is UTC plus this many seconds
    long long alarmMs = 0;  // calendar milliseconds at which 06:00:00 begins
};
AlarmClock StartClockBeforeSix(Sound sound = Sound::On);
// Waits until the clock rings ("Stop" on the Test button).
bool WaitForRing(AlarmClock& alarm);

HWND Control(const AlarmClock& alarm, size_t creationIndex);
// The three fields as one "HH:MM:SS".
std::string FieldsText(HWND form);
// HH:MM:SS moved by the given seconds around the day.
std::string ShiftedTime(const std::string& timeText, int seconds);
// The local date MM/DD/YY of a clock started with TimeZoneFor(offsetSeconds).
std::string LocalDateText(long long ms, int offsetSeconds);
bool WaitForText(HWND window, const std::string& text, DWORD timeoutMs);

// Clicks the control with its form in front; returns the calendar
// milliseconds just before the click went out.
long long Click(HWND form, HWND control);

// Reads the capture once it reaches the given moment.
bool CaptureUntil(Capture& capture, long long ms);
// Last moment before toMs, from fromMs on, where a sample exceeds the level; -1 if none.
long long LastLoudMs(const Capture& capture, long long fromMs, long long toMs, int level);
// The tone sounded throughout: every loop loud, at 800 Hz.
::testing::AssertionResult Heard(const Capture& capture, long long fromMs, long long toMs);
::testing::AssertionResult Silent(const Capture& capture, long long fromMs, long long toMs);
