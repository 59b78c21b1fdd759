// Names for screen readers that a control's own text cannot give, set through
// the accessibility annotation service (IAccPropServices). Needs COM
// initialised on the calling thread.
#pragma once

#include <windows.h>

// The name a screen reader gives the control; nothing where the service is missing.
void AnnotateName(HWND control, const char* name);
// Takes the name back; called before the control is destroyed, since the
// service keeps what it was given in the window's properties.
void ClearAnnotatedName(HWND control);
