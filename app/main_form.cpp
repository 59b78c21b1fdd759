// The main form: a black window with the clock picture, the red clock, the
// three buttons and the silver alarm-time fields.
#include "app/main_form.h"

#include "alarm/alarm.h"
#include "alarm/fields.h"
#include "alarm/wake.h"
#include "app/control_ids.h"
#include "app/globals.h"
#include "app/window_menu.h"
#include "resources/resource_ids.h"
#include "support/annotation.h"
#include "support/control_text.h"
#include "support/controls.h"
#include "support/dpi.h"
#include "support/layout.h"
#include "support/text.h"
#include "tray/tray.h"

#include <initializer_list>

HWND MainForm;
HWND MinuteColon;
HWND HourColon;
HWND HoursField;
HWND MinutesField;
HWND SecondsField;
HWND AlarmButton;
HWND SnoozeButton;
HWND TestButton;
HWND ClockLabel;
HWND PictureLabel;

// The one control-colour brush: replaced, and the old one deleted, on every
// control-colour message, so at most one exists at a time.
static HBRUSH ControlBrush;

// The form's fonts and icons, made for LayoutDpi by LayOutMainForm; those of
// the previous DPI are deleted once replaced. One colon font serves both colons.
static HFONT ColonFont;
static HFONT GuiFont;
static HFONT ClockFont;
static HICON SmallIcon;
static HICON BigIcon;

namespace {

DWORD const FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
DWORD const LabelStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTER;
// Never shown, so it takes neither the focus nor a click; a screen reader
// names the edit control after it the static just before it.
DWORD const NameLabelStyle = WS_CHILD | SS_LEFT | SS_NOPREFIX;
DWORD const FieldStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_NOHIDESEL;
DWORD const ButtonStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_NOTIFY;
DWORD const ButtonExStyle = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
DWORD const FormExStyle = WS_EX_CONTROLPARENT;

// The layout at 96 DPI, in client pixels: the client area the controls need,
// each control's place, and the picture's corner and size.
PixelSize const FormClientSize = {249, 183};
PixelBox const MinuteColonBox = {76, 153, 8, 12};
PixelBox const HourColonBox = {36, 153, 8, 12};
PixelBox const HoursFieldBox = {12, 155, 16, 16};
PixelBox const MinutesFieldBox = {52, 155, 12, 16};
PixelBox const SecondsFieldBox = {92, 155, 12, 16};
PixelBox const AlarmButtonBox = {124, 148, 120, 28};
PixelBox const SnoozeButtonBox = {124, 120, 120, 28};
PixelBox const TestButtonBox = {4, 120, 120, 28};
PixelBox const ClockLabelBox = {56, 64, 112, 16};
PixelPoint const PictureCorner = {10, 10};
PixelSize const PictureSize = {235, 110};
// The clock picture is drawn at these scales, in percent, as these bitmaps.
int const PictureScales[] = {100, 150, 200};
int const PictureResources[] = {ResourceClockPicture, ResourceClockPicture150, ResourceClockPicture200};
int const PictureCount = sizeof PictureScales / sizeof PictureScales[0];
// Font heights at 96 DPI.
int const ColonFontHeight = -11;
int const ClockFontHeight = -16;

HFONT CreateClockFont(int height, const char* face)
{
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_STROKE_PRECIS,
                       CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, face);
}

void SetFont(HWND window, HFONT font)
{
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
}

// The stock GUI font follows the screen's DPI only, so the form makes its own.
void SetFormFonts()
{
    HFONT const previous[] = {ColonFont, GuiFont, ClockFont};
    ColonFont = CreateClockFont(ScaleToDpi(ColonFontHeight, LayoutDpi), "Microsoft Sans Serif");
    GuiFont = CreateGuiFont(LayoutDpi);
    ClockFont = CreateClockFont(ScaleToDpi(ClockFontHeight, LayoutDpi), "Arial");
    SetFont(MainForm, GuiFont);
    SetFont(MinuteColon, ColonFont);
    SetFont(HourColon, ColonFont);
    for (HWND control : {SecondsField, MinutesField, HoursField, AlarmButton, SnoozeButton, TestButton})
        SetFont(control, GuiFont);
    SetFont(ClockLabel, ClockFont);
    // None on the first layout; DeleteObject refuses a null handle.
    for (HFONT font : previous) DeleteObject(font);
}

