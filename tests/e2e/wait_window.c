/* Waits until a window of a given class exists on the Wine desktop; can then hold the desktop open.
 *
 * Usage: wait_window.exe TIMEOUT_SECONDS CLASS [--hold]
 * Prints "ready LEFT TOP RIGHT BOTTOM" (the work area) once a window of CLASS exists, or
 * "timeout" and exits 1. With --hold it then sleeps until it is killed: Wine closes a virtual
 * desktop, and ends its wineserver, a moment after the last program on it exits, so the test
 * harness keeps this running to give every test of a run the same desktop, taskbar and tray. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: wait_window.exe TIMEOUT_SECONDS CLASS [--hold]\n");
        return 2;
    }
    DWORD const timeout_ms = (DWORD)atoi(argv[1]) * 1000;
    char const* const window_class = argv[2];
    int const hold = argc > 3 && strcmp(argv[3], "--hold") == 0;

    DWORD const start = GetTickCount();
    while (!FindWindowA(window_class, NULL)) {
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

    while (hold) Sleep(INFINITE);
    return 0;
}
