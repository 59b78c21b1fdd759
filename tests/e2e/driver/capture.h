// The sound the clock made, as captured from the PulseAudio null sink:
// 16-bit mono samples at 8000 Hz, the first taken at a known moment.
#pragma once

#include <cstdint>
#include <vector>

struct Capture {
    std::vector<int16_t> samples;
    long long startMs = 0;  // calendar milliseconds of the first sample
};

int const CaptureRate = 8000;

// Captured levels: the tone's loops are far above HeardRms, silence below
// SilentRms; only the tone has samples above LoudLevel (a quarter of full
// scale is about 8000).
double const SilentRms = 200;
double const HeardRms = 2000;
int const LoudLevel = 2000;

// Reads the capture that sound.sh is recording (VEXO_CAPTURE, VEXO_CAPTURE_START_MS).
bool ReadCapture(Capture& capture);
long long CaptureEndMs(const Capture& capture);
double RmsBetween(const Capture& capture, long long fromMs, long long toMs);
// First moment at or after fromMs where a sample exceeds the level; -1 if none.
long long FirstLoudMs(const Capture& capture, long long fromMs, int level);
// Frequency with the most energy between 100 and 3900 Hz, in 5 Hz steps.
double DominantFrequency(const Capture& capture, long long fromMs, long long toMs);
