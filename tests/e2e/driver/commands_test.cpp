// The alarm commands as a person uses them: the buttons, Escape and Enter,
// the window menu, what the form shows and what is heard. Run through sound.sh.
#include "alarm_steps.h"
#include "tray_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class Listening : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ReadCapture(capture)) << "run through sound.sh, which records the sink"; }

    // A clock whose 06:00:00 alarm comes in a few seconds.
    void StartBeforeSix()
    {
        alarm = StartClockBeforeSix();
        form = alarm.clock.form;
        ASSERT_NE(form, nullptr);
    }

    void StartRinging()
    {
        ASSERT_NO_FATAL_FAILURE(StartBeforeSix());
        ASSERT_TRUE(WaitForRing(alarm));
    }

    // Local time about an hour before noon: no alarm comes near.
    void StartIdle()
    {
        alarm.clock = StartClock({TimeZoneFor(OffsetBringingTimeSoon(12, 0, 0, NowMs(), 3600))}, "", Sound::On);
        form = alarm.clock.form;
        ASSERT_NE(form, nullptr);
    }

    // The tone ends within 150 ms of the click that stops it, and stays away.
    void ExpectSilencedBy(long long clickMs)
    {
        ASSERT_TRUE(CaptureUntil(capture, clickMs + 1500));
        long long last = LastLoudMs(capture, clickMs - 1000, clickMs + 1500, LoudLevel);
        if (last >= 0) printf("tone last heard %lld ms after the click\n", last - clickMs);
        EXPECT_TRUE(Silent(capture, clickMs + 150, clickMs + 1500));
    }

    // Types an alarm time one snooze step before a second about five seconds on.
    std::string TypeTimeOneStepBeforeSoon(long long& landsMs)
    {
        landsMs = (NowMs() / 1000 + 6) * 1000;
        std::string lands = LocalTimeText(landsMs, alarm.offset);
        return TypeAlarmTime(form, ShiftedTime(lands, -7 * 60)) ? lands : "";
    }

    long long ClickOn(size_t index) { return Click(form, Control(alarm, index)); }
    std::string Caption(size_t index) { return TextOf(Control(alarm, index)); }
    bool WaitForCaption(size_t index, const char* text, long long untilMs)
    {
        return WaitForText(Control(alarm, index), text, static_cast<DWORD>(std::max(0LL, untilMs - NowMs())));
    }

    Capture capture;
    AlarmClock alarm;
    HWND form = NULL;
};

using SnoozingTheAlarm = Listening;
using StoppingTheAlarm = Listening;
using CommandKeys = Listening;
using InertClicks = Listening;

}  // namespace

TEST_F(SnoozingTheAlarm, TheHiddenFormComesBackRingingAndSnoozeSilencesItSevenMinutesOn)
{
    ASSERT_NO_FATAL_FAILURE(StartBeforeSix());
    PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 5000));
    ASSERT_TRUE(WaitForRing(alarm));
    EXPECT_EQ(LocalTimeText(NowMs(), alarm.offset), "06:00:00");
    EXPECT_TRUE(IsWindowVisible(form));
    ASSERT_TRUE(CaptureUntil(capture, alarm.alarmMs + 1500));

    long long clickMs = ClickOn(SnoozeButtonIndex);
    EXPECT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    EXPECT_EQ(FieldsText(form), "06:07:00");
    EXPECT_EQ(Caption(AlarmButtonIndex), "Alarm On");
    ExpectSilencedBy(clickMs);
    EXPECT_TRUE(Heard(capture, alarm.alarmMs + 300, clickMs)) << "the alarm tone";
}

TEST_F(SnoozingTheAlarm, TheSnoozedAlarmRingsAgainAtItsSecond)
{
    ASSERT_NO_FATAL_FAILURE(StartRinging());
    long long landsMs = 0;
    std::string lands = TypeTimeOneStepBeforeSoon(landsMs);
    ASSERT_NE(lands, "");
    long long clickMs = ClickOn(SnoozeButtonIndex);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    ASSERT_LT(NowMs(), landsMs - 500) << "typing took too long for this case";
    EXPECT_EQ(FieldsText(form), lands);

    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Stop", landsMs + 3000));
    EXPECT_EQ(LocalTimeText(NowMs(), alarm.offset), lands);
    ASSERT_TRUE(CaptureUntil(capture, landsMs + 1000));
    EXPECT_TRUE(Silent(capture, clickMs + 150, landsMs));
    long long onset = FirstLoudMs(capture, landsMs - 500, LoudLevel);
    EXPECT_GE(onset, landsMs);
    EXPECT_LE(onset - landsMs, 300);
    EXPECT_TRUE(Heard(capture, onset, onset + 800));
}

