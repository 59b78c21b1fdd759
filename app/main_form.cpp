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
#include "support/text.h"
#include "tray/tray.h"

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

namespace {

DWORD const FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
DWORD const LabelStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTER;
DWORD const FieldStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_NOHIDESEL;
DWORD const ButtonStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_NOTIFY;
DWORD const ButtonExStyle = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;

HFONT CreateClockFont(int height, const char* face)
{
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_STROKE_PRECIS,
                       CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, face);
}

void SetFontAndSubclass(HWND control, HGDIOBJ font)
{
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    InstallSubclass(control);
}

}  // namespace

void BuildMainForm()
{
    MainForm = CreateForm("Vexo - Tarnwick", 57, 77, 251, 196, FormStyle, WS_EX_CONTROLPARENT);
    SetClassLongA(MainForm, GCL_STYLE, GetClassLongA(MainForm, GCL_STYLE) | CS_DBLCLKS);
    SetFormColor(MainForm, Black);
    SendMessageA(MainForm, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);

    // Creation order is also the Tab order of the fields and the picture.
    MinuteColon = CreateLabel(":", MainForm, MinuteColonId, 76, 153, 8, 12, LabelStyle, WS_EX_TRANSPARENT);
    HourColon = CreateLabel(":", MainForm, HourColonId, 36, 153, 8, 12, LabelStyle, WS_EX_TRANSPARENT);
    HoursField = CreateEdit("06", MainForm, HoursFieldId, 12, 155, 16, 16, FieldStyle, 0);
    MinutesField = CreateEdit("00", MainForm, MinutesFieldId, 52, 155, 12, 16, FieldStyle, 0);
    SecondsField = CreateEdit("00", MainForm, SecondsFieldId, 92, 155, 12, 16, FieldStyle, 0);
    AlarmButton = CreateButton("Alarm On", MainForm, AlarmButtonId, 124, 148, 120, 28, ButtonStyle, ButtonExStyle);
    SnoozeButton = CreateButton("Snooze", MainForm, SnoozeButtonId, 124, 120, 120, 28, ButtonStyle, ButtonExStyle);
    TestButton = CreateButton("Test", MainForm, TestButtonId, 4, 120, 120, 28, ButtonStyle, ButtonExStyle);
    ClockLabel = CreateLabel("12:00:00", MainForm, ClockLabelId, 56, 64, 112, 16, LabelStyle, WS_EX_TRANSPARENT);
    PictureLabel = CreateBitmapLabel("", MainForm, PictureLabelId, 10, 10, 0, 0, ResourceClockPicture, 0, 0);

    // Each control gets its font and then the subclass; the picture gets neither.
    HGDIOBJ guiFont = GetStockObject(DEFAULT_GUI_FONT);
    SetFontAndSubclass(MinuteColon, CreateClockFont(-11, "Microsoft Sans Serif"));
    SetFontAndSubclass(HourColon, CreateClockFont(-11, "Microsoft Sans Serif"));
    SetFontAndSubclass(SecondsField, guiFont);
    SetFontAndSubclass(MinutesField, guiFont);
    SetFontAndSubclass(HoursField, guiFont);
    SetFontAndSubclass(AlarmButton, guiFont);
    SetFontAndSubclass(SnoozeButton, guiFont);
    SetFontAndSubclass(TestButton, guiFont);
    SetFontAndSubclass(ClockLabel, CreateClockFont(-16, "Arial"));

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

HBRUSH MakeControlBrush(COLORREF textColor, COLORREF backgroundColor, HDC deviceContext, HWND)
{
    DeleteObject(ControlBrush);
    ControlBrush = CreateSolidBrush(backgroundColor);
    SetTextColor(deviceContext, textColor);
    SetBkColor(deviceContext, backgroundColor);
    return ControlBrush;
}
