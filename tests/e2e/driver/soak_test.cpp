// A person's day with the clock, scripted with real input, while a watcher
// probes it: answers, every second on the clock, memory and GDI objects, and
// each alarm ringing once.
#include "clock.h"
#include "gdi_objects.h"
#include "soak.h"
#include "tray_driver.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

int SoakSeconds = 60;

namespace {

// A person waits for no answer over ProbeLimitMs. A step of the clock that
// blocks does so every time the step comes, so in every round; a busy
// two-processor machine pauses now and then (35 to 55 ms, more beside other
// programs), and a pause that meets a repaint or a box opening makes an answer
// or two of 100 ms or more in whichever round it falls. So slow answers fail
// the day only when they come back in most rounds. No answer, on any machine,
// may take HangLimitMs.
double const ProbeLimitMs = 100;
double const HangLimitMs = 500;
// How long after its second began a shown second may be seen: the clock's
// own lateness, a poll and a probe.
long long const ShownLimitMs = 200;

double MillisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int SecondOfDay(const std::string& timeText)
{
    int h = 0, m = 0, s = 0;
    if (sscanf(timeText.c_str(), "%d:%d:%d", &h, &m, &s) != 3) return -1;
    return h * 3600 + m * 60 + s;
}

// Probes the clock from a thread of its own every few milliseconds: WM_NULL
// answered in time, the clock label stepping one second at a time, and each
// change of the Test button's caption to "Stop" (a ring, or a Test).
class Watcher {
public:
    Watcher(HWND form, int offset) : form(form), offset(offset) { thread = CreateThread(NULL, 0, Run, this, 0, NULL); }
    ~Watcher() { Stop(); }
    void Stop()
    {
        if (!thread) return;
        stop = true;
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        thread = NULL;
    }
    int Rings() const { return rings; }
    // The round under way, which the slow answers are counted against.
    void BeginRound(int round)
    {
        std::lock_guard<std::mutex> hold(stateLock);
        currentRound = round;
        if (slowByRound.size() <= static_cast<size_t>(round)) slowByRound.resize(round + 1, 0);
    }
    // How many rounds had an answer over ProbeLimitMs, and the most in one.
    int RoundsWithSlowAnswers(int* mostInOneRound)
    {
        std::lock_guard<std::mutex> hold(stateLock);
        *mostInOneRound = slowByRound.empty() ? 0 : *std::max_element(slowByRound.begin(), slowByRound.end());
        return static_cast<int>(std::count_if(slowByRound.begin(), slowByRound.end(), [](int n) { return n > 0; }));
    }

    std::atomic<int> probes{0}, lateProbes{0}, unanswered{0}, seconds{0}, skips{0}, lateSeconds{0}, rings{0};
    std::atomic<double> slowestMs{0};
    std::atomic<long long> lastRingMs{0};
    std::mutex stateLock;
    std::vector<std::string> faults;

private:
    static DWORD WINAPI Run(void* self)
    {
        static_cast<Watcher*>(self)->Watch();
        return 0;
    }

    void SlowAnswer()
    {
        std::lock_guard<std::mutex> hold(stateLock);
        if (currentRound >= 0) ++slowByRound[currentRound];
    }

    void Fault(const std::string& what)
    {
        std::lock_guard<std::mutex> hold(stateLock);
        if (faults.size() < 20) faults.push_back(what);
    }

    void Watch()
    {
        HWND label = ControlAt(form, ClockLabelIndex), testButton = ControlAt(form, TestButtonIndex);
        std::string shown = TextOf(label), caption = TextOf(testButton);
        while (!stop) {
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            DWORD_PTR result;
            BOOL answered = SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
            double ms = MillisecondsSince(start);
            ++probes;
            if (!answered) ++unanswered;
            if (ms > slowestMs) slowestMs = ms;
            if (ms > ProbeLimitMs) {
                ++lateProbes;
                SlowAnswer();
                printf("soak: a probe took %.1f ms at %s\n", ms, LocalTimeText(NowMs(), offset).c_str());
            }

            std::string now = TextOf(label);
            if (now != shown) {
                ++seconds;
                // The zone's offset is whole seconds: local seconds begin on the calendar's.
                long long const seenMs = NowMs();
                if (now != LocalTimeText(seenMs, offset) || seenMs % 1000 > ShownLimitMs) {
                    ++lateSeconds;
                    Fault(now + " was seen at " + LocalTimeText(seenMs, offset) + " + " +
                          std::to_string(seenMs % 1000) + " ms");
                }
                int step = (SecondOfDay(now) - SecondOfDay(shown) + 86400) % 86400;
                if (step != 1) {
                    ++skips;
                    Fault("the clock went from " + shown + " to " + now);
                }
                shown = now;
            }
            std::string nowCaption = TextOf(testButton);
            if (nowCaption != caption) {
                if (nowCaption == "Stop") {
                    ++rings;
                    lastRingMs = NowMs();
                }
                caption = nowCaption;
            }
            Sleep(15);
        }
    }

