// GetControlText and SetControlText: the Win32 half of the text functions.
#include "support/control_text.h"

#include <cstring>

#include "support/text.h"

// Rewritten by every GetControlText call.
char ControlTextBuffer[ControlTextSize];

namespace {

// Room offered to WM_GETTEXT, terminator included.
int const ControlTextRoom = 256;

}  // namespace

char* GetControlText(HWND control)
{
    std::memset(ControlTextBuffer, 0, sizeof ControlTextBuffer);
    std::strcpy(ControlTextBuffer, SpaceText(ControlTextRoom));
    LRESULT n = SendMessageA(control, WM_GETTEXT, ControlTextRoom, reinterpret_cast<LPARAM>(ControlTextBuffer));
    if (n > 0) {
        // Keep exactly the characters the control says it copied, whether or not it
        // wrote a terminator; a control claiming more than the room gets the room.
        if (n > ControlTextRoom - 1) n = ControlTextRoom - 1;
        std::strcpy(ControlTextBuffer, LeftText(ControlTextBuffer, static_cast<int>(n)));
    } else {
        ControlTextBuffer[0] = 0;
    }
    size_t length = std::strlen(ControlTextBuffer);
    char* text = AllocTempText(static_cast<int>(length));
    std::memcpy(text, ControlTextBuffer, length);
    return text;
}

void SetControlText(HWND control, const char* text)
{
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
