// The text work of one clock tick, and what the ring holds over a day of ticks.
// Prints figures; asserts nothing. Live bytes come from glibc's malloc_usable_size.
#include "support/text.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

int const TicksPerDay = 86400;

// Stand-ins for the clock label and the armed alarm time of the real tick.
char ClockLabelText[2048];
char AlarmTimeText[2048] = "06:00:00";

// What a window control does with SetControlText: keeps a copy.
void SetClockLabel(const char* text)
{
    std::strcpy(ClockLabelText, text);
}

// One tick's text work: show the time, then the alarm check with a fresh reading.
bool TickTextWork()
{
    SetClockLabel(TimeText(0));
    return CompareText(TrimText(AlarmTimeText), TrimText(TimeText(0))) == 0;
}

// The reference clock's text work: the time formatted into a buffer of its
// own, and compared with the alarm time.
bool ReferenceTextWork()
{
    char text[16];
    time_t now = time(NULL);
    strftime(text, sizeof text, "%H:%M:%S", localtime(&now));
    SetClockLabel(text);
    strftime(text, sizeof text, "%H:%M:%S", localtime(&now));
    return std::strcmp(AlarmTimeText, text) == 0;
}

size_t SlotBytes(int slot)
{
    return TempText[slot] ? malloc_usable_size(TempText[slot]) : 0;
}

size_t RingBytes()
{
    size_t total = 0;
    for (int slot = 0; slot < TempTextSlots; ++slot) total += SlotBytes(slot);
    return total;
}

}  // namespace

int main()
{
    // A day of ticks, following the ring slot by slot so each tick costs only its own takes.
    size_t slotBytes[TempTextSlots] = {};
    size_t live = 0, mostLive = 0, allocated = 0;
    long long takes = 0;
    int rings = 0;
    for (int tick = 0; tick < TicksPerDay; ++tick) {
        int before = TempTextIndex;
        rings += TickTextWork();
        int taken = (TempTextIndex - before) & (TempTextSlots - 1);
        takes += taken;
        for (int i = 1; i <= taken; ++i) {
            int slot = (before + i) & (TempTextSlots - 1);
            size_t bytes = SlotBytes(slot);
            allocated += bytes;
            live = live - slotBytes[slot] + bytes;
            slotBytes[slot] = bytes;
        }
        if (live > mostLive) mostLive = live;
    }
    size_t const liveAtEnd = RingBytes();

    // Timing on its own, without the bookkeeping above.
    auto start = std::chrono::steady_clock::now();
    for (int tick = 0; tick < TicksPerDay; ++tick) rings += TickTextWork();
    auto elapsed = std::chrono::steady_clock::now() - start;
    double nsPerTick = std::chrono::duration<double, std::nano>(elapsed).count() / TicksPerDay;
    start = std::chrono::steady_clock::now();
    for (int tick = 0; tick < TicksPerDay; ++tick) rings += ReferenceTextWork();
    elapsed = std::chrono::steady_clock::now() - start;
    double referenceNsPerTick = std::chrono::duration<double, std::nano>(elapsed).count() / TicksPerDay;

    std::printf("tick text work over a simulated day of %d ticks\n", TicksPerDay);
    std::printf("  temporary texts taken per tick   %.2f\n", double(takes) / TicksPerDay);
    std::printf("  bytes allocated per tick         %.1f (usable size)\n", double(allocated) / TicksPerDay);
    std::printf("  time per tick                    %.0f ns\n", nsPerTick);
    std::printf("  reference: strftime, no ring     %.0f ns\n", referenceNsPerTick);
    std::printf("  most live bytes in the ring      %zu (%zu at the end of the day, rescanned %zu)\n", mostLive, live,
                liveAtEnd);
    std::printf("  ticks that matched the alarm     %d\n", rings);
    return 0;
}
