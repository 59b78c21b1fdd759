// Moving a ringing alarm on by the snooze step.
#include "alarm/snooze.h"

#include "support/text.h"

namespace {

int const SecondsPerDay = 24 * 60 * 60;
int const SnoozeSeconds = SnoozeMinutes * 60;

int SecondOfDay(ClockTime time)
{
    long long seconds = time.hours * 3600LL + time.minutes * 60LL + time.seconds;
    return static_cast<int>((seconds % SecondsPerDay + SecondsPerDay) % SecondsPerDay);
}

// One step on the clock face: minutes past 59 carry into the hour, and the
// hour past 23 wraps to 0.
ClockTime SnoozeStep(ClockTime time)
{
    time.minutes += SnoozeMinutes;
    if (time.minutes > 59) {
        time.hours += 1;
        if (time.hours > 23) time.hours = 0;
        time.minutes -= 60;
    }
    return time;
}

int NumberOfTwoCharacters(const char* text)
{
    // Two characters always read as a number from -9 to 99, so the
    // truncation to int is defined.
    return static_cast<int>(TextToNumber(text));
}

}  // namespace

ClockTime ClockTimeOfText(const char* text)
{
    ClockTime time;
    time.hours = NumberOfTwoCharacters(LeftText(text, 2));
    time.minutes = NumberOfTwoCharacters(MidText(text, 4, 2));
    time.seconds = NumberOfTwoCharacters(MidText(text, 7, 2));
    return time;
}

ClockTime SnoozedAlarmTime(ClockTime alarm, ClockTime now)
{
    // A snooze pressed long after the alarm time must not leave a time that
    // has already gone by: the alarm would then stay silent until tomorrow.
    int behind = (SecondOfDay(now) - SecondOfDay(alarm) + SecondsPerDay) % SecondsPerDay;
    int steps = behind < SecondsPerDay / 2 ? behind / SnoozeSeconds + 1 : 1;
    for (int step = 0; step < steps; ++step) alarm = SnoozeStep(alarm);
    return alarm;
}
