// Real input through SendInput, given as a person gives it: every mouse
// button event of the driver is built here, on MouseAt.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The pointer goes to the point first; buttons act once it is there, each
// event carrying the point. A press comes later than the double-click time
// after the last press made here, so separate clicks are never one double
// click; the two of a double click are not spaced.
enum class Button { Left, Right };
void MoveMouseTo(POINT at);
void ClickAt(POINT at, Button button = Button::Left);
void DoubleClickAt(POINT at);
// A press and a release apart, for what happens while the button is down.
void PressButtonAt(POINT at, Button button);
void ReleaseButtonAt(POINT at, Button button);
// Calendar milliseconds just before the buttons of the last call went out,
// after any wait for the pointer or the spacing of presses.
long long LastButtonsSentMs();
POINT CentreOf(HWND window);
// A point on the close box of a window with a fixed frame.
POINT CloseBoxOf(HWND window);
void ClickControl(HWND control, Button button = Button::Left);

void PressKey(WORD virtualKey, bool shift = false, bool alt = false);
// Types the digits (and only digits) on the keyboard, one key at a time.
void TypeDigits(const std::string& digits);
// Puts the text on the clipboard, as another program would.
void PutOnClipboard(const std::string& text);
// Ctrl+V: the edit control pastes the clipboard's text.
void PressControlV();
