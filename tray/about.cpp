// The About box: one at a time, modal, owned by the form, closed only by Ok,
// Enter, the close box and Alt+F4.
#include "tray/tray.h"

#include "app/globals.h"
#include "resources/resource_ids.h"

HWND AboutBox;

void ShowAboutBox()
{
    // A minimised form is hidden; a box owned by it would appear out of nowhere.
    if (IsIconic(MainForm)) return;
    // The tray menu works while the box is open; a second box would enable
    // the form when it closes, under the first.
    if (AboutBox != NULL) {
        SetForegroundWindow(AboutBox);
        return;
    }
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(ResourceAboutDialog), MainForm, AboutDialogProc, 0);
    AboutBox = NULL;
}

// Answers 0 to everything: WM_INITDIALOG leaves the focus unset, and IDCANCEL
// (Escape) is ignored on purpose.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) AboutBox = dialog;
    // The whole wParam: IDOK from a click or Enter carries notification code 0.
    if ((message == WM_COMMAND && wParam == IDOK) || message == WM_CLOSE) EndDialog(dialog, 0);
    return 0;
}
