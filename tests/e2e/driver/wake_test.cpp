// The clock wakes a sleeping computer for the alarm and keeps it awake while
// the alarm is due and rings, and names its controls for screen readers.
// Nothing sleeps under Wine, and Wine keeps no annotated name, so the cases
// read Wine's trace of what the clock asks of the platform (run by trace.sh).
#include "alarm_steps.h"
#include "clock.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Server requests (+server), the timer's resume flag (+sync), the execution
// state (warn+ntdll, where Wine's stub logs it).
std::string const TraceChannels = "WINEDEBUG=+server,+sync,warn+ntdll";

// The lines one thread wrote to a growing log, read as they come.
struct ThreadLog {
    std::string path;
    std::string prefix;  // "tid:" as Wine writes it
    long long offset = 0;
    std::string partial;
    std::vector<std::string> lines;

    ThreadLog(const char* variable, DWORD threadId)
    {
        const char* value = getenv(variable);
        path = value ? value : "";
        char text[16];
        snprintf(text, sizeof text, "%04lx:", threadId);
        prefix = text;
    }
    void Read()
    {
        FILE* file = fopen(path.c_str(), "rb");
        if (!file) return;
        _fseeki64(file, offset, SEEK_SET);
        char buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
            offset += static_cast<long long>(got);
            partial.append(buffer, got);
        }
        fclose(file);
        size_t start = 0, end;
        while ((end = partial.find('\n', start)) != std::string::npos) {
            if (partial.compare(start, prefix.size(), prefix) == 0)
                lines.push_back(partial.substr(start + prefix.size(), end - start - prefix.size()));
            start = end + 1;
        }
        partial.erase(0, start);
    }
    // Waits for a line from index `from` on that the parser accepts; its index, or -1.
    template <typename Parser> int WaitForLine(size_t from, Parser parse, DWORD timeoutMs)
    {
        int found = -1;
        WaitFor(
            [&] {
                Read();
                for (size_t i = from; i < lines.size(); ++i)
                    if (parse(lines[i])) return (found = static_cast<int>(i)) >= 0;
                return false;
            },
            timeoutMs);
        return found;
    }
};

// FILETIME of a calendar second.
unsigned long long FileTimeOf(long long second)
{
    return static_cast<unsigned long long>(second + 11644473600LL) * 10000000ULL;
}

// " set_timer( handle=00a8, expire=1dd87a2629eaa00 (+74419.2579320), ..."
bool IsSetTimer(const std::string& line, unsigned handle, unsigned long long expire)
{
    unsigned h = 0;
    unsigned long long e = 0;
    return sscanf(line.c_str(), " set_timer( handle=%x, expire=%llx", &h, &e) == 2 && h == handle && e == expire;
}

// The name a screen reader hears for the control, asked as it asks: oleacc's
// object for the window, and its accName.
std::string AccessibleName(HWND control)
{
    IAccessible* object = NULL;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return "(no accessible object)";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = NULL;
    char text[256] = "(no name)";
    if (object->get_accName(self, &name) == S_OK && name != NULL) {
        WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text, NULL, NULL);
        SysFreeString(name);
    }
    object->Release();
    return text;
}

}  // namespace

TEST(ScreenReaderNames, EachFieldSaysWhatItHoldsAndThePictureIsNamed)
{
    ClockProcess clock = StartClock({TimeZoneFor(0), "WINEDEBUG=-all,fixme+oleacc"});
    ASSERT_NE(clock.form, nullptr);
    struct Named {
        size_t index;
        const char* name;
    } const controls[] = {
        {HoursFieldIndex, "Alarm hours"}, {MinutesFieldIndex, "Alarm minutes"}, {SecondsFieldIndex, "Alarm seconds"},
        {AlarmButtonIndex, "Alarm On"},   {SnoozeButtonIndex, "Snooze"},        {TestButtonIndex, "Test"},
    };
    for (Named const& c : controls) EXPECT_EQ(AccessibleName(ControlAt(clock.form, c.index)), c.name);

    // " (00010062 4294967292 0 {608d3df8-8128-4aa7-a428-f55e49267291} L"Vexo clock")": window, OBJID_CLIENT,
    // CHILDID_SELF, PROPID_ACC_NAME and the name.
    HWND picture = ControlAt(clock.form, PictureLabelIndex);
    ThreadLog own("VEXO_TRACE_WIN", clock.process.dwThreadId);
    EXPECT_GE(own.WaitForLine(
                  0,
                  [&](const std::string& l) {
                      char window[32], property[64], name[64];
                      long long object = 0, child = -1;
                      return sscanf(l.c_str(),
                                    "fixme:oleacc:AccPropServices_SetHwndPropStr (%31s %lld %lld %63s L\"%63[^\"]",
                                    window, &object, &child, property, name) == 5 &&
                             strtoull(window, NULL, 16) == reinterpret_cast<uintptr_t>(picture) &&
                             object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF &&
                             strcmp(property, "{608d3df8-8128-4aa7-a428-f55e49267291}") == 0 &&
                             strcmp(name, "Vexo clock") == 0;
                  },
                  5000),
              0)
        << "the picture was given no name";
}

