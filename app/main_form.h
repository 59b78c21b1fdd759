// The main form: building it and colouring its controls.
#pragma once

#include <windows.h>

void BuildMainForm();
HBRUSH MakeControlBrush(COLORREF textColor, COLORREF backgroundColor, HDC deviceContext, HWND control);
