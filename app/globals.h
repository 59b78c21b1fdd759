// Process-wide values and window handles of the application shell.
#pragma once

#include <windows.h>

// Size of every text variable: 2047 characters and the terminator.
int const TextVariableSize = 2048;

// Set once by WinMain before any window exists, but for LayoutDpi.
extern HINSTANCE AppInstance;  // the program's module
extern char ClassName[TextVariableSize];  // "TOLVAPROG", the one window class
// The DPI the form is laid out for: every position and size given to the
// helpers is scaled from 96 DPI to it. The screen's until the form exists, then
// the form's; BuildMainForm and a change of the form's DPI write it.
extern int LayoutDpi;

// Set once by BuildMainForm; the program addresses its controls by these.
extern HWND MainForm;
extern HWND MinuteColon;
extern HWND HourColon;
extern HWND HoursField;
extern HWND MinutesField;
extern HWND SecondsField;
extern HWND AlarmButton;
extern HWND SnoozeButton;
extern HWND TestButton;
extern HWND ClockLabel;
extern HWND PictureLabel;
