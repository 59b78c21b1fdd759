// The two sounds: every header field, the silence, and the alarm tone's shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "assets.h"
#include "read_le.h"

namespace {

TEST(WaveAssets, HeadersHoldEveryFieldOfTheLayout)
{
    struct Case {
        Bytes wave;
        std::uint32_t channels, rate, frames, fileBytes;
    };
    for (Case const& c : {Case{MakeSilenceWave(), 1, 22050, 514, 572}, Case{MakeAlarmWave(), 2, 8000, 3120, 6298}}) {
        SCOPED_TRACE(c.channels);
        std::uint32_t const data = c.frames * c.channels;
        ASSERT_EQ(c.wave.size(), c.fileBytes);
        EXPECT_EQ(Tag(c.wave, 0, 4) + Tag(c.wave, 8, 8) + Tag(c.wave, 38, 4) + Tag(c.wave, 50, 4),
                  "RIFFWAVEfmt factdata");
        Field const fields[] = {{"riff size", 4, 4, 50 + data},
                                {"fmt size", 16, 4, 18},
                                {"format", 20, 2, 1},
                                {"channels", 22, 2, c.channels},
                                {"rate", 24, 4, c.rate},
                                {"bytes/s", 28, 4, c.rate * c.channels},
                                {"block align", 32, 2, c.channels},
                                {"bits", 34, 2, 8},
                                {"cbSize", 36, 2, 0},
                                {"fact size", 42, 4, 4},
                                {"frames", 46, 4, c.frames},
                                {"data size", 54, 4, data}};
        for (Field const& field : fields) EXPECT_EQ(Read(c.wave, field), field.expected) << field.name;
    }
    Bytes const silence = MakeSilenceWave();
    EXPECT_TRUE(std::all_of(silence.begin() + 58, silence.end(), [](std::uint8_t s) { return s == 0x80; }));
}

// The alarm tone's left channel, after checking the right one matches it.
std::vector<int> ToneFrames()
{
    Bytes const wave = MakeAlarmWave();
    std::vector<int> left;
    for (std::size_t at = 58; at + 1 < wave.size(); at += 2) {
        EXPECT_EQ(wave[at], wave[at + 1]) << "frame " << (at - 58) / 2;
        left.push_back(wave[at]);
    }
    return left;
}

// Strength of one frequency in frames [begin, end) (Goertzel).
double Power(const std::vector<int>& s, int begin, int end, double hertz)
{
    double const coefficient = 2 * std::cos(2 * std::acos(-1.0) * hertz / 8000);
    double previous = 0, beforeThat = 0;
    for (int i = begin; i < end; ++i) {
        double const current = (s[i] - 128) + coefficient * previous - beforeThat;
        beforeThat = previous;
        previous = current;
    }
    return previous * previous + beforeThat * beforeThat - coefficient * previous * beforeThat;
}

TEST(WaveAssets, AlarmToneIs800HertzInBothItsLevels)
{
    std::vector<int> const tone = ToneFrames();
    ASSERT_EQ(tone.size(), 3120u);
    for (int const begin : {0, 1000}) {  // the soft, then the loud part
        double bestHertz = 0, bestPower = -1;
        for (double hertz = 100; hertz < 4000; hertz += 10) {
            double const power = Power(tone, begin, begin + 1000, hertz);
            if (power > bestPower) bestPower = power, bestHertz = hertz;
        }
        EXPECT_NEAR(bestHertz, 800, 20) << begin;
    }
}

TEST(WaveAssets, AlarmToneStepsUpClipsAndFadesToZeroLevel)
{
    std::vector<int> const tone = ToneFrames();
    ASSERT_EQ(tone.size(), 3120u);
    // Lowest and highest sample of each 10-frame period (1.25 ms).
    auto low = [&](int period) { return *std::min_element(&tone[period * 10], &tone[period * 10 + 10]); };
    auto high = [&](int period) { return *std::max_element(&tone[period * 10], &tone[period * 10 + 10]); };
    for (int period = 0; period < 100; ++period) {  // 125 ms at about a quarter of full scale
        EXPECT_TRUE(low(period) >= 88 && low(period) <= 104 && high(period) >= 152 && high(period) <= 168) << period;
    }
    for (int period = 100; period < 296; ++period) EXPECT_TRUE(low(period) == 0 && high(period) == 255) << period;
    for (int period = 297; period < 312; ++period) EXPECT_LE(high(period), high(period - 1)) << period;
    // The last 1.25 ms is the zero level, so the loop joins without a click.
    EXPECT_TRUE(low(311) == 128 && high(311) == 128);
}

}  // namespace
