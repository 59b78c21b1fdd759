// Typing the alarm time: what a person sees in the fields while clicking,
// typing, tabbing and pasting, the idle commit, and the alarm they set.
#include "capture.h"
#include "clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

class AlarmFields : public ::testing::Test {
protected:
    // Local time 14:37:20 at start: no time composed on the way to the
    // alarms below (14:00:00, 14:37:00, ...) can be the current second.
    void SetUp() override
    {
        offset = OffsetBringingTimeSoon(14, 37, 20, NowMs(), 0);
        clock = StartClock({TimeZoneFor(offset)});
        ASSERT_NE(clock.form, nullptr) << "the clock's form did not appear";
        BringToFront(clock.form);
        hours = ControlAt(clock.form, HoursFieldIndex);
        minutes = ControlAt(clock.form, MinutesFieldIndex);
        seconds = ControlAt(clock.form, SecondsFieldIndex);
        picture = ControlAt(clock.form, PictureLabelIndex);
    }
    HWND Focused() { return FocusedWindow(clock.form); }
    std::string FocusName()
    {
        HWND focus = Focused();
        return focus ? ClassOf(focus) + " id " + std::to_string(GetDlgCtrlID(focus)) : "nothing";
    }
    bool Selected(HWND field, int start, int end)
    {
        return WaitFor([&] { return SelectionOf(field) == std::make_pair(start, end); }, 3000);
    }
    bool Reads(HWND field, const std::string& text)
    {
        return WaitFor([&] { return TextOf(field) == text; }, 3000);
    }
    // A single click at x pixels from the field's left edge (-1: its middle).
    void ClickIn(HWND field, int x = -1, Button button = Button::Left)
    {
        RECT r;
        GetWindowRect(field, &r);
        ClickAt({x < 0 ? (r.left + r.right) / 2 : r.left + x, (r.top + r.bottom) / 2}, button);
    }
    bool Responds()
    {
        DWORD_PTR result;
        return SendMessageTimeoutA(clock.form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    }

    int offset = 0;
    ClockProcess clock;
    HWND hours = NULL, minutes = NULL, seconds = NULL, picture = NULL;
};

bool IsTwoDigitsUpTo(const std::string& text, int bound)
{
    return text.size() == 2 && isdigit(static_cast<unsigned char>(text[0])) &&
           isdigit(static_cast<unsigned char>(text[1])) && std::stoi(text) <= bound;
}

}  // namespace

TEST_F(AlarmFields, FocusByClickAnywhereOrByTabSelectsTheFirstTwoCharacters)
{
    for (int x : {1, 8, 14}) {
        SendMessageA(hours, EM_SETSEL, 1, 1);
        ClickIn(hours, x);
        EXPECT_TRUE(Selected(hours, 0, 2)) << "click at x " << x;
    }
    SendMessageA(minutes, EM_SETSEL, 1, 1);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return Focused() == minutes; }, 3000));
    EXPECT_TRUE(Selected(minutes, 0, 2)) << "Tab into the minutes";
}

TEST_F(AlarmFields, TypedDigitsAreClampedAndPaddedAsThePersonTypes)
{
    struct Step {
        size_t field;
        const char* keys;
        WORD finalKey;  // 0: none
        const char* shown;
    };
    Step const steps[] = {
        {HoursFieldIndex, "7", 0, "7"},  // one digit waits for the second
        {HoursFieldIndex, "75", 0, "23"},     {MinutesFieldIndex, "75", 0, "59"},
        {MinutesFieldIndex, "24", 0, "24"},   {SecondsFieldIndex, "5", VK_TAB, "05"},
        {HoursFieldIndex, "9", VK_TAB, "09"},
    };
    for (const Step& step : steps) {
        HWND field = ControlAt(clock.form, step.field);
        SCOPED_TRACE(std::string("typing ") + step.keys);
        ASSERT_TRUE(ClickIntoField(clock.form, field)) << "focus on " << FocusName();
        TypeDigits(step.keys);
        if (step.finalKey) PressKey(step.finalKey);
        EXPECT_TRUE(Reads(field, step.shown)) << "reads " << TextOf(field);
        if (!step.finalKey && strlen(step.shown) == 2) {
            EXPECT_TRUE(Selected(field, 0, 2));
        }
    }
}

