// DPI of a window and the sizes, fonts, icons and pictures made for it.
#include "support/dpi.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using EnableNonClientDpiScalingFunction = BOOL(WINAPI*)(HWND);

// NULL where this Windows lacks the function (before Windows 10, version 1607).
template <typename Function> Function FindUserFunction(const char* name)
{
    // Through the one function type that converts to every other without a warning.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

HICON LoadIconOfSize(int resourceId, int width, int height)
{
    // The system takes the image nearest that size and scales it when none has it.
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

}  // namespace

int SystemDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    // Without a desktop to draw on there is no screen DC, and it reads 0.
    return dpi > 0 ? dpi : DesignDpi;
}

int WindowDpi(HWND window)
{
    GetDpiForWindowFunction const getDpiForWindow = FindUserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != NULL) {
        UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

PixelSize WindowSizeForClient(PixelSize client, DWORD style, DWORD exStyle, int dpi)
{
    AdjustWindowRectExForDpiFunction const adjustForDpi =
        FindUserFunction<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT r = {0, 0, client.width, client.height};
    // Without the DPI form, the frame is the system's at every DPI.
    if (adjustForDpi == NULL || !adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return PixelSize{r.right - r.left, r.bottom - r.top};
}

HFONT CreateGuiFont(int dpi)
{
    LOGFONTA font;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    int const systemDpi = SystemDpi();
    font.lfHeight = ScaleBetweenDpis(font.lfHeight, systemDpi, dpi);
    font.lfWidth = ScaleBetweenDpis(font.lfWidth, systemDpi, dpi);
    return CreateFontIndirectA(&font);
}

HICON LoadIconForDpi(int resourceId, IconSize size, int dpi)
{
    int const widthMetric = size == IconSize::Small ? SM_CXSMICON : SM_CXICON;
    int const heightMetric = size == IconSize::Small ? SM_CYSMICON : SM_CYICON;
    GetSystemMetricsForDpiFunction const metricsForDpi =
        FindUserFunction<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (metricsForDpi != NULL)
        return LoadIconOfSize(resourceId, metricsForDpi(widthMetric, static_cast<UINT>(dpi)),
                              metricsForDpi(heightMetric, static_cast<UINT>(dpi)));
    int const systemDpi = SystemDpi();
    return LoadIconOfSize(resourceId, ScaleBetweenDpis(GetSystemMetrics(widthMetric), systemDpi, dpi),
                          ScaleBetweenDpis(GetSystemMetrics(heightMetric), systemDpi, dpi));
}

HICON LoadTrayIcon(int resourceId)
{
    // LoadIconMetric would say the same, but only the common controls of
    // visual styles, which the program does not ask for, have it.
    return LoadIconOfSize(resourceId, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
}

void ScaleFrameWithDpi(HWND window)
{
    EnableNonClientDpiScalingFunction const enable =
        FindUserFunction<EnableNonClientDpiScalingFunction>("EnableNonClientDpiScaling");
    // Under Per-Monitor v2 the call is not needed and changes nothing.
    if (enable != NULL) enable(window);
}

HBITMAP ResizeBitmapSmoothly(HBITMAP bitmap, PixelSize size)
{
    BITMAP own;
    if (GetObjectA(bitmap, sizeof own, &own) == 0) return bitmap;
    if (own.bmWidth == size.width && own.bmHeight == size.height) return bitmap;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP copy = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (copy == NULL) return bitmap;
    HDC from = CreateCompatibleDC(NULL);
    HDC to = CreateCompatibleDC(NULL);
    HGDIOBJ oldFrom = SelectObject(from, bitmap);
    HGDIOBJ oldTo = SelectObject(to, copy);
    // HALFTONE averages the source pixels each target pixel covers; it needs
    // the brush origin set after the mode.
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, NULL);
    StretchBlt(to, 0, 0, size.width, size.height, from, 0, 0, own.bmWidth, own.bmHeight, SRCCOPY);
    SelectObject(to, oldTo);
    SelectObject(from, oldFrom);
    DeleteDC(to);
    DeleteDC(from);
    DeleteObject(bitmap);
    return copy;
}
