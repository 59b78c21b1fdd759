// Ring: from the alarm second to "Stop" on the Test button and to the first
// loud block of the tone heard in the sound sink; from a real click on "Stop"
// to silence. Beside it the sound platform's own delays: a fresh process
// that plays the same two sounds the same way.
#include "bench.h"

#include "capture.h"
#include "clock.h"

#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int const AlarmLeadSeconds = 5;
double const BlockMs = 10;
double const LoudBlockRms = 1000;  // the tone's blocks lie above 5000
double const QuietBlockRms = 200;
int const LoudSample = 2000;  // as the sound tests take a sample to be loud
double const QuietStretchMs = 400;  // longer than one loop of the tone (390 ms)
double const QuietBeforeMs = 1000;  // quiet needed before each measured sound
double const SinkClockMarginMs = 50;
double const RingingMs = 2000;  // how long each alarm rings before the click
double const ListenAfterMs = 1500;

// ./bench records the sink from the start of its run: unsigned 8-bit samples
// at 8000 Hz in VEXO_SINK_RAW_WIN, sample 0 played at VEXO_SINK_START_NS.
bool ReadSink(long long fromMs, Capture& capture)
{
    const char* path = getenv("VEXO_SINK_RAW_WIN");
    const char* start = getenv("VEXO_SINK_START_NS");
    if (!path || !start) return false;
    long long const startMs = _atoi64(start) / 1000000;
    long long const firstSample = std::max(0LL, (fromMs - startMs) * CaptureRate / 1000);
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    _fseeki64(file, firstSample, SEEK_SET);
    capture.samples.clear();
    capture.startMs = startMs + firstSample * 1000 / CaptureRate;
    unsigned char block[8192];
    size_t got;
    while ((got = fread(block, 1, sizeof block, file)) > 0)
        for (size_t i = 0; i < got; ++i) capture.samples.push_back(static_cast<int16_t>((block[i] - 128) * 256));
    fclose(file);
    return true;
}

long long ToMs(double ms)
{
    return static_cast<long long>(ms);
}

// When the first loud block at or after fromMs begins to sound: its first
// loud sample, which may lie in the block before. -1 if there is none.
double ToneOnsetMs(const Capture& capture, double fromMs)
{
    for (double at = fromMs; at + BlockMs <= static_cast<double>(CaptureEndMs(capture)); at += BlockMs)
        if (RmsBetween(capture, ToMs(at), ToMs(at + BlockMs)) > LoudBlockRms)
            return static_cast<double>(FirstLoudMs(capture, ToMs(std::max(fromMs, at - BlockMs)), LoudSample));
    return -1;
}

// The moment after the last loud sample before untilMs, at or after fromMs.
double LastSoundEndMs(const Capture& capture, double fromMs, double untilMs)
{
    double end = fromMs;
    for (long long at = FirstLoudMs(capture, ToMs(fromMs), LoudSample); at >= 0 && at < ToMs(untilMs);
         at = FirstLoudMs(capture, at + 1, LoudSample))
        end = static_cast<double>(at + 1);
    return end;
}

// The start of the first block at or after fromMs from which the sink stays
// quiet for a whole stretch, or -1.
double SilenceFromMs(const Capture& capture, double fromMs)
{
    double quietSince = -1;
    for (double at = fromMs; at + BlockMs <= static_cast<double>(CaptureEndMs(capture)); at += BlockMs) {
        if (RmsBetween(capture, ToMs(at), ToMs(at + BlockMs)) >= QuietBlockRms) {
            quietSince = -1;
            continue;
        }
        if (quietSince < 0) quietSince = at;
        if (at + BlockMs - quietSince >= QuietStretchMs) return quietSince;
    }
    return -1;
}

// Waits until the sink has been quiet for a whole stretch, so that what comes
// next is not mistaken for the end of an earlier sound.
bool WaitForQuietSink(double timeoutMs)
{
    double const until = PreciseNowMs() + timeoutMs;
    do {
        Capture capture;
        double const now = PreciseNowMs();
        if (!ReadSink(ToMs(now - QuietBeforeMs - 200), capture)) return false;
        double const end = static_cast<double>(CaptureEndMs(capture));
        if (end - QuietBeforeMs >= static_cast<double>(capture.startMs) &&
            RmsBetween(capture, ToMs(end - QuietBeforeMs), ToMs(end)) < QuietBlockRms)
            return true;
        Sleep(100);
    } while (PreciseNowMs() < until);
    return false;
}

struct Delays {
    std::vector<double> toCaption, toTone, toSilence;
};

void PutDelays(Results& results, const std::string& key, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    results.Put(key + ".count", static_cast<double>(values.size()));
    results.Put(key + ".p50", Percentile(values, 0.5));
    results.Put(key + ".max", values.empty() ? NAN : values.back());
}

bool WaitForText(HWND window, const char* text, double untilMs, double& seenMs)
{
    while (PreciseNowMs() < untilMs) {
        if (WindowText(window) == text) {
            seenMs = PreciseNowMs();
            return true;
        }
        Sleep(1);
    }
    return false;
}

void SleepUntil(double ms)
{
    double now = PreciseNowMs();
    if (ms > now) Sleep(static_cast<DWORD>(ms - now));
}

