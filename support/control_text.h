// Moving text between the program and window controls, through the TempText ring.
#pragma once

#include <windows.h>

int const ControlTextSize = 2048;

// Work area of GetControlText; holds nothing of value between calls.
extern char ControlTextBuffer[ControlTextSize];

// The control's text, at most 255 characters, as a temporary text. Takes two
// slots when the control has no text, three otherwise.
char* GetControlText(HWND control);
void SetControlText(HWND control, const char* text);
