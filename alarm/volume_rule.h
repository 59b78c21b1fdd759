// What a ring does to the output's mute and level, and what its end puts back.
// Portable code, no <windows.h>: levels are the endpoint's master scalar, 0 to 1.
#pragma once

// The least master level a ring plays at.
float const RingLevel = 0.5f;
// Levels closer than this count as the same: half a step of the system's 0 to 100 slider,
// so a level the endpoint rounds on its way back still reads as the one set.
float const LevelTolerance = 0.005f;

// The output as read from the endpoint; answered false when it refused or there was none.
struct OutputReading {
    bool answered;
    bool muted;
    float level;
};

// What to set at the start of a ring: unmute, and the level to RingLevel.
struct OutputChange {
    bool unmute;
    bool raise;
};

// What the start of a ring did, as far as the endpoint took it: what the end puts back.
struct RingOutput {
    bool unmuted;  // Vexo cleared the mute, which was set
    bool raised;  // Vexo set RingLevel, over levelBefore
    float levelBefore;
};

// What to put back at the end of a ring.
struct OutputRestore {
    bool mute;  // set the mute again
    bool setLevel;  // set the level to level
    float level;
};

// Unmute a muted output, raise a level below RingLevel; nothing for an output that
// did not answer or gave a level outside 0 to 1.
OutputChange ChangeForRing(OutputReading found);

// What the start did: the change asked for, each part kept only if the endpoint took it.
RingOutput RingOutputOf(OutputReading found, OutputChange asked, bool unmuteTaken, bool raiseTaken);

// Each part put back only while the output still holds what the ring set: a change the
// user made meanwhile stays. The mute also stays off once the user moved the level, as
// Windows' own volume control unmutes when it moves. Nothing when the output does not answer now.
OutputRestore RestoreAfterRing(RingOutput made, OutputReading now);
