// Which seconds each clock tick checks against the alarm: none missed, none twice.
#include "alarm/trigger.h"

#include "support/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <map>
#include <vector>

namespace {

// Feeds tick moments (in milliseconds of calendar time) through the decision,
// the way the clock tick does, and counts how often each second was checked.
struct TickSimulation {
    bool haveLast = false;
    long long lastChecked = 0;
    std::map<long long, int> checks;

    void Tick(long long moment)
    {
        long long now = moment / 1000;
        SecondRange range = SecondsToCheck(haveLast, lastChecked, now);
        for (long long second = range.first; second <= range.last; ++second) ++checks[second];
        haveLast = true;
        lastChecked = now;
    }
};

long long const Midnight = 1796601600;  // 2026-12-07 00:00:00 UTC

}  // namespace

TEST(AlarmTrigger, DecidesTheSecondsOfOneTick)
{
    struct Case {
        bool haveLast;
        long long last, now, first, lastToCheck;
    };
    Case const cases[] = {
        {false, 0, 100, 100, 100},  // first tick: just now
        {true, 99, 100, 100, 100},  // on time
        {true, 100, 100, 101, 100},  // second tick in the same second: nothing
        {true, 97, 100, 98, 100},  // late tick catches up the gap
        {true, 40, 100, 41, 100},  // a gap of exactly 60 is still caught up
        {true, 39, 100, 100, 100},  // further: only now (a jump, such as summer time)
        {true, 105, 100, 100, 100},  // the clock went back: only now
    };
    for (Case const& c : cases) {
        SecondRange range = SecondsToCheck(c.haveLast, c.last, c.now);
        EXPECT_EQ(range.first, c.first) << c.last << " -> " << c.now;
        EXPECT_EQ(range.last, c.lastToCheck) << c.last << " -> " << c.now;
    }
}

TEST(AlarmTrigger, FreeRunningTimerDriftingADayMissesNoSecondAndChecksNoneTwice)
{
    // A 1000 ms timer that fires 15.6 ms late each time drifts through the
    // second and steps over a whole second about once a minute.
    TickSimulation simulation;
    long long const start = Midnight * 1000 + 990;
    long long const end = start + 86400LL * 1000;
    int stepsOverASecond = 0;
    long long previous = start / 1000;
    for (double moment = start; moment < end; moment += 1015.6) {
        long long now = static_cast<long long>(moment) / 1000;
        if (now - previous > 1) ++stepsOverASecond;
        previous = now;
        simulation.Tick(static_cast<long long>(moment));
    }
    EXPECT_GT(stepsOverASecond, 1000);
    long long const first = start / 1000, last = previous;
    EXPECT_EQ(simulation.checks.size(), static_cast<size_t>(last - first + 1));
    for (auto const& [second, count] : simulation.checks) {
        ASSERT_EQ(count, 1) << "second " << second;
        ASSERT_GE(second, first);
        ASSERT_LE(second, last);
    }
}

TEST(AlarmTrigger, JitteredEarlyLateAndDoubledTicksCheckEverySecondOnce)
{
    // Ticks aimed just past each boundary, some early, some late by up to
    // three seconds, some doubled: a busy thread and timer jitter.
    TickSimulation simulation;
    long long moment = (Midnight - 30) * 1000;
    uint32_t random = 12345;
    std::vector<long long> moments;
    for (int i = 0; i < 20000; ++i) {
        random = random * 1103515245u + 12345u;
        int jitter = static_cast<int>((random >> 16) % 40) - 15;  // -15 .. 24 ms
        moment = (moment / 1000 + 1) * 1000 + 10 + jitter;
        if (random % 97 == 0) moment += 2000 + (random >> 8) % 1000;  // busy for seconds
        moments.push_back(moment);
        if (random % 89 == 0) moments.push_back(moment + (999 - moment % 1000) / 2);  // doubled
    }
    for (long long m : moments) simulation.Tick(m);
    long long const first = moments.front() / 1000, last = moments.back() / 1000;
    EXPECT_EQ(simulation.checks.size(), static_cast<size_t>(last - first + 1));
    for (auto const& [second, count] : simulation.checks) ASSERT_EQ(count, 1) << second;
    EXPECT_EQ(simulation.checks.count(Midnight), 1u);  // across midnight
}

TEST(AlarmTrigger, ClockSetBackRechecksAndLeapForwardSkips)
{
    TickSimulation simulation;
    for (long long s = 100; s <= 110; ++s) simulation.Tick(s * 1000 + 20);
    for (long long s = 95; s <= 110; ++s) simulation.Tick(s * 1000 + 20);  // set back 16 s
    for (long long s = 4000; s <= 4005; ++s) simulation.Tick(s * 1000 + 20);  // an hour on
    EXPECT_EQ(simulation.checks[95], 1);
    EXPECT_EQ(simulation.checks[105], 2);  // recurs, so it may ring again
    EXPECT_EQ(simulation.checks.count(2000), 0u);  // skipped by the leap
    EXPECT_EQ(simulation.checks[4000], 1);
}

TEST(AlarmTrigger, ATickRingsForTheAlarmSecondItPassesOnceAndOnlyWhileArmed)
{
    // The alarm text as this process's local clock shows second 1000 after midnight.
    long long const alarm = Midnight + 1000;
    time_t moment = static_cast<time_t>(alarm);
    std::string const text = std::string(" ") + FormatTimeText(0, std::localtime(&moment)) + "\t";
    struct Tick {
        long long now;
        bool armed;
        bool rings;
    };
    struct Case {
        const char* name;
        std::vector<Tick> ticks;
    };
    Case const cases[] = {
        {"on time, doubled",
         {{alarm - 1, true, false}, {alarm, true, true}, {alarm, true, false}, {alarm + 1, true, false}}},
        {"late by five seconds", {{alarm - 2, true, false}, {alarm + 4, true, true}, {alarm + 5, true, false}}},
        {"armed again after the second", {{alarm - 1, false, false}, {alarm, false, false}, {alarm + 1, true, false}}},
        {"armed within the late tick's gap", {{alarm - 1, false, false}, {alarm + 3, true, true}}},
        {"the clock set back across it", {{alarm, true, true}, {alarm + 1, true, false}, {alarm, true, true}}},
        {"first tick after it", {{alarm + 1, true, false}}},
    };
    for (Case const& c : cases) {
        CheckedSeconds checked = {false, 0};
        for (Tick const& t : c.ticks)
            EXPECT_EQ(TickFindsAlarmTime(checked, t.now, t.armed, text.c_str()), t.rings)
                << c.name << ", tick at " << t.now - alarm;
    }
}

TEST(ClockTimer, AimsJustPastTheNextBoundary)
{
    struct Case {
        int into, delay;
    };
    Case const cases[] = {{0, 1010}, {1, 1009}, {500, 510}, {990, 20}, {999, 11}};
    for (Case const& c : cases) {
        EXPECT_EQ(ClockTimerDelay(c.into), c.delay);
        EXPECT_EQ((c.into + ClockTimerDelay(c.into)) % 1000, ClockTickLateness);
    }
}