TEST(WakeTimer, IsSetAMinuteBeforeTheArmedAlarmAndFollowsIt)
{
    int const offset = OffsetBringingTimeSoon(5, 0, 0, NowMs(), 0);
    ClockProcess clock = StartClock({TimeZoneFor(offset), TraceChannels});
    ASSERT_NE(clock.form, nullptr);
    ThreadLog server("VEXO_SERVER_LOG_WIN", clock.process.dwThreadId);
    ThreadLog own("VEXO_TRACE_WIN", clock.process.dwThreadId);

    unsigned timer = 0;
    ASSERT_GE(
        server.WaitForLine(
            0, [&](const std::string& l) { return sscanf(l.c_str(), " create_timer() = 0 { handle=%x", &timer) == 1; },
            5000),
        0)
        << "no waitable timer in " << server.path << " (" << server.offset << " bytes)";
    // Resume set: the timer wakes the computer.
    EXPECT_GE(own.WaitForLine(
                  0,
                  [&](const std::string& l) {
                      unsigned h = 0, resume = 0;
                      return sscanf(l.c_str(), "trace:sync:NtSetTimer (%x,%*[^,],%*[^,],%*[^,],%x", &h, &resume) == 2 &&
                             h == timer && resume == 1;
                  },
                  5000),
              0)
        << "the timer was not set to resume the computer";

    auto wakeFor = [&](const char* alarm) { return FileTimeOf(NextLocalMoment(alarm, offset, NowMs()) / 1000 - 60); };
    auto setFor = [&](unsigned long long expire) {
        return [=](const std::string& l) { return IsSetTimer(l, timer, expire); };
    };
    int line = server.WaitForLine(0, setFor(wakeFor("06:00:00")), 5000);
    ASSERT_GE(line, 0) << "not set for a minute before 06:00:00";

    HWND alarmButton = ControlAt(clock.form, AlarmButtonIndex);
    ASSERT_TRUE(TypeAlarmTime(clock.form, "07:30:00"));
    line = server.WaitForLine(line + 1, setFor(wakeFor("07:30:00")), 5000);
    ASSERT_GE(line, 0) << "a typed alarm time did not move it";

    Click(clock.form, alarmButton);
    ASSERT_TRUE(WaitForText(alarmButton, "Alarm Off", 3000));
    line = server.WaitForLine(
        line + 1,
        [&](const std::string& l) {
            unsigned h = 0;
            return sscanf(l.c_str(), " cancel_timer( handle=%x", &h) == 1 && h == timer;
        },
        3000);
    ASSERT_GE(line, 0) << "Alarm Off did not cancel it";
    Click(clock.form, alarmButton);
    ASSERT_TRUE(WaitForText(alarmButton, "Alarm On", 3000));
    line = server.WaitForLine(line + 1, setFor(wakeFor("07:30:00")), 3000);
    ASSERT_GE(line, 0) << "Alarm On did not set it again";

    // The system tells of a new clock time or zone, and of its resume.
    PostMessageA(HWND_BROADCAST, WM_TIMECHANGE, 0, 0);
    line = server.WaitForLine(line + 1, setFor(wakeFor("07:30:00")), 3000);
    EXPECT_GE(line, 0) << "not set again on WM_TIMECHANGE";
    PostMessageA(clock.form, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_GE(server.WaitForLine(line + 1, setFor(wakeFor("07:30:00")), 3000), 0) << "not set again on resume";
}

TEST(StayingAwake, WhileTheAlarmIsDueAndWithTheScreenWhileItRings)
{
    // 06:00:00 is 2 minutes and 4 seconds away.
    int const offset = OffsetBringingTimeSoon(5, 58, 0, NowMs(), 4);
    ClockProcess clock = StartClock({TimeZoneFor(offset), TraceChannels});
    ASSERT_NE(clock.form, nullptr);
    ThreadLog own("VEXO_TRACE_WIN", clock.process.dwThreadId);
    auto asked = [&](unsigned wanted) {
        return [=](const std::string& l) {
            unsigned state = 0;
            return sscanf(l.c_str(), "warn:ntdll:NtSetThreadExecutionState (%x", &state) == 1 && state == wanted;
        };
    };
    unsigned const None = ES_CONTINUOUS, System = ES_CONTINUOUS | ES_SYSTEM_REQUIRED,
                   Display = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;

    long long const dueMs = NextLocalMoment("05:58:00", offset, NowMs());
    int line = own.WaitForLine(0, asked(System), 8000);
    long long const seenMs = NowMs();
    ASSERT_GE(line, 0) << "the program did not ask to stay awake";
    EXPECT_GE(seenMs, dueMs) << "asked before the alarm was two minutes away";
    EXPECT_LT(seenMs, dueMs + 1500) << "asked late";

    HWND testButton = ControlAt(clock.form, TestButtonIndex);
    HWND snoozeButton = ControlAt(clock.form, SnoozeButtonIndex);
    // Each way of ending a ring lets the system sleep again.
    struct End {
        const char* how;
        HWND button;  // NULL: the clock is closed
    } const ends[] = {{"Snooze", snoozeButton}, {"Stop", testButton}, {"exit", NULL}};
    for (const End& end : ends) {
        SCOPED_TRACE(end.how);
        ASSERT_TRUE(TypeAlarmTime(clock.form, ShiftedTime(LocalTimeText(NowMs(), offset), 6)));
        ASSERT_TRUE(WaitForText(testButton, "Stop", 10000)) << "the alarm did not ring";
        line = own.WaitForLine(line + 1, asked(Display), 3000);
        ASSERT_GE(line, 0) << "the screen was not asked for while it rings";
        if (end.button) {
            Click(clock.form, end.button);
            ASSERT_TRUE(WaitForText(testButton, "Test", 3000));
        } else {
            PostMessageA(clock.form, WM_CLOSE, 0, 0);
            ExpectExitCodeZero(clock);
        }
        line = own.WaitForLine(line + 1, asked(None), 3000);
        ASSERT_GE(line, 0) << "not released";
    }
}
