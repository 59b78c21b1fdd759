// The three button commands in the form's window menu.
#include "app/window_menu.h"

#include "alarm/commands.h"
#include "app/control_ids.h"
#include "app/globals.h"
#include "support/control_text.h"
#include "support/menu_text.h"

namespace {

// Each item, the button whose command it gives and its key, which no standard
// item of the window menu uses (Minimize is N).
struct WindowMenuItem {
    HWND* button;
    UINT id;
    char key;
};
WindowMenuItem const WindowMenuItems[] = {
    {&AlarmButton, WindowMenuAlarmId, 'A'},
    {&TestButton, WindowMenuTestId, 'T'},
    {&SnoozeButton, WindowMenuSnoozeId, 'Z'},
};

}  // namespace

void AddCommandsToWindowMenu()
{
    HMENU menu = GetSystemMenu(MainForm, FALSE);
    UINT position = 0;
    for (WindowMenuItem const& item : WindowMenuItems)
        InsertMenuA(menu, position++, MF_BYPOSITION | MF_STRING, item.id,
                    MenuTextWithKey(GetControlText(*item.button), item.key));
    InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, NULL);
}

void SetCommandCaption(HWND button, const char* caption)
{
    SetControlText(button, caption);
    for (WindowMenuItem const& item : WindowMenuItems)
        if (*item.button == button)
            ModifyMenuA(GetSystemMenu(MainForm, FALSE), item.id, MF_BYCOMMAND | MF_STRING, item.id,
                        MenuTextWithKey(caption, item.key));
}

bool RunWindowMenuCommand(WPARAM command)
{
    switch (command & 0xFFF0) {
    case WindowMenuAlarmId:
        ToggleAlarm();
        return true;
    case WindowMenuTestId:
        TestOrStop();
        return true;
    case WindowMenuSnoozeId:
        SnoozeAlarm();
        return true;
    }
    return false;
}
