// Another program sends the clock thousands of random messages of the kinds
// its form handles; the clock must come out of it working.
#include "clock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

UINT const TrayCallback = WM_USER + 5;
LPARAM const TrayMenuButton = WM_RBUTTONDOWN;  // 516: opens the menu, tested on its own
int const ShowCommand = 1001;
int const HideCommand = 1002;
int const UpdatesCommand = 1003;
int const AboutCommand = 1004;
int const ExitCommand = 1005;
int const ClockLabelId = 1;  // with code 0 (a click): the date box, tested on its own
int const StormMessages = 20000;
unsigned const StormSeed = 20110611;
DWORD const AnswerMs = 5000;

struct StormCounts {
    int sent = 0;
    int unanswered = 0;
    int heldBack = 0;
    int contextMenus = 0;
    int texts = 0;
    DWORD slowestMs = 0;
};

class Storm {
public:
    Storm(ClockProcess& clock) : clock(clock), random(StormSeed)
    {
        fields = {ControlAt(clock.form, HoursFieldIndex), ControlAt(clock.form, MinutesFieldIndex),
                  ControlAt(clock.form, SecondsFieldIndex)};
        controls = ChildWindows(clock.form);
    }

    void Run()
    {
        while (counts.sent < StormMessages && !::testing::Test::HasFatalFailure()) {
            switch (Pick(9)) {
            case 0:
            case 1:
                SendCommand();
                break;
            case 2:
                Send(clock.form, TrayCallback, 0, TrayLParam());
                break;
            case 3:
                Send(clock.form, WM_TIMER, Pick(8), 0);
                break;
            case 4:
                Repaint();
                break;
            case 5:
                SetFieldText();
                break;
            case 6:
                Send(Field(), EM_SETSEL, Number(), Number());
                break;
            case 7:
                KeyMessage();
                break;
            case 8:
                MouseMessage();
                break;
            }
        }
    }

