// Control ids, timer id and private messages of the main form.
#pragma once

#include <windows.h>

// Child ids; they only tell who sent a notification. The picture shares
// MinuteColon's id but sends nothing.
int const ClockLabelId = 1;
int const TestButtonId = 2;
int const SnoozeButtonId = 3;
int const AlarmButtonId = 4;
int const HourColonId = 5;
int const SecondsFieldId = 6;
int const MinutesFieldId = 7;
int const HoursFieldId = 8;
int const MinuteColonId = 9;
int const PictureLabelId = 9;
// The hidden labels that name the fields for screen readers; they send nothing.
int const HoursNameId = 10;
int const MinutesNameId = 11;
int const SecondsNameId = 12;

// The one window timer: the clock tick.
UINT_PTR const ClockTimerId = 1;

// Posted when the form is shown, to lay it out again if its DPI changed while it was hidden.
UINT const FollowDpiMessage = WM_APP + 1;

// Mouse events on the tray icon arrive as this message.
UINT const TrayCallbackMessage = WM_USER + 5;

// A later start in the same sign-in session asks the running clock to come back
// with the message registered under this name.
char const ShowClockMessageName[] = "Vexo - Tarnwick: show the clock";

// Items of the tray icon's menu.
int const TrayShowId = 1001;
int const TrayHideId = 1002;
int const TrayUpdatesId = 1003;
int const TrayAboutId = 1004;
int const TrayExitId = 1005;

// Items of the form's window menu (Alt+Space). Multiples of 16 below 0xF000:
// Windows keeps the low four bits of a WM_SYSCOMMAND command for itself.
UINT const WindowMenuAlarmId = 0x0010;
UINT const WindowMenuTestId = 0x0020;
UINT const WindowMenuSnoozeId = 0x0030;
