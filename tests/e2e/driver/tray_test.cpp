// The clock in the tray: its icon, the icon's menu, the About box and the
// update page.
#include "alarm_steps.h"
#include "tray_driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

// The message the clock asked the shell to send for mouse events on its icon.
UINT const TrayCallback = WM_USER + 5;
char const Title[] = "Vexo - Tarnwick";

// Local time with the alarm hours away, so that it cannot ring during a case.
std::string QuietTime()
{
    return TimeZoneFor(OffsetBringingTimeSoon(6, 0, 0, NowMs(), 3 * 3600));
}

class InTheTray : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = StartClockInTray(icon, {QuietTime()});
        ASSERT_NE(clock.form, nullptr);
        ASSERT_NE(icon.tooltip, nullptr) << "not exactly one new icon in the tray";
        form = clock.form;
        id = clock.process.dwProcessId;
    }
    ClockProcess clock;
    TrayIcon icon = {};
    HWND form = NULL;
    DWORD id = 0;
};

}  // namespace

TEST_F(InTheTray, StartsWithOneIconTippedWithTheTitle)
{
    EXPECT_EQ(icon.tip, Title);
    RECT taskbar, overlap;
    GetWindowRect(FindWindowA("Shell_TrayWnd", NULL), &taskbar);
    EXPECT_TRUE(IntersectRect(&overlap, &taskbar, &icon.place) && EqualRect(&overlap, &icon.place));
}

TEST_F(InTheTray, DoubleClicksAndTheMenuShowAndHideTheForm)
{
    enum State { Minimised, Hidden, Shown, Focused };
    auto doubleClick = [&] { DoubleClickIcon(icon); };
    // A real right double click opens the menu on its first press.
    auto rightDoubleClick = [&] { PostMessageA(form, TrayCallback, 0, WM_RBUTTONDBLCLK); };
    auto show = [&] { ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'S')); };
    auto hide = [&] { ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'H')); };
    struct Step {
        const char* what;
        std::function<void()> act;
        State after;
    } const steps[] = {
        {"double click on the shown form", doubleClick, Minimised},
        {"double click on the minimised form", doubleClick, Focused},
        {"Hide", hide, Hidden},
        {"double click after Hide", doubleClick, Minimised},
        {"second double click after Hide", doubleClick, Focused},
        {"Hide again", hide, Hidden},
        {"Show on the hidden form", show, Shown},
        {"right double click on the shown form", rightDoubleClick, Minimised},
        {"Show on the minimised form", show, Shown},
        {"right double click", rightDoubleClick, Minimised},
        {"right double click on the minimised form", rightDoubleClick, Focused},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        bool shown = step.after == Shown || step.after == Focused;
        EXPECT_TRUE(WaitFor(
            [&] {
                return (IsWindowVisible(form) != FALSE) == shown &&
                       (IsIconic(form) != FALSE) == (step.after == Minimised) && HasTaskbarButton(form) == shown &&
                       (step.after != Focused || FocusedWindow(form) == form);
            },
            5000))
            << "visible " << IsWindowVisible(form) << ", iconic " << IsIconic(form);
    }

    // A single click does nothing.
    ClickAt(CentreOf(icon));
    EXPECT_FALSE(WaitFor([&] { return !IsWindowVisible(form) || IsIconic(form); }, 1000));
}

TEST_F(InTheTray, TheMenuOpensAtTheCursorAsTheRightButtonGoesDown)
{
    POINT at = CentreOf(icon);
    PressButtonAt(at, Button::Right);
    HWND menu = WaitForVisibleWindow(id, "#32768", 5000);
    ReleaseButtonAt(at, Button::Right);
    ASSERT_NE(menu, nullptr) << "no menu while the button was down";
    // Placed at the cursor, then moved as little as it takes into the work area.
    RECT r, work;
    GetWindowRect(menu, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.left, std::min(at.x, work.right - (r.right - r.left)));
    EXPECT_EQ(r.top, std::min(at.y, work.bottom - (r.bottom - r.top)));
    EXPECT_TRUE(KeepsTicking(form)) << "the clock stopped while the menu was open";
    EXPECT_TRUE(IsWindowVisible(menu)) << "releasing the button closed the menu";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return Gone(menu); }, 3000));
    EXPECT_TRUE(IsWindowVisible(form) && !IsIconic(form));
    EXPECT_EQ(VisibleWindowOf(id, "#32770"), nullptr);
}

