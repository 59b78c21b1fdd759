// Control creation and placement helpers.
#include "support/controls.h"

#include "app/globals.h"
#include "support/layout.h"

namespace {

DWORD const FormDefaultStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
DWORD const ButtonDefaultStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE;
DWORD const EditDefaultStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
DWORD const LabelDefaultStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
DWORD const BitmapLabelDefaultStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | SS_BITMAP;

PixelRect WindowRectOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return PixelRect{r.left, r.top, r.right, r.bottom};
}

HWND CreateChild(const char* className, const char* text, HWND parent, int id, DWORD style, DWORD exStyle)
{
    return CreateWindowExA(exStyle, className, text, style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, NULL);
}

}  // namespace

HWND CreateForm(const char* title, DWORD style, DWORD exStyle)
{
    if (style == 0) style = FormDefaultStyle;
    return CreateWindowExA(exStyle, ClassName, title, style, 0, 0, 0, 0, NULL, NULL, AppInstance, NULL);
}

HWND CreateButton(const char* text, HWND parent, int id, DWORD style, DWORD exStyle)
{
    if (style == 0) style = ButtonDefaultStyle;
    if (exStyle == DefaultExStyle) exStyle = WS_EX_STATICEDGE;
    return CreateChild("button", text, parent, id, style, exStyle);
}

HWND CreateEdit(const char* text, HWND parent, int id, DWORD style, DWORD exStyle)
{
    if (style == 0) style = EditDefaultStyle;
    if (exStyle == DefaultExStyle) exStyle = WS_EX_CLIENTEDGE;
    return CreateChild("edit", text, parent, id, style, exStyle);
}

HWND CreateLabel(const char* text, HWND parent, int id, DWORD style, DWORD exStyle)
{
    if (style == 0) style = LabelDefaultStyle;
    return CreateChild("static", text, parent, id, style, exStyle);
}

HWND CreateBitmapLabel(HWND parent, int id, DWORD style, DWORD exStyle)
{
    if (style == 0) style = BitmapLabelDefaultStyle;
    return CreateChild("static", NULL, parent, id, style, exStyle);
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
