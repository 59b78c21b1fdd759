// The two sounds: a short silence that replaces a playing loop, and the alarm tone.
#include "assets.h"

namespace {

struct WaveFormat {
    unsigned channels;
    std::uint32_t rate;
};

// The 18-byte "fmt " chunk (with cbSize) and a "fact" chunk, as the player
// has always been given them; 8-bit samples throughout.
Bytes EncodeWave(WaveFormat format, const Bytes& samples)
{
    std::uint32_t const frames = static_cast<std::uint32_t>(samples.size() / format.channels);
    Bytes out;
    PutTag(out, "RIFF");
    PutU32(out, static_cast<std::uint32_t>(4 + 8 + 18 + 8 + 4 + 8 + samples.size()));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 18);
    PutU16(out, 1);  // PCM
    PutU16(out, format.channels);
    PutU32(out, format.rate);
    PutU32(out, format.rate * format.channels);
    PutU16(out, format.channels);
    PutU16(out, 8);
    PutU16(out, 0);
    PutTag(out, "fact");
    PutU32(out, 4);
    PutU32(out, frames);
    PutTag(out, "data");
    PutU32(out, static_cast<std::uint32_t>(samples.size()));
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

// 800 Hz at 8000 Hz is exactly ten samples a period, so one integer table of
// 1000 * sin(k * 36 degrees) gives the tone with no floating point at all.
int const SineTable[10] = {0, 588, 951, 951, 588, 0, -588, -951, -951, -588};

int const ToneRate = 8000;
int const ToneFrames = 3120;  // 0.39 s, a whole number of periods
int const SoftEnd = 1000;  // 125 ms at a quarter of full scale
int const LoudEnd = 2960;  // 370 ms overdriven, peaks clipped
int const FadeEnd = 3080;  // then silence, so the loop joins quietly
int const SoftAmplitude = 32;  // of 128
int const LoudAmplitude = 160;  // beyond full scale: the peaks clip to 0 and 255

// Amplitude in 1/FadeSteps units, so the fade is exact integer arithmetic.
int const FadeSteps = FadeEnd - LoudEnd;

int DivideRounded(long numerator, long denominator)
{
    long const half = denominator / 2;
    return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator));
}

std::uint8_t ToneSample(int frame)
{
    long scaledAmplitude = 0;
    if (frame < SoftEnd)
        scaledAmplitude = long{SoftAmplitude} * FadeSteps;
    else if (frame < LoudEnd)
        scaledAmplitude = long{LoudAmplitude} * FadeSteps;
    else if (frame < FadeEnd)
        scaledAmplitude = long{LoudAmplitude} * (FadeEnd - frame);
    int value = 128 + DivideRounded(scaledAmplitude * SineTable[frame % 10], 1000L * FadeSteps);
    if (value < 0) value = 0;
    if (value > 255) value = 255;
    return static_cast<std::uint8_t>(value);
}

}  // namespace

Bytes MakeSilenceWave()
{
    return EncodeWave({1, 22050}, Bytes(514, 0x80));
}

Bytes MakeAlarmWave()
{
    Bytes samples;
    for (int frame = 0; frame < ToneFrames; ++frame) {
        std::uint8_t const sample = ToneSample(frame);
        samples.push_back(sample);  // left
        samples.push_back(sample);  // right
    }
    return EncodeWave({2, ToneRate}, samples);
}