TEST_F(AlarmFields, TheIdleCommitComesNineToTenSecondsAfterTheLastKeyReleaseNotAfterARightClick)
{
    ASSERT_TRUE(ClickIntoField(clock.form, hours));
    TypeDigits("08");
    ASSERT_TRUE(Reads(hours, "08"));
    // The person pauses; a key release three seconds on starts the count
    // again. Released 200 ms into a second, the tenth tick comes 9.8 s later
    // and a ninth would come 8.8 s later.
    Sleep(3000);
    ASSERT_EQ(Focused(), hours);
    WaitFor([] { return NowMs() % 1000 >= 200 && NowMs() % 1000 < 250; }, 2000);
    PressKey(VK_RIGHT);
    long long const lastRelease = NowMs();

    // A right click two seconds on opens the edit control's own menu and
    // starts no count: one would put the commit eleven seconds or more after
    // the key release.
    WaitFor([&] { return NowMs() > lastRelease + 2000; }, 3000);
    ClickIn(minutes, -1, Button::Right);
    HWND menu = WaitForVisibleWindow(clock.process.dwProcessId, "#32768", 3000);
    ASSERT_NE(menu, nullptr) << "the edit control's own menu did not open";
    // Closed by a click on the form's bare client area: a key released in the
    // field would count as typing.
    POINT bare = {2, 180};
    ClientToScreen(clock.form, &bare);
    ClickAt(bare);
    ASSERT_TRUE(WaitFor([&] { return Gone(menu); }, 3000));
    ASSERT_LT(NowMs() - lastRelease, 8000) << "too slow for this case";

    ASSERT_TRUE(WaitFor([&] { return Focused() == picture; }, 15000)) << "no commit";
    long long const committedAfter = NowMs() - lastRelease;
    EXPECT_GE(committedAfter, 9300) << "the commit came early";
    EXPECT_LE(committedAfter, 10500) << "the commit came late";
    printf("idle commit %lld ms after the last key release\n", committedAfter);

    ClickIn(minutes, -1, Button::Right);
    menu = WaitForVisibleWindow(clock.process.dwProcessId, "#32768", 3000);
    ASSERT_NE(menu, nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return Gone(menu); }, 3000)) << "Escape left the menu open";
}

TEST_F(AlarmFields, ExactNormalisingOfTextsAnotherProgramSets)
{
    struct Case {
        size_t field;
        const char* text;
        const char* shown;
    };
    Case const cases[] = {
        {HoursFieldIndex, "5a", "05"},    {HoursFieldIndex, "1.5", "01"},   {HoursFieldIndex, "0x10", "16"},
        {HoursFieldIndex, "nan", "23"},   {HoursFieldIndex, "-inf", "00"},  {MinutesFieldIndex, "23.5", "23"},
        {MinutesFieldIndex, "1e1", "10"}, {MinutesFieldIndex, "nan", "59"}, {SecondsFieldIndex, "", "00"},
    };
    for (const Case& c : cases) {
        HWND field = ControlAt(clock.form, c.field);
        SCOPED_TRACE(std::string("'") + c.text + "'");
        ASSERT_TRUE(ClickIntoField(clock.form, field)) << "focus on " << FocusName();
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text));
        PressKey(VK_TAB);  // leaving the field normalises it
        EXPECT_TRUE(Reads(field, c.shown)) << "reads '" << TextOf(field) << "'";
    }
}

