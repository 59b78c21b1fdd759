// The alarm-trigger decision: no second is missed, none is checked twice.
#include "alarm/trigger.h"

#include "support/text.h"

#include <ctime>

SecondRange SecondsToCheck(bool haveLast, long long lastChecked, long long now)
{
    if (!haveLast || now < lastChecked || now - lastChecked > LongestCheckedGap) return SecondRange{now, now};
    // now == lastChecked gives the empty range lastChecked + 1 .. lastChecked.
    return SecondRange{lastChecked + 1, now};
}

bool TickFindsAlarmTime(CheckedSeconds& checked, long long now, bool armed, const char* alarmTime)
{
    SecondRange seconds = SecondsToCheck(checked.any, checked.last, now);
    checked.any = true;
    checked.last = now;
    if (!armed) return false;
    char* alarm = TrimText(alarmTime);
    for (long long second = seconds.first; second <= seconds.last; ++second) {
        time_t moment = static_cast<time_t>(second);
        struct tm* local = std::localtime(&moment);
        if (local != nullptr && CompareText(alarm, TrimText(FormatTimeText(0, local))) == 0) return true;
    }
    return false;
}

int ClockTimerDelay(int millisecondsIntoSecond)
{
    return 1000 - millisecondsIntoSecond + ClockTickLateness;
}
