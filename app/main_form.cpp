// The main form: a black window with the clock picture, the red clock, the
// three buttons and the silver alarm-time fields.
#include "app/main_form.h"

#include "alarm/alarm.h"
#include "alarm/fields.h"
#include "alarm/wake.h"
#include "app/control_ids.h"
#include "app/globals.h"
#include "resources/resource_ids.h"
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

// The form's fonts and its small icon, made for LayoutDpi by
// LayOutMainForm; those of the previous DPI are deleted once replaced.
static HFONT MinuteColonFont;
static HFONT HourColonFont;
static HFONT GuiFont;
static HFONT ClockFont;
static HICON SmallIcon;

namespace {

DWORD const FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
DWORD const LabelStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTER;
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
    HFONT const previous[] = {MinuteColonFont, HourColonFont, GuiFont, ClockFont};
    MinuteColonFont = CreateClockFont(ScaleToDpi(ColonFontHeight, LayoutDpi), "Microsoft Sans Serif");
    HourColonFont = CreateClockFont(ScaleToDpi(ColonFontHeight, LayoutDpi), "Microsoft Sans Serif");
    GuiFont = CreateGuiFont(LayoutDpi);
    ClockFont = CreateClockFont(ScaleToDpi(ClockFontHeight, LayoutDpi), "Arial");
    SetFont(MainForm, GuiFont);
    SetFont(MinuteColon, MinuteColonFont);
    SetFont(HourColon, HourColonFont);
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

void SetSmallIcon()
{
    HICON const previous = SmallIcon;
    SmallIcon = LoadSmallIcon(ResourceAppIcon, LayoutDpi);
    SendMessageA(MainForm, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon));
    if (previous != NULL) DestroyIcon(previous);
}

PixelSize FormSizeAt(int dpi)
{
    return WindowSizeForClient(ScaleToDpi(FormClientSize, dpi), FormStyle, FormExStyle, dpi);
}

// Everything that depends on the DPI, for LayoutDpi: fonts, places, picture,
// icon and the form's size, at the suggested rectangle's corner when given.
// Texts, focus and the alarm's state are left as they are.
void LayOutMainForm(const RECT* suggested)
{
    SetFormFonts();
    MoveControl(MinuteColon, MinuteColonBox);
    MoveControl(HourColon, HourColonBox);
    MoveControl(HoursField, HoursFieldBox);
    MoveControl(MinutesField, MinutesFieldBox);
    MoveControl(SecondsField, SecondsFieldBox);
    MoveControl(AlarmButton, AlarmButtonBox);
    MoveControl(SnoozeButton, SnoozeButtonBox);
    MoveControl(TestButton, TestButtonBox);
    MoveControl(ClockLabel, ClockLabelBox);
    ShowClockPicture();
    SetSmallIcon();
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
    MainForm =
        CreateForm("Vexo - Tarnwick", 57, 77, FormClientSize.width, FormClientSize.height, FormStyle, FormExStyle);
    // The form's own DPI, which differs from the screen's on a monitor of another scale.
    LayoutDpi = WindowDpi(MainForm);
    SetClassLongA(MainForm, GCL_STYLE, GetClassLongA(MainForm, GCL_STYLE) | CS_DBLCLKS);
    SetFormColor(MainForm, Black);

    // Creation order is also the Tab order of the fields and the picture.
    MinuteColon = CreateLabel(":", MainForm, MinuteColonId, MinuteColonBox.x, MinuteColonBox.y, MinuteColonBox.width,
                              MinuteColonBox.height, LabelStyle, WS_EX_TRANSPARENT);
    HourColon = CreateLabel(":", MainForm, HourColonId, HourColonBox.x, HourColonBox.y, HourColonBox.width,
                            HourColonBox.height, LabelStyle, WS_EX_TRANSPARENT);
    HoursField = CreateEdit("06", MainForm, HoursFieldId, HoursFieldBox.x, HoursFieldBox.y, HoursFieldBox.width,
                            HoursFieldBox.height, FieldStyle, 0);
    MinutesField = CreateEdit("00", MainForm, MinutesFieldId, MinutesFieldBox.x, MinutesFieldBox.y,
                              MinutesFieldBox.width, MinutesFieldBox.height, FieldStyle, 0);
    SecondsField = CreateEdit("00", MainForm, SecondsFieldId, SecondsFieldBox.x, SecondsFieldBox.y,
                              SecondsFieldBox.width, SecondsFieldBox.height, FieldStyle, 0);
    AlarmButton = CreateButton("Alarm On", MainForm, AlarmButtonId, AlarmButtonBox.x, AlarmButtonBox.y,
                               AlarmButtonBox.width, AlarmButtonBox.height, ButtonStyle, ButtonExStyle);
    SnoozeButton = CreateButton("Snooze", MainForm, SnoozeButtonId, SnoozeButtonBox.x, SnoozeButtonBox.y,
                                SnoozeButtonBox.width, SnoozeButtonBox.height, ButtonStyle, ButtonExStyle);
    TestButton = CreateButton("Test", MainForm, TestButtonId, TestButtonBox.x, TestButtonBox.y, TestButtonBox.width,
                              TestButtonBox.height, ButtonStyle, ButtonExStyle);
    ClockLabel = CreateLabel("12:00:00", MainForm, ClockLabelId, ClockLabelBox.x, ClockLabelBox.y, ClockLabelBox.width,
                             ClockLabelBox.height, LabelStyle, WS_EX_TRANSPARENT);
    PictureLabel = CreateBitmapLabel("", MainForm, PictureLabelId, PictureCorner.x, PictureCorner.y, 0, 0,
                                     ResourceClockPicture, 0, 0);

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
    ReloadTrayIcon();
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
