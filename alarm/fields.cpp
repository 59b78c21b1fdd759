// The alarm-time fields: selecting, normalising and committing what the user
// types, and composing the alarm time from the three texts.
#include "alarm/fields.h"

#include "alarm/alarm.h"
#include "alarm/field_text.h"
#include "alarm/wake.h"
#include "app/globals.h"
#include "support/control_text.h"
#include "support/text.h"

#include <cstdio>
#include <cstring>

namespace {

char const PreviousProcedureProperty[] = "Wprc";
// Ticks from a click or key release in a field to the idle commit.
int const CommitTicks = 10;

bool IsAlarmField(HWND window)
{
    return window == HoursField || window == MinutesField || window == SecondsField;
}

void NormalizeField(HWND field)
{
    if (field == HoursField)
        NormalizeHoursField(field);
    else
        NormalizeMinSecField(field);
}

void SelectFirstTwoCharacters(HWND field)
{
    SendMessageA(field, EM_SETSEL, 0, 2);
}

}  // namespace

void InstallSubclass(HWND control)
{
    LONG_PTR previous = GetWindowLongPtrA(control, GWLP_WNDPROC);
    SetPropA(control, PreviousProcedureProperty, reinterpret_cast<HANDLE>(previous));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlSubclassProc));
}

LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Fetched for every call, so the nested calls that the handlers' own
    // messages make never disturb the outer one.
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(window, PreviousProcedureProperty));
    bool field = IsAlarmField(window);
    switch (message) {
    case WM_KEYUP:
        if (field) OnFieldKeyUp(window, wParam, lParam);
        break;
    case WM_CHAR:
        if (field) OnFieldChar(window, static_cast<signed char>(wParam & 0xFF), lParam);
        break;
    case WM_KILLFOCUS:
        // Before the edit control handles its own loss of focus.
        if (field) NormalizeField(window);
        break;
    case WM_LBUTTONUP:
        if (field) OnFieldClick(window, 1, static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_RBUTTONUP:
        if (field) OnFieldClick(window, 2, static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_DESTROY:
        // The subclass undoes itself; the control's own procedure then sees
        // the rest of its destruction.
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, PreviousProcedureProperty);
        return 0;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

void OnFieldFocus(HWND field)
{
    SelectFirstTwoCharacters(field);
}

void OnFieldClick(HWND field, int button, int, int, int)
{
    if (button != 1) return;
    SelectFirstTwoCharacters(field);
    CommitCountdown = CommitTicks;
}

void OnFieldKeyUp(HWND field, WPARAM, LPARAM)
{
    // One character may be the first of two: wait for the second.
    if (strlen(GetControlText(field)) < 2) return;
    NormalizeField(field);
    SelectFirstTwoCharacters(field);
    ComposeAlarmTime();
    CommitCountdown = CommitTicks;
}

void OnFieldChar(HWND, signed char, LPARAM) {}

void NormalizeHoursField(HWND field)
{
    SetControlText(field, NormalizedFieldText(GetControlText(field), HoursBound));
}

void NormalizeMinSecField(HWND field)
{
    SetControlText(field, NormalizedFieldText(GetControlText(field), MinutesSecondsBound));
}

void ComposeAlarmTime()
{
    // Each GetControlText result is a temporary text that outlives this call.
    char* hours = GetControlText(HoursField);
    char* minutes = GetControlText(MinutesField);
    char* seconds = GetControlText(SecondsField);
    snprintf(AlarmTimeText, sizeof AlarmTimeText, "%s%s%s%s%s%s", hours, ":", minutes, ":", seconds,
             CharsToText(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    SetWakeTimer();
}
