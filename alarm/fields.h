// The alarm-time fields: the subclass every control of the form but the
// picture receives, the handlers that select, normalise and commit the field
// texts, and composing the alarm time.
#pragma once

#include <windows.h>

// Puts ControlSubclassProc in front of the control's own procedure, which is
// kept in the control's "Wprc" property.
void InstallSubclass(HWND control);
LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Per-field handlers; field is HoursField, MinutesField or SecondsField.
void OnFieldFocus(HWND field);
// button: 1 left, 2 right; keyState, x and y as the mouse message carried them.
void OnFieldClick(HWND field, int button, int keyState, int x, int y);
void OnFieldKeyUp(HWND field, WPARAM wParam, LPARAM lParam);
void OnFieldChar(HWND field, signed char character, LPARAM lParam);

void NormalizeHoursField(HWND field);
void NormalizeMinSecField(HWND field);
// Rebuilds AlarmTimeText from the three field texts as they stand.
void ComposeAlarmTime();
