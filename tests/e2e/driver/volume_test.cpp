// The output's mute and level while the alarm rings, read and set through a stand-in for the
// platform's audio device API (standin/mmdevapi.cpp) that each case puts in the session's
// prefix. Run through sound.sh: the tone goes through the stand-in to the sink as before.
#include "alarm_steps.h"
#include "tray_driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// Where the stand-in keeps the output and finds its log's name and whether to refuse.
char const OutputKey[] = "Software\\VexoTest\\Output";
char const ClockOverrides[] = "Software\\Wine\\AppDefaults\\vexo.exe\\DllOverrides";

struct Output {
    bool muted;
    DWORD level;  // thousandths
};

void SetValue(const char* name, DWORD value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, OutputKey, name, REG_DWORD, &value, sizeof value);
}

DWORD ValueOf(const char* name)
{
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, OutputKey, name, RRF_RT_REG_DWORD, NULL, &value, &size);
    return value;
}

Output OutputNow()
{
    return {ValueOf("Muted") == 1, ValueOf("Level")};
}

std::string Describe(Output output)
{
    return (output.muted ? "muted at " : "unmuted at ") + std::to_string(output.level / 10) + " %";
}

// Wine's own DLL, in the system folder of the session's prefix (the driver's, of the clock's
// bitness), goes aside under the name the stand-in loads it by, and the stand-in takes its
// place: COM's registration names that folder, so a copy beside the clock would not be loaded.
// The override for vexo.exe alone has the clock load it; the desktop's other programs keep
// Wine's. All back as it was when this ends.
struct PrefixStandIn {
    std::string wine, aside;
    bool placed = false;
    explicit PrefixStandIn(bool place)
    {
        char folder[MAX_PATH];
        GetSystemDirectoryA(folder, MAX_PATH);
        wine = std::string(folder) + "\\mmdevapi.dll";
        aside = std::string(folder) + "\\mmdevreal.dll";
        if (!place) return;
        placed = MoveFileA(wine.c_str(), aside.c_str()) &&
                 CopyFileA((DriverFolder() + "\\mmdevapi-standin.dll").c_str(), wine.c_str(), FALSE) &&
                 RegSetKeyValueA(HKEY_CURRENT_USER, ClockOverrides, "mmdevapi", REG_SZ, "native,builtin", 15) == 0;
    }
    ~PrefixStandIn()
    {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, ClockOverrides, "mmdevapi");
        if (GetFileAttributesA(aside.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        DeleteFileA(wine.c_str());
        MoveFileA(aside.c_str(), wine.c_str());
    }
};

std::string ReadLog(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

TEST(OutputVolume, AMutedOrQuietOutputRingsAtHalfAndIsPutBackUnlessTheUserChangedIt)
{
    Capture capture;
    ASSERT_TRUE(ReadCapture(capture)) << "run through sound.sh, which records the sink";
    std::string const log = DriverFolder() + "\\mmdevapi-standin.log";
    RegSetKeyValueA(HKEY_CURRENT_USER, OutputKey, "Log", REG_SZ, log.c_str(), static_cast<DWORD>(log.size() + 1));
    enum Endpoint { StandIn, Refusing, WinesOwn };
    enum Ring { AtTheAlarmSecond, OnTest };
    enum End { Stop, Snooze, Close, SignOut };
    bool const Y = true, N = false;
    Output const Muted10 = {true, 100}, Unmuted50 = {false, 500}, Unmuted70 = {false, 700}, Unmuted80 = {false, 800};
    struct Case {
        const char* what;
        Endpoint endpoint;
        Output before;
        Ring ring;
        bool userSets70;  // during the ring, unmuted
        End end;
        Output ringing;  // the level at least
        Output after;
        bool sets;  // whether the clock sets anything
    } const cases[] = {
        {"muted at 10 %", StandIn, Muted10, AtTheAlarmSecond, N, Stop, Unmuted50, Muted10, Y},
        {"unmuted at 80 %", StandIn, Unmuted80, OnTest, N, Stop, Unmuted80, Unmuted80, N},
        {"muted at 10 %, snoozed", StandIn, Muted10, AtTheAlarmSecond, N, Snooze, Unmuted50, Muted10, Y},
        {"the user sets 70 % during the ring", StandIn, Muted10, OnTest, Y, Stop, Unmuted50, Unmuted70, Y},
        {"closed while ringing", StandIn, Muted10, AtTheAlarmSecond, N, Close, Unmuted50, Muted10, Y},
        {"Windows signs out while it rings", StandIn, Muted10, AtTheAlarmSecond, N, SignOut, Unmuted50, Muted10, Y},
        {"an endpoint that refuses", Refusing, Muted10, OnTest, N, Stop, Muted10, Muted10, N},
        {"Wine's own endpoint", WinesOwn, Muted10, AtTheAlarmSecond, N, Stop, Muted10, Muted10, N},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(log.c_str());
        SetValue("Muted", c.before.muted);
        SetValue("Level", c.before.level);
        SetValue("Refuse", c.endpoint == Refusing);
        PrefixStandIn standIn(c.endpoint != WinesOwn);
        ASSERT_EQ(standIn.placed, c.endpoint != WinesOwn) << "cannot put the stand-in in place of " << standIn.wine;
        AlarmClock alarm;
        if (c.ring == AtTheAlarmSecond)
            alarm = StartClockBeforeSix();
        else
            alarm.clock = StartClock({TimeZoneFor(OffsetBringingTimeSoon(12, 0, 0, NowMs(), 3600))}, "", Sound::On);
        HWND form = alarm.clock.form;
        ASSERT_NE(form, nullptr);
        HWND testButton = Control(alarm, TestButtonIndex);

        long long ringMs = alarm.alarmMs;
        if (c.ring == AtTheAlarmSecond) WaitFor([&] { return NowMs() > alarm.alarmMs - 300; }, 10000);
        EXPECT_EQ(ReadLog(log), "") << "touched before the ring";
        if (c.ring == OnTest) ringMs = Click(form, testButton);
        ASSERT_TRUE(WaitForText(testButton, "Stop", static_cast<DWORD>(ringMs - NowMs() + 3000)));
        Output ringing = OutputNow();
        EXPECT_TRUE(WaitFor(
            [&] {
                ringing = OutputNow();
                return ringing.muted == c.ringing.muted && ringing.level >= c.ringing.level;
            },
            2000))
            << "ringing " << Describe(ringing);
        if (c.userSets70) {
            SetValue("Muted", 0);
            SetValue("Level", 700);
        }
        ASSERT_TRUE(CaptureUntil(capture, ringMs + 1500));

        long long endMs = NowMs();
        if (c.end == Stop || c.end == Snooze) {
            endMs = Click(form, Control(alarm, c.end == Stop ? TestButtonIndex : SnoozeButtonIndex));
            EXPECT_TRUE(WaitForText(testButton, "Test", 3000));
        } else if (c.end == Close) {
            EXPECT_TRUE(StopClock(alarm.clock)) << "the clock did not exit with 0";
        } else {
            // As Windows asks: may the session end, then it ends; the process may be gone
            // any moment after, so no WM_CLOSE follows.
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 3000, &answer);
            EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the clock held the sign-out up";
            SendMessageTimeoutA(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 3000, &answer);
            EXPECT_TRUE(WaitFor([] { return ClockIconCount() == 0; }, 3000)) << "the tray icon stayed";
        }
        Output now = OutputNow();
        EXPECT_TRUE(WaitFor(
            [&] {
                now = OutputNow();
                return now.muted == c.after.muted && now.level == c.after.level;
            },
            2000))
            << "after the ring " << Describe(now);

        ASSERT_TRUE(CaptureUntil(capture, endMs + 1000));
        long long onset = FirstLoudMs(capture, ringMs - 200, LoudLevel);
        ASSERT_GE(onset, 0) << "no tone";
        EXPECT_LE(onset - ringMs, 300) << "the tone began late";
        EXPECT_TRUE(Heard(capture, onset, endMs)) << "the tone";
        EXPECT_TRUE(Silent(capture, endMs + 150, endMs + 1000))
            << "tone last heard " << LastLoudMs(capture, endMs, endMs + 1000, LoudLevel) - endMs << " ms after the end";
        std::string calls = ReadLog(log);
        EXPECT_EQ(calls.find("Set") != std::string::npos, c.sets) << calls;
        printf("%s: ringing %s, then %s; the stand-in's log:\n%s", c.what, Describe(ringing).c_str(),
               Describe(now).c_str(), calls.c_str());
    }
}
