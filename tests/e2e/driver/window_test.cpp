// The main form and its controls as the system reports them, the keyboard
// rules, minimising and closing.
#include "clock.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Styles come back with bits the system adds (clip-siblings, border); the
// masks keep the bits the program chose.
bool HasBits(LONG value, LONG bits)
{
    return (value & bits) == bits;
}

// Sends WM_DPICHANGED as Windows does when the form moves to a monitor of
// another scale, which Wine, with one DPI for every monitor, never does. The
// suggested rectangle goes into the clock's memory: Wine passes the message's
// pointer on as it is.
bool SendDpiChange(const ClockProcess& clock, int dpi, RECT suggested)
{
    HANDLE process = clock.process.hProcess;
    void* remote = VirtualAllocEx(process, NULL, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote == NULL || !WriteProcessMemory(process, remote, &suggested, sizeof suggested, NULL)) return false;
    DWORD_PTR result = 1;
    bool answered = SendMessageTimeoutA(clock.form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                        reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &result) != 0;
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return answered && result == 0;
}

LONG FieldLineHeight(HWND field)
{
    RECT line;
    SendMessageA(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&line));
    return line.bottom - line.top;
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = StartClock({TimeZoneFor(5400)});
        ASSERT_NE(clock.form, nullptr) << "the clock's form did not appear";
    }
    ClockProcess clock;
};

}  // namespace

TEST_F(MainFormTest, WindowIsAFixedBlackCentredForm)
{
    HWND form = clock.form;
    EXPECT_EQ(ClassOf(form), "TOLVAPROG");
    EXPECT_EQ(TextOf(form), "Vexo - Tarnwick");
    RECT r;
    GetWindowRect(form, &r);
    EXPECT_EQ(r.right - r.left, 255);
    EXPECT_EQ(r.bottom - r.top, 208);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.left, work.left + ((work.right - work.left) - 255) / 2);
    EXPECT_EQ(r.top, work.top + ((work.bottom - work.top) - 208) / 2);
    LONG style = GetWindowLongA(form, GWL_STYLE);
    EXPECT_TRUE(HasBits(style, 0x80CA0000)) << std::hex << style;
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0) << "resizable or maximisable";
    EXPECT_TRUE(HasBits(GetWindowLongA(form, GWL_EXSTYLE), WS_EX_CONTROLPARENT));
    EXPECT_EQ(GetClassLongA(form, GCL_STYLE), 0x2Bu);
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_FALSE(IsIconic(form));
}

