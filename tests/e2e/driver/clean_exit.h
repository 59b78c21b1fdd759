// Closing cases that must end with exit code 0, allowing for Wine's own
// exit fault.
#pragma once

#include "clock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// For cases about something else than the exit: code 0, or Wine's own exit
// fault, which is noted (the closing cases demand 0, trying once more).
inline ::testing::AssertionResult ClosedCleanly(long code)
{
    if (code == 0) return ::testing::AssertionSuccess();
    if (!IsWinesExitFault(code)) return ::testing::AssertionFailure() << "exit code " << code;
    fprintf(stderr, "Wine's exit fault (code %ld)\n", code);
    return ::testing::AssertionSuccess();
}

// Runs an attempt that ends a clock and returns its exit code, which must be
// 0; Wine's own exit fault (IsWinesExitFault) is reported, and the attempt
// runs once more.
template <typename Attempt> void RetryOnWinesExitFault(Attempt attempt, const char* how)
{
    for (int round = 1; round <= 2; ++round) {
        long code = attempt();
        if (::testing::Test::HasFatalFailure() || code == 0) return;
        if (round == 2 || !IsWinesExitFault(code)) {
            ADD_FAILURE() << how << ": exit code " << code << (code == NotClosed ? " (did not close)" : "");
            return;
        }
        fprintf(stderr, "%s: Wine's exit fault (code %ld), trying once more\n", how, code);
    }
}

// Starts a clock with the environment, lets run close it and expects exit
// code 0 with no window of the clock's class left.
template <typename Run>
void ExpectCleanExit(Run run, const char* how, const std::vector<std::string>& environment = {TimeZoneFor(0)})
{
    RetryOnWinesExitFault(
        [&]() -> long {
            ClockProcess clock = StartClock(environment);
            if (clock.form == NULL) {
                ADD_FAILURE() << how << ": the form did not appear";
                return 0;
            }
            DWORD processId = clock.process.dwProcessId;
            run(clock);
            if (::testing::Test::HasFatalFailure()) return 0;
            long code = ExitCodeAfterClose(clock);
            if (code == 0) {
                EXPECT_TRUE(FindClockForm(processId) == NULL && NoClockWindowLeft()) << how;
            }
            return code;
        },
        how);
}
