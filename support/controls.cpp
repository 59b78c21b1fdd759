// Control creation and placement helpers.
#include "support/controls.h"

#include "app/globals.h"
#include "support/dpi.h"
#include "support/layout.h"

namespace {

DWORD const FormDefaultStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
DWORD const ButtonDefaultStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE;
DWORD const EditDefaultStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
DWORD const LabelDefaultStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
DWORD const BitmapLabelDefaultStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | SS_BITMAP;

enum class AutoSize { Exact, Button };

PixelRect WindowRectOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return PixelRect{r.left, r.top, r.right, r.bottom};
}

void SetGuiFont(HWND window)
{
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
}

// A design length at the DPI the form is laid out for.
int Scaled(int value)
{
    return ScaleToDpi(value, LayoutDpi);
}

HWND CreateChild(const char* className, const char* text, HWND parent, int id, int x, int y, int width, int height,
                 DWORD style, DWORD exStyle)
{
    HWND control = CreateWindowExA(exStyle, className, text, style, Scaled(x), Scaled(y), Scaled(width), Scaled(height),
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, NULL);
    SetGuiFont(control);
    return control;
}

// The text is measured on the control's DC without selecting its font, so the
// size follows the DC's default font, not the GUI font just set.
void SizeToText(HWND control, const char* text, int x, int y, AutoSize kind)
{
    SIZE extent = {0, 0};
    HDC deviceContext = GetDC(control);
    GetTextExtentPoint32A(deviceContext, text, lstrlenA(text), &extent);
    ReleaseDC(control, deviceContext);
    PixelSize size = {extent.cx, extent.cy};
    if (kind == AutoSize::Button) size = ButtonSizeFor(extent.cx, extent.cy);
    MoveWindow(control, Scaled(x), Scaled(y), size.width, size.height, TRUE);
}

}  // namespace

HWND CreateForm(const char* title, int x, int y, int clientWidth, int clientHeight, DWORD style, DWORD exStyle)
{
    if (style == 0) style = FormDefaultStyle;
    PixelSize size =
        WindowSizeForClient(PixelSize{Scaled(clientWidth), Scaled(clientHeight)}, style, exStyle, LayoutDpi);
    HWND form = CreateWindowExA(exStyle, ClassName, title, style, Scaled(x), Scaled(y), size.width, size.height, NULL,
                                NULL, AppInstance, NULL);
    SetGuiFont(form);
    return form;
}

HWND CreateButton(const char* text, HWND parent, int id, int x, int y, int width, int height, DWORD style,
                  DWORD exStyle)
{
    if (style == 0) style = ButtonDefaultStyle;
    if (exStyle == DefaultExStyle) exStyle = WS_EX_STATICEDGE;
    HWND button = CreateChild("button", text, parent, id, x, y, width, height, style, exStyle);
    if (width == 0) SizeToText(button, text, x, y, AutoSize::Button);
    return button;
}

HWND CreateEdit(const char* text, HWND parent, int id, int x, int y, int width, int height, DWORD style, DWORD exStyle)
{
    if (style == 0) style = EditDefaultStyle;
    if (exStyle == DefaultExStyle) exStyle = WS_EX_CLIENTEDGE;
    return CreateChild("edit", text, parent, id, x, y, width, height, style, exStyle);
}

HWND CreateLabel(const char* text, HWND parent, int id, int x, int y, int width, int height, DWORD style, DWORD exStyle)
{
    if (style == 0) style = LabelDefaultStyle;
    HWND label = CreateChild("static", text, parent, id, x, y, width, height, style, exStyle);
    if (width == 0) SizeToText(label, text, x, y, AutoSize::Exact);
    return label;
}

HWND CreateBitmapLabel(const char* fileName, HWND parent, int id, int x, int y, int width, int height, int bitmapId,
                       DWORD style, DWORD exStyle)
{
    if (style == 0) style = BitmapLabelDefaultStyle;
    HWND label = CreateWindowExA(exStyle, "static", NULL, style, Scaled(x), Scaled(y), 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, NULL);
    HANDLE bitmap;
    if (bitmapId != 0)
        bitmap = LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(bitmapId & 0xFFFF), IMAGE_BITMAP, 0, 0,
                            LR_CREATEDIBSECTION);
    else
        bitmap = LoadImageA(NULL, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    bool resized = width != 0 || height != 0;
    // With one dimension given, the other keeps the bitmap's own size.
    if (resized) bitmap = CopyImage(bitmap, IMAGE_BITMAP, Scaled(width), Scaled(height), LR_COPYRETURNORG);
    SendMessageA(label, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (resized) SetWindowPos(label, HWND_TOP, Scaled(x), Scaled(y), Scaled(width), Scaled(height), SWP_FRAMECHANGED);
    return label;
}

void SetFormColor(HWND window, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    // The first previous background is a system colour value, not a brush;
    // deleting it fails harmlessly.
    HGDIOBJ previous =
        reinterpret_cast<HGDIOBJ>(SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush)));
    DeleteObject(previous);
    InvalidateRect(window, NULL, TRUE);
}

void CenterWindow(HWND window, HWND reference, HWND verticalReference)
{
    PixelRect own = WindowRectOf(window);
    int width = own.right - own.left, height = own.bottom - own.top;
    if (reference == NULL) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        PixelPoint p = CenterInWorkArea(PixelRect{work.left, work.top, work.right, work.bottom}, width, height);
        SetWindowPos(window, HWND_TOP, p.x, p.y, 0, 0, SWP_NOSIZE);
        return;
    }
    PixelRect vertical = {0, 0, 0, 0};
    if (verticalReference != NULL) vertical = WindowRectOf(verticalReference);
    PixelPoint p = CenterOverReference(WindowRectOf(reference), verticalReference != NULL ? &vertical : nullptr, width,
                                       height, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    MoveWindow(window, p.x, p.y, width, height, FALSE);
}
