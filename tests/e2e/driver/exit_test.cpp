// Every way out while the alarm rings ends the clock cleanly: the sound stops
// at once, the icon and the window go, and the process ends with code 0.
#include "capture.h"
#include "clock.h"
#include "tray_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// The start of the quiet that lasts from there to `until`, in 10 ms steps; -1 if none.
long long QuietFrom(const Capture& capture, long long from, long long until)
{
    for (long long t = from; t < until; t += 10)
        if (RmsBetween(capture, t, until) < SilentRms) return t;
    return -1;
}

}  // namespace

TEST(ExitingWhileRinging, TheMenuTheCloseBoxAndAltF4EachEndTheClockCleanly)
{
    Capture capture;
    ASSERT_TRUE(ReadCapture(capture)) << "run through sound.sh, which records the sink";
    // Each way gets ready, then acts at the moment the test notes.
    struct Way {
        const char* what;
        std::function<void(ClockProcess&, TrayIcon&)> getReady;
        std::function<void(ClockProcess&)> act;
    } const ways[] = {
        {"Exit", [](ClockProcess& c, TrayIcon& icon) { OpenTrayMenu(c.process.dwProcessId, icon); },
         [](ClockProcess&) { PressKey('X'); }},
        {"close box",
         [](ClockProcess& c, TrayIcon&) {
             BringToFront(c.form);
             MoveMouseTo(CloseBoxOf(c.form));
         },
         [](ClockProcess& c) { ClickAt(CloseBoxOf(c.form)); }},
        {"Alt+F4", [](ClockProcess& c, TrayIcon&) { BringToFront(c.form); },
         [](ClockProcess&) { PressKey(VK_F4, false, true); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        TrayIcon icon;
        ClockProcess clock =
            StartClockInTray(icon, {TimeZoneFor(OffsetBringingTimeSoon(6, 0, 0, NowMs(), 4))}, Sound::On);
        ASSERT_NE(icon.tooltip, nullptr);
        HWND testButton = ControlAt(clock.form, TestButtonIndex);
        ASSERT_TRUE(WaitFor([&] { return TextOf(testButton) == "Stop"; }, 10000)) << "the alarm did not ring";
        way.getReady(clock, icon);
        long long const ringingSince = NowMs();
        WaitFor([&] { return NowMs() > ringingSince + 500; }, 1000);

        long long exitAt = NowMs();
        way.act(clock);
        // A click goes out once the pointer is there.
        exitAt = std::max(exitAt, LastButtonsSentMs());
        ExpectExitCodeZero(clock);
        EXPECT_TRUE(WaitFor([&] { return !FindIcon(icon); }, 3000)) << "the icon stayed";
        EXPECT_TRUE(NoClockWindowLeft());

        ASSERT_TRUE(WaitFor([&] { return ReadCapture(capture) && CaptureEndMs(capture) > exitAt + 1500; }, 10000));
        EXPECT_GT(RmsBetween(capture, exitAt - 500, exitAt), 10 * SilentRms) << "it was not ringing";
        long long quiet = QuietFrom(capture, exitAt - 500, exitAt + 1500);
        ASSERT_GE(quiet, 0) << "the sound went on";
        printf("%s: silent %lld ms after the input\n", way.what, quiet - exitAt);
        EXPECT_LE(quiet - exitAt, 150);
    }
}
