// The form as laid out at the session's DPI, checked for the look script: the
// client area and each control's place scaled from 96 DPI, and room in the
// fields and buttons for their texts.
#include "clock.h"

#include <cstdio>
#include <cstdlib>
#include <string>

RECT const ControlDesignRects[] = {
    {76, 153, 84, 165},   {36, 153, 44, 165},   {12, 155, 28, 171}, {52, 155, 64, 171}, {92, 155, 104, 171},
    {124, 148, 244, 176}, {124, 120, 244, 148}, {4, 120, 124, 148}, {56, 64, 168, 80},  {10, 10, 245, 120},
};

namespace {

int const DesignClientWidth = 249, DesignClientHeight = 183;

int Scaled(int value, int dpi)
{
    return MulDiv(value, dpi, 96);
}

std::string Describe(RECT r)
{
    char text[80];
    snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

int Failures = 0;

void Check(bool ok, const std::string& what)
{
    printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok) ++Failures;
}

// The GUI font at the session's DPI, which the fields and buttons are to show:
// the driver's own stock font is made for that DPI. (Under Wine, another
// process's WM_GETFONT answers NULL, so the clock's own font cannot be asked for.)
HFONT GuiFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextExtent(const std::string& text)
{
    SIZE extent = {0, 0};
    HDC dc = GetDC(NULL);
    HGDIOBJ previous = SelectObject(dc, GuiFont());
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(NULL, dc);
    return extent;
}

// Where the ink of the text drawn at x 0 ends: its advance holds the space after
// the last character too, which the font's metrics do not tell to the pixel.
int InkRight(const std::string& text)
{
    SIZE const extent = TextExtent(text);
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, extent.cx + 8, extent.cy);
    ReleaseDC(NULL, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, GuiFont());
    RECT all = {0, 0, extent.cx + 8, extent.cy};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    int right = 0;
    for (int x = 0; x < all.right; ++x)
        for (int y = 0; y < all.bottom; ++y)
            if (GetPixel(dc, x, y) != RGB(255, 255, 255)) right = x + 1;
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return right;
}

// A field's text is whole when its last character's ink ends inside the field
// and its line is no taller than the field. The field places the characters in
// its own font; the line's height is the font's (the field's own formatting
// rectangle is cut to its client area).
void CheckFieldText(HWND field)
{
    std::string const text = TextOf(field);
    LRESULT const start = SendMessageA(field, EM_POSFROMCHAR, text.size() - 1, 0);
    int const inkRight = static_cast<short>(LOWORD(start)) + InkRight(text.substr(text.size() - 1));
    LONG const lineHeight = TextExtent(text).cy;
    RECT client;
    GetClientRect(field, &client);
    char what[160];
    snprintf(what, sizeof what, "\"%s\" whole in its %ld x %ld field: ink to x %d, line %ld high", text.c_str(),
             client.right, client.bottom, inkRight, lineHeight);
    Check(inkRight <= client.right && lineHeight <= client.bottom, what);
}

// A caption is whole when it fits inside the button's 2-pixel border.
void CheckCaption(HWND button, const std::string& text)
{
    SIZE const extent = TextExtent(text);
    RECT client;
    GetClientRect(button, &client);
    char what[160];
    snprintf(what, sizeof what, "\"%s\" (%ld x %ld) whole in its %ld x %ld button", text.c_str(), extent.cx, extent.cy,
             client.right, client.bottom);
    Check(extent.cx + 4 <= client.right && extent.cy + 4 <= client.bottom, what);
}

}  // namespace

RECT ScaledRect(RECT design, int dpi)
{
    LONG const left = Scaled(design.left, dpi), top = Scaled(design.top, dpi);
    return {left, top, left + Scaled(design.right - design.left, dpi), top + Scaled(design.bottom - design.top, dpi)};
}

bool Within1(RECT a, RECT b)
{
    return labs(a.left - b.left) <= 1 && labs(a.top - b.top) <= 1 && labs(a.right - b.right) <= 1 &&
           labs(a.bottom - b.bottom) <= 1;
}

int CheckLayout(DWORD processId, int dpi)
{
    HWND form = FindClockForm(processId);
    if (form == NULL) {
        printf("FAIL: no clock form in process %lu\n", processId);
        return 1;
    }
    HDC screen = GetDC(NULL);
    int const sessionDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    Check(sessionDpi == dpi, "the session's screen at " + std::to_string(sessionDpi) + " DPI");

    RECT client;
    GetClientRect(form, &client);
    RECT const wantClient = {0, 0, Scaled(DesignClientWidth, dpi), Scaled(DesignClientHeight, dpi)};
    Check(EqualRect(&client, &wantClient) != FALSE,
          "client area " + Describe(client) + ", the design's scaled " + Describe(wantClient));

    std::vector<HWND> children = ChildWindows(form);
    size_t const count = sizeof ControlDesignRects / sizeof ControlDesignRects[0];
    Check(children.size() == count, std::to_string(children.size()) + " controls");
    for (size_t i = 0; i < children.size() && i < count; ++i) {
        RECT const got = ClientRectInParent(children[i]), want = ScaledRect(ControlDesignRects[i], dpi);
        Check(Within1(got, want), "control " + std::to_string(i + 1) + " " + ClassOf(children[i]) + " at " +
                                      Describe(got) + ", its design place scaled " + Describe(want) + " within 1 px");
    }
    if (children.size() < count) return 1;

    for (size_t field : {HoursFieldIndex, MinutesFieldIndex, SecondsFieldIndex}) CheckFieldText(children[field]);
    // Each button's caption, and the one it shows in its other state.
    CheckCaption(children[AlarmButtonIndex], TextOf(children[AlarmButtonIndex]));
    CheckCaption(children[AlarmButtonIndex], "Alarm Off");
    CheckCaption(children[SnoozeButtonIndex], TextOf(children[SnoozeButtonIndex]));
    CheckCaption(children[TestButtonIndex], TextOf(children[TestButtonIndex]));
    CheckCaption(children[TestButtonIndex], "Stop");
    return Failures == 0 ? 0 : 1;
}
