// The clock shows every second on time, and the alarm rings at its second.
#include "alarm_steps.h"
#include "clock.h"

#include <gtest/gtest.h>

#include <string>

TEST(ClockDisplay, ShowsTheLocalTimeFromTheFirstVisibleMoment)
{
    // Local time far from the label's creation text 12:00:00.
    int offset = LocalTimeText(NowMs(), 0).substr(0, 2) == "11" ? 3 * 3600 : 0;
    ClockProcess clock = StartClock({TimeZoneFor(offset)});
    ASSERT_NE(clock.form, nullptr);
    long long seen = NowMs();
    std::string shown = TextOf(ControlAt(clock.form, ClockLabelIndex));
    EXPECT_NE(shown, "12:00:00");
    EXPECT_TRUE(shown == LocalTimeText(seen, offset) || shown == LocalTimeText(seen - 1000, offset))
        << "shown " << shown << " at " << LocalTimeText(seen, offset);
}

TEST(ClockDisplay, ShowsEverySecondOnceInOrderJustAfterItBegins)
{
    int const offset = -(2 * 3600 + 30 * 60 + 17);  // west of UTC, by odd seconds too
    // Started 400 ms into a second: a timer that ran free from start-up, some
    // 100 ms on, would show each second about half a second late.
    WaitFor([] { return NowMs() % 1000 >= 400 && NowMs() % 1000 < 450; }, 2000);
    ClockProcess clock = StartClock({TimeZoneFor(offset)});
    ASSERT_NE(clock.form, nullptr);
    HWND label = ControlAt(clock.form, ClockLabelIndex);
    std::string previous = TextOf(label);
    // Ten seconds here; the soak watches every second for lateness too.
    long long const end = NowMs() + 10000;
    int changes = 0, lateChanges = 0;
    long long worstLateness = 0;
    while (NowMs() < end) {
        std::string shown = TextOf(label);
        long long now = NowMs();
        if (shown != previous) {
            ++changes;
            long long lateness = now % 1000;
            if (lateness > worstLateness) worstLateness = lateness;
            EXPECT_EQ(shown, LocalTimeText(now, offset)) << "shown at " << LocalTimeText(now, offset);
            EXPECT_EQ(LocalTimeText(now - 1000, offset), previous) << "a second was skipped or repeated";
            // A late timer is late every second; a busy machine's pause makes one second late.
            if (lateness >= 100) ++lateChanges;
            EXPECT_LT(lateness, 500) << shown << " came " << lateness << " ms after its second began";
            previous = shown;
        }
        Sleep(2);
    }
    EXPECT_GE(changes, 9);
    EXPECT_LE(changes, 11);
    EXPECT_LE(lateChanges, 1) << "seconds shown 100 ms or more after they began";
    printf("clock label: %d changes, latest %lld ms after the second began, %d at 100 ms or more\n", changes,
           worstLateness, lateChanges);
}

TEST(DefaultAlarm, RingsAtSixBringingTheHiddenFormBack)
{
    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs());
    ClockProcess clock = StartClock({TimeZoneFor(offset)});
    ASSERT_NE(clock.form, nullptr);
    HWND testButton = ControlAt(clock.form, TestButtonIndex);
    PostMessageA(clock.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(clock.form); }, 5000));

    // Until 06:00:00 begins nothing happens; within that second the form is back.
    bool back = false, sawLastSecondBefore = false;
    std::string backAt;
    long long const deadline = NowMs() + 30000;
    while (!back && NowMs() < deadline) {
        long long before = NowMs();
        bool visible = IsWindowVisible(clock.form) != FALSE;
        std::string caption = TextOf(testButton);
        std::string localBefore = LocalTimeText(before, offset);
        if (localBefore < "06:00:00" && localBefore > "05:00:00") {
            ASSERT_FALSE(visible) << "form came back at " << localBefore;
            ASSERT_EQ(caption, "Test") << "at " << localBefore;
            if (localBefore == "05:59:59") sawLastSecondBefore = true;
        }
        if (visible) {
            back = true;
            backAt = LocalTimeText(NowMs(), offset);
        }
        Sleep(3);
    }
    ASSERT_TRUE(back) << "the alarm did not ring";
    EXPECT_TRUE(sawLastSecondBefore) << "05:59:59 was never watched";
    EXPECT_EQ(backAt, "06:00:00");
    EXPECT_FALSE(IsIconic(clock.form));
    EXPECT_TRUE(WaitFor([&] { return TextOf(testButton) == "Stop"; }, 1000));
}

TEST(DefaultAlarm, RingsInFrontOfTheProgramTheUserWorksIn)
{
    // Another program, which has the foreground when the alarm rings: Wine's Notepad,
    // started first, since it takes a while; it ends with code 0 when closed.
    ClockProcess other = LaunchClock({}, "C:\\windows\\notepad.exe");
    HWND notepad = WaitForVisibleWindow(other.process.dwProcessId, "Notepad", 20000);
    ASSERT_NE(notepad, nullptr);
    AlarmClock alarm = StartClockBeforeSix(Sound::Off);
    ASSERT_NE(alarm.clock.form, nullptr);
    // The clock takes the foreground as it starts, and Wine may hand it over late; then the
    // user goes back to Notepad.
    WaitFor([&] { return GetForegroundWindow() == alarm.clock.form; }, 3000);
    ASSERT_TRUE(WaitFor(
        [&] {
            if (GetForegroundWindow() != notepad) SetForegroundWindow(notepad);
            return GetForegroundWindow() == notepad;
        },
        3000));
    ASSERT_TRUE(WaitForRing(alarm));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == alarm.clock.form; }, 1000));
    EXPECT_TRUE(IsWindowVisible(alarm.clock.form));
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    ExpectExitCodeZero(other);
}