TEST_F(MainFormTest, TenControlsInCreationOrder)
{
    struct Expected {
        const char* className;
        int id;
        const char* text;  // null: not compared (the clock shows the time)
        LONG style;
        LONG exStyle;
    };
    LONG const label = 0x50000101, field = 0x50012100, button = 0x50004F00, picture = 0x5401000E;
    Expected const expected[] = {
        {"Static", 9, ":", label, 0x20},
        {"Static", 5, ":", label, 0x20},
        {"Edit", 8, "06", field, 0},
        {"Edit", 7, "00", field, 0},
        {"Edit", 6, "00", field, 0},
        {"Button", 4, "Alarm On", button, 0x20301},
        {"Button", 3, "Snooze", button, 0x20301},
        {"Button", 2, "Test", button, 0x20301},
        {"Static", 1, nullptr, label, 0x20},
        {"Static", 9, "", picture, 0},
    };
    std::vector<HWND> children = ChildWindows(clock.form);
    ASSERT_EQ(children.size(), 10u);
    for (size_t i = 0; i < children.size(); ++i) {
        const Expected& e = expected[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_STRCASEEQ(ClassOf(child).c_str(), e.className);
        EXPECT_EQ(GetDlgCtrlID(child), e.id);
        if (e.text) {
            EXPECT_EQ(TextOf(child), e.text);
        }
        // At 96 DPI, exactly the design rectangles.
        RECT r = ClientRectInParent(child);
        EXPECT_EQ(r.left, ControlDesignRects[i].left);
        EXPECT_EQ(r.top, ControlDesignRects[i].top);
        EXPECT_EQ(r.right, ControlDesignRects[i].right);
        EXPECT_EQ(r.bottom, ControlDesignRects[i].bottom);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        EXPECT_TRUE(HasBits(style, e.style)) << std::hex << style;
        EXPECT_EQ(style & WS_TABSTOP, e.style & WS_TABSTOP) << "tab stop";
        LONG exStyle = GetWindowLongA(child, GWL_EXSTYLE);
        EXPECT_TRUE(HasBits(exStyle, e.exStyle)) << std::hex << exStyle;
        if (e.exStyle == 0) {
            EXPECT_EQ(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0) << "border";
        }
    }
}

// The re-layout a change of scale brings, to 150 % and back: the outer size at
// 150 % is not checked here, since Wine draws the frame at the session's DPI.
// Back once while the form is hidden in the tray, where a change of scale may
// not reach it: it is laid out for its DPI when it is shown.
TEST_F(MainFormTest, AChangeOfScaleLaysTheFormOutAgainAndKeepsWhatItShows)
{
    HWND form = clock.form;
    HWND alarmButton = ControlAt(form, AlarmButtonIndex), minutes = ControlAt(form, MinutesFieldIndex);
    ASSERT_TRUE(TypeAlarmTime(form, "07:30:00"));
    ClickControl(alarmButton);
    ASSERT_TRUE(WaitFor([&] { return TextOf(alarmButton) == "Alarm Off"; }, 3000));
    ASSERT_TRUE(ClickIntoField(form, minutes));
    LONG const line96 = FieldLineHeight(minutes);
    RECT designed;
    GetWindowRect(form, &designed);
    struct Step {
        int dpi;
        RECT suggested;  // a hidden step's form stays where it was
        bool hidden;
    } const steps[] = {{144, {100, 50, 483, 362}, false}, {96, {100, 50, 483, 362}, true}, {96, designed, false}};
    for (Step const& step : steps) {
        SCOPED_TRACE(std::to_string(step.dpi) + " DPI" + (step.hidden ? ", hidden meanwhile" : ""));
        if (step.hidden) {
            // Wine's DPI is the session's, 96: the form laid out for 144 is hidden, then
            // brought back by a double click on the tray icon, as the shell sends it.
            PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 5000));
            PostMessageA(form, WM_USER + 5, 0, WM_LBUTTONDBLCLK);
            ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(form) && !IsIconic(form); }, 5000));
            EXPECT_TRUE(WaitFor([&] { return FieldLineHeight(minutes) == line96; }, 3000)) << "not laid out again";
        } else {
            ASSERT_TRUE(SendDpiChange(clock, step.dpi, step.suggested));
        }
        RECT r;
        GetWindowRect(form, &r);
        EXPECT_EQ(r.left, step.suggested.left);
        EXPECT_EQ(r.top, step.suggested.top);
        std::vector<HWND> children = ChildWindows(form);
        ASSERT_EQ(children.size(), 10u);
        for (size_t i = 0; i < children.size(); ++i) {
            RECT want = ScaledRect(ControlDesignRects[i], step.dpi), got = ClientRectInParent(children[i]);
            EXPECT_TRUE(step.dpi == 96 ? EqualRect(&got, &want) != FALSE : Within1(got, want))
                << "control " << i + 1 << " at " << got.left << "," << got.top << "-" << got.right << "," << got.bottom;
        }
        // The fields' font follows the scale.
        EXPECT_NEAR(FieldLineHeight(minutes), line96 * step.dpi / 96, 2);
        EXPECT_EQ(TextOf(ControlAt(form, HoursFieldIndex)) + TextOf(minutes) +
                      TextOf(ControlAt(form, SecondsFieldIndex)),
                  "073000");
        EXPECT_EQ(TextOf(alarmButton), "Alarm Off");
        EXPECT_TRUE(KeepsTicking(form, 1));
        // Restored, the form has the focus itself.
        if (step.hidden) {
            ASSERT_TRUE(ClickIntoField(form, minutes));
        }
        EXPECT_EQ(FocusedWindow(form), minutes);
    }
    // Back at 96 DPI, the form is as it was built.
    RECT r;
    GetWindowRect(form, &r);
    EXPECT_TRUE(EqualRect(&r, &designed));
}

