// Punctuality: for every local second boundary, how long until a clock's
// label shows that second, for the clock and the reference clock side by side.
// Memory: the clock's working set and GDI objects over the same run, and
// around a run of repaints, each of which asks the form for its control colours.
#include "bench.h"

#include "clock.h"
#include "gdi_objects.h"
#include "process_probe.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// West of UTC by odd seconds too, as the end-to-end tests move local time.
int const PunctualityOffset = -(2 * 3600 + 30 * 60 + 17);
// Seconds at the edges of the run that are not counted: the first has begun
// before polling, the last may be shown after it ends.
double const EdgeMs = 1500;
// A second shown this long was shown for two ticks, or its successor was late.
double const RepeatedMs = 1500;

struct Sighting {
    double ms;
    std::string text;
};

struct Watch {
    HWND label = NULL;
    std::vector<Sighting> changes;
};

struct Punctuality {
    std::vector<double> lags;  // one per shown second, in order
    int skipped = 0;
    int repeated = 0;
};

Punctuality Measure(const Watch& watch, double fromMs, double toMs)
{
    Punctuality result;
    std::map<std::string, double> firstSeen;
    for (const Sighting& s : watch.changes)
        if (!firstSeen.count(s.text)) firstSeen[s.text] = s.ms;
    for (long long boundary = static_cast<long long>(fromMs / 1000 + 1) * 1000; boundary <= toMs; boundary += 1000) {
        auto seen = firstSeen.find(LocalTimeText(boundary, PunctualityOffset));
        if (seen == firstSeen.end())
            ++result.skipped;
        else
            result.lags.push_back(seen->second - static_cast<double>(boundary));
    }
    for (size_t i = 0; i + 1 < watch.changes.size(); ++i) {
        double shownFrom = watch.changes[i].ms;
        if (shownFrom >= fromMs && shownFrom <= toMs && watch.changes[i + 1].ms - shownFrom >= RepeatedMs)
            ++result.repeated;
    }
    return result;
}

void PutPunctuality(Results& results, const std::string& who, const Punctuality& figures)
{
    std::vector<double> sorted = figures.lags;
    std::sort(sorted.begin(), sorted.end());
    results.Put(who + ".shown", static_cast<double>(sorted.size()));
    results.Put(who + ".p50", Percentile(sorted, 0.50));
    results.Put(who + ".p99", Percentile(sorted, 0.99));
    results.Put(who + ".max", sorted.empty() ? NAN : sorted.back());
    results.Put(who + ".skipped", figures.skipped);
    results.Put(who + ".repeated", figures.repeated);
}

void WriteLags(const std::string& folder, const std::string& who, const std::vector<double>& lags)
{
    FILE* file = fopen((folder + "\\lag-" + who + ".txt").c_str(), "wb");
    if (!file) return;
    for (size_t i = 0; i < lags.size(); ++i) fprintf(file, "%zu %.3f\n", i, lags[i]);
    fclose(file);
}

void PutWorkingSet(Results& results, const std::string& key, const Started& program)
{
    WorkingSet size = WorkingSetOf(program.process.hProcess, program.linuxPid);
    results.Put(key, size.windowsBytes);
    results.Put(key + ".proc", size.procBytes);
}

GdiObjects PutGdiObjects(Results& results, const std::string& key, HANDLE process)
{
    GdiObjects objects = GdiObjectsOf(process);
    for (const auto& kind : objects.kinds) results.Put(key + "." + kind.first, kind.second);
    results.Put(key + ".own", objects.own < 0 ? NAN : objects.own);
    return objects;
}

bool NeedsPaint(HWND window)
{
    if (GetUpdateRect(window, NULL, FALSE)) return true;
    for (HWND child : ChildWindows(window))
        if (GetUpdateRect(child, NULL, FALSE)) return true;
    return false;
}

// Repaints the whole form as uncovering it would; every control asks the form
// for its colours. Returns how many repaints were seen through.
int Repaint(HWND form, int times)
{
    int done = 0;
    for (int i = 0; i < times; ++i) {
        RedrawWindow(form, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (WaitFor([&] { return !NeedsPaint(form); }, 5000)) ++done;
    }
    return done;
}

}  // namespace

int RunPunctuality(const std::string& folder, int seconds, int repaints)
{
    Results punctuality(folder, "punctuality");
    Results memory(folder, "memory");
    if (!punctuality.Ok() || !memory.Ok()) return 1;
    std::vector<std::string> const environment = {TimeZoneFor(PunctualityOffset)};
    Program const clockProgram = ClockProgram(), referenceProgram = ReferenceClockProgram();
    Started clock = StartProgram(clockProgram, environment, PunctualityOffset);
    Started reference = StartProgram(referenceProgram, environment, PunctualityOffset);
    if (!clock.window || !reference.window) return 1;

    Sleep(1000);
    PutWorkingSet(memory, "ws.start.program", clock);
    PutWorkingSet(memory, "ws.start.reference", reference);

    Watch watches[2];
    watches[0].label = LabelOf(clockProgram, clock.window);
    watches[1].label = LabelOf(referenceProgram, reference.window);
    double const fromMs = PreciseNowMs();
    double const toMs = fromMs + seconds * 1000.0;
    long long polls = 0;
    for (double now = fromMs; now < toMs; now = PreciseNowMs()) {
        for (Watch& watch : watches) {
            std::string text = WindowText(watch.label);
            if (watch.changes.empty() || watch.changes.back().text != text)
                watch.changes.push_back(Sighting{PreciseNowMs(), text});
        }
        ++polls;
        Sleep(1);
    }
    double const pollHz = static_cast<double>(polls) * 1000.0 / (PreciseNowMs() - fromMs);

    Punctuality program = Measure(watches[0], fromMs + EdgeMs, toMs - EdgeMs);
    Punctuality classic = Measure(watches[1], fromMs + EdgeMs, toMs - EdgeMs);
    punctuality.Put("seconds", seconds);
    punctuality.Put("polls_per_second", pollHz);
    PutPunctuality(punctuality, "program", program);
    PutPunctuality(punctuality, "reference", classic);
    WriteLags(folder, "program", program.lags);
    WriteLags(folder, "reference", classic.lags);

    memory.Put("minutes", seconds / 60.0);
    PutWorkingSet(memory, "ws.run.program", clock);
    PutWorkingSet(memory, "ws.run.reference", reference);
    GdiObjects const before = PutGdiObjects(memory, "gdi.before", clock.process.hProcess);
    double const repaintFrom = PreciseNowMs();
    int const done = Repaint(clock.window, repaints);
    memory.Put("repaints", done);
    memory.Put("repaint_ms", done ? (PreciseNowMs() - repaintFrom) / done : NAN);
    GdiObjects const after = PutGdiObjects(memory, "gdi.after", clock.process.hProcess);
    // Brushes that exist now and did not before: the repaints did reach the
    // control colours, which replace the one brush each time.
    int replaced = 0;
    for (unsigned brush : after.brushes) replaced += before.brushes.count(brush) == 0;
    memory.Put("gdi.brushes_new", replaced);
    PutWorkingSet(memory, "ws.repainted.program", clock);
    return 0;
}
