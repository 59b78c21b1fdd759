// Helpers that turn one line of form-building code into one window or control:
// default styles, positions and sizes given at 96 DPI and scaled to LayoutDpi,
// the stock GUI font, sizing to the text, the form colour and centring.
#pragma once

#include <windows.h>

// A style of 0 selects the kind's default; for buttons and edits an extended
// style of DefaultExStyle selects their default extended style.
DWORD const DefaultExStyle = 0xFFFFFFFF;

// The window's outer size is the client area's plus the frame and title bar at LayoutDpi.
HWND CreateForm(const char* title, int x, int y, int clientWidth, int clientHeight, DWORD style, DWORD exStyle);
HWND CreateButton(const char* text, HWND parent, int id, int x, int y, int width, int height, DWORD style,
                  DWORD exStyle);
HWND CreateEdit(const char* text, HWND parent, int id, int x, int y, int width, int height, DWORD style, DWORD exStyle);
HWND CreateLabel(const char* text, HWND parent, int id, int x, int y, int width, int height, DWORD style,
                 DWORD exStyle);
HWND CreateBitmapLabel(const char* fileName, HWND parent, int id, int x, int y, int width, int height, int bitmapId,
                       DWORD style, DWORD exStyle);
void SetFormColor(HWND window, COLORREF color);
void CenterWindow(HWND window, HWND reference, HWND verticalReference);
