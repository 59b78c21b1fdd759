// The main form's window procedure: a dispatch list in a fixed order, each
// case handing its event to the routine that owns it.
#include "app/window_proc.h"

#include "alarm/alarm.h"
#include "alarm/commands.h"
#include "alarm/fields.h"
#include "alarm/wake.h"
#include "app/control_ids.h"
#include "app/globals.h"
#include "app/main_form.h"
#include "app/window_menu.h"
#include "support/dpi.h"
#include "tray/tray.h"

// 0 until WM_CREATE registers them; no message sent before then has number 0.
static UINT TaskbarCreatedMessage;
static UINT ShowClockMessage;

namespace {

// Commands from the tray menu fall through to the default handling; the
// controls' commands answer 0 whatever their notification code.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    switch (id) {
    case TrayShowId:
        ShowWindow(MainForm, SW_SHOWDEFAULT);
        break;
    case TrayHideId:
        ShowWindow(MainForm, SW_HIDE);
        break;
    case TrayUpdatesId:
        OpenUpdatePage();
        break;
    case TrayAboutId:
        ShowAboutBox();
        return 0;
    case TrayExitId:
        ExitApplication();
        break;
    case AlarmButtonId:
        if (code == BN_CLICKED) ToggleAlarm();
        return 0;
    case SnoozeButtonId:
        if (code == BN_CLICKED) SnoozeAlarm();
        return 0;
    case TestButtonId:
        // Escape reaches here too, as IDCANCEL from the dialog keyboard rules.
        if (code == BN_CLICKED) TestOrStop();
        return 0;
    case HoursFieldId:
        if (code == EN_SETFOCUS) OnFieldFocus(HoursField);
        return 0;
    case MinutesFieldId:
        if (code == EN_SETFOCUS) OnFieldFocus(MinutesField);
        return 0;
    case SecondsFieldId:
        if (code == EN_SETFOCUS) OnFieldFocus(SecondsField);
        return 0;
    case HourColonId:
        if (code == STN_CLICKED) OnHourColonClick();
        return 0;
    case MinuteColonId:
        if (code == STN_CLICKED) OnMinuteColonClick();
        return 0;
    case ClockLabelId:
        // Enter reaches here too, as IDOK from the dialog keyboard rules.
        if (code == STN_CLICKED) ShowDateTime();
        return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT OnControlColor(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = reinterpret_cast<HWND>(lParam);
    HDC deviceContext = reinterpret_cast<HDC>(wParam);
    HBRUSH brush = NULL;
    if (message == WM_CTLCOLORBTN && control == TestButton)
        brush = MakeControlBrush(Black, White, deviceContext, control);
    else if (message == WM_CTLCOLOREDIT &&
             (control == SecondsField || control == MinutesField || control == HoursField))
        brush = MakeControlBrush(Silver, Black, deviceContext, control);
    else if (message == WM_CTLCOLORSTATIC && (control == MinuteColon || control == HourColon))
        brush = MakeControlBrush(Silver, Black, deviceContext, control);
    else if (message == WM_CTLCOLORSTATIC && control == ClockLabel)
        brush = MakeControlBrush(Red, Black, deviceContext, control);
    if (brush != NULL) return reinterpret_cast<LRESULT>(brush);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        // The clock first: a busy shell can hold up the add.
        OnClockTick();
        AddMissingTrayIcon();
        break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        SendDlgItemMessageA(window, static_cast<int>(wParam), message, wParam, lParam);
        return 0;
    case WM_NCCREATE:
        ScaleFrameWithDpi(window);
        break;
    case WM_CREATE:
        TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
        ShowClockMessage = RegisterWindowMessageA(ShowClockMessageName);
        return 0;
    case TrayCallbackMessage:
        OnTrayCallback(window, lParam);
        break;
    case WM_DESTROY:
        // Fails while the form still exists; ExitApplication unregisters again.
        UnregisterClassA(ClassName, AppInstance);
        PostQuitMessage(0);
        break;
    case WM_LBUTTONDOWN:
        OnFormMouseDown(1, static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_LBUTTONUP:
        OnFormMouseUp(1, static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnFormMouseDown(2, static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnFormMouseUp(2, static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_NOTIFY:
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return OnControlColor(window, message, wParam, lParam);
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_PAINT:
        break;
    case WM_SIZE:
        // A minimised form leaves the screen and the taskbar.
        if (IsIconic(MainForm) == 1) {
            ShowWindow(MainForm, SW_HIDE);
            return 0;
        }
        break;
    case WM_MOVE:
        break;
    case WM_GETDPISCALEDSIZE:
        return SizeFormForDpi(static_cast<int>(wParam), reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SHOWWINDOW:
        // Compared once the showing is done, a minimised form restored too.
        if (wParam) PostMessageA(MainForm, FollowDpiMessage, 0, 0);
        break;
    case FollowDpiMessage:
        FollowWindowDpi();
        return 0;
    case WM_SYSCOMMAND:
        if (RunWindowMenuCommand(wParam)) return 0;
        break;
    case WM_TIMECHANGE:
    case WM_SETTINGCHANGE:
        OnSystemTimeChange();
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) OnSystemTimeChange();
        break;
    case WM_CLOSE:
        ExitApplication();
        return 0;
    case WM_QUERYENDSESSION:
        // An alarm clock never holds a sign-out up.
        return TRUE;
    case WM_ENDSESSION:
        // Windows may end the process at any moment after this returns.
        if (wParam == TRUE) OnEndSession();
        return 0;
    default:
        // Compared after every fixed message number.
        if (TaskbarCreatedMessage != 0 && message == TaskbarCreatedMessage) AddTrayIcon();
        if (ShowClockMessage != 0 && message == ShowClockMessage) BringFormToFront();
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
