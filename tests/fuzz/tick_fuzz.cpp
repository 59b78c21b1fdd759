// Fuzzes the tick decision with any run of clock readings: ticks on time,
// doubled, late by seconds or minutes, and the clock set back and forth.
// Moving forward, no second is handed out twice and none is skipped within
// the checked gap; only a clock set back may hand out a second again.
#include "alarm/trigger.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <set>

namespace {

// Calendar seconds: the whole range of the C library's clock and far beyond,
// kept clear of the ends of long long.
long long const FarthestSecond = 1LL << 52;

long long FloorDiv(long long a, long long b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    long long moment = in.ConsumeIntegralInRange<long long>(-FarthestSecond, FarthestSecond) * 1000;
    bool haveLast = false;
    long long lastChecked = 0;
    std::set<long long> handedOut;
    while (in.remaining_bytes() > 0) {
        // Mostly the next tick within two seconds; now and then a busy spell
        // around the gap's length; rarely the clock set, either way.
        uint8_t kind = in.ConsumeIntegral<uint8_t>();
        long long step = kind < 200   ? in.ConsumeIntegralInRange<long long>(0, 2000)
                         : kind < 240 ? in.ConsumeIntegralInRange<long long>(0, 70000)
                                      : in.ConsumeIntegralInRange<long long>(-(1LL << 40), 1LL << 40);
        if (moment + step < -FarthestSecond * 1000 || moment + step > FarthestSecond * 1000) continue;
        moment += step;

        int intoSecond = static_cast<int>(moment - FloorDiv(moment, 1000) * 1000);
        int delay = ClockTimerDelay(intoSecond);
        Check(delay > 0 && (intoSecond + delay) % 1000 == ClockTickLateness,
              "%d ms into a second the timer waits %d ms", intoSecond, delay);

        long long const now = FloorDiv(moment, 1000);
        SecondRange range = SecondsToCheck(haveLast, lastChecked, now);
        // A clock set back shows its seconds again, and they may be checked again.
        if (haveLast && now < lastChecked) handedOut.erase(handedOut.lower_bound(now), handedOut.end());
        Check(range.first > range.last || range.last == now, "a tick at %lld handed out up to %lld", now, range.last);
        Check(range.first <= range.last || (haveLast && now == lastChecked),
              "a tick at %lld, after %lld, handed out nothing", now, lastChecked);
        for (long long second = range.first; second <= range.last; ++second)
            Check(handedOut.insert(second).second, "second %lld handed out twice (tick at %lld)", second, now);
        if (haveLast && now > lastChecked && now - lastChecked <= LongestCheckedGap)
            for (long long second = lastChecked + 1; second <= now; ++second)
                Check(handedOut.count(second) == 1, "second %lld skipped going from %lld to %lld", second, lastChecked,
                      now);
        haveLast = true;
        lastChecked = now;
        // Memory stays small: only seconds of the last gap can still be asked about.
        while (handedOut.size() > 2 * LongestCheckedGap + 2) handedOut.erase(handedOut.begin());
    }
    return 0;
}