    StormCounts counts;

private:
    unsigned Pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random); }
    // Mostly small numbers, now and then any 32 bits.
    WPARAM Number()
    {
        if (Pick(4) == 0) return static_cast<WPARAM>(random());
        return static_cast<WPARAM>(static_cast<int>(Pick(12)) - 2);
    }
    HWND Field() { return fields[Pick(3)]; }

    void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        DWORD_PTR result = 0;
        DWORD start = GetTickCount();
        ++counts.sent;
        if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, AnswerMs, &result)) {
            ++counts.unanswered;
            ADD_FAILURE() << "message " << std::hex << message << " (" << wParam << ", " << lParam << ") unanswered";
        }
        DWORD took = GetTickCount() - start;
        if (took > counts.slowestMs) counts.slowestMs = took;
    }

    void SendCommand()
    {
        int const ids[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ShowCommand, HideCommand};
        int id = Pick(3) == 0 ? static_cast<int>(Pick(0x10000)) : ids[Pick(sizeof ids / sizeof ids[0])];
        int code = Pick(2) == 0 ? static_cast<int>(Pick(0x10000)) : static_cast<int>(Pick(8));
        if (id == UpdatesCommand || id == AboutCommand || id == ExitCommand || (id == ClockLabelId && code == 0))
            return;
        LPARAM from =
            Pick(2) == 0 ? 0 : reinterpret_cast<LPARAM>(controls[Pick(static_cast<unsigned>(controls.size()))]);
        Send(clock.form, WM_COMMAND, MAKEWPARAM(id, code), from);
    }

    LPARAM TrayLParam()
    {
        for (;;) {
            LPARAM value = Pick(4) == 0 ? static_cast<LPARAM>(random()) : static_cast<LPARAM>(WM_MOUSEFIRST + Pick(14));
            if (value != TrayMenuButton) return value;
        }
    }

    // Invalidated controls ask the form for their colours as they paint.
    void Repaint()
    {
        HWND control = controls[Pick(static_cast<unsigned>(controls.size()))];
        InvalidateRect(control, NULL, TRUE);
        Send(control, WM_PAINT, 0, 0);
        if (Pick(4) == 0) {
            InvalidateRect(clock.form, NULL, TRUE);
            Send(clock.form, WM_PAINT, 0, 0);
        }
    }

    void SetFieldText()
    {
        size_t length = Pick(3) == 0 ? Pick(4097) : Pick(4);
        std::string text(length, ' ');
        for (char& c : text) c = static_cast<char>(1 + Pick(255));
        ++counts.texts;
        Send(Field(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    // Wine's edit control corrupts its memory when a character is typed,
    // deleted, pasted or undone at position 0 while the rest of its text is
    // wider than the field; only an outside WM_SETTEXT makes such a text.
    bool MayEdit(HWND field)
    {
        if (TextOf(field).size() <= 2) return true;
        ++counts.heldBack;
        return false;
    }

    void KeyMessage()
    {
        HWND field = Field();
        WORD const keys[] = {'0',    '5',    '9',       'A',       VK_BACK, VK_DELETE, VK_LEFT,  VK_RIGHT,  VK_HOME,
                             VK_END, VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP,   VK_DOWN,   VK_SHIFT, VK_CONTROL};
        WPARAM key = Pick(4) == 0 ? Pick(256) : keys[Pick(sizeof keys / sizeof keys[0])];
        LPARAM flags = static_cast<LPARAM>(random());
        switch (Pick(6)) {
        case 0:
            Send(field, WM_KEYUP, key, flags | 0xC0000001);
            return;
        case 1:
            if (MayEdit(field)) Send(field, WM_KEYDOWN, key, flags & 0x00FFFFFF);
            return;
        case 2:
        case 3:
            if (MayEdit(field)) Send(field, WM_CHAR, Pick(3) == 0 ? Pick(256) : '0' + Pick(10), flags & 0x00FFFFFF);
            return;
        default: {
            UINT const edits[] = {WM_PASTE, WM_CUT, WM_CLEAR, WM_UNDO, EM_UNDO, WM_COPY};
            if (MayEdit(field)) Send(field, edits[Pick(sizeof edits / sizeof edits[0])], 0, 0);
        }
        }
    }

    void MouseMessage()
    {
        HWND field = Field();
        LPARAM at = MAKELPARAM(Pick(40) - 10, Pick(30) - 5);
        switch (Pick(40)) {
        case 0:
            RightRelease(field, at);
            return;
        default:
            switch (Pick(3)) {
            case 0:
                Send(field, WM_MOUSEMOVE, Pick(4) == 0 ? MK_LBUTTON : 0, at);
                return;
            case 1:
                Send(field, WM_LBUTTONDOWN, MK_LBUTTON, at);
                break;
            case 2:
                Send(field, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                break;
            }
            // Every press is released, so no capture outlasts the storm.
            Send(field, WM_LBUTTONUP, 0, at);
        }
    }

    // The edit control answers a right-button release with its own context
    // menu, which runs until closed: posted, then closed with a real Escape
    // while the form has the keyboard.
    void RightRelease(HWND field, LPARAM at)
    {
        if (!IsWindowVisible(clock.form)) return;
        BringToFront(clock.form);
        ++counts.sent;
        PostMessageA(field, WM_RBUTTONUP, 0, at);
        HWND menu = WaitForVisibleWindow(clock.process.dwProcessId, "#32768", 3000);
        if (!menu) return;
        ++counts.contextMenus;
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitFor([&] { return Gone(menu); }, 3000)) << "the field's context menu stayed open";
    }

    ClockProcess& clock;
    std::mt19937 random;
    std::vector<HWND> fields;
    std::vector<HWND> controls;
};

bool IsTwoDigitsUpTo(const std::string& text, int bound)
{
    return text.size() == 2 && isdigit(static_cast<unsigned char>(text[0])) &&
           isdigit(static_cast<unsigned char>(text[1])) && std::stoi(text) <= bound;
}

// Presses Tab until each field has had the focus and lost it again; the
// fields' texts after it.
std::vector<std::string> TabRound(HWND form, const std::vector<HWND>& fields)
{
    std::vector<bool> left(fields.size(), false);
    auto allLeft = [&] { return left[0] && left[1] && left[2]; };
    HWND focus = FocusedWindow(form);
    for (int press = 0; press < 12 && !allLeft(); ++press) {
        PressKey(VK_TAB);
        HWND before = focus;
        EXPECT_TRUE(WaitFor([&] { return (focus = FocusedWindow(form)) != before; }, 3000))
            << "Tab did not move the focus";
        for (size_t i = 0; i < fields.size(); ++i)
            if (fields[i] == before) left[i] = true;
    }
    EXPECT_TRUE(allLeft()) << "Tab did not go round the fields";
    std::vector<std::string> texts;
    for (HWND field : fields) texts.push_back(TextOf(field));
    return texts;
}

}  // namespace

TEST(MessageStorm, TwentyThousandRandomMessagesLeaveTheClockWorking)
{
    // The alarm hours away, so only the storm's own commands make it ring.
    int const offset = OffsetBringingTimeSoon(6, 0, 0, NowMs(), 3 * 3600);
    ClockProcess clock = StartClock({TimeZoneFor(offset)});
    ASSERT_NE(clock.form, nullptr);
    BringToFront(clock.form);
    Storm storm(clock);
    DWORD const start = GetTickCount();
    storm.Run();
    printf("storm (seed %u): %d messages in %.1f s, %d texts set, %d editing messages held back for a "
           "long text, %d context menus closed, %d unanswered, slowest answer %lu ms\n",
           StormSeed, storm.counts.sent, (GetTickCount() - start) / 1000.0, storm.counts.texts, storm.counts.heldBack,
           storm.counts.contextMenus, storm.counts.unanswered, storm.counts.slowestMs);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    ASSERT_EQ(WaitForSingleObject(clock.process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the clock ended during the storm";

    // Still answering at once.
    double slowest = 0;
    for (int probe = 0; probe < 5; ++probe) {
        LARGE_INTEGER frequency, before, after;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&before);
        DWORD_PTR result;
        EXPECT_TRUE(SendMessageTimeoutA(clock.form, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result));
        QueryPerformanceCounter(&after);
        double ms =
            1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart);
        if (ms > slowest) slowest = ms;
        Sleep(20);
    }
    printf("after the storm: WM_NULL answered within %.2f ms (slowest of 5)\n", slowest);
    EXPECT_LT(slowest, 100.0);

    // The form back, then the fields as Tab leaves them.
    DWORD_PTR result;
    SendMessageTimeoutA(clock.form, WM_COMMAND, ShowCommand, 0, SMTO_NORMAL, AnswerMs, &result);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(clock.form) && !IsIconic(clock.form); }, 5000));
    BringToFront(clock.form);
    std::vector<HWND> const fields = {ControlAt(clock.form, HoursFieldIndex), ControlAt(clock.form, MinutesFieldIndex),
                                      ControlAt(clock.form, SecondsFieldIndex)};
    std::vector<std::string> const first = TabRound(clock.form, fields);
    int const bounds[] = {23, 59, 59};
    for (size_t i = 0; i < fields.size(); ++i)
        EXPECT_TRUE(IsTwoDigitsUpTo(first[i], bounds[i])) << "field " << i << " reads \"" << first[i] << "\"";
    EXPECT_EQ(TabRound(clock.form, fields), first) << "a second round changed the fields";
    printf("after the storm the fields read %s %s %s\n", first[0].c_str(), first[1].c_str(), first[2].c_str());

    HWND label = ControlAt(clock.form, ClockLabelIndex);
    EXPECT_TRUE(WaitFor([&] { return TextOf(label) == LocalTimeText(NowMs(), offset); }, 3000))
        << "the clock shows " << TextOf(label) << " at " << LocalTimeText(NowMs(), offset);

    BringToFront(clock.form);
    PressKey(VK_F4, false, true);
    ExpectExitCodeZero(clock);
    EXPECT_TRUE(NoClockWindowLeft());
}
