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
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

int SoakSeconds = 60;

namespace {

// A person waits for no answer over ProbeLimitMs. A step of the clock that
// blocks does so every time the step comes, so in every round; a busy
// two-processor machine pauses now and then, and slows the clock's real work
// wherever it happens to be. So each probe of the clock goes out with a probe
// of a reference window, answered on a thread of the driver's own at the very
// same moment, and an answer is slow when the clock took ProbeLimitMs longer
// than the reference; slow answers fail the day only when they come back at
// the same step of the day in most rounds. No answer, on any machine, may
// take HangLimitMs.
double const ProbeLimitMs = 100;
double const HangLimitMs = 500;
// How far into a second the label may still show the second before: the
// clock's own lateness and a probe. A late second counts with the slow answers.
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

// How long a window took to answer WM_NULL, or 2000 ms without an answer.
double AnswerMs(HWND window, bool* answered)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    DWORD_PTR result;
    *answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
    return MillisecondsSince(start);
}

// The reference: a message-only window whose thread does nothing but answer,
// and a thread that probes it each time the watcher probes the clock.
class Reference {
public:
    Reference()
    {
        ready = CreateEventA(NULL, FALSE, FALSE, NULL);
        go = CreateEventA(NULL, FALSE, FALSE, NULL);
        done = CreateEventA(NULL, FALSE, FALSE, NULL);
        answerer = CreateThread(NULL, 0, Answer, this, 0, &answererId);
        WaitForSingleObject(ready, 5000);
        prober = CreateThread(NULL, 0, Probe, this, 0, NULL);
    }
    ~Reference()
    {
        stop = true;
        SetEvent(go);
        WaitForSingleObject(prober, 5000);
        PostThreadMessageA(answererId, WM_QUIT, 0, 0);
        WaitForSingleObject(answerer, 5000);
        for (HANDLE h : {prober, answerer, ready, go, done}) CloseHandle(h);
    }
    void Start() { SetEvent(go); }
    // The reference's answer to the probe started with Start.
    double FinishMs() { return WaitForSingleObject(done, 5000) == WAIT_OBJECT_0 ? lastMs : 0; }

private:
    static DWORD WINAPI Answer(void* self)
    {
        Reference& reference = *static_cast<Reference*>(self);
        reference.window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
        SetEvent(reference.ready);
        MSG message;
        while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
        DestroyWindow(reference.window);
        return 0;
    }
    static DWORD WINAPI Probe(void* self)
    {
        Reference& reference = *static_cast<Reference*>(self);
        while (WaitForSingleObject(reference.go, INFINITE) == WAIT_OBJECT_0 && !reference.stop) {
            bool answered;
            reference.lastMs = AnswerMs(reference.window, &answered);
            SetEvent(reference.done);
        }
        return 0;
    }

