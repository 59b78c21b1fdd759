// The About box: modal, owned by the form, closed only by Ok, Enter, the
// close box and Alt+F4.
#include "tray/tray.h"

#include "app/globals.h"
#include "resources/resource_ids.h"

void ShowAboutBox()
{
    // A minimised form is hidden; a box owned by it would appear out of nowhere.
    if (IsIconic(MainForm)) return;
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(ResourceAboutDialog), MainForm, AboutDialogProc, 0);
}

// Answers 0 to everything: WM_INITDIALOG leaves the focus unset, and IDCANCEL
// (Escape) is ignored on purpose.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    // The whole wParam: IDOK from a click or Enter carries notification code 0.
    if ((message == WM_COMMAND && wParam == IDOK) || message == WM_CLOSE) EndDialog(dialog, 0);
    return 0;
}
