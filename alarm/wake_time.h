// When to wake a sleeping computer for the alarm, and when to keep it awake.
// Portable code, no <windows.h>: times are calendar seconds (time_t values),
// taken as arguments; local time is the C library's.
#pragma once

long long const NoOccurrence = -1;

// The first calendar second after now whose local time, as the tick formats
// it, reads the alarm time (blanks around it ignored); NoOccurrence when the
// text is not a time of day "HH:MM:SS" (two digits each, 00-23, 00-59, 00-59).
// A time that the spring change of summer time skips has no occurrence that
// day; one that the autumn change repeats occurs twice, so each second
// returned is one the tick would ring at.
long long NextAlarmOccurrence(const char* alarmTime, long long now);

// How long before the alarm the sleeping computer is woken, in seconds: time
// enough to wake up before the tick rings.
long long const WakeLead = 60;

// The moment to wake the computer for an alarm at occurrence: WakeLead before
// it, or the alarm second itself once that moment is not after now.
long long WakeMoment(long long occurrence, long long now);

// How soon an armed alarm must be for the computer to be kept awake: longer
// than the wake lead, so a woken computer does not fall asleep again first.
long long const StayAwakeSeconds = 120;

enum class AwakeRequest {
    Nothing,  // the computer may sleep as it is set to
    System,  // keep the computer running
    SystemAndDisplay,  // keep it running with the screen lit
};

// What to ask of the system: running while an armed alarm is due within
// StayAwakeSeconds (secondsToGo NoOccurrence: none is), and the screen lit as
// well while the alarm rings.
AwakeRequest StayAwakeRequest(bool armed, long long secondsToGo, bool ringing);
