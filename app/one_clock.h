// One clock per sign-in session: a later start brings the running clock back.
#pragma once

#include <windows.h>

// Held by the running clock until it ends; NULL in a start that found one running.
extern HANDLE OneClockMutex;

// Whether this start is the session's clock: it then holds OneClockMutex. False when
// another clock of this session, 32-bit or 64-bit, holds it.
bool ClaimOneClock();
// Hands the foreground on to the running clock and asks it to come back, waiting a
// few seconds at most for it to answer; makes no window of its own.
void BringBackRunningClock();