void MoveControl(HWND control, PixelBox design)
{
    PixelBox const box = ScaleToDpi(design, LayoutDpi);
    MoveWindow(control, box.x, box.y, box.width, box.height, FALSE);
}

// The drawing nearest the scale at or above it, scaled down smoothly where larger.
void ShowClockPicture()
{
    PictureChoice const choice = ChoosePicture(PictureSize, PictureScales, PictureCount, LayoutDpi);
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(PictureResources[choice.index]),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap != NULL) bitmap = ResizeBitmapSmoothly(bitmap, choice.shown);
    // The control hands back the bitmap it showed, which is ours to delete.
    HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        SendMessageA(PictureLabel, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous != NULL && previous != bitmap) DeleteObject(previous);
    MoveWindow(PictureLabel, ScaleToDpi(PictureCorner.x, LayoutDpi), ScaleToDpi(PictureCorner.y, LayoutDpi),
               choice.shown.width, choice.shown.height, FALSE);
}

// The small icon for the caption, the big one for Alt+Tab and the taskbar.
void SetFormIcons()
{
    HICON const previous[] = {SmallIcon, BigIcon};
    SmallIcon = LoadIconForDpi(ResourceAppIcon, IconSize::Small, LayoutDpi);
    BigIcon = LoadIconForDpi(ResourceAppIcon, IconSize::Big, LayoutDpi);
    SendMessageA(MainForm, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon));
    SendMessageA(MainForm, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(BigIcon));
    for (HICON icon : previous)
        if (icon != NULL) DestroyIcon(icon);
}

PixelSize FormSizeAt(int dpi)
{
    return WindowSizeForClient(ScaleToDpi(FormClientSize, dpi), FormStyle, FormExStyle, dpi);
}