TEST_F(MainFormTest, TabAndShiftTabCycleTheFieldsAndThePictureOnly)
{
    std::vector<HWND> children = ChildWindows(clock.form);
    ASSERT_EQ(children.size(), 10u);
    std::vector<HWND> const cycle = {children[2], children[3], children[4], children[9]};
    auto positionOf = [&](HWND focus) {
        for (size_t i = 0; i < cycle.size(); ++i)
            if (cycle[i] == focus) return static_cast<int>(i);
        return -1;
    };
    BringToFront(clock.form);
    ASSERT_EQ(GetForegroundWindow(), clock.form);
    HWND before = FocusedWindow(clock.form);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(clock.form) != before; }, 3000));
    int position = positionOf(FocusedWindow(clock.form));
    ASSERT_GE(position, 0) << "Tab went to a control outside the cycle";
    for (int press = 0; press < 6; ++press) {
        PressKey(VK_TAB);
        int next = (position + 1) % 4;
        ASSERT_TRUE(WaitFor([&] { return FocusedWindow(clock.form) == cycle[next]; }, 3000))
            << "Tab from position " << position << " landed on " << ClassOf(FocusedWindow(clock.form)) << " id "
            << GetDlgCtrlID(FocusedWindow(clock.form));
        position = next;
    }
    for (int press = 0; press < 5; ++press) {
        PressKey(VK_TAB, true);
        int previous = (position + 3) % 4;
        ASSERT_TRUE(WaitFor([&] { return FocusedWindow(clock.form) == cycle[previous]; }, 3000))
            << "Shift+Tab from position " << position;
        position = previous;
    }
}

TEST_F(MainFormTest, MinimisingHidesTheFormAndItsTaskbarButton)
{
    ASSERT_TRUE(WaitFor([&] { return HasTaskbarButton(clock.form); }, 5000)) << "a shown form has a taskbar button";
    PostMessageA(clock.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(clock.form); }, 5000));
    EXPECT_TRUE(IsIconic(clock.form));
    EXPECT_TRUE(WaitFor([&] { return !HasTaskbarButton(clock.form); }, 5000));
}

TEST(ClosingTheClock, TheCloseBoxAndAltF4EndTheProcessWithExitCodeZero)
{
    struct Way {
        const char* what;
        std::function<void(ClockProcess&)> close;
    } const ways[] = {
        {"close box", [](ClockProcess& c) { ClickAt(CloseBoxOf(c.form)); }},
        {"Alt+F4", [](ClockProcess&) { PressKey(VK_F4, false, true); }},
        // The field normalises as it loses the focus during destruction, and
        // the subclasses undo themselves.
        {"Alt+F4 from a field holding x",
         [](ClockProcess& c) {
             HWND hours = ControlAt(c.form, HoursFieldIndex);
             PutOnClipboard("x");
             ASSERT_TRUE(ClickIntoField(c.form, hours));
             PressControlV();
             ASSERT_TRUE(WaitFor([&] { return TextOf(hours) == "x"; }, 3000)) << "reads " << TextOf(hours);
             PressKey(VK_F4, false, true);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        ClockProcess clock = StartClock({TimeZoneFor(0)});
        ASSERT_NE(clock.form, nullptr);
        BringToFront(clock.form);
        way.close(clock);
        ASSERT_FALSE(HasFatalFailure());
        ExpectExitCodeZero(clock);
        EXPECT_TRUE(NoClockWindowLeft());
    }
}
