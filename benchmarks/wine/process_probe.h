// What a benchmark reads about another process from outside: its Linux
// process under Wine, CPU time and working set (its GDI objects: gdi_objects.h).
#pragma once

#include <windows.h>

#include <cmath>
#include <string>

// A FILETIME as one count of 100 ns ticks.
inline unsigned long long FileTimeTicks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The Linux process id of the newest process of this Wine prefix that runs the
// given program (as a Windows path), or 0. Wine names a process's Linux
// command line after its Windows program, and it inherits the environment of
// the wineserver's session, not its Windows environment.
unsigned long LinuxProcessOf(const std::string& windowsPath);

// Each figure is NaN when it could not be read.
struct CpuTimes {
    double procSeconds = NAN;  // /proc: the run time of every live thread (schedstat)
    double procStatSeconds = NAN;  // /proc: utime + stime, in clock ticks, exited threads too
    double windowsSeconds = NAN;  // GetProcessTimes: kernel + user
};
CpuTimes CpuTimesOf(HANDLE process, unsigned long linuxPid);
CpuTimes CpuTimesSince(const CpuTimes& later, const CpuTimes& earlier);

// Working set in bytes as GetProcessMemoryInfo reports it, and /proc's VmRSS.
struct WorkingSet {
    double windowsBytes = NAN;
    double procBytes = NAN;
};
WorkingSet WorkingSetOf(HANDLE process, unsigned long linuxPid);
