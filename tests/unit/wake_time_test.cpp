// When the computer is woken for the alarm and kept awake for it.
#include "alarm/trigger.h"
#include "alarm/wake_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Puts the process in a time zone for one test and back afterwards.
struct TimeZone {
    std::string previous;
    bool hadPrevious;
    explicit TimeZone(const char* zone)
    {
        const char* old = getenv("TZ");
        hadPrevious = old != nullptr;
        if (old) previous = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (hadPrevious)
            setenv("TZ", previous.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
};

// Calendar seconds of a UTC date and time in 2026, not a leap year.
long long Utc(int month, int day, int hour, int minute, int second)
{
    int const daysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    long long const newYear = 1767225600;  // 2026-01-01 00:00:00 UTC
    return newYear + (daysBefore[month - 1] + day - 1) * 86400LL + hour * 3600 + minute * 60 + second;
}

}  // namespace

TEST(NextAlarmOccurrence, IsTheFirstSecondAfterNowOnTheLocalClock)
{
    TimeZone berlin("Europe/Berlin");  // UTC+1 in winter, +2 in summer
    struct Case {
        const char* what;
        const char* alarm;
        long long now, next;
    };
    Case const cases[] = {
        {"later today", "06:00:00", Utc(12, 8, 4, 0, 0), Utc(12, 8, 5, 0, 0)},
        {"a second ahead", "06:00:00", Utc(12, 8, 4, 59, 59), Utc(12, 8, 5, 0, 0)},
        {"exactly now: tomorrow", "06:00:00", Utc(12, 8, 5, 0, 0), Utc(12, 9, 5, 0, 0)},
        {"passed: tomorrow", "06:00:00", Utc(12, 8, 6, 0, 0), Utc(12, 9, 5, 0, 0)},
        {"just past midnight", "00:00:01", Utc(12, 8, 22, 59, 59), Utc(12, 8, 23, 0, 1)},
        {"midnight, last day of the year", "00:00:00", Utc(12, 31, 22, 0, 0), Utc(12, 31, 23, 0, 0)},
        {"blanks around the text", " 06:00:00\t", Utc(12, 8, 4, 0, 0), Utc(12, 8, 5, 0, 0)},
        {"summer time", "06:00:00", Utc(7, 1, 3, 0, 0), Utc(7, 1, 4, 0, 0)},
        // 29 March 2026: the clock goes from 02:00 to 03:00.
        {"skipped by the spring change", "02:30:00", Utc(3, 28, 12, 0, 0), Utc(3, 30, 0, 30, 0)},
        {"just after the spring change", "03:00:00", Utc(3, 28, 23, 0, 0), Utc(3, 29, 1, 0, 0)},
        {"just before the spring change", "01:59:59", Utc(3, 28, 23, 0, 0), Utc(3, 29, 0, 59, 59)},
        // 25 October 2026: the clock goes from 03:00 back to 02:00.
        {"repeated by the autumn change: first", "02:30:00", Utc(10, 24, 22, 0, 0), Utc(10, 25, 0, 30, 0)},
        {"repeated, after the first", "02:30:00", Utc(10, 25, 0, 30, 0), Utc(10, 25, 1, 30, 0)},
        {"after both", "02:30:00", Utc(10, 25, 1, 30, 0), Utc(10, 26, 1, 30, 0)},
    };
    for (Case const& c : cases) {
        long long next = NextAlarmOccurrence(c.alarm, c.now);
        EXPECT_EQ(next, c.next) << c.what << ": off by " << next - c.next << " s";
        // The tick, ticking every second from now on, rings first at that second.
        CheckedSeconds checked = {true, c.now};
        long long rang = NoOccurrence;
        for (long long second = c.now + 1; second <= c.now + 3 * 86400 && rang == NoOccurrence; ++second)
            if (TickFindsAlarmTime(checked, second, true, c.alarm)) rang = second;
        EXPECT_EQ(rang, next) << c.what << ": the tick rings elsewhere";
    }
}

TEST(NextAlarmOccurrence, NoneForATextThatIsNoTimeOfDay)
{
    TimeZone utc("UTC0");
    const char* const texts[] = {"",         "6:00:00",   "24:00:00",  "06:60:00", "06:00:60", "06-00-00",
                                 "06:00:0a", "06:00:000", "-6:00:00",  "06:00",    "06 00 00", "99:99:99",
                                 "+6:00:00", "06:00:00x", "06:\n0:00", "0x:00:00"};
    for (const char* text : texts) EXPECT_EQ(NextAlarmOccurrence(text, Utc(12, 8, 4, 0, 0)), NoOccurrence) << text;
}

TEST(WakeMoment, AMinuteAheadOrTheAlarmSecondOnceThatIsPast)
{
    struct Case {
        long long occurrence, now, wake;
    };
    Case const cases[] = {{1000, 0, 940}, {1000, 939, 940}, {1000, 940, 1000}, {1000, 990, 1000}, {1000, 999, 1000}};
    for (Case const& c : cases) EXPECT_EQ(WakeMoment(c.occurrence, c.now), c.wake) << c.now;
}

TEST(StayAwake, RunningWhileTheAlarmIsDueAndLitWhileItRings)
{
    struct Case {
        bool armed;
        long long secondsToGo;
        bool ringing;
        AwakeRequest wanted;
    };
    Case const cases[] = {
        {true, 86399, false, AwakeRequest::Nothing},
        {true, 121, false, AwakeRequest::Nothing},
        {true, 120, false, AwakeRequest::System},
        {true, 1, false, AwakeRequest::System},
        {false, 60, false, AwakeRequest::Nothing},  // off
        {true, NoOccurrence, false, AwakeRequest::Nothing},  // no valid alarm time
        {true, 86400, true, AwakeRequest::SystemAndDisplay},
        {false, NoOccurrence, true, AwakeRequest::SystemAndDisplay},  // turned off while ringing: still sounds
    };
    for (Case const& c : cases)
        EXPECT_EQ(StayAwakeRequest(c.armed, c.secondsToGo, c.ringing), c.wanted)
            << c.armed << " " << c.secondsToGo << " " << c.ringing;
}
