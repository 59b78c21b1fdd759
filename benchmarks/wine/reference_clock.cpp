// The reference programs the benchmarks measure the clock beside, built from
// this one source: reference_clock, the smallest Win32 clock, one label set by
// the classic free-running 1000 ms timer; and bare_window (BARE_WINDOW), the
// same window with no label and no timer, what any Win32 program costs.
#include <windows.h>

#include <ctime>

namespace {

#ifdef BARE_WINDOW
char const ClassName[] = "VexoBareWindow";
char const Title[] = "Bare window";
#else
char const ClassName[] = "VexoReferenceClock";
char const Title[] = "Reference clock";
#endif

UINT_PTR const TickTimerId = 1;
UINT const TickPeriodMs = 1000;
int const LabelId = 1;

HWND Label;

void ShowTime()
{
    char text[16];
    time_t now = time(NULL);
    strftime(text, sizeof text, "%H:%M:%S", localtime(&now));
    SetWindowTextA(Label, text);
}

LRESULT CALLBACK ReferenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        ShowTime();
        return 0;
    case WM_SIZE:
        // Minimised like the clock: off the screen and the taskbar.
        if (wParam == SIZE_MINIMIZED) ShowWindow(window, SW_HIDE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ReferenceProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, ClassName, Title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, NULL, NULL, instance, NULL);
#ifndef BARE_WINDOW
    Label = CreateWindowExA(0, "static", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 40, 20, 112, 16, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(LabelId)), instance, NULL);
    ShowTime();
    SetTimer(window, TickTimerId, TickPeriodMs, NULL);
#endif
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