    HWND form;
    int offset;
    int currentRound = -1;
    std::vector<int> slowByRound;
    HANDLE thread = NULL;
    std::atomic<bool> stop{false};
};

struct Sample {
    long long ms;
    double workingSet;
    int gdiObjects;
};

// The least of five readings over a second: the working set swings by a few
// per cent with what the sound thread holds just then.
Sample SampleOf(HANDLE process)
{
    Sample least = {NowMs(), 0, -1};
    for (int reading = 0; reading < 5; ++reading) {
        if (reading > 0) WaitFor([] { return false; }, 200);
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(process, &counters, sizeof counters);
        double workingSet = static_cast<double>(counters.WorkingSetSize);
        int gdi = GdiObjectsOf(process).own;
        if (reading == 0 || workingSet < least.workingSet) least.workingSet = workingSet;
        if (reading == 0 || gdi < least.gdiObjects) least.gdiObjects = gdi;
    }
    return least;
}

// The mean of the samples taken from fromMs to toMs.
Sample MeanOf(const std::vector<Sample>& samples, long long fromMs, long long toMs)
{
    Sample mean = {0, 0, 0};
    double gdi = 0;
    int n = 0;
    for (const Sample& s : samples) {
        if (s.ms < fromMs || s.ms > toMs) continue;
        mean.workingSet += s.workingSet;
        gdi += s.gdiObjects;
        ++n;
    }
    if (n == 0) return {0, -1, -1};
    mean.workingSet /= n;
    mean.gdiObjects = static_cast<int>(gdi / n + 0.5);
    return mean;
}

class Day {
public:
    Day(ClockProcess& clock, TrayIcon& icon, int offset) : clock(clock), icon(icon), offset(offset)
    {
        form = clock.form;
        id = clock.process.dwProcessId;
        testButton = ControlAt(form, TestButtonIndex);
    }

    // One round of the day; the form is shown and nothing else is open before
    // and after.
    void Round(Watcher& watcher, int round)
    {
        TrayRound();
        if (::testing::Test::HasFatalFailure()) return;
        BoxesRound();
        if (::testing::Test::HasFatalFailure()) return;
        AlarmRound(watcher, round);
    }

    int expectedRings = 0;
    int alarms = 0;
    long long worstRingLatenessMs = 0;

private:
    bool Shown() { return IsWindowVisible(form) && !IsIconic(form); }
    bool Hidden() { return !IsWindowVisible(form); }

    void TrayRound()
    {
        ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'H'));
        ASSERT_TRUE(WaitFor([&] { return Hidden(); }, 5000)) << "Hide";
        ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'S'));
        ASSERT_TRUE(WaitFor([&] { return Shown(); }, 5000)) << "Show";
        DoubleClickIcon(icon);
        ASSERT_TRUE(WaitFor([&] { return Hidden() && IsIconic(form); }, 5000)) << "minimise";
        DoubleClickIcon(icon);
        ASSERT_TRUE(WaitFor([&] { return Shown(); }, 5000)) << "restore";
        HWND menu = OpenTrayMenu(id, icon);
        ASSERT_NE(menu, nullptr);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return Gone(menu); }, 3000)) << "menu";
    }

    // A message box or the About box of the clock: shown, then closed with Enter.
    void CloseBoxWithEnter(const char* what)
    {
        HWND box = WaitForVisibleWindow(id, "#32770", 5000);
        ASSERT_NE(box, nullptr) << what << " did not open";
        BringToFront(box);
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return Gone(box); }, 3000)) << what;
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(form) != FALSE; }, 3000));
    }

    void BoxesRound()
    {
        ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
        CloseBoxWithEnter("About");
        if (::testing::Test::HasFatalFailure()) return;
        // The date box opens on a click on the clock.
        BringToFront(form);
        ClickControl(ControlAt(form, ClockLabelIndex));
        CloseBoxWithEnter("the date box");
    }

    void Click(HWND control)
    {
        BringToFront(form);
        ClickControl(control);
    }

    // An alarm ten seconds ahead, typed into the fields; the form minimised
    // until it rings; then Snooze or Stop, and a Test.
    void AlarmRound(Watcher& watcher, int round)
    {
        std::string const alarmTime = LocalTimeText(NowMs() + 10000, offset);
        ASSERT_TRUE(TypeAlarmTime(form, alarmTime)) << "typing " << alarmTime;
        long long const alarmMs = NextLocalMoment(alarmTime, offset, NowMs() - 1000);
        ++alarms;
        DoubleClickIcon(icon);
        ASSERT_TRUE(WaitFor([&] { return Hidden(); }, 5000)) << "minimise before the alarm";
        ++expectedRings;
        ASSERT_TRUE(
            WaitFor([&] { return watcher.Rings() == expectedRings; }, static_cast<DWORD>(alarmMs - NowMs() + 5000)))
            << "the alarm at " << alarmTime << " did not ring";
        long long lateness = watcher.lastRingMs - alarmMs;
        EXPECT_GE(lateness, 0) << "rang before " << alarmTime;
        EXPECT_LT(lateness, 1000) << "rang after " << alarmTime;
        if (lateness > worstRingLatenessMs) worstRingLatenessMs = lateness;
        ASSERT_TRUE(WaitFor([&] { return Shown(); }, 3000)) << "the ring did not bring the form back";

        // It rings on for a moment, then the person reacts.
        WaitFor([] { return false; }, 1500);
        if (round % 2 == 0) {
            Click(ControlAt(form, SnoozeButtonIndex));
        } else {
            Click(testButton);
        }
        ASSERT_TRUE(WaitFor([&] { return TextOf(testButton) == "Test"; }, 3000))
            << (round % 2 == 0 ? "Snooze" : "Stop") << " did not end the ring";
        ++expectedRings;
        Click(testButton);
        ASSERT_TRUE(WaitFor([&] { return TextOf(testButton) == "Stop"; }, 3000)) << "Test";
        Click(testButton);
        ASSERT_TRUE(WaitFor([&] { return TextOf(testButton) == "Test"; }, 3000)) << "Stop after Test";
        EXPECT_EQ(watcher.Rings(), expectedRings);
    }

    ClockProcess& clock;
    TrayIcon& icon;
    int offset;
    HWND form = NULL;
    HWND testButton = NULL;
    DWORD id = 0;
};

}  // namespace

