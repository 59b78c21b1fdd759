// The alarm is heard: the captured output of the null sink while the clock
// rings, and the message a copy without its sounds shows instead.
#include "capture.h"
#include "clock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

// Writes a copy of the clock whose "WAVE" resources are gone: the type's name
// in the resource directory becomes "WAVX". (Wine's UpdateResourceA reports
// success on this executable but leaves the file as it was.)
bool WriteCopyWithoutSounds(const std::string& copy)
{
    FILE* in = fopen(ClockProgramPath().c_str(), "rb");
    if (!in) return false;
    std::vector<char> bytes;
    char block[65536];
    size_t got;
    while ((got = fread(block, 1, sizeof block, in)) > 0) bytes.insert(bytes.end(), block, block + got);
    fclose(in);
    // The name as the resource directory stores it: a length, then UTF-16.
    const char name[] = {4, 0, 'W', 0, 'A', 0, 'V', 0, 'E', 0};
    int found = 0;
    for (size_t i = 0; i + sizeof name <= bytes.size(); ++i) {
        if (memcmp(&bytes[i], name, sizeof name) == 0) {
            bytes[i + 8] = 'X';
            ++found;
        }
    }
    FILE* out = fopen(copy.c_str(), "wb");
    if (!out) return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    fclose(out);
    return found == 1 && written;
}

}  // namespace

TEST(AlarmSound, RingsAtSixWithAnEightHundredHertzToneThatKeepsLooping)
{
    Capture capture;
    ASSERT_TRUE(ReadCapture(capture)) << "run through sound.sh, which records the sink";
    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs());
    long long const alarmMs = NextLocalMoment("06:00:00", offset, NowMs());
    ClockProcess clock = StartClock({TimeZoneFor(offset)}, "", Sound::On);
    ASSERT_NE(clock.form, nullptr);
    PostMessageA(clock.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);

    // Listen until well after the alarm second, then read what was heard.
    ASSERT_TRUE(WaitFor([&] { return NowMs() > alarmMs + 7000; }, 120000));
    ASSERT_TRUE(ReadCapture(capture));
    ASSERT_GT(CaptureEndMs(capture), alarmMs + 6500) << "the capture stopped early";
    EXPECT_TRUE(IsWindowVisible(clock.form));
    EXPECT_EQ(TextOf(ControlAt(clock.form, TestButtonIndex)), "Stop");

    EXPECT_LT(RmsBetween(capture, alarmMs - 3000, alarmMs), SilentRms) << "sound before the alarm second";
    long long onset = FirstLoudMs(capture, alarmMs - 500, LoudLevel);
    ASSERT_GE(onset, 0) << "no tone after the alarm second";
    printf("tone began %lld ms after 06:00:00\n", onset - alarmMs);
    EXPECT_GE(onset, alarmMs) << "the tone began before 06:00:00";
    EXPECT_LE(onset - alarmMs, 300) << "the tone began late";

    // The tone's loud middle part, and a stretch of several loops.
    double first = DominantFrequency(capture, onset + 150, onset + 350);
    double later = DominantFrequency(capture, onset + 1000, onset + 3000);
    EXPECT_NEAR(first, 800, 20);
    EXPECT_NEAR(later, 800, 20);

    // Every 390 ms loop from the onset on is loud, for as long as we listened.
    for (long long from = onset; from + 390 <= onset + 6000; from += 390)
        ASSERT_GT(RmsBetween(capture, from, from + 390), 10 * SilentRms) << "quiet at +" << from - onset;
    // Three whole loops at the start and five seconds on carry the same energy.
    double atStart = RmsBetween(capture, onset, onset + 1170);
    double fiveSecondsOn = RmsBetween(capture, onset + 5000, onset + 6170);
    EXPECT_NEAR(fiveSecondsOn / atStart, 1.0, 0.25) << atStart << " then " << fiveSecondsOn;
    EXPECT_NEAR(DominantFrequency(capture, onset + 5000, onset + 6000), 800, 20);
    printf("tone: %.0f Hz, rms %.0f at start and %.0f five seconds on\n", later, atStart, fiveSecondsOn);
}

TEST(AlarmSound, ACopyWithoutItsSoundsReportsTheMissingWave)
{
    std::string copy = DriverFolder() + "\\vexo-without-sounds.exe";
    ASSERT_TRUE(WriteCopyWithoutSounds(copy));
    HMODULE image = LoadLibraryExA(copy.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(FindResourceA(image, MAKEINTRESOURCEA(601), "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(image, MAKEINTRESOURCEA(600), "WAVE"), nullptr);
    EXPECT_NE(FindResourceA(image, MAKEINTRESOURCEA(409), MAKEINTRESOURCEA(2)), nullptr);
    FreeLibrary(image);

    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs());
    long long const alarmMs = NextLocalMoment("06:00:00", offset, NowMs());
    ClockProcess clock = StartClock({TimeZoneFor(offset)}, copy);
    ASSERT_NE(clock.form, nullptr);
    HWND box = WaitForVisibleWindow(clock.process.dwProcessId, "#32770", static_cast<DWORD>(alarmMs - NowMs() + 5000));
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_GE(NowMs(), alarmMs) << "the box came before the alarm second";
    EXPECT_EQ(TextOf(box), "") << "the caption is empty";
    EXPECT_EQ(MessageOf(box), "Error: 600S1 - wav not found");
    EXPECT_EQ(ButtonsOf(box), 1) << "MB_OK has one button";
    EXPECT_TRUE(KeepsTicking(clock.form)) << "the clock stopped behind the box";

    // Once the box is closed the ringing state is as if the sound had played.
    BringToFront(box);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return Gone(box); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return TextOf(ControlAt(clock.form, TestButtonIndex)) == "Stop"; }, 3000));
    EXPECT_TRUE(IsWindowVisible(clock.form));
    // Closing would report the missing silence as well; this copy has served.
    TerminateProcess(clock.process.hProcess, 0);
    StopClock(clock);  // before the copy can be deleted
    DeleteFileA(copy.c_str());
}