    HWND window = NULL;
    HANDLE ready, go, done, answerer, prober;
    DWORD answererId = 0;
    double lastMs = 0;
    std::atomic<bool> stop{false};
};

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
        if (slipsByRound.size() <= static_cast<size_t>(round)) slipsByRound.resize(round + 1, 0);
    }
    // How many rounds had a slow answer or a late second, and the most in one.
    int RoundsWithSlips(int* mostInOneRound)
    {
        std::lock_guard<std::mutex> hold(stateLock);
        *mostInOneRound = slipsByRound.empty() ? 0 : *std::max_element(slipsByRound.begin(), slipsByRound.end());
        return static_cast<int>(std::count_if(slipsByRound.begin(), slipsByRound.end(), [](int n) { return n > 0; }));
    }
    // The step of the day that slipped in the most rounds, and in how many.
    int RoundsOfWorstStep(std::string* worstStep)
    {
        std::lock_guard<std::mutex> hold(stateLock);
        size_t most = 0;
        for (const auto& stepRounds : roundsOfStep) {
            if (stepRounds.second.size() <= most) continue;
            most = stepRounds.second.size();
            *worstStep = stepRounds.first;
        }
        return static_cast<int>(most);
    }

    // What the day is doing; the day sets it before each step.
    std::atomic<const char*> step{"start-up"};

    std::atomic<int> probes{0}, machineSlowProbes{0}, lateProbes{0}, unanswered{0}, seconds{0}, skips{0}, unwatched{0},
        wrongSeconds{0}, lateSeconds{0}, rings{0};
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

    void Slip()
    {
        std::lock_guard<std::mutex> hold(stateLock);
        if (currentRound < 0) return;
        ++slipsByRound[currentRound];
        roundsOfStep[step.load()].insert(currentRound);
        printf("soak: round %d, %s\n", currentRound, step.load());
    }

    void Fault(const std::string& what)
    {
        std::lock_guard<std::mutex> hold(stateLock);
        if (faults.size() < 20) faults.push_back(what);
    }

    void Watch()
    {
        Reference reference;
        HWND label = ControlAt(form, ClockLabelIndex), testButton = ControlAt(form, TestButtonIndex);
        std::string shown = TextOf(label), caption = TextOf(testButton);
        long long lastReadFrom = NowMs();
        while (!stop) {
            bool answered;
            reference.Start();
            double const ms = AnswerMs(form, &answered), referenceMs = reference.FinishMs();
            ++probes;
            if (!answered) ++unanswered;
            if (ms > slowestMs) slowestMs = ms;
            if (ms > ProbeLimitMs) ++machineSlowProbes;
            if (ms - referenceMs > ProbeLimitMs) {
                ++lateProbes;
                Slip();
            }
            if (ms > ProbeLimitMs)
                printf("soak: a probe took %.1f ms, the reference's %.1f ms, at %s\n", ms, referenceMs,
                       LocalTimeText(NowMs(), offset).c_str());

            long long const readFrom = NowMs();
            std::string now = TextOf(label);
            long long const readTo = NowMs();
            if (now != shown) {
                ++seconds;
                // The previous read, begun at lastReadFrom, still found the old second. The
                // zone's offset is whole seconds: local seconds begin on the calendar's.
                long long begins = readTo - readTo % 1000;
                while (begins > readFrom - 5000 && LocalTimeText(begins, offset) != now) begins -= 1000;
                if (LocalTimeText(begins, offset) != now) {
                    ++wrongSeconds;
                    Fault(now + " was shown at " + LocalTimeText(readTo, offset));
                } else if (lastReadFrom - begins > ShownLimitMs) {
                    ++lateSeconds;
                    Slip();
                    printf("soak: %s was still not shown %lld ms into it\n", now.c_str(), lastReadFrom - begins);
                }
                // A second may pass unseen only between reads a second or more apart.
                int step = (SecondOfDay(now) - SecondOfDay(shown) + 86400) % 86400;
                if (step != 1 && readTo - lastReadFrom < 1000) {
                    ++skips;
                    Fault("the clock went from " + shown + " to " + now);
                } else if (step != 1) {
                    ++unwatched;
                }
                shown = now;
            }
            lastReadFrom = readFrom;
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
    std::vector<int> slipsByRound;
    std::map<std::string, std::set<int>> roundsOfStep;
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
        watching = &watcher;
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
    void Step(const char* what) { watching->step = what; }
    bool Hidden() { return !IsWindowVisible(form); }

    void TrayRound()
    {
        Step("Hide");
        ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'H'));
        ASSERT_TRUE(WaitFor([&] { return Hidden(); }, 5000)) << "Hide";
        Step("Show");
        ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'S'));
        ASSERT_TRUE(WaitFor([&] { return Shown(); }, 5000)) << "Show";
        Step("minimise");
        DoubleClickIcon(icon);
        ASSERT_TRUE(WaitFor([&] { return Hidden() && IsIconic(form); }, 5000)) << "minimise";
        Step("restore");
        DoubleClickIcon(icon);
        ASSERT_TRUE(WaitFor([&] { return Shown(); }, 5000)) << "restore";
        Step("the tray menu");
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
        Step("About");
        ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
        CloseBoxWithEnter("About");
        if (::testing::Test::HasFatalFailure()) return;
        // The date box opens on a click on the clock.
        BringToFront(form);
        Step("the date box");
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
        Step("typing the alarm");
        ASSERT_TRUE(TypeAlarmTime(form, alarmTime)) << "typing " << alarmTime;
        long long const alarmMs = NextLocalMoment(alarmTime, offset, NowMs() - 1000);
        ++alarms;
        Step("minimise before the alarm");
        DoubleClickIcon(icon);
        ASSERT_TRUE(WaitFor([&] { return Hidden(); }, 5000)) << "minimise before the alarm";
        ++expectedRings;
        Step("the ring");
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
            Step("Snooze");
            Click(ControlAt(form, SnoozeButtonIndex));
        } else {
            Step("Stop");
            Click(testButton);
        }
        ASSERT_TRUE(WaitFor([&] { return TextOf(testButton) == "Test"; }, 3000))
            << (round % 2 == 0 ? "Snooze" : "Stop") << " did not end the ring";
        ++expectedRings;
        Step("Test");
        Click(testButton);
        ASSERT_TRUE(WaitFor([&] { return TextOf(testButton) == "Stop"; }, 3000)) << "Test";
        Step("Stop after Test");
        Click(testButton);
        ASSERT_TRUE(WaitFor([&] { return TextOf(testButton) == "Test"; }, 3000)) << "Stop after Test";
        EXPECT_EQ(watcher.Rings(), expectedRings);
    }

    ClockProcess& clock;
    TrayIcon& icon;
    int offset;
    Watcher* watching = nullptr;
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
    double const middle = samples[samples.size() / 2].workingSet;
    int mostInOneRound = 0;
    int const slowRounds = watcher.RoundsWithSlips(&mostInOneRound);
    std::string worstStep;
    int const worstStepRounds = watcher.RoundsOfWorstStep(&worstStep);
    printf("soak: %d s, %d rounds, %d alarms and %d rings (expected %d), worst ring %lld ms into its second; "
           "%d probes, slowest %.1f ms, %d over %.0f ms, %d of them %.0f ms or more slower than the reference's, in %d "
           "rounds (at most %d in one; at one step, %s, in %d), %d unanswered; "
           "%d seconds shown, %d skipped or repeated, %d wrong, %d shown over %lld ms late, %d passed between reads a "
           "second apart; working set %.0f KB, %.0f KB at midday, then %.0f KB; GDI objects (brushes, fonts, bitmaps, "
           "pens...) %d then "
           "%d\n",
           SoakSeconds, rounds, day.alarms, watcher.Rings(), day.expectedRings, day.worstRingLatenessMs,
           watcher.probes.load(), watcher.slowestMs.load(), watcher.machineSlowProbes.load(), ProbeLimitMs,
           watcher.lateProbes.load(), ProbeLimitMs, slowRounds, mostInOneRound,
           worstStep.empty() ? "none" : worstStep.c_str(), worstStepRounds, watcher.unanswered.load(),
           watcher.seconds.load(), watcher.skips.load(), watcher.wrongSeconds.load(), watcher.lateSeconds.load(),
           ShownLimitMs, watcher.unwatched.load(), first.workingSet / 1024, middle / 1024, last.workingSet / 1024,
           first.gdiObjects, last.gdiObjects);
    for (const std::string& fault : watcher.faults) ADD_FAILURE() << fault;
    EXPECT_EQ(watcher.Rings(), day.expectedRings) << "an alarm missed or doubled";
    EXPECT_EQ(watcher.unanswered, 0);
    EXPECT_LE(worstStepRounds * 2, rounds) << "slow answers or late seconds at " << worstStep << " in most rounds";
    EXPECT_LT(watcher.slowestMs, HangLimitMs);
    EXPECT_EQ(watcher.skips, 0);
    EXPECT_GE(watcher.seconds, SoakSeconds - 2);
    EXPECT_GE(rounds, 3);
    ASSERT_GT(first.workingSet, 0);
    // A leak grows all day. The working set also settles once, some 800 KB up a round or two
    // in on a busy machine (what the sound thread holds), and then holds: so it must have grown
    // in the second half of the day too.
    EXPECT_FALSE(last.workingSet > first.workingSet * 1.02 && last.workingSet > middle * 1.01)
        << "the working set grew from " << first.workingSet / 1024 << " KB to " << middle / 1024 << " KB and "
        << last.workingSet / 1024 << " KB";
    ASSERT_GE(first.gdiObjects, 0) << "the GDI handle table could not be read";
    EXPECT_LE(last.gdiObjects, first.gdiObjects * 1.02 + 0.5) << "GDI objects grew";
}