TEST_F(SnoozingTheAlarm, ALateSnoozeSetsATimeAfterThePressNotOneAlreadyGone)
{
    ASSERT_NO_FATAL_FAILURE(StartRinging());
    std::string typed = ShiftedTime(LocalTimeText(NowMs(), alarm.offset), -8 * 60);
    ASSERT_TRUE(TypeAlarmTime(form, typed));
    long long clickMs = ClickOn(SnoozeButtonIndex);
    EXPECT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    EXPECT_EQ(FieldsText(form), ShiftedTime(typed, 14 * 60)) << "typed " << typed;
    ExpectSilencedBy(clickMs);
}

TEST_F(SnoozingTheAlarm, AlarmOffLeavesTheToneAndTheSnoozedTimePassesSilentlyWhileOff)
{
    ASSERT_NO_FATAL_FAILURE(StartRinging());
    long long offMs = ClickOn(AlarmButtonIndex);
    ASSERT_TRUE(WaitForCaption(AlarmButtonIndex, "Alarm Off", NowMs() + 3000));
    EXPECT_EQ(Caption(TestButtonIndex), "Stop");
    EXPECT_TRUE(WaitFor([&] { return FocusedWindow(form) == Control(alarm, PictureLabelIndex); }, 1000));
    ASSERT_TRUE(CaptureUntil(capture, offMs + 1000));

    long long landsMs = 0;
    std::string lands = TypeTimeOneStepBeforeSoon(landsMs);
    ASSERT_NE(lands, "");
    long long snoozeMs = ClickOn(SnoozeButtonIndex);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    EXPECT_EQ(FieldsText(form), lands);
    EXPECT_FALSE(WaitForCaption(TestButtonIndex, "Stop", landsMs + 2000)) << "rang while off";
    ClickOn(AlarmButtonIndex);
    EXPECT_TRUE(WaitForCaption(AlarmButtonIndex, "Alarm On", NowMs() + 3000));

    ASSERT_TRUE(CaptureUntil(capture, landsMs + 2000));
    EXPECT_TRUE(Heard(capture, offMs, snoozeMs)) << "the tone after Alarm Off";
    EXPECT_TRUE(Silent(capture, snoozeMs + 150, landsMs + 2000));
}

TEST_F(StoppingTheAlarm, StopInTheAlarmSecondSilencesItForGood)
{
    ASSERT_NO_FATAL_FAILURE(StartBeforeSix());
    BringToFront(form);
    ASSERT_TRUE(WaitForRing(alarm));
    // Pressed once the tone is under way, as a person would: a stop in the
    // first milliseconds of the process's first sound once took over a
    // second under load.
    ASSERT_TRUE(WaitFor([&] { return NowMs() >= alarm.alarmMs + 300; }, 2000));
    ClickOn(TestButtonIndex);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    long long stoppedMs = NowMs();
    ASSERT_LT(stoppedMs, alarm.alarmMs + 1000) << "stopped only after the alarm second";
    EXPECT_EQ(FieldsText(form), "06:00:00");
    EXPECT_EQ(Caption(AlarmButtonIndex), "Alarm On");
    EXPECT_FALSE(WaitForCaption(TestButtonIndex, "Stop", alarm.alarmMs + 4000)) << "rang again";
    ASSERT_TRUE(CaptureUntil(capture, alarm.alarmMs + 4000));
    EXPECT_TRUE(Silent(capture, stoppedMs + 150, alarm.alarmMs + 4000));
    // Nothing rings any more, so Snooze moves nothing.
    ClickOn(SnoozeButtonIndex);
    EXPECT_FALSE(WaitFor([&] { return FieldsText(form) != "06:00:00"; }, 1000)) << "Snooze after Stop moved the alarm";
    EXPECT_EQ(Caption(TestButtonIndex), "Test");
}

TEST_F(StoppingTheAlarm, TestPlaysTheToneUntilStopAndSnoozeLeavesATestAlone)
{
    ASSERT_NO_FATAL_FAILURE(StartIdle());
    HWND picture = Control(alarm, PictureLabelIndex);
    long long testMs = ClickOn(TestButtonIndex);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Stop", NowMs() + 3000));
    EXPECT_TRUE(WaitFor([&] { return FocusedWindow(form) == picture; }, 1000)) << "no button keeps the focus";
    ASSERT_TRUE(CaptureUntil(capture, testMs + 1000));
    ClickOn(SnoozeButtonIndex);
    EXPECT_FALSE(WaitFor([&] { return Caption(TestButtonIndex) != "Stop" || FieldsText(form) != "06:00:00"; }, 1000))
        << "Snooze changed a test";
    EXPECT_EQ(FocusedWindow(form), picture);
    long long stopMs = ClickOn(TestButtonIndex);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    ExpectSilencedBy(stopMs);

    EXPECT_TRUE(Silent(capture, testMs - 1000, testMs));
    long long onset = FirstLoudMs(capture, testMs, LoudLevel);
    EXPECT_LE(onset - testMs, 300) << "the test tone began late";
    EXPECT_TRUE(Heard(capture, onset, stopMs)) << "through the snooze";
}