TEST(Soak, APersonsDay)
{
    // Local time with the default alarm hours away: only the typed alarms ring.
    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs(), 3 * 3600);
    TrayIcon icon;
    ClockProcess clock = StartClockInTray(icon, {TimeZoneFor(offset)});
    ASSERT_NE(clock.form, nullptr);
    ASSERT_NE(icon.tooltip, nullptr) << "not exactly one new icon in the tray";
    Watcher watcher(clock.form, offset);
    Day day(clock, icon, offset);

    std::vector<Sample> samples;
    long long const start = NowMs(), end = start + SoakSeconds * 1000LL;
    int rounds = 0;
    while (NowMs() < end && !::testing::Test::HasFatalFailure()) {
        watcher.BeginRound(rounds);
        day.Round(watcher, rounds++);
        // The first round makes what the clock keeps from then on (the
        // boxes' and the menu's first showing).
        if (rounds > 1) samples.push_back(SampleOf(clock.process.hProcess));
    }
    watcher.Stop();
    if (::testing::Test::HasFatalFailure()) return;

    // The first and the last part: a minute each, or a third of a shorter day.
    long long const part = SoakSeconds >= 180 ? 60000 : SoakSeconds * 1000LL / 3;
    // Each part holds one sample at least.
    ASSERT_GE(samples.size(), 2u);
    Sample const first = MeanOf(samples, samples.front().ms, samples.front().ms + part);
    Sample const last = MeanOf(samples, samples.back().ms - part, samples.back().ms);
    int mostInOneRound = 0;
    int const slowRounds = watcher.RoundsWithSlowAnswers(&mostInOneRound);
    printf("soak: %d s, %d rounds, %d alarms and %d rings (expected %d), worst ring %lld ms into its second; "
           "%d probes, slowest %.1f ms, %d over %.0f ms in %d rounds (at most %d in one), %d unanswered; "
           "%d seconds shown, %d skipped or "
           "repeated, %d late; working set %.0f KB then %.0f KB; GDI objects (brushes, fonts, bitmaps, pens...) %d "
           "then %d\n",
           SoakSeconds, rounds, day.alarms, watcher.Rings(), day.expectedRings, day.worstRingLatenessMs,
           watcher.probes.load(), watcher.slowestMs.load(), watcher.lateProbes.load(), ProbeLimitMs, slowRounds,
           mostInOneRound, watcher.unanswered.load(), watcher.seconds.load(), watcher.skips.load(),
           watcher.lateSeconds.load(), first.workingSet / 1024, last.workingSet / 1024, first.gdiObjects,
           last.gdiObjects);
    for (const std::string& fault : watcher.faults) ADD_FAILURE() << fault;
    EXPECT_EQ(watcher.Rings(), day.expectedRings) << "an alarm missed or doubled";
    EXPECT_EQ(watcher.unanswered, 0);
    EXPECT_LE(slowRounds * 2, rounds) << "answers over " << ProbeLimitMs << " ms in most rounds";
    EXPECT_LT(watcher.slowestMs, HangLimitMs);
    EXPECT_EQ(watcher.skips, 0);
    EXPECT_EQ(watcher.lateSeconds, 0);
    EXPECT_GE(watcher.seconds, SoakSeconds - 2);
    EXPECT_GE(rounds, 3);
    ASSERT_GT(first.workingSet, 0);
    EXPECT_LE(last.workingSet, first.workingSet * 1.02) << "the working set grew";
    ASSERT_GE(first.gdiObjects, 0) << "the GDI handle table could not be read";
    EXPECT_LE(last.gdiObjects, first.gdiObjects * 1.02 + 0.5) << "GDI objects grew";
}