TEST_F(InTheTray, AboutOpensOnlyWhileTheFormIsNotMinimised)
{
    DoubleClickIcon(icon);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(form) && !IsWindowVisible(form); }, 5000));
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
    EXPECT_EQ(WaitForVisibleWindow(id, "#32770", 1500), nullptr) << "About opened from the minimised form";

    DoubleClickIcon(icon);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(form) && !IsIconic(form); }, 5000));
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'H'));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 5000));
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
    HWND box = WaitForVisibleWindow(id, "#32770", 5000);
    ASSERT_NE(box, nullptr) << "About did not open from the hidden form";
    EXPECT_EQ(GetWindow(box, GW_OWNER), form);
    EXPECT_FALSE(IsWindowVisible(form));
}

TEST_F(InTheTray, OkEnterTheCloseBoxAndAltF4CloseTheAboutBoxEscapeDoesNot)
{
    struct Closer {
        const char* what;
        std::function<void(HWND)> close;
    } const closers[] = {
        {"Ok", [](HWND box) { ClickControl(GetDlgItem(box, IDOK)); }},
        {"Enter", [](HWND) { PressKey(VK_RETURN); }},
        {"close box", [](HWND box) { ClickAt(CloseBoxOf(box)); }},
        {"Alt+F4", [](HWND) { PressKey(VK_F4, false, true); }},
    };
    for (const Closer& closer : closers) {
        SCOPED_TRACE(closer.what);
        ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
        HWND box = WaitForVisibleWindow(id, "#32770", 5000);
        ASSERT_NE(box, nullptr);
        BringToFront(box);
        PressKey(VK_ESCAPE);
        EXPECT_FALSE(WaitFor([&] { return Gone(box); }, 700)) << "Escape closed the box";
        closer.close(box);
        EXPECT_TRUE(WaitFor([&] { return Gone(box); }, 3000));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(form) != FALSE; }, 3000));
    }
}

TEST(AboutBox, IsOwnedByTheFormWhileTheClockTicksAndTheAlarmRings)
{
    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs(), 10);
    long long const alarmMs = NextLocalMoment("06:00:00", offset, NowMs());
    TrayIcon icon;
    ClockProcess clock = StartClockInTray(icon, {TimeZoneFor(offset)});
    ASSERT_NE(icon.tooltip, nullptr);
    DWORD id = clock.process.dwProcessId;
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
    HWND box = WaitForVisibleWindow(id, "#32770", 5000);
    ASSERT_NE(box, nullptr);

    EXPECT_EQ(TextOf(box), "About");
    EXPECT_EQ(GetWindow(box, GW_OWNER), clock.form);
    EXPECT_FALSE(IsWindowEnabled(clock.form));
    std::vector<std::string> texts;
    for (HWND child : ChildWindows(box)) texts.push_back(TextOf(child));
    std::vector<std::string> const expected = {"&Ok", Title, "by Tarnwick Software", "Version 1.0 RC"};
    EXPECT_EQ(texts, expected);

    EXPECT_TRUE(KeepsTicking(clock.form)) << "the clock stopped behind the box";
    HWND testButton = ControlAt(clock.form, TestButtonIndex);
    EXPECT_TRUE(WaitFor([&] { return TextOf(testButton) == "Stop"; }, static_cast<DWORD>(alarmMs - NowMs() + 3000)))
        << "the alarm did not ring behind the box";
    EXPECT_TRUE(IsWindowVisible(box));
}

TEST_F(InTheTray, CheckForUpdatesHandsTheAddressToTheShellAndShowsNothing)
{
    const char* log = getenv("VEXO_BROWSER_LOG_WIN");
    ASSERT_NE(log, nullptr) << "run in the harness, whose browser writes the addresses down";
    DeleteFileA(log);
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'C'));
    auto logged = [&] {
        char text[512] = "";
        FILE* file = fopen(log, "rb");
        if (!file) return std::string();
        size_t got = fread(text, 1, sizeof text - 1, file);
        fclose(file);
        return std::string(text, got);
    };
    EXPECT_TRUE(WaitFor([&] { return logged() == "http://www.example.com/morvane.htm\n"; }, 10000))
        << "the browser was asked for \"" << logged() << "\"";

    // Nothing new on the screen, and the clock goes on.
    EXPECT_FALSE(WaitFor([&] { return VisibleWindowCount(id) != 1; }, 1000)) << "the clock showed a window";
    EXPECT_EQ(WaitForSingleObject(clock.process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(KeepsTicking(form));
}

TEST_F(InTheTray, TheIconComesBackWhenTheTaskbarIsRecreated)
{
    // As a restarting shell forgets the icon.
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = form;
    record.uID = 0;
    std::vector<TrayIcon> others = TrayIcons();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
    ASSERT_TRUE(WaitFor([&] { return !FindIcon(icon); }, 3000));
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    std::vector<TrayIcon> added;
    ASSERT_TRUE(WaitFor([&] { return !(added = NewIcons(others, TrayIcons())).empty(); }, 5000));
    ASSERT_EQ(added.size(), 1u);
    icon = added[0];
    EXPECT_EQ(icon.tip, Title);

    DoubleClickIcon(icon);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(form) && !IsWindowVisible(form); }, 5000));
    DoubleClickIcon(icon);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(form) && !IsIconic(form); }, 5000));
    HWND menu = OpenTrayMenu(id, icon);
    ASSERT_NE(menu, nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return Gone(menu); }, 3000));
}