// One alarm of a freshly started clock whose local time reaches 06:00:00
// (the alarm it is armed for at start) a few seconds on.
void RingOnce(Delays& delays, int& stopsMissing)
{
    WaitForQuietSink(10000);
    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs(), AlarmLeadSeconds);
    double const alarmMs = static_cast<double>(NextLocalMoment("06:00:00", offset, NowMs()));
    Started clock = StartProgram(ClockProgram(), {TimeZoneFor(offset)}, offset, true);
    if (!clock.window || clock.shownMs > alarmMs - 500) {
        fprintf(stderr, "ring: the clock was not up before its alarm second\n");
        return;
    }
    HWND test = ControlAt(clock.window, TestButtonIndex);
    double stopShownMs = 0;
    if (!WaitForText(test, "Stop", alarmMs + 5000, stopShownMs)) {
        fprintf(stderr, "ring: Test never read Stop\n");
        return;
    }
    delays.toCaption.push_back(stopShownMs - alarmMs);

    SleepUntil(alarmMs + RingingMs);
    double const clickMs = PreciseNowMs();
    ClickControl(test);
    double testShownMs = 0;
    bool const stopped = WaitForText(test, "Test", clickMs + 3000, testShownMs);
    SleepUntil(clickMs + ListenAfterMs);

    Capture capture;
    if (!ReadSink(ToMs(alarmMs) - 1000, capture)) return;
    double const onset = ToneOnsetMs(capture, alarmMs - 500);
    if (onset >= 0) delays.toTone.push_back(onset - alarmMs);
    if (!stopped) {
        ++stopsMissing;
        return;
    }
    double const quiet = SilenceFromMs(capture, clickMs);
    if (quiet >= 0) delays.toSilence.push_back(LastSoundEndMs(capture, clickMs, quiet + BlockMs) - clickMs);
}

// The platform's delays: a fresh process, as the clock is at its first alarm,
// plays the clock's own tone and silence as the clock does and reports when.
void PlayReferenceOnce(Delays& delays, const std::string& folder)
{
    std::string const times = folder + "\\play-times.txt";
    DeleteFileA(times.c_str());
    WaitForQuietSink(10000);
    std::string self(MAX_PATH, '\0');
    self.resize(GetModuleFileNameA(NULL, &self[0], MAX_PATH));
    std::string commandLine = "\"" + self + "\" play \"" + times + "\" 0";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(self.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return;
    // Watched as the clock's ring is, with a call to the wineserver every
    // millisecond: the first sound of a process comes later while the server
    // idles. Wine's sound driver can fault while the process exits; the
    // times are written before.
    double const deadline = PreciseNowMs() + 30000;
    while (WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT && PreciseNowMs() < deadline)
        WindowText(GetDesktopWindow());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    FILE* file = fopen(times.c_str(), "rb");
    if (!file) return;
    double playMs = 0, stopMs = 0;
    int const got = fscanf(file, "%lf %lf", &playMs, &stopMs);
    fclose(file);
    if (got != 2) return;
    SleepUntil(stopMs + ListenAfterMs);
    Capture capture;
    if (!ReadSink(ToMs(playMs) - 1000, capture)) return;
    // Its own call is the earliest the tone can come; the sink's clock is
    // good to some milliseconds.
    double const onset = ToneOnsetMs(capture, playMs - SinkClockMarginMs);
    double const quiet = SilenceFromMs(capture, stopMs);
    if (onset >= 0) delays.toTone.push_back(onset - playMs);
    if (quiet >= 0) delays.toSilence.push_back(LastSoundEndMs(capture, stopMs, quiet + BlockMs) - stopMs);
}

const void* WaveOf(HMODULE image, int id)
{
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(id), "WAVE");
    return found ? LockResource(LoadResource(image, found)) : NULL;
}

}  // namespace

int RunRing(const std::string& folder, int alarms)
{
    Results results(folder, "ring");
    if (!results.Ok()) return 1;
    Delays program, platform;
    int stopsMissing = 0;
    for (int i = 0; i < alarms; ++i) {
        RingOnce(program, stopsMissing);
        PlayReferenceOnce(platform, folder);
    }
    results.Put("alarms", alarms);
    results.Put("stops_missing", stopsMissing);
    PutDelays(results, "program.caption", program.toCaption);
    PutDelays(results, "program.tone", program.toTone);
    PutDelays(results, "program.silence", program.toSilence);
    PutDelays(results, "platform.tone", platform.toTone);
    PutDelays(results, "platform.silence", platform.toSilence);
    return 0;
}

int PlayReference(const std::string& timesPath)
{
    HMODULE image = LoadLibraryExA(ClockProgramPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    const void* tone = WaveOf(image, 601);
    const void* silence = WaveOf(image, 600);
    if (!tone || !silence) return 1;
    // Like the clock, it waits in a message loop and plays from a timer
    // message, as long after its start as a clock's alarm comes after the
    // clock's: a process that sleeps, or plays at once, hears its first
    // sound at another delay under Wine.
    UINT_PTR const playTimer = SetTimer(NULL, 0, static_cast<UINT>(AlarmLeadSeconds) * 1000, NULL);
    UINT_PTR stopTimer = 0, endTimer = 0;
    double playMs = 0, stopMs = 0;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        if (message.message != WM_TIMER) continue;
        KillTimer(NULL, message.wParam);
        if (message.wParam == playTimer) {
            playMs = PreciseNowMs();
            sndPlaySoundA(static_cast<const char*>(tone), SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP);
            stopTimer = SetTimer(NULL, 0, static_cast<UINT>(RingingMs), NULL);
        } else if (message.wParam == stopTimer) {
            stopMs = PreciseNowMs();
            sndPlaySoundA(static_cast<const char*>(silence), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
            // Lets the silence play out before the process goes.
            endTimer = SetTimer(NULL, 0, 1000, NULL);
        } else if (message.wParam == endTimer) {
            break;
        }
    }
    FILE* file = fopen(timesPath.c_str(), "wb");
    if (!file) return 1;
    fprintf(file, "%.3f %.3f\n", playMs, stopMs);
    fclose(file);
    return 0;
}
