// What the benchmark modes of the bench driver share: the results file,
// starting the programs measured, reading a window's text, percentiles.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

// Figures go to OUTDIR\NAME.txt as "key value" lines, which ./bench reads.
class Results {
public:
    Results(const std::string& folder, const std::string& name);
    ~Results();
    Results(const Results&) = delete;
    Results& operator=(const Results&) = delete;
    // NaN values are written as "-": not measured.
    void Put(const std::string& key, double value);
    void Put(const std::string& key, const std::string& value);
    bool Ok() const { return file_ != NULL; }

private:
    FILE* file_;
};

// Calendar time in milliseconds since 1970, to a microsecond.
double PreciseNowMs();

// A program the benchmarks start: the clock or one of its references.
struct Program {
    std::string path;
    const char* className;
};
Program ClockProgram();
Program ReferenceClockProgram();
Program BareWindowProgram();

// A started program; ended (WM_CLOSE, then termination) when let go of.
struct Started {
    PROCESS_INFORMATION process = {};
    HWND window = NULL;
    unsigned long linuxPid = 0;
    double startedMs = 0;  // just before CreateProcess
    double shownMs = 0;  // when it was first seen ready (see StartProgram)

    Started() = default;
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    Started(Started&& other) noexcept;
    ~Started();
};

// Starts the program with the extra environment variables and waits, polling
// every millisecond, until its top-level window is visible and, for a clock,
// its label shows the current local time (the offset is that of the TZ given).
// With sound off the program does not reach the sound server.
Started StartProgram(const Program& program, const std::vector<std::string>& environment, int offsetSeconds,
                     bool sound = false);
void EndProgram(Started& started);

// The clock label of a started clock or reference clock.
HWND LabelOf(const Program& program, HWND window);
// A window's text as the window manager holds it; asks nothing of the
// window's own thread, so polling it does not disturb the program measured.
std::string WindowText(HWND window);

// The value below which the given share of the sorted values lies (nearest
// rank); NaN, which the results file writes as "-", when there are none.
double Percentile(const std::vector<double>& sorted, double share);

// The modes, each writing its own results file into the folder.
int RunPunctuality(const std::string& folder, int seconds, int repaints);
int RunIdle(const std::string& folder, int seconds);
int RunStartup(const std::string& folder, int runs);
int RunRing(const std::string& folder, int alarms);
// The sound platform's reference for RunRing, in a process of its own.
int PlayReference(const std::string& timesPath);
