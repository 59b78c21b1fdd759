// A hundred thousand alarms through the clock's own tick decision, on the
// local clock of Europe/Berlin with its summer time, with ticks as a Windows
// timer delivers them: on the 15.625 ms system tick, with jitter, seconds late
// behind a busy thread now and then, sometimes doubled, and Stop pressed inside
// the alarm second. Every alarm must ring once, at the first tick of or after
// its second.
#include "alarm/trigger.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

using Micros = long long;
Micros const Second = 1000000;
Micros const SystemTick = 15625;  // Windows' clock and timers move in these steps
Micros const JitterMax = 2000;  // from a timer's expiry to its tick on a free thread
Micros const LongestBusy = 5 * Second;
Micros const NoEvent = -1;

long long const OrdinaryTrials = 99500;
long long const SpringTrials = 500;  // alarm times that summer time skips: no occurrence
long long const AutumnTrials = 250;  // alarm times that the fall-back repeats: two each

Micros Floor(Micros t, Micros step)
{
    return t / step * step - (t % step < 0 ? step : 0);
}

Micros Ceil(Micros t, Micros step)
{
    return -Floor(-t, step);
}

std::string LocalText(long long second)
{
    time_t moment = static_cast<time_t>(second);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&moment));
    return text;
}

// 01:00:00 UTC on the last Sunday of the month: when Europe/Berlin's clocks change.
long long ChangeOfClocks(int year, int month)
{
    struct tm last = {};
    last.tm_year = year - 1900;
    last.tm_mon = month - 1;
    last.tm_mday = 31;
    last.tm_hour = 1;
    time_t day = timegm(&last);
    return static_cast<long long>(day) - last.tm_wday * 86400LL;
}

struct Counts {
    long long occurrences = 0, rings = 0, misses = 0, doubles = 0, strays = 0, lateTicks = 0;
    long long inTheirSecond = 0, afterADelay = 0, ticks = 0, stops = 0, ticksAfterAStop = 0;
    Micros worstLateness = 0, worstPunctual = 0;  // of rings; the latter at ticks the timer delivered on time
};

// One alarm time and the stretch of simulated time that the clock runs through.
struct Trial {
    std::string alarmText;
    Micros start;
    Micros end;
};

struct Occurrence {
    long long second;
    long long firstTick;  // the tick that must ring for it: the first at or after its second
    bool rang;
};

class Simulation {
public:
    explicit Simulation(unsigned long long seed) : random(seed) {}

    Micros Uniform(Micros low, Micros high) { return std::uniform_int_distribution<Micros>(low, high)(random); }
    bool Chance(int outOf) { return Uniform(1, outOf) == 1; }

