// The default output's mute and level while the alarm rings: raised when a ring
// starts, put back when it ends. All on the one thread.
#pragma once

// Initialises COM on the thread and opens the system's audio devices, once at start-up:
// under Wine the first opening takes tens of milliseconds, which the first ring then
// does not spend, nor the player's first sound. Nothing is read or set here; where it
// fails, a ring leaves the output as it is.
void OpenAudioDevices();

// Unmutes the default console output and raises it to the ring's level where it is
// lower, remembering what was set; nothing while a ring already holds the output.
// Where it cannot be done, the ring goes on as it is, quietly.
void RaiseOutputForRing();
// Puts back what RaiseOutputForRing set, each part only while it still holds what
// was set; then the ring no longer holds the output.
void RestoreOutputAfterRing();
