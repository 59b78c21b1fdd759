// Where a snooze moves the alarm time, given when it is pressed.
#include "alarm/snooze.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string TextOf(ClockTime time)
{
    char text[32];
    snprintf(text, sizeof text, "%02d:%02d:%02d", time.hours, time.minutes, time.seconds);
    return text;
}

int SecondOfDay(ClockTime time)
{
    return time.hours * 3600 + time.minutes * 60 + time.seconds;
}

ClockTime AtSecond(int second)
{
    return {second / 3600, second / 60 % 60, second % 60};
}

}  // namespace

TEST(Snooze, MovesTheAlarmOnUntilItLiesAfterTheMomentOfThePress)
{
    struct Case {
        const char* alarm;
        const char* pressed;
        const char* moved;
    };
    Case const cases[] = {
        // Pressed while the alarm second, or the minute after it, is current.
        {"06:00:00", "06:00:00", "06:07:00"},
        {"06:00:00", "06:00:59", "06:07:00"},
        {"06:52:00", "06:52:30", "06:59:00"},
        {"06:53:00", "06:53:00", "07:00:00"},
        {"23:55:10", "23:55:40", "00:02:10"},
        {"23:59:59", "00:00:10", "00:06:59"},
        // Pressed after the alarm rang for a while: whole steps from the alarm time.
        {"06:00:00", "06:06:59", "06:07:00"},
        {"06:00:00", "06:07:00", "06:14:00"},
        {"06:00:00", "06:08:30", "06:14:00"},
        {"23:58:00", "00:06:00", "00:12:00"},
        {"12:00:00", "23:59:59", "00:01:00"},
        // Typed ahead of the clock while the alarm rang: one step.
        {"09:00:00", "06:00:30", "09:07:00"},
        {"06:00:00", "18:00:00", "06:07:00"},
        {"23:58:30", "20:00:00", "00:05:30"},
    };
    for (Case const& c : cases) {
        ClockTime moved = SnoozedAlarmTime(ClockTimeOfText(c.alarm), ClockTimeOfText(c.pressed));
        EXPECT_EQ(TextOf(moved), c.moved) << c.alarm << " snoozed at " << c.pressed;
    }
}

TEST(Snooze, EveryAlarmTimeOfTheLastHalfDayEndsWithinOneStepAfterThePress)
{
    int const day = 86400, step = 420;
    for (int now = 0; now < day; now += 3607) {
        for (int behind = 0; behind < day; behind += 61) {
            int alarm = (now - behind + day) % day;
            int moved = SecondOfDay(SnoozedAlarmTime(AtSecond(alarm), AtSecond(now)));
            int ahead = (moved - now + day) % day;
            int travelled = (moved - alarm + day) % day;
            if (behind < day / 2) {
                ASSERT_GT(ahead, 0) << TextOf(AtSecond(alarm)) << " at " << TextOf(AtSecond(now));
                ASSERT_LE(ahead, step) << TextOf(AtSecond(alarm)) << " at " << TextOf(AtSecond(now));
                ASSERT_EQ(travelled % step, 0) << "off the cadence of " << TextOf(AtSecond(alarm));
            } else {
                ASSERT_EQ(travelled, step) << TextOf(AtSecond(alarm)) << " at " << TextOf(AtSecond(now));
            }
        }
    }
}
