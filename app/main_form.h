// The main form: building it and colouring its controls.
#pragma once

#include <windows.h>

// The form's colours (COLORREF 0x00BBGGRR).
COLORREF const Black = RGB(0, 0, 0);
COLORREF const White = RGB(255, 255, 255);
COLORREF const Silver = RGB(192, 192, 192);
COLORREF const Red = RGB(255, 0, 0);

void BuildMainForm();
// Shows the form, restored from the tray or the taskbar, in front of the program the user
// works in; where Windows refuses the foreground, its taskbar button flashes.
void BringFormToFront();
// The form moved to a monitor of another scale, or the scale changed: lays it
// out again at the new DPI, at the corner of the rectangle Windows suggests.
void OnDpiChanged(int dpi, const RECT* suggested);
// The form was shown: one hidden while the scale changed may have missed the
// change, so its DPI is compared with the layout's, and it is laid out again
// if they differ.
void FollowWindowDpi();
// The outer size the form needs at a DPI, asked before a change of DPI.
bool SizeFormForDpi(int dpi, SIZE* size);
HBRUSH MakeControlBrush(COLORREF textColor, COLORREF backgroundColor, HDC deviceContext, HWND control);
