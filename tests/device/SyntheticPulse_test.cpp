#include "analysis/Hrv.h"
#include "device/SyntheticPulseSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

constexpr int kTestSamples = 61 * 200; // one APG test

struct Measured {
    std::vector<double> rates; // rate queue, zeros included
    double meanRate = 0;       // of the non-zero rates
    int zeros = 0;
    ApgSummary apg;
    double timelineMean = 0;
    RateDisplay display;
};

// Runs a test's worth of synthetic samples through an analysis object set up as the APG
// window sets it up.
Measured Measure(const SyntheticPulseConfig& config) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing();
    hrv->AttachRateChart(300);
    hrv->AttachRateDisplay();
    SyntheticPulseSource source(config);
    for (int i = 0; i < kTestSamples; ++i) {
        int16_t sample = source.Next();
        hrv->AddSamples(&sample, 1);
    }
    Measured m;
    m.rates = hrv->CopyRates();
    m.zeros = static_cast<int>(std::count(m.rates.begin(), m.rates.end(), 0.0));
    m.meanRate = std::accumulate(m.rates.begin(), m.rates.end(), 0.0) /
                 std::max<double>(static_cast<double>(m.rates.size()) - m.zeros, 1);
    m.apg = hrv->SummariseApg(40, 1);
    double low = 0;
    double high = 0;
    m.timelineMean = hrv->TimelineStats(&low, &high);
    m.display = hrv->CopyRateDisplay();
    return m;
}

class SyntheticPulseRate : public ::testing::TestWithParam<double> {};

TEST_P(SyntheticPulseRate, OneBeatPerPulseAtTheRateEachShowingTheFiveApgWaves) {
    const double bpm = GetParam();
    Measured m = Measure(SyntheticPulseConfig{.heartRateBpm = bpm});
    const double expectedBeats = bpm * (kTestSamples - 400) / 200.0 / 60.0; // window fills first
    EXPECT_NEAR(static_cast<double>(m.rates.size()), expectedBeats, 3);
    EXPECT_EQ(m.zeros, 0);
    EXPECT_NEAR(m.meanRate, bpm, 1.0);
    EXPECT_NEAR(m.timelineMean, bpm, 1.0);
    EXPECT_NEAR(m.display.rateBpm, bpm, 0.15 * bpm);

    // A beat without a, b, c, d and e leaves no row; every beat is strong enough to qualify.
    EXPECT_EQ(m.apg.rows, static_cast<int>(m.rates.size()));
    EXPECT_EQ(m.apg.qualified, m.apg.rows);
    EXPECT_GT(m.apg.meanSignalStrength, 20);
    EXPECT_LT(m.apg.ba, 0);
    EXPECT_LT(m.apg.da, 0);
    EXPECT_GT(m.apg.ea, 0);
    EXPECT_GT(m.apg.abMs, 0);
    EXPECT_LT(m.apg.abMs, m.apg.acMs);
    EXPECT_LT(m.apg.acMs, m.apg.adMs);
    EXPECT_LT(m.apg.adMs, m.apg.aeMs);
}

INSTANTIATE_TEST_SUITE_P(Rates, SyntheticPulseRate, ::testing::Values(50.0, 70.0, 90.0, 120.0));

TEST(SyntheticPulse, RawValuesSwingAboutThreeHundredAroundTheMiddle) {
    SyntheticPulseSource source;
    std::vector<int> samples;
    for (int i = 0; i < 2000; ++i)
        samples.push_back(source.Next());
    auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_NEAR(*high - *low, 300, 20);
    EXPECT_NEAR((*high + *low) / 2.0, 1024, 20);
}

TEST(SyntheticPulse, BeatIntervalsFollowTheModulation) {
    auto spread = [](const Measured& m) {
        auto [low, high] = std::minmax_element(m.rates.begin() + 1, m.rates.end());
        return *high - *low;
    };
    Measured steady = Measure(SyntheticPulseConfig{.lfDepth = 0, .hfDepth = 0, .noiseRaw = 0});
    Measured modulated = Measure(SyntheticPulseConfig{});
    EXPECT_LT(spread(steady), 1.0); // only the whole-sample rounding of the interval
    EXPECT_GT(spread(modulated), 5.0);
}

} // namespace
