// Helpers that turn one line of form-building code into one window or control
// of a default style, the form colour and centring. They place nothing, set no
// font and load no picture: the form's layout routine does each once, for its DPI.
#pragma once

#include <windows.h>

// A style of 0 selects the kind's default; for buttons and edits an extended
// style of DefaultExStyle selects their default extended style.
DWORD const DefaultExStyle = 0xFFFFFFFF;

// Each window is made empty, at 0, 0 and of size 0 x 0.
HWND CreateForm(const char* title, DWORD style, DWORD exStyle);
HWND CreateButton(const char* text, HWND parent, int id, DWORD style, DWORD exStyle);
HWND CreateEdit(const char* text, HWND parent, int id, DWORD style, DWORD exStyle);
HWND CreateLabel(const char* text, HWND parent, int id, DWORD style, DWORD exStyle);
// A static that shows the bitmap later given to it with STM_SETIMAGE.
HWND CreateBitmapLabel(HWND parent, int id, DWORD style, DWORD exStyle);
void SetFormColor(HWND window, COLORREF color);
void CenterWindow(HWND window, HWND reference, HWND verticalReference);