    // Runs the clock through the trial; returns how often it rang.
    long long Run(const Trial& trial, Counts& counts)
    {
        std::string const alarm = trial.alarmText;
        // The seconds at which the local clock shows the alarm time.
        std::vector<Occurrence> occurrences;
        for (long long s = Floor(trial.start, Second) / Second; s <= trial.end / Second; ++s)
            if (LocalText(s) == alarm) occurrences.push_back({s, -1, false});
        counts.occurrences += static_cast<long long>(occurrences.size());

        // A quarter of the trials have the thread busy just when the alarm is due.
        Micros busyFrom = NoEvent, busyTo = NoEvent;
        long long aim = occurrences.empty() ? (trial.start + trial.end) / 2 / Second : occurrences[0].second;
        if (Chance(4)) {
            busyFrom = aim * Second + Uniform(-3 * Second, 900000);
            busyTo = busyFrom + Uniform(200000, LongestBusy);
        }

        CheckedSeconds checked = {false, 0};
        long long tick = 0, rings = 0;
        Micros busyUntil = 0, timerDue = NoEvent, extraTick = NoEvent, stopAt = NoEvent;
        long long stoppedSecond = -1;
        // A message that arrives while the thread is busy is handled once it is free.
        auto delivered = [&](Micros t) {
            if (t < busyUntil) t = busyUntil;
            if (busyFrom != NoEvent && t >= busyFrom && t < busyTo) t = busyTo;
            return t + Uniform(0, JitterMax);
        };
        auto runTick = [&](Micros t, bool punctual) {
            ++tick;
            ++counts.ticks;
            // OnClockTick re-arms the timer from the clock's millisecond in the second...
            Micros reading = Floor(t, SystemTick);
            timerDue = t + ClockTimerDelay(static_cast<int>(reading % Second / 1000)) * 1000LL;
            // ...and CheckAlarm reads the clock again a moment later.
            Micros checkedAt = t + Uniform(0, 500);
            long long now = Floor(checkedAt, SystemTick) / Second;
            if (now == stoppedSecond) ++counts.ticksAfterAStop;
            for (Occurrence& o : occurrences)
                if (o.firstTick < 0 && now >= o.second) o.firstTick = tick;
            if (TickFindsAlarmTime(checked, now, true, alarm.c_str())) {
                ++rings;
                Occurrence* o = nullptr;
                for (Occurrence& candidate : occurrences)
                    if (candidate.second <= now) o = &candidate;
                if (o == nullptr) {
                    ++counts.strays;
                } else if (o->rang) {
                    ++counts.doubles;
                } else {
                    o->rang = true;
                    ++counts.rings;
                    if (tick != o->firstTick) ++counts.lateTicks;
                    Micros lateness = checkedAt - o->second * Second;
                    if (lateness > counts.worstLateness) counts.worstLateness = lateness;
                    if (punctual && lateness > counts.worstPunctual) counts.worstPunctual = lateness;
                    if (now == o->second) {
                        ++counts.inTheirSecond;
                        // Half the time the sleeper presses Stop before the second is over,
                        // and half of those times another tick follows in that second.
                        Micros secondEnd = (now + 1) * Second;
                        if (Chance(2) && checkedAt + 2000 < secondEnd) {
                            stopAt = Uniform(checkedAt + 1000, secondEnd - 1000);
                            if (Chance(2)) extraTick = Uniform(stopAt, secondEnd - 1);
                        }
                    } else {
                        ++counts.afterADelay;
                    }
                }
            }
            if (Chance(20) && extraTick == NoEvent) extraTick = t + Uniform(1000, 999000);
            if (Chance(50)) busyUntil = t + Uniform(0, LongestBusy);
        };

        Micros now = trial.start;
        runTick(now, false);
        auto allReached = [&] {
            for (const Occurrence& o : occurrences)
                if (o.firstTick < 0) return false;
            return true;
        };
        while (now <= trial.end || !allReached()) {
            Micros fired = Ceil(timerDue, SystemTick);
            Micros timerTick = delivered(fired);
            Micros otherTick = extraTick == NoEvent ? NoEvent : delivered(extraTick);
            if (stopAt != NoEvent && stopAt <= timerTick && (otherTick == NoEvent || stopAt <= otherTick)) {
                // Stop silences the sound; the trigger's memory is not touched.
                now = stopAt;
                stopAt = NoEvent;
                ++counts.stops;
                stoppedSecond = Floor(now, SystemTick) / Second;
                continue;
            }
            if (otherTick != NoEvent && otherTick <= timerTick) {
                now = otherTick;
                extraTick = NoEvent;
                runTick(now, false);
            } else {
                now = timerTick;
                runTick(now, timerTick - fired <= JitterMax);
            }
        }
        for (const Occurrence& o : occurrences)
            if (!o.rang) ++counts.misses;
        return rings;
    }

private:
    std::mt19937_64 random;
};

}  // namespace

