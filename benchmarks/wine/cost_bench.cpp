// What the clock costs while nobody touches it, and how long it takes to come
// up, each beside the bare window program and the reference clock.
#include "bench.h"

#include "clock.h"
#include "process_probe.h"

#include <algorithm>

namespace {

struct Measured {
    const char* name;
    Program program;
};

std::vector<Measured> MeasuredPrograms()
{
    return {{"program", ClockProgram()}, {"bare", BareWindowProgram()}, {"reference", ReferenceClockProgram()}};
}

// Lets start-up work and the first paints finish before measuring.
DWORD const SettleMs = 3000;

void MeasureIdlePhase(Results& results, const std::string& phase, const std::vector<Measured>& measured,
                      std::vector<Started>& started, int seconds)
{
    std::vector<CpuTimes> before;
    for (Started& s : started) before.push_back(CpuTimesOf(s.process.hProcess, s.linuxPid));
    double const fromMs = PreciseNowMs();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    results.Put(phase + ".wall_seconds", (PreciseNowMs() - fromMs) / 1000);
    for (size_t i = 0; i < started.size(); ++i) {
        CpuTimes spent = CpuTimesSince(CpuTimesOf(started[i].process.hProcess, started[i].linuxPid), before[i]);
        std::string key = phase + "." + measured[i].name;
        results.Put(key + ".proc", spent.procSeconds);
        results.Put(key + ".stat", spent.procStatSeconds);
        results.Put(key + ".windows", spent.windowsSeconds);
    }
}

}  // namespace

int RunIdle(const std::string& folder, int seconds)
{
    Results results(folder, "idle");
    if (!results.Ok()) return 1;
    std::vector<Measured> const measured = MeasuredPrograms();
    std::vector<Started> started;
    for (const Measured& m : measured) {
        started.push_back(StartProgram(m.program, {TimeZoneFor(0)}, 0));
        if (!started.back().window) return 1;
        if (!started.back().linuxPid) fprintf(stderr, "no Linux process found for %s\n", m.name);
    }
    Sleep(SettleMs);
    results.Put("seconds", seconds);
    MeasureIdlePhase(results, "shown", measured, started, seconds);

    // Minimised, each leaves the screen and the taskbar, as the clock does.
    for (Started& s : started) PostMessageA(s.window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    for (Started& s : started)
        if (!WaitFor([&] { return !IsWindowVisible(s.window); }, 5000)) return 1;
    Sleep(SettleMs);
    MeasureIdlePhase(results, "hidden", measured, started, seconds);
    return 0;
}

int RunStartup(const std::string& folder, int runs)
{
    Results results(folder, "startup");
    if (!results.Ok()) return 1;
    std::vector<Measured> const measured = MeasuredPrograms();
    std::vector<std::vector<double>> times(measured.size());
    for (int run = 0; run < runs; ++run) {
        // Each run in another order, so no program always starts right after another.
        for (size_t k = 0; k < measured.size(); ++k) {
            size_t i = (k + static_cast<size_t>(run)) % measured.size();
            Started s = StartProgram(measured[i].program, {TimeZoneFor(0)}, 0);
            if (!s.window) return 1;
            times[i].push_back(s.shownMs - s.startedMs);
            EndProgram(s);
            Sleep(500);
        }
    }
    results.Put("runs", runs);
    for (size_t i = 0; i < measured.size(); ++i) {
        std::string all;
        for (double t : times[i]) all += (all.empty() ? "" : ",") + std::to_string(static_cast<long long>(t + 0.5));
        std::sort(times[i].begin(), times[i].end());
        std::string key = measured[i].name;
        results.Put(key + ".median", Percentile(times[i], 0.5));
        results.Put(key + ".min", times[i].front());
        results.Put(key + ".max", times[i].back());
        results.Put(key + ".runs", all);
    }
    return 0;
}
