// Which seconds a clock tick must check against the alarm time, and whether
// one of them is the alarm time. Portable code: times are calendar seconds
// (time_t values), taken as arguments; local time is the C library's.
#pragma once

// The largest forward step, in seconds, whose skipped seconds are still checked.
long long const LongestCheckedGap = 60;

// An inclusive range of calendar seconds; empty when first > last.
struct SecondRange {
    long long first;
    long long last;
};

// The seconds to check at a tick at now, given the last second checked
// (haveLast false before the first check). Every second after lastChecked up to
// now when the gap is at most LongestCheckedGap; nothing when now was already
// checked; only now when the clock went back or leapt forward further.
SecondRange SecondsToCheck(bool haveLast, long long lastChecked, long long now);

// What the trigger keeps from tick to tick: the last calendar second that it
// compared with the alarm time.
struct CheckedSeconds {
    bool any;  // false until the first tick
    long long last;  // meaningful once any is true
};

// The alarm decision of one tick at now: moves checked on to now and tells
// whether one of the seconds that SecondsToCheck hands out reads, on the local
// clock as HH:MM:SS, the same as the trimmed alarm time. Seconds that pass
// while the alarm is off count as checked, so arming it again never rings for
// a second already gone.
bool TickFindsAlarmTime(CheckedSeconds& checked, long long now, bool armed, const char* alarmTime);

// How far past a second boundary the clock timer aims, in milliseconds: late
// enough that the new second has begun, early enough to look instant.
int const ClockTickLateness = 10;

// Delay for the clock timer, in milliseconds, from a moment that lies the given
// number of milliseconds into its second to just after the next boundary.
int ClockTimerDelay(int millisecondsIntoSecond);
