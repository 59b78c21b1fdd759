// A simulated day of Windows timer behaviour: timers expire only on the clock
// interrupt (every 15.6 ms) and their messages arrive up to one interrupt
// later. The clock's own tick decision and timer-delay arithmetic run on it,
// beside the classic free-running 1000 ms timer. Prints "key value" figures.
#include "alarm/trigger.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <set>
#include <vector>

namespace {

double const InterruptMs = 15.6;
double const DayMs = 86400.0 * 1000;
long long const DayStart = 1796601600;  // a midnight, in calendar seconds
unsigned const Seed = 20261207;

// The timer hardware: a clock interrupt grid with a phase of its own, and the
// lateness with which the thread gets the message after the expiry.
struct SimulatedWindows {
    std::mt19937 random{Seed};
    double phase;
    std::uniform_real_distribution<double> lateness{0, InterruptMs};

    SimulatedWindows() : phase(std::uniform_real_distribution<double>(0, InterruptMs)(random)) {}
    // A timer due at dueMs expires on the first interrupt at or after it.
    double ExpiryFor(double dueMs) { return phase + std::ceil((dueMs - phase) / InterruptMs) * InterruptMs; }
    double Delivered(double expiryMs) { return expiryMs + lateness(random); }
};

struct Figures {
    std::vector<double> tickMs;
    std::vector<double> lags;  // per shown second: from its start until shown
    std::set<long long> shown;
    long long repeated = 0;  // ticks that showed the second already shown
};

void Show(Figures& figures, double atMs)
{
    long long second = static_cast<long long>(std::floor(atMs / 1000));
    figures.tickMs.push_back(atMs);
    if (!figures.shown.insert(second).second) {
        ++figures.repeated;
        return;
    }
    figures.lags.push_back(atMs - static_cast<double>(second) * 1000);
}

// The clock: each tick re-arms the timer for just after the next boundary,
// from the milliseconds it reads.
Figures RunClock(SimulatedWindows& windows, double fromMs, double toMs)
{
    Figures figures;
    double tick = windows.Delivered(windows.ExpiryFor(fromMs));
    while (tick < toMs) {
        Show(figures, tick);
        int intoSecond = static_cast<int>(static_cast<long long>(std::floor(tick)) % 1000);
        tick = windows.Delivered(windows.ExpiryFor(tick + ClockTimerDelay(intoSecond)));
    }
    return figures;
}

// The reference: a free-running 1000 ms timer, due again a period after each
// expiry; each tick shows and checks only the second it falls in.
Figures RunFreeRunning(SimulatedWindows& windows, double fromMs, double toMs)
{
    Figures figures;
    double expiry = windows.ExpiryFor(fromMs + 1000);
    for (double tick = windows.Delivered(expiry); tick < toMs; tick = windows.Delivered(expiry)) {
        Show(figures, tick);
        expiry = windows.ExpiryFor(expiry + 1000);
    }
    return figures;
}

long long SecondOf(double ms)
{
    return static_cast<long long>(std::floor(ms / 1000));
}

// How many seconds of the day an alarm set for would not ring, with the
// clock's decision on every tick. Each alarm is replayed from a few ticks
// before its second: the decision keeps nothing but the last second checked.
long long MissedByTheClock(const std::vector<double>& ticks, long long firstSecond, long long lastSecond)
{
    long long missed = 0;
    size_t from = 0;
    for (long long alarm = firstSecond; alarm <= lastSecond; ++alarm) {
        time_t moment = static_cast<time_t>(alarm);
        char alarmTime[16];
        std::strftime(alarmTime, sizeof alarmTime, "%H:%M:%S", std::localtime(&moment));
        while (from < ticks.size() && SecondOf(ticks[from]) < alarm - 5) ++from;
        CheckedSeconds checked = {false, 0};
        bool rang = false;
        for (size_t i = from; i < ticks.size() && SecondOf(ticks[i]) <= alarm + 5 && !rang; ++i)
            rang = TickFindsAlarmTime(checked, SecondOf(ticks[i]), true, alarmTime);
        missed += !rang;
    }
    return missed;
}

// The free-running reference compares only the second each tick falls in.
long long MissedByTheReference(const Figures& figures, long long firstSecond, long long lastSecond)
{
    long long missed = 0;
    for (long long s = firstSecond; s <= lastSecond; ++s) missed += figures.shown.count(s) == 0;
    return missed;
}

void Print(const char* who, Figures figures, long long missed, long long firstSecond, long long lastSecond)
{
    long long skipped = 0;
    for (long long s = firstSecond; s <= lastSecond; ++s) skipped += figures.shown.count(s) == 0;
    std::sort(figures.lags.begin(), figures.lags.end());
    auto at = [&](double share) {
        size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(figures.lags.size())));
        return figures.lags[std::min(std::max<size_t>(rank, 1), figures.lags.size()) - 1];
    };
    std::printf("%s.ticks %zu\n", who, figures.tickMs.size());
    std::printf("%s.skipped %lld\n", who, skipped);
    std::printf("%s.repeated %lld\n", who, figures.repeated);
    std::printf("%s.missed_alarm_seconds %lld\n", who, missed);
    std::printf("%s.lag_p50 %.1f\n", who, at(0.5));
    std::printf("%s.lag_p99 %.1f\n", who, at(0.99));
    std::printf("%s.lag_max %.1f\n", who, figures.lags.back());
}

}  // namespace

int main()
{
    // The day, with a second of lead-in before it so its first second counts.
    double const fromMs = static_cast<double>(DayStart) * 1000 - 1000;
    double const toMs = fromMs + 1000 + DayMs;
    long long const firstSecond = DayStart, lastSecond = DayStart + 86399;
    std::printf("interrupt_ms %.1f\n", InterruptMs);
    std::printf("seconds %lld\n", lastSecond - firstSecond + 1);
    std::printf("seed %u\n", Seed);
    // Local time is UTC here, so every second of the day occurs once.
    setenv("TZ", "UTC0", 1);
    tzset();
    SimulatedWindows clockWindows, referenceWindows;
    Figures clock = RunClock(clockWindows, fromMs, toMs);
    Figures reference = RunFreeRunning(referenceWindows, fromMs, toMs);
    Print("program", clock, MissedByTheClock(clock.tickMs, firstSecond, lastSecond), firstSecond, lastSecond);
    Print("reference", reference, MissedByTheReference(reference, firstSecond, lastSecond), firstSecond, lastSecond);
    return 0;
}
