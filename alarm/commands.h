// The alarm commands: the three buttons, a click on the clock, and the
// events the form receives but does not use.
#pragma once

// Each button command ends with the focus on the picture, so no button keeps it.
void ToggleAlarm();
void TestOrStop();
void SnoozeAlarm();
// A message box with the local date and time, owned by the active window.
void ShowDateTime();

// Clicks on the colons and the form's own mouse buttons do nothing.
void OnHourColonClick();
void OnMinuteColonClick();
// button: 1 left, 2 right; keyState, x and y as the mouse message carried them.
void OnFormMouseDown(int button, int keyState, int x, int y);
void OnFormMouseUp(int button, int keyState, int x, int y);