TEST_F(CommandKeys, EscapeStartsAndStopsTheTone)
{
    ASSERT_NO_FATAL_FAILURE(StartIdle());
    BringToFront(form);
    long long startMs = NowMs();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Stop", NowMs() + 3000));
    ASSERT_TRUE(CaptureUntil(capture, startMs + 1200));
    // The focus is on the picture now; Escape still reaches the command.
    long long stopMs = NowMs();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    ExpectSilencedBy(stopMs);
    long long onset = FirstLoudMs(capture, startMs, LoudLevel);
    EXPECT_LE(onset - startMs, 300);
    EXPECT_TRUE(Heard(capture, onset, stopMs));
}

TEST_F(CommandKeys, AltSpaceThenZSnoozesAThenTArmAndTestAsTheButtonsDo)
{
    ASSERT_NO_FATAL_FAILURE(StartRinging());
    DWORD const id = alarm.clock.process.dwProcessId;
    long long pressedMs = 0;
    auto fromWindowMenu = [&](WORD key) {
        PressKey(VK_SPACE, false, true);
        HWND menu = WaitForVisibleWindow(id, "#32768", 3000);
        ASSERT_NE(menu, nullptr) << "Alt+Space opened no window menu";
        pressedMs = NowMs();
        PressKey(key);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }, 3000)) << "the menu has no item " << char(key);
    };
    ASSERT_NO_FATAL_FAILURE(fromWindowMenu('Z'));
    EXPECT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    EXPECT_EQ(FieldsText(form), "06:07:00");
    ExpectSilencedBy(pressedMs);
    struct Step {
        WORD key;
        size_t button;
        const char* caption;
        bool sounds;  // the test tone then plays a while, as the Escape case lets it
    } const steps[] = {{'A', AlarmButtonIndex, "Alarm Off", false},
                       {'A', AlarmButtonIndex, "Alarm On", false},
                       {'T', TestButtonIndex, "Stop", true},
                       {'T', TestButtonIndex, "Test", false}};
    long long testMs = 0;
    for (Step const& step : steps) {
        testMs = pressedMs;
        ASSERT_NO_FATAL_FAILURE(fromWindowMenu(step.key));
        EXPECT_TRUE(WaitForCaption(step.button, step.caption, NowMs() + 3000)) << char(step.key);
        EXPECT_TRUE(WaitFor([&] { return FocusedWindow(form) == Control(alarm, PictureLabelIndex); }, 1000));
        if (step.sounds) {
            ASSERT_TRUE(CaptureUntil(capture, pressedMs + 1200));
        }
    }
    // The last two: the tone of the test, from T to T.
    ExpectSilencedBy(pressedMs);
    long long onset = FirstLoudMs(capture, testMs, LoudLevel);
    ASSERT_GE(onset, 0) << "T played no tone";
    EXPECT_LE(onset - testMs, 300) << "the test tone began late";
    EXPECT_TRUE(Heard(capture, onset, pressedMs)) << "the test tone";
}

TEST_F(CommandKeys, AHiddenFormLeftActiveByTheTrayMenuAnswersNoKeys)
{
    TrayIcon icon;
    alarm.clock = StartClockInTray(icon, {TimeZoneFor(OffsetBringingTimeSoon(12, 0, 0, NowMs(), 3600))}, Sound::On);
    form = alarm.clock.form;
    ASSERT_NE(icon.tooltip, nullptr);
    DWORD const id = alarm.clock.process.dwProcessId;
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'H'));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 5000));
    auto activeWindow = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(form, NULL), &info);
        return info.hwndActive;
    };
    // Closing the menu with Escape leaves the hidden form the active window.
    HWND menu = OpenTrayMenu(id, icon);
    ASSERT_NE(menu, nullptr);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(menu) && activeWindow() == form; }, 3000));

    long long keysMs = NowMs();
    PressKey(VK_ESCAPE);
    PressKey(VK_RETURN);
    EXPECT_FALSE(WaitFor([&] { return Caption(TestButtonIndex) != "Test" || VisibleWindowOf(id, "#32770"); }, 1500))
        << "the hidden form took a key";
    ASSERT_TRUE(CaptureUntil(capture, keysMs + 1500));
    EXPECT_TRUE(Silent(capture, keysMs, keysMs + 1500));

    // Shown again, it answers both keys.
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'S'));
    BringToFront(form);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForCaption(TestButtonIndex, "Stop", NowMs() + 3000));
    PressKey(VK_RETURN);
    EXPECT_NE(WaitForVisibleWindow(id, "#32770", 3000), nullptr) << "Enter showed no date box";
}

