// The bench driver: runs beside the clock under Wine in the harness's desktop
// and measures it from outside, through the Win32 API, /proc and the sound
// sink. One mode a call; each writes OUTDIR\MODE.txt for ./bench.
#include "bench.h"

#include "clock.h"
#include "process_probe.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>

Results::Results(const std::string& folder, const std::string& name)
    : file_(fopen((folder + "\\" + name + ".txt").c_str(), "wb"))
{}

Results::~Results()
{
    if (file_) fclose(file_);
}

void Results::Put(const std::string& key, double value)
{
    if (!file_) return;
    if (std::isnan(value))
        fprintf(file_, "%s -\n", key.c_str());
    else if (value == std::floor(value))
        fprintf(file_, "%s %.0f\n", key.c_str(), value);
    else
        fprintf(file_, "%s %.6g\n", key.c_str(), value);
    fflush(file_);
}

void Results::Put(const std::string& key, const std::string& value)
{
    if (!file_) return;
    fprintf(file_, "%s %s\n", key.c_str(), value.c_str());
    fflush(file_);
}

double PreciseNowMs()
{
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return static_cast<double>(FileTimeTicks(now) - 116444736000000000ULL) / 10000.0;
}

Program ClockProgram()
{
    return Program{ClockProgramPath(), "TOLVAPROG"};
}

Program ReferenceClockProgram()
{
    return Program{DriverFolder() + "\\reference_clock.exe", "VexoReferenceClock"};
}

Program BareWindowProgram()
{
    return Program{DriverFolder() + "\\bare_window.exe", "VexoBareWindow"};
}

Started::Started(Started&& other) noexcept
    : process(other.process), window(other.window), linuxPid(other.linuxPid), startedMs(other.startedMs),
      shownMs(other.shownMs)
{
    other.process = PROCESS_INFORMATION();
}

Started::~Started()
{
    EndProgram(*this);
}

namespace {

bool ShowsTime(const std::string& text, double nowMs, int offsetSeconds)
{
    long long ms = static_cast<long long>(nowMs);
    return text == LocalTimeText(ms, offsetSeconds) || text == LocalTimeText(ms - 1000, offsetSeconds);
}

}  // namespace

HWND LabelOf(const Program& program, HWND window)
{
    if (strcmp(program.className, "TOLVAPROG") == 0) return ControlAt(window, ClockLabelIndex);
    if (strcmp(program.className, "VexoReferenceClock") == 0) return GetWindow(window, GW_CHILD);
    return NULL;
}

std::string WindowText(HWND window)
{
    wchar_t wide[64] = L"";
    int length = InternalGetWindowText(window, wide, 64);
    std::string text;
    for (int i = 0; i < length; ++i) text += static_cast<char>(wide[i]);
    return text;
}

Started StartProgram(const Program& program, const std::vector<std::string>& environment, int offsetSeconds, bool sound)
{
    Started started;
    std::vector<std::string> variables = environment;
    if (!sound) {
        // As the end-to-end driver does: a program that does not listen stays
        // off the sound server, whose driver can fault while a process exits.
        char overrides[1024] = "";
        GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
        variables.push_back(std::string("WINEDLLOVERRIDES=") + overrides + (overrides[0] ? ";" : "") +
                            "winepulse.drv=d");
    }
    std::vector<char> block = EnvironmentBlock(variables);
    std::string commandLine = "\"" + program.path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started.startedMs = PreciseNowMs();
    if (!CreateProcessA(program.path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, block.data(),
                        DriverFolder().c_str(), &startup, &started.process)) {
        fprintf(stderr, "cannot start %s: error %lu\n", program.path.c_str(), GetLastError());
        return started;
    }
    double const deadline = started.startedMs + 30000;
    while (PreciseNowMs() < deadline) {
        HWND window = FindProcessWindow(started.process.dwProcessId, program.className);
        if (window && IsWindowVisible(window)) {
            HWND label = LabelOf(program, window);
            if (!label || ShowsTime(WindowText(label), PreciseNowMs(), offsetSeconds)) {
                started.shownMs = PreciseNowMs();
                started.window = window;
                break;
            }
        }
        Sleep(1);
    }
    if (!started.window) fprintf(stderr, "%s did not show its window\n", program.path.c_str());
    started.linuxPid = LinuxProcessOf(program.path);
    return started;
}

void EndProgram(Started& started)
{
    if (!started.process.hProcess) return;
    if (WaitForSingleObject(started.process.hProcess, 0) != WAIT_OBJECT_0) {
        HWND window = started.window;
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(started.process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(started.process.hProcess, 1);
        WaitForSingleObject(started.process.hProcess, 10000);
    }
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
    started.process = PROCESS_INFORMATION();
    started.window = NULL;
}

double Percentile(const std::vector<double>& sorted, double share)
{
    if (sorted.empty()) return NAN;
    size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    if (rank < 1) rank = 1;
    return sorted[std::min(rank, sorted.size()) - 1];
}

int main(int argc, char** argv)
{
    // Wine's C runtime would write \r\n for every \n.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 4) {
        fprintf(stderr, "usage: bench_driver.exe MODE OUTDIR COUNT [REPAINTS]\n"
                        "  punctuality OUTDIR SECONDS REPAINTS  display lag of the clock and the reference clock,\n"
                        "                                       then memory and GDI objects around the repaints\n"
                        "  idle OUTDIR SECONDS                  CPU time shown and hidden, beside the references\n"
                        "  startup OUTDIR RUNS                  start-up time beside the references\n"
                        "  ring OUTDIR ALARMS                   alarm second to Stop, to the tone, Stop to silence\n");
        return 2;
    }
    std::string mode = argv[1], folder = argv[2];
    int count = atoi(argv[3]);
    if (mode == "punctuality") return RunPunctuality(folder, count, argc > 4 ? atoi(argv[4]) : 1000);
    if (mode == "idle") return RunIdle(folder, count);
    if (mode == "startup") return RunStartup(folder, count);
    if (mode == "ring") return RunRing(folder, count);
    if (mode == "play") return PlayReference(folder);
    fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
