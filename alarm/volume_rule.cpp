// What a ring does to the output's mute and level, and what its end puts back.
#include "alarm/volume_rule.h"

namespace {

bool IsLevel(float level)
{
    // False for NaN too.
    return level >= 0.0f && level <= 1.0f;
}

bool SameLevel(float a, float b)
{
    return a - b < LevelTolerance && b - a < LevelTolerance;
}

}  // namespace

OutputChange ChangeForRing(OutputReading found)
{
    OutputChange change = {false, false};
    if (!found.answered || !IsLevel(found.level)) return change;
    change.unmute = found.muted;
    change.raise = found.level < RingLevel;
    return change;
}

RingOutput RingOutputOf(OutputReading found, OutputChange asked, bool unmuteTaken, bool raiseTaken)
{
    RingOutput made = {asked.unmute && unmuteTaken, asked.raise && raiseTaken, found.level};
    return made;
}

OutputRestore RestoreAfterRing(RingOutput made, OutputReading now)
{
    OutputRestore restore = {false, false, made.levelBefore};
    if (!now.answered) return restore;
    // A level moved during the ring was the user's choice to hear it: the mute stays off.
    float levelLeft = made.raised ? RingLevel : made.levelBefore;
    restore.mute = made.unmuted && !now.muted && SameLevel(now.level, levelLeft);
    restore.setLevel = made.raised && SameLevel(now.level, RingLevel);
    return restore;
}