TEST_F(CommandKeys, EnterInAFieldShowsTheDateAndTimeWhileTheClockGoesOnAndRings)
{
    ASSERT_NO_FATAL_FAILURE(StartBeforeSix());
    BringToFront(form);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(form) == Control(alarm, HoursFieldIndex); }, 3000));
    long long beforeMs = NowMs();
    PressKey(VK_RETURN);
    HWND box = WaitForVisibleWindow(alarm.clock.process.dwProcessId, "#32770", 5000);
    ASSERT_NE(box, nullptr);
    long long afterMs = NowMs();
    ASSERT_LT(afterMs, alarm.alarmMs) << "the box came too late for this case";
    auto shownAt = [&](long long ms) {
        return LocalDateText(ms, alarm.offset) + " " + LocalTimeText(ms, alarm.offset);
    };
    std::string text = MessageOf(box);
    EXPECT_TRUE(text == shownAt(beforeMs) || text == shownAt(afterMs)) << text << " at " << shownAt(afterMs);
    EXPECT_EQ(TextOf(box), "");
    EXPECT_EQ(ButtonsOf(box), 1);
    EXPECT_TRUE(KeepsTicking(form)) << "the clock stopped";
    ASSERT_TRUE(WaitForRing(alarm));
    EXPECT_EQ(LocalTimeText(NowMs(), alarm.offset), "06:00:00");
    EXPECT_TRUE(IsWindowVisible(box)) << "the box closed";
    ASSERT_TRUE(CaptureUntil(capture, alarm.alarmMs + 1200));
    EXPECT_TRUE(Heard(capture, alarm.alarmMs + 300, alarm.alarmMs + 1200));
}

TEST_F(InertClicks, TheColonsThePictureAndTheFormItselfDoNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartIdle());
    BringToFront(form);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(form) == Control(alarm, HoursFieldIndex); }, 3000));
    long long startMs = NowMs();
    auto state = [&] {
        return Caption(TestButtonIndex) + "|" + Caption(SnoozeButtonIndex) + "|" + Caption(AlarmButtonIndex) + "|" +
               FieldsText(form) + "|" + std::to_string(reinterpret_cast<uintptr_t>(FocusedWindow(form))) + "|" +
               std::to_string(
                   reinterpret_cast<uintptr_t>(FindProcessWindow(alarm.clock.process.dwProcessId, "#32770")));
    };
    std::string const before = state();
    auto centreOf = [&](size_t index) {
        RECT r = ClientRectInParent(Control(alarm, index));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    // Client points: the colons, the picture beside the clock, two bare spots of the form.
    POINT const points[] = {centreOf(HourColonIndex), centreOf(MinuteColonIndex), {30, 100}, {4, 60}, {114, 162}};
    for (POINT point : points) {
        ClientToScreen(form, &point);
        ClickAt(point);
        EXPECT_FALSE(WaitFor([&] { return state() != before; }, 600)) << "at " << point.x << "," << point.y;
    }
    ASSERT_TRUE(CaptureUntil(capture, NowMs()));
    EXPECT_TRUE(Silent(capture, startMs, NowMs() - 100));
}

TEST_F(InertClicks, ADoubleClickOnAButtonIsOneClick)
{
    ASSERT_NO_FATAL_FAILURE(StartIdle());
    BringToFront(form);
    struct Case {
        size_t button;
        const char* after;
    };
    Case const cases[] = {{TestButtonIndex, "Stop"}, {AlarmButtonIndex, "Alarm Off"}};
    for (Case const& c : cases) {
        DoubleClickAt(CentreOf(Control(alarm, c.button)));
        EXPECT_TRUE(WaitForCaption(c.button, c.after, NowMs() + 3000));
        EXPECT_FALSE(WaitFor([&] { return Caption(c.button) != c.after; }, 1000)) << "a second click";
    }
    long long stopMs = ClickOn(TestButtonIndex);
    ASSERT_TRUE(WaitForCaption(TestButtonIndex, "Test", NowMs() + 3000));
    ExpectSilencedBy(stopMs);
    EXPECT_TRUE(Heard(capture, stopMs - 1500, stopMs)) << "the tone of the test";
}
