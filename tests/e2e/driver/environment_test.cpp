// The clock where its surroundings fall short: no sound device at all.
#include "clock.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <string>

TEST(NoSoundDevice, TheClockRunsRingsWithoutAnErrorBoxAndExitsWithZero)
{
    // The group runs with PULSE_SERVER naming no server in the driver's Unix
    // environment, which the clock inherits: Wine's driver loads but reaches no
    // server. (Set in the environment CreateProcess passes, it does not reach the
    // Unix side of a 64-bit clock.)
    ASSERT_EQ(waveOutGetNumDevs(), 0u) << "this case needs a session without a sound device";
    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs());
    long long const alarmMs = NextLocalMoment("06:00:00", offset, NowMs());
    ClockProcess clock = StartClock({TimeZoneFor(offset)}, "", Sound::On);
    ASSERT_NE(clock.form, nullptr);
    DWORD const processId = clock.process.dwProcessId;
    bool boxSeen = false;
    auto watchForBox = [&] {
        if (FindProcessWindow(processId, "#32770") != NULL) boxSeen = true;
    };

    EXPECT_TRUE(KeepsTicking(clock.form, 1)) << "the clock does not run";
    PostMessageA(clock.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(clock.form); }, 5000));

    std::string backAt;
    ASSERT_TRUE(WaitFor(
        [&] {
            watchForBox();
            if (!IsWindowVisible(clock.form)) return false;
            backAt = LocalTimeText(NowMs(), offset);
            return true;
        },
        static_cast<DWORD>(alarmMs - NowMs() + 5000)))
        << "the alarm did not bring the form back";
    EXPECT_EQ(backAt, "06:00:00");
    EXPECT_TRUE(WaitFor([&] { return TextOf(ControlAt(clock.form, TestButtonIndex)) == "Stop"; }, 1000));

    // Ringing goes on quietly: no box now or in the seconds after.
    WaitFor(
        [&] {
            watchForBox();
            return boxSeen;
        },
        2000);
    EXPECT_FALSE(boxSeen) << "a message box appeared";

    // Stopping the sound at exit has no device either; a box would keep the process alive.
    BringToFront(clock.form);
    PressKey(VK_F4, false, true);
    ExpectExitCodeZero(clock);
}