// Everything that depends on the DPI, for LayoutDpi: fonts, places, picture,
// icons and the form's size, at the suggested rectangle's corner when given.
// The one place that places the controls and loads the picture, at start-up
// too. Texts, focus and the alarm's state are left as they are.
void LayOutMainForm(const RECT* suggested)
{
    MoveControl(MinuteColon, MinuteColonBox);
    MoveControl(HourColon, HourColonBox);
    MoveControl(HoursField, HoursFieldBox);
    MoveControl(MinutesField, MinutesFieldBox);
    MoveControl(SecondsField, SecondsFieldBox);
    MoveControl(AlarmButton, AlarmButtonBox);
    MoveControl(SnoozeButton, SnoozeButtonBox);
    MoveControl(TestButton, TestButtonBox);
    MoveControl(ClockLabel, ClockLabelBox);
    // After the places: an edit control sets its margins from the font for the
    // width it has then, and a field of two digits has room for no margin.
    SetFormFonts();
    ShowClockPicture();
    SetFormIcons();
    PixelSize const size = FormSizeAt(LayoutDpi);
    if (suggested != NULL) {
        PixelRect const r =
            PlaceOnSuggestedRect(PixelRect{suggested->left, suggested->top, suggested->right, suggested->bottom}, size);
        SetWindowPos(MainForm, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(MainForm, NULL, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(MainForm, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace

void BuildMainForm()
{
    MainForm = CreateForm("Vexo - Tarnwick", FormStyle, FormExStyle);
    // The form's own DPI, which differs from the screen's on a monitor of another scale.
    LayoutDpi = WindowDpi(MainForm);
    SetClassLongA(MainForm, GCL_STYLE, GetClassLongA(MainForm, GCL_STYLE) | CS_DBLCLKS);
    SetFormColor(MainForm, Black);

    // Creation order is also the Tab order of the fields and the picture, and
    // the z-order in which a field's name label comes just before it.
    MinuteColon = CreateLabel(":", MainForm, MinuteColonId, LabelStyle, WS_EX_TRANSPARENT);
    HourColon = CreateLabel(":", MainForm, HourColonId, LabelStyle, WS_EX_TRANSPARENT);
    CreateLabel("Alarm hours", MainForm, HoursNameId, NameLabelStyle, 0);
    HoursField = CreateEdit("06", MainForm, HoursFieldId, FieldStyle, 0);
    CreateLabel("Alarm minutes", MainForm, MinutesNameId, NameLabelStyle, 0);
    MinutesField = CreateEdit("00", MainForm, MinutesFieldId, FieldStyle, 0);
    CreateLabel("Alarm seconds", MainForm, SecondsNameId, NameLabelStyle, 0);
    SecondsField = CreateEdit("00", MainForm, SecondsFieldId, FieldStyle, 0);
    AlarmButton = CreateButton("Alarm On", MainForm, AlarmButtonId, ButtonStyle, ButtonExStyle);
    SnoozeButton = CreateButton("Snooze", MainForm, SnoozeButtonId, ButtonStyle, ButtonExStyle);
    TestButton = CreateButton("Test", MainForm, TestButtonId, ButtonStyle, ButtonExStyle);
    ClockLabel = CreateLabel("12:00:00", MainForm, ClockLabelId, LabelStyle, WS_EX_TRANSPARENT);
    PictureLabel = CreateBitmapLabel(MainForm, PictureLabelId, 0, 0);
    // A bitmap static's text would name a resource to load, so its name comes
    // from the annotation service instead.
    AnnotateName(PictureLabel, "Vexo clock");
    AddCommandsToWindowMenu();

    // Fonts, picture and size for the form's DPI; then every control but the
    // picture gets the subclass.
    LayOutMainForm(NULL);
    for (HWND control : {MinuteColon, HourColon, SecondsField, MinutesField, HoursField, AlarmButton, SnoozeButton,
                         TestButton, ClockLabel})
        InstallSubclass(control);

    // The creation text of the clock is never seen: it shows the time at once.
    char* now = TimeText(0);
    AlarmArmed = 1;
    AlarmRinging = 0;
    SetControlText(ClockLabel, now);
    SetupTray();

    CenterWindow(MainForm, NULL, NULL);
    ShowWindow(MainForm, SW_SHOW);
    // Adding the icon and showing the form take a while: if a second began
    // meanwhile, a timer armed from it would first tick a second later and that
    // second would never show. So the time is shown again once the timer is armed,
    // in the order every tick uses.
    ArmClockTimer();
    SetControlText(ClockLabel, TimeText(0));
    CreateWakeTimer();
    ComposeAlarmTime();
}

void BringFormToFront()
{
    // The same pair of calls brings the form back from the tray or the taskbar.
    ShowWindow(MainForm, SW_SHOW);
    ShowWindow(MainForm, SW_SHOWDEFAULT);
    // Showing alone leaves the form behind the program the user works in. Windows may
    // refuse a background process the foreground; the taskbar button then flashes
    // until the user brings the form forward.
    SetForegroundWindow(MainForm);
    if (GetForegroundWindow() != MainForm) {
        FLASHWINFO flash = {};
        flash.cbSize = sizeof flash;
        flash.hwnd = MainForm;
        flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
        FlashWindowEx(&flash);
    }
}

void OnDpiChanged(int dpi, const RECT* suggested)
{
    LayoutDpi = dpi;
    LayOutMainForm(suggested);
}

void FollowWindowDpi()
{
    // Laid out once restored: the size of a minimised form is its icon's.
    if (IsIconic(MainForm) || !IsWindowVisible(MainForm)) return;
    int const dpi = WindowDpi(MainForm);
    if (dpi != LayoutDpi) OnDpiChanged(dpi, NULL);
}

bool SizeFormForDpi(int dpi, SIZE* size)
{
    PixelSize const outer = FormSizeAt(dpi);
    size->cx = outer.width;
    size->cy = outer.height;
    return true;
}

HBRUSH MakeControlBrush(COLORREF textColor, COLORREF backgroundColor, HDC deviceContext, HWND)
{
    DeleteObject(ControlBrush);
    ControlBrush = CreateSolidBrush(backgroundColor);
    SetTextColor(deviceContext, textColor);
    SetBkColor(deviceContext, backgroundColor);
    return ControlBrush;
}
