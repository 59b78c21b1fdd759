// The alarm-trigger decision: no second is missed, none is checked twice.
#include "alarm/trigger.h"

SecondRange SecondsToCheck(bool haveLast, long long lastChecked, long long now)
{
    if (!haveLast || now < lastChecked || now - lastChecked > LongestCheckedGap)
        return SecondRange{now, now};
    // now == lastChecked gives the empty range lastChecked + 1 .. lastChecked.
    return SecondRange{lastChecked + 1, now};
}

int ClockTimerDelay(int millisecondsIntoSecond)
{
    return 1000 - millisecondsIntoSecond + ClockTickLateness;
}
