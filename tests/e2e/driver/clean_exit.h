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

// Runs an attempt that ends a clock and sets its exit code, which must be 0
// (an attempt may stop at a fatal failure). Wine's own exit fault
// (IsWinesExitFault) is reported and the attempt runs again, up to `rounds`
// times in all.
template <typename Attempt> void RetryOnWinesExitFault(Attempt attempt, const char* how, int rounds = 2)
{
    for (int round = 1; round <= rounds; ++round) {
        long code = 0;
        attempt(code);
        if (::testing::Test::HasFatalFailure() || code == 0) return;
        if (round == rounds || !IsWinesExitFault(code)) {
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
        [&](long& code) {
            ClockProcess clock = StartClock(environment);
            ASSERT_NE(clock.form, nullptr) << how << ": the form did not appear";
            run(clock);
            if (::testing::Test::HasFatalFailure()) return;
            code = ExitCodeAfterClose(clock);
            if (code == 0) {
                EXPECT_TRUE(NoClockWindowLeft()) << how;
            }
        },
        how);
}