TEST_F(AlarmFields, HostilePastesAlwaysEndAsTwoDigitsInRange)
{
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
    // What stresses the edit control and each class of the normaliser's input
    // (its results are proven natively and by the fuzzer): each into one field.
    std::string const texts[] = {"", std::string(300, '9'), "%s%n%x", high, "\t12\r\n", "nan", "-inf", "5a", "0x1F"};
    size_t const fields[] = {HoursFieldIndex, MinutesFieldIndex, SecondsFieldIndex};
    for (size_t i = 0; i < sizeof texts / sizeof texts[0]; ++i) {
        const std::string& text = texts[i];
        size_t index = fields[i % 3];
        HWND field = ControlAt(clock.form, index);
        SCOPED_TRACE("pasted '" + text + "' into field " + std::to_string(index));
        PutOnClipboard(text);
        ASSERT_TRUE(ClickIntoField(clock.form, field)) << "focus on " << FocusName();
        PressControlV();
        PressKey(VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return Focused() != field; }, 3000))
            << "Tab did not leave the field; it reads '" << TextOf(field) << "', focus on " << FocusName()
            << ", foreground " << (GetForegroundWindow() == clock.form);
        ASSERT_TRUE(Responds()) << "the clock hangs";
        int bound = index == HoursFieldIndex ? 23 : 59;
        EXPECT_TRUE(WaitFor([&] { return IsTwoDigitsUpTo(TextOf(field), bound); }, 3000))
            << "reads '" << TextOf(field) << "'";
    }
    DWORD code = 0;
    GetExitCodeProcess(clock.process.hProcess, &code);
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
}

// The whole road: a time typed by hand rings at its second. Run through
// sound.sh, which records what the clock plays.
TEST(TypedAlarm, RingsAtTheTypedSecondEvenFromPastedHoursAndMinutes)
{
    Capture capture;
    ASSERT_TRUE(ReadCapture(capture)) << "run through sound.sh, which records the sink";
    struct Case {
        const char* hours;
        const char* minutes;
        int localHour, localMinute;
    };
    // "5a" and "1.5" become 05 and 01; the other alarm is typed as digits.
    Case const cases[] = {{"14", "37", 14, 37}, {"5a", "1.5", 5, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hours) + " " + c.minutes);
        int const offset = OffsetBringingTimeSoon(c.localHour, c.localMinute, 20, NowMs(), 0);
        ClockProcess clock = StartClock({TimeZoneFor(offset)}, "", Sound::On);
        ASSERT_NE(clock.form, nullptr);
        BringToFront(clock.form);
        HWND fields[3] = {ControlAt(clock.form, HoursFieldIndex), ControlAt(clock.form, MinutesFieldIndex),
                          ControlAt(clock.form, SecondsFieldIndex)};
        for (int i = 0; i < 2; ++i) {
            PutOnClipboard(i == 0 ? c.hours : c.minutes);
            ASSERT_TRUE(ClickIntoField(clock.form, fields[i]));
            PressControlV();
            PressKey(VK_TAB);
            ASSERT_TRUE(WaitFor([&] { return FocusedWindow(clock.form) == fields[i + 1]; }, 3000));
        }
        // The seconds: three to five seconds ahead of the clock's local time.
        std::string const alarm = LocalTimeText(NowMs() + 4000, offset);
        ASSERT_EQ(alarm.substr(0, 5), LocalTimeText(NowMs(), offset).substr(0, 5));
        TypeDigits(alarm.substr(6, 2));
        PressKey(VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return TextOf(fields[2]) == alarm.substr(6, 2); }, 3000));
        EXPECT_EQ(TextOf(fields[0]) + ":" + TextOf(fields[1]), alarm.substr(0, 5));
        PostMessageA(clock.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(clock.form); }, 5000));

        long long const alarmMs = NextLocalMoment(alarm, offset, NowMs() - 1000);
        HWND testButton = ControlAt(clock.form, TestButtonIndex);
        while (NowMs() < alarmMs - 50) {
            ASSERT_FALSE(IsWindowVisible(clock.form)) << "rang before " << alarm;
            Sleep(5);
        }
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(clock.form) != FALSE; }, 3000)) << "did not ring";
        EXPECT_LT(NowMs(), alarmMs + 1000) << "rang after its second";
        EXPECT_TRUE(WaitFor([&] { return TextOf(testButton) == "Stop"; }, 1000));
        ASSERT_TRUE(WaitFor([&] { return NowMs() > alarmMs + 1500; }, 5000));
        ASSERT_TRUE(ReadCapture(capture));
        long long onset = FirstLoudMs(capture, alarmMs - 1000, 2000);
        ASSERT_GE(onset, 0) << "no tone";
        EXPECT_GE(onset, alarmMs - 20) << "the tone began before " << alarm;
        EXPECT_NEAR(DominantFrequency(capture, onset + 150, onset + 350), 800, 20);
    }
}
