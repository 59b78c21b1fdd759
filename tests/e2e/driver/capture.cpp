// Reading and measuring the captured sound.
#include "capture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

size_t IndexAt(const Capture& capture, long long ms)
{
    long long index = (ms - capture.startMs) * CaptureRate / 1000;
    if (index < 0) return 0;
    if (static_cast<size_t>(index) > capture.samples.size()) return capture.samples.size();
    return static_cast<size_t>(index);
}

}  // namespace

bool ReadCapture(Capture& capture)
{
    const char* path = getenv("VEXO_CAPTURE");
    const char* start = getenv("VEXO_CAPTURE_START_MS");
    if (!path || !start) return false;
    capture.startMs = _atoi64(start);
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    capture.samples.clear();
    int16_t block[4096];
    size_t got;
    while ((got = fread(block, sizeof block[0], 4096, file)) > 0)
        capture.samples.insert(capture.samples.end(), block, block + got);
    fclose(file);
    return true;
}

long long CaptureEndMs(const Capture& capture)
{
    return capture.startMs + static_cast<long long>(capture.samples.size()) * 1000 / CaptureRate;
}

double RmsBetween(const Capture& capture, long long fromMs, long long toMs)
{
    size_t from = IndexAt(capture, fromMs), to = IndexAt(capture, toMs);
    if (to <= from) return 0;
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(capture.samples[i]) * capture.samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

long long FirstLoudMs(const Capture& capture, long long fromMs, int level)
{
    for (size_t i = IndexAt(capture, fromMs); i < capture.samples.size(); ++i)
        if (std::abs(capture.samples[i]) > level)
            return capture.startMs + static_cast<long long>(i) * 1000 / CaptureRate;
    return -1;
}

double DominantFrequency(const Capture& capture, long long fromMs, long long toMs)
{
    size_t from = IndexAt(capture, fromMs), to = IndexAt(capture, toMs);
    double best = 0, bestPower = -1;
    double const pi = 3.14159265358979323846;
    for (double frequency = 100; frequency <= 3900; frequency += 5) {
        double re = 0, im = 0, step = 2 * pi * frequency / CaptureRate;
        for (size_t i = from; i < to; ++i) {
            re += capture.samples[i] * std::cos(step * static_cast<double>(i));
            im += capture.samples[i] * std::sin(step * static_cast<double>(i));
        }
        double power = re * re + im * im;
        if (power > bestPower) {
            bestPower = power;
            best = frequency;
        }
    }
    return best;
}