TEST_F(InTheTray, AnAddTheShellRefusedIsTriedAgainUntilTheIconIsBack)
{
    // The shell refuses to add an icon it shows already, so an announced
    // re-creation of the taskbar that kept the icon makes the clock's add fail.
    UINT const taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(form, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    std::vector<TrayIcon> others = TrayIcons();
    // Then the shell forgets the icon, with nothing announced.
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = form;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
    std::vector<TrayIcon> added;
    ASSERT_TRUE(WaitFor([&] { return !(added = NewIcons(others, TrayIcons())).empty(); }, 5000));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].tip, Title);
}

TEST_F(InTheTray, AboutWhileTheBoxIsOpenBringsThatBoxForward)
{
    auto boxes = [&] { return VisibleWindowCount(id, "#32770"); };
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
    HWND box = WaitForVisibleWindow(id, "#32770", 5000);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(ChooseFromTrayMenu(id, icon, 'A'));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }, 3000));
    EXPECT_FALSE(WaitFor([&] { return boxes() != 1; }, 1000)) << boxes() << " boxes";

    ClickControl(GetDlgItem(box, IDOK));
    EXPECT_TRUE(WaitFor([&] { return boxes() == 0; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(form) != FALSE; }, 3000));
}

TEST_F(InTheTray, StartingAgainBringsTheClockBackAndMakesNoOther)
{
    HWND testButton = ControlAt(form, TestButtonIndex);
    struct Case {
        const char* what;
        bool ringing;  // a test ring goes on meanwhile
        bool answers;  // a clock that does not answer is left as it is
    } const cases[] = {
        {"hidden in the tray", false, true},
        {"hidden while it rings", true, true},
        {"hidden and not answering", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.ringing) Click(form, testButton);
        ASSERT_TRUE(WaitForText(testButton, c.ringing ? "Stop" : "Test", 3000));
        DoubleClickIcon(icon);
        ASSERT_TRUE(WaitFor([&] { return IsIconic(form) && !IsWindowVisible(form); }, 5000));
        if (!c.answers) SuspendThread(clock.process.hThread);

        ClockProcess again = LaunchClock({QuietTime()});
        ExpectExitCodeZero(again);
        if (!c.answers) ResumeThread(clock.process.hThread);
        EXPECT_EQ(ClockWindowCount(), 1);
        EXPECT_EQ(ClockIconCount(), 1);
        EXPECT_TRUE(KeepsTicking(form, 1));
        EXPECT_EQ(FieldsText(form), "06:00:00");
        EXPECT_EQ(TextOf(ControlAt(form, AlarmButtonIndex)), "Alarm On");
        if (!c.answers) continue;
        EXPECT_TRUE(
            WaitFor([&] { return IsWindowVisible(form) && !IsIconic(form) && GetForegroundWindow() == form; }, 3000));
        EXPECT_EQ(TextOf(testButton), c.ringing ? "Stop" : "Test");
        if (c.ringing) Click(form, testButton);
    }
}

TEST(StartingTwice, AtTheSameMomentLeavesOneClock)
{
    ClockProcess starts[2] = {LaunchClock({QuietTime()}), LaunchClock({QuietTime()})};
    HANDLE const processes[] = {starts[0].process.hProcess, starts[1].process.hProcess};
    DWORD const first = WaitForMultipleObjects(2, processes, FALSE, 10000) - WAIT_OBJECT_0;
    ASSERT_LT(first, 2u) << "both starts still run";
    ExpectExitCodeZero(starts[first]);
    ClockProcess& clock = starts[1 - first];
    EXPECT_TRUE(WaitFor([&] { return VisibleWindowCount(clock.process.dwProcessId, "TOLVAPROG") == 1; }, 20000));
    EXPECT_TRUE(WaitFor([&] { return ClockIconCount() == 1; }, 3000));
    EXPECT_EQ(ClockWindowCount(), 1);
}
