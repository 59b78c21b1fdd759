// Playing the sounds embedded in the executable.
#pragma once

// Plays "WAVE" resource id (low 16 bits) asynchronously, looping when looping
// is exactly 1, once otherwise, replacing whatever sound is playing.
void PlayWaveResource(unsigned id, int looping);
