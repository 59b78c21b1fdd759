// One clock per sign-in session. A named mutex in the session's own namespace decides,
// so that two starts at the same moment leave one clock, and another user signed in on
// the same PC keeps a clock of their own.
#include "app/one_clock.h"

#include "app/control_ids.h"
#include "app/globals.h"

HANDLE OneClockMutex;

namespace {

// The same name in both builds: the 32-bit and the 64-bit program are the same clock.
char const OneClockMutexName[] = "Local\\Vexo - Tarnwick";
// How long a start waits for the running clock's form, and then for its answer.
DWORD const RunningClockWaitMs = 3000;
DWORD const FormPollMs = 50;

}  // namespace

bool ClaimOneClock()
{
    HANDLE mutex = CreateMutexA(NULL, FALSE, OneClockMutexName);
    // A mutex that cannot be made at all decides nothing: better a second clock than none.
    if (mutex != NULL && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    OneClockMutex = mutex;
    return true;
}

void BringBackRunningClock()
{
    // The clock holds the mutex from its first moment, a little before its form exists.
    HWND form;
    for (DWORD waited = 0; (form = FindWindowA(ClassName, NULL)) == NULL; waited += FormPollMs) {
        if (waited >= RunningClockWaitMs) return;
        Sleep(FormPollMs);
    }
    // Only the process the user just started may put a window in front; the right goes on.
    DWORD processId = 0;
    GetWindowThreadProcessId(form, &processId);
    AllowSetForegroundWindow(processId);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(form, RegisterWindowMessageA(ShowClockMessageName), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                        RunningClockWaitMs, &answer);
}
