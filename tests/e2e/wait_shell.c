/* Waits until the Wine virtual desktop shows its taskbar, then holds the desktop open.
 *
 * Usage: wait_shell.exe [TIMEOUT_SECONDS]
 * Prints "ready LEFT TOP RIGHT BOTTOM" (the work area) once Shell_TrayWnd exists and then
 * sleeps until it is killed; prints "timeout" and exits 1 if the taskbar never appears.
 * Wine closes a virtual desktop, and stops its wineserver, a moment after the last program
 * on it exits; this process stays so that every test of a run finds the same desktop,
 * taskbar and notification area. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    DWORD const timeout_ms = (DWORD)(argc > 1 ? atoi(argv[1]) : 60) * 1000;
    DWORD const start = GetTickCount();
    while (!FindWindowA("Shell_TrayWnd", NULL)) {
        if (GetTickCount() - start > timeout_ms) {
            printf("timeout\n");
            return 1;
        }
        Sleep(50);
    }

    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    printf("ready %ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
    fflush(stdout);

    for (;;)
        Sleep(INFINITE);
}