TEST(AHundredThousandAlarms, EachRingsOnceAtTheFirstTickOfOrAfterItsSecond)
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    // Midsummer noon UTC is 14:00 summer time there; without the zone data it is not.
    ASSERT_EQ(LocalText(1782907200), "14:00:00") << "no Europe/Berlin time zone: install tzdata";

    unsigned long long seed = 20261207;
    if (const char* given = std::getenv("VEXO_SIM_SEED")) seed = std::strtoull(given, nullptr, 10);
    Simulation simulation(seed);
    Counts counts;

    long long const from = 1577836800;  // 2020-01-01 UTC
    long long const to = 2082758400;  // 2036-01-01 UTC
    for (long long i = 0; i < OrdinaryTrials; ++i) {
        long long alarm = simulation.Uniform(from, to);
        Micros start = alarm * Second - simulation.Uniform(500000, 12 * Second);
        simulation.Run({LocalText(alarm), start, (alarm + 7) * Second}, counts);
    }

    long long skippedRings = 0, skippedOccurrences = 0;
    for (long long i = 0; i < SpringTrials; ++i) {
        long long change = ChangeOfClocks(static_cast<int>(simulation.Uniform(2020, 2035)), 3);
        char text[16];
        std::snprintf(text, sizeof text, "02:%02d:%02d", static_cast<int>(simulation.Uniform(0, 59)),
                      static_cast<int>(simulation.Uniform(0, 59)));
        long long before = counts.occurrences;
        Micros start = (change - simulation.Uniform(1, 60)) * Second;
        skippedRings += simulation.Run({text, start, (change + 60) * Second}, counts);
        skippedOccurrences += counts.occurrences - before;
    }

    long long repeatedRings = 0, repeatedOccurrences = 0;
    for (long long i = 0; i < AutumnTrials; ++i) {
        long long change = ChangeOfClocks(static_cast<int>(simulation.Uniform(2020, 2035)), 10);
        long long into = simulation.Uniform(0, 3599);
        long long first = change - 3600 + into;
        long long before = counts.occurrences;
        Micros start = first * Second - simulation.Uniform(500000, 12 * Second);
        repeatedRings += simulation.Run({LocalText(first), start, (change + into + 7) * Second}, counts);
        repeatedOccurrences += counts.occurrences - before;
    }

    std::printf("alarms (seed %llu): %lld occurrences, %lld rings (%lld in their second, %lld at the first tick "
                "after a delay), %lld misses, %lld doubles, %lld stray rings, %lld rang at a later tick\n",
                seed, counts.occurrences, counts.rings, counts.inTheirSecond, counts.afterADelay, counts.misses,
                counts.doubles, counts.strays, counts.lateTicks);
    std::printf("worst lateness %.1f ms (%.1f ms at ticks the timer delivered on time); %lld ticks; %lld Stop "
                "presses inside the alarm second, %lld ticks after them in that second\n",
                counts.worstLateness / 1000.0, counts.worstPunctual / 1000.0, counts.ticks, counts.stops,
                counts.ticksAfterAStop);
    std::printf("summer time: %lld alarm times skipped by it rang %lld times; %lld repeated by the fall-back "
                "occurred %lld times and rang %lld times\n",
                SpringTrials, skippedRings, AutumnTrials, repeatedOccurrences, repeatedRings);

    EXPECT_EQ(counts.occurrences, 100000);
    EXPECT_EQ(counts.rings, counts.occurrences);
    EXPECT_EQ(counts.misses, 0);
    EXPECT_EQ(counts.doubles, 0);
    EXPECT_EQ(counts.strays, 0);
    EXPECT_EQ(counts.lateTicks, 0);
    EXPECT_EQ(skippedOccurrences, 0);
    EXPECT_EQ(skippedRings, 0);
    EXPECT_EQ(repeatedOccurrences, 2 * AutumnTrials);
    EXPECT_EQ(repeatedRings, 2 * AutumnTrials);
    // The simulation reached what it is for.
    EXPECT_GT(counts.afterADelay, 1000);
    EXPECT_GT(counts.ticksAfterAStop, 1000);
    EXPECT_GT(counts.worstLateness, 4 * Second);
}
