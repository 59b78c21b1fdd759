// Process-wide values and window handles of the application shell.
#pragma once

#include <windows.h>

// Size of every text variable: 2047 characters and the terminator.
int const TextVariableSize = 2048;

// Set once by WinMain before any window exists.
extern HINSTANCE AppInstance;  // the program's module
extern char ClassName[TextVariableSize];  // "TOLVAPROG", the one window class
extern int ScaleX;  // multiplies every x and width given to the helpers
extern int ScaleY;  // multiplies every y and height

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
