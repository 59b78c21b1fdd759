// The display scale as Windows gives it to a window: its DPI, the frame and
// title bar around a client area, the GUI font, small icons and pictures at
// that DPI. Functions newer than the oldest Windows the program runs on are
// looked up at run time.
#pragma once

#include "support/layout.h"

#include <windows.h>

// The screen's DPI, which the stock objects and the system metrics follow.
int SystemDpi();
// The window's DPI (its monitor's, for a program aware of each monitor's scale);
// the screen's where the system cannot say.
int WindowDpi(HWND window);
// The outer size of a window whose client area has the given size, with the
// frame and title bar at that DPI.
PixelSize WindowSizeForClient(PixelSize client, DWORD style, DWORD exStyle, int dpi);
// A font like the stock GUI font, whose height follows the screen's DPI, at the given DPI.
HFONT CreateGuiFont(int dpi);
// The icon resource at the small-icon (ICON_SMALL) or the large-icon
// (ICON_BIG) size of the DPI; the caller destroys it.
enum class IconSize { Small, Big };
HICON LoadIconForDpi(int resourceId, IconSize size, int dpi);
// The icon resource at the small-icon size of the screen, which the taskbar's
// notification area shows whatever monitor the form is on; the caller destroys it.
HICON LoadTrayIcon(int resourceId);
// Called in WM_NCCREATE: where Windows knows only Per-Monitor v1 (Windows 10,
// version 1607), the frame and title bar then follow the window's DPI as the
// form's size assumes; later versions do it by themselves, earlier ones lack it.
void ScaleFrameWithDpi(HWND window);
// The bitmap at the given size: itself when it has that size, else a smoothly
// resampled copy, and the original deleted.
HBITMAP ResizeBitmapSmoothly(HBITMAP bitmap, PixelSize size);
