// Reading another process's costs from outside it.
#include "process_probe.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Wine maps the Linux root to drive Z:.
std::string ProcPath(unsigned long pid, const char* file)
{
    char path[MAX_PATH];
    snprintf(path, sizeof path, "Z:\\proc\\%lu\\%s", pid, file);
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    std::string content;
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return content;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, NULL) && got > 0) content.append(block, got);
    CloseHandle(file);
    return content;
}

bool IsNumber(const char* text)
{
    if (!*text) return false;
    for (; *text; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}

// Field 22 of /proc/PID/stat: when the process started, in clock ticks since boot.
unsigned long long StartTimeOf(unsigned long pid)
{
    std::string stat = ReadWholeFile(ProcPath(pid, "stat"));
    size_t close = stat.rfind(')');
    unsigned long long started = 0;
    if (close != std::string::npos)
        sscanf(stat.c_str() + close + 2,
               "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu", &started);
    return started;
}

}  // namespace

unsigned long LinuxProcessOf(const std::string& windowsPath)
{
    char prefix[MAX_PATH] = "";
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    std::string const prefixEntry = std::string("WINEPREFIX=") + prefix;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned long found = 0;
    unsigned long long newest = 0;
    do {
        if (!IsNumber(entry.cFileName)) continue;
        unsigned long pid = strtoul(entry.cFileName, NULL, 10);
        std::string commandLine = ReadWholeFile(ProcPath(pid, "cmdline"));
        // Wine pads the program's name with spaces over the old arguments.
        size_t end = commandLine.find_first_of(std::string(" \0", 2));
        if (_stricmp(commandLine.substr(0, end).c_str(), windowsPath.c_str()) != 0) continue;
        std::string environment = ReadWholeFile(ProcPath(pid, "environ"));
        if (environment.find(std::string("\0", 1) + prefixEntry + std::string("\0", 1)) == std::string::npos &&
            environment.compare(0, prefixEntry.size() + 1, prefixEntry + std::string("\0", 1)) != 0)
            continue;
        unsigned long long started = StartTimeOf(pid);
        if (!found || started > newest) {
            found = pid;
            newest = started;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

CpuTimes CpuTimesOf(HANDLE process, unsigned long linuxPid)
{
    CpuTimes times;
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        times.windowsSeconds = static_cast<double>(FileTimeTicks(kernel) + FileTimeTicks(user)) / 1e7;
    if (!linuxPid) return times;

    std::string stat = ReadWholeFile(ProcPath(linuxPid, "stat"));
    size_t close = stat.rfind(')');
    if (close != std::string::npos) {
        // Fields after the name: state is field 3, utime 14 and stime 15.
        unsigned long long utime = 0, stime = 0;
        if (sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) ==
            2)
            times.procStatSeconds = static_cast<double>(utime + stime) / 100.0;  // USER_HZ
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(ProcPath(linuxPid, "task\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return times;
    double total = 0;
    bool any = false;
    do {
        if (!IsNumber(entry.cFileName)) continue;
        std::string schedstat =
            ReadWholeFile(ProcPath(linuxPid, (std::string("task\\") + entry.cFileName + "\\schedstat").c_str()));
        unsigned long long ns = 0;
        if (sscanf(schedstat.c_str(), "%llu", &ns) == 1) {
            total += static_cast<double>(ns) / 1e9;
            any = true;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    if (any) times.procSeconds = total;
    return times;
}

CpuTimes CpuTimesSince(const CpuTimes& later, const CpuTimes& earlier)
{
    CpuTimes spent;
    auto difference = [](double a, double b) { return a - b; };
    spent.procSeconds = difference(later.procSeconds, earlier.procSeconds);
    spent.procStatSeconds = difference(later.procStatSeconds, earlier.procStatSeconds);
    spent.windowsSeconds = difference(later.windowsSeconds, earlier.windowsSeconds);
    return spent;
}

WorkingSet WorkingSetOf(HANDLE process, unsigned long linuxPid)
{
    WorkingSet size;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters))
        size.windowsBytes = static_cast<double>(counters.WorkingSetSize);
    if (linuxPid) {
        std::string status = ReadWholeFile(ProcPath(linuxPid, "status"));
        size_t at = status.find("VmRSS:");
        unsigned long long kb = 0;
        if (at != std::string::npos && sscanf(status.c_str() + at, "VmRSS: %llu", &kb) == 1)
            size.procBytes = static_cast<double>(kb) * 1024;
    }
    return size;
}
