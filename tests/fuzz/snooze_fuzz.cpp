// Fuzzes the snooze: for an alarm time that has passed (it is now, or lies
// less than half a day before now) the snoozed time lies after now, by at most
// one step, and is reached from the alarm time in whole steps; for an alarm
// time ahead of now it is exactly one step on. Seconds are always kept.
// Texts of any bytes read as times never break the arithmetic.
#include "alarm/snooze.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

int const Day = 24 * 60 * 60;
int const Step = SnoozeMinutes * 60;

int SecondOfDay(ClockTime t)
{
    return t.hours * 3600 + t.minutes * 60 + t.seconds;
}

ClockTime ConsumeTime(FuzzedDataProvider& in)
{
    ClockTime t;
    t.hours = in.ConsumeIntegralInRange(0, 23);
    t.minutes = in.ConsumeIntegralInRange(0, 59);
    t.seconds = in.ConsumeIntegralInRange(0, 59);
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        // Whatever the alarm text holds, the snooze reads it and moves it on.
        std::string const text = in.ConsumeRandomLengthString(64);
        ClockTime const read = ClockTimeOfText(text.c_str());
        ClockTime const snoozed = SnoozedAlarmTime(read, ConsumeTime(in));
        Check(snoozed.seconds == read.seconds, "\"%s\": the seconds changed", text.c_str());
        return 0;
    }
    ClockTime const alarm = ConsumeTime(in);
    ClockTime const now = ConsumeTime(in);
    ClockTime const snoozed = SnoozedAlarmTime(alarm, now);
    Check(snoozed.hours >= 0 && snoozed.hours <= 23 && snoozed.minutes >= 0 && snoozed.minutes <= 59 &&
              snoozed.seconds == alarm.seconds,
          "%02d:%02d:%02d at %02d:%02d:%02d gave %d:%d:%d", alarm.hours, alarm.minutes, alarm.seconds, now.hours,
          now.minutes, now.seconds, snoozed.hours, snoozed.minutes, snoozed.seconds);
    int const behind = (SecondOfDay(now) - SecondOfDay(alarm) + Day) % Day;
    int const moved = (SecondOfDay(snoozed) - SecondOfDay(alarm) + Day) % Day;
    if (behind < Day / 2) {
        int const ahead = (SecondOfDay(snoozed) - SecondOfDay(now) + Day) % Day;
        Check(ahead > 0 && ahead <= Step, "%02d:%02d:%02d at %02d:%02d:%02d: %d s ahead of now", alarm.hours,
              alarm.minutes, alarm.seconds, now.hours, now.minutes, now.seconds, ahead);
        Check(moved % Step == 0 && moved <= behind + Step, "%02d:%02d:%02d at %02d:%02d:%02d moved %d s", alarm.hours,
              alarm.minutes, alarm.seconds, now.hours, now.minutes, now.seconds, moved);
    } else {
        Check(moved == Step, "%02d:%02d:%02d ahead of %02d:%02d:%02d moved %d s, not one step", alarm.hours,
              alarm.minutes, alarm.seconds, now.hours, now.minutes, now.seconds, moved);
    }
    return 0;
}
