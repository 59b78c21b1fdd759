// The form's window menu (Alt+Space) gives the three button commands to the
// keyboard: "&Alarm On"/"&Alarm Off", "&Test"/"S&top" and "Snoo&ze".
#pragma once

#include <windows.h>

// Puts the three items and a separator above the standard items; called once
// the buttons exist.
void AddCommandsToWindowMenu();
// Every change of a button's caption goes through here, so the item that
// gives the button's command reads the same.
void SetCommandCaption(HWND button, const char* caption);
// A WM_SYSCOMMAND: runs the command of one of the three items through the
// button's own routine; false for every other command.
bool RunWindowMenuCommand(WPARAM command);
