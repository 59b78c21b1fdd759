// What a ring does to the output's mute and level, and what its end puts back.
#include "alarm/volume_rule.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

OutputReading const Refused = {false, false, 0};

OutputReading Muted(float level)
{
    return {true, true, level};
}

OutputReading Unmuted(float level)
{
    return {true, false, level};
}

}  // namespace

TEST(OutputForARing, IsUnmutedAndRaisedToHalfThenPutBackUnlessTheUserChangedIt)
{
    bool const Y = true, N = false;
    struct Case {
        const char* what;
        OutputReading found;  // when the ring starts
        bool unmuteTaken, raiseTaken;  // whether the endpoint took each setting
        OutputReading atEnd;  // when the ring ends
        OutputChange change;
        OutputRestore restore;  // its level checked only where it sets one
    };
    Case const cases[] = {
        {"muted and low", Muted(0.1f), Y, Y, Unmuted(0.5f), {Y, Y}, {Y, Y, 0.1f}},
        {"muted and loud", Muted(0.8f), Y, Y, Unmuted(0.8f), {Y, N}, {Y, N, 0}},
        {"unmuted and low", Unmuted(0.2f), Y, Y, Unmuted(0.5f), {N, Y}, {N, Y, 0.2f}},
        {"unmuted at zero", Unmuted(0.0f), Y, Y, Unmuted(0.5f), {N, Y}, {N, Y, 0.0f}},
        {"already at half", Unmuted(0.5f), Y, Y, Unmuted(0.5f), {N, N}, {N, N, 0}},
        {"already fine", Unmuted(0.8f), Y, Y, Unmuted(0.8f), {N, N}, {N, N, 0}},
        {"full", Unmuted(1.0f), Y, Y, Unmuted(1.0f), {N, N}, {N, N, 0}},
        {"the user set 70 % during the ring", Muted(0.1f), Y, Y, Unmuted(0.7f), {Y, Y}, {N, N, 0}},
        {"the user set 60 % on a loud output", Muted(0.8f), Y, Y, Unmuted(0.6f), {Y, N}, {N, N, 0}},
        {"the user set 51 %", Unmuted(0.1f), Y, Y, Unmuted(0.51f), {N, Y}, {N, N, 0}},
        {"the user muted it during the ring", Muted(0.1f), Y, Y, Muted(0.5f), {Y, Y}, {N, Y, 0.1f}},
        {"the user muted it and set 70 %", Muted(0.1f), Y, Y, Muted(0.7f), {Y, Y}, {N, N, 0}},
        {"the level read back rounded", Muted(0.1f), Y, Y, Unmuted(0.499f), {Y, Y}, {Y, Y, 0.1f}},
        {"the endpoint refused to be read", Refused, Y, Y, Unmuted(0.1f), {N, N}, {N, N, 0}},
        {"a level out of range", Muted(1.5f), Y, Y, Muted(1.5f), {N, N}, {N, N, 0}},
        {"a level that is no number", Muted(NAN), Y, Y, Muted(NAN), {N, N}, {N, N, 0}},
        {"the endpoint refused the unmute", Muted(0.1f), N, Y, Muted(0.5f), {Y, Y}, {N, Y, 0.1f}},
        {"the endpoint refused the level", Muted(0.1f), Y, N, Unmuted(0.1f), {Y, Y}, {Y, N, 0}},
        {"the endpoint refused both", Muted(0.1f), N, N, Muted(0.1f), {Y, Y}, {N, N, 0}},
        {"the endpoint refused at the end", Muted(0.1f), Y, Y, Refused, {Y, Y}, {N, N, 0}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        OutputChange change = ChangeForRing(c.found);
        EXPECT_EQ(change.unmute, c.change.unmute);
        EXPECT_EQ(change.raise, c.change.raise);
        OutputRestore restore = RestoreAfterRing(RingOutputOf(c.found, change, c.unmuteTaken, c.raiseTaken), c.atEnd);
        EXPECT_EQ(restore.mute, c.restore.mute);
        EXPECT_EQ(restore.setLevel, c.restore.setLevel);
        if (c.restore.setLevel) {
            EXPECT_EQ(restore.level, c.restore.level);
        }
    }
}
