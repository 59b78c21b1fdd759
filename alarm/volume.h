// The default output's mute and level while the alarm rings: raised when a ring
// starts, put back when it ends. COM must be initialised on the calling thread.
#pragma once

// Unmutes the default console output and raises it to the ring's level where it is
// lower, remembering what was set; nothing while a ring already holds the output.
// Where it cannot be done, the ring goes on as it is, quietly.
void RaiseOutputForRing();
// Puts back what RaiseOutputForRing set, each part only while it still holds what
// was set; then the ring no longer holds the output.
void RestoreOutputAfterRing();
