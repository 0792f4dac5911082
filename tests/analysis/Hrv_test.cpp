// Signal conditioning, beat detection and rate bookkeeping of CHrv.

#include "analysis/Hrv.h"
#include "tests/common/SyntheticPulse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<CHrv> MakeHrv() {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachRateChart(300);
    hrv->AttachRateDisplay();
    hrv->AttachPulseRing();
    return hrv;
}

std::vector<double> Tail(const CHrv& hrv, CHrv::Series which, int maxCount) {
    std::vector<double> values(static_cast<size_t>(maxCount));
    int n = hrv.CopySeriesTail(which, values.data(), maxCount);
    values.resize(static_cast<size_t>(n));
    return values;
}

// Feeds the samples one at a time and returns, for each new entry of the rate queue, the raw
// sample count at which it arrived.
std::vector<int> RateArrivals(CHrv& hrv, const std::vector<int16_t>& samples) {
    std::vector<int> arrivals;
    size_t rates = hrv.CopyRates().size();
    for (size_t i = 0; i < samples.size(); ++i) {
        hrv.AddSamples(&samples[i], 1);
        size_t now = hrv.CopyRates().size();
        if (now != rates)
            arrivals.push_back(static_cast<int>(i + 1));
        rates = now;
    }
    return arrivals;
}

} // namespace

TEST(SignalConditioning, FirstThirtyNineSamplesOnlyFillTheRawSeries) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples(39, 900);
    hrv->AddSamples(samples.data(), 39);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 39);
    EXPECT_EQ(hrv->Count(CHrv::Series::Signal), 0);
    EXPECT_EQ(hrv->Count(CHrv::Series::Slope), 0);
    EXPECT_EQ(hrv->TimelineTicks(), 0);

    hrv->AddSamples(samples.data(), 1);
    EXPECT_EQ(hrv->Count(CHrv::Series::Signal), 1);
    EXPECT_EQ(hrv->Count(CHrv::Series::Slope), 0); // a slope needs two conditioned values
}

TEST(SignalConditioning, ConstantInputSettlesAtHalfGainInverted) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples(3000, 1000);
    hrv->AddSamples(samples.data(), 3000);
    std::vector<double> signal = Tail(*hrv, CHrv::Series::Signal, 1);
    ASSERT_EQ(signal.size(), 1u);
    EXPECT_NEAR(signal[0], 1024 - 0.5 * 1000, 1e-9);
    std::vector<double> slope = Tail(*hrv, CHrv::Series::Slope, 1);
    EXPECT_NEAR(slope[0], 0, 1e-12);
}

TEST(SignalConditioning, LowPassRemovesFortyHertz) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples(2000);
    for (int n = 0; n < 2000; ++n)
        samples[n] =
            static_cast<int16_t>(std::lround(1000 + 200 * std::sin(2 * M_PI * 40 * n / 200.0)));
    hrv->AddSamples(samples.data(), 2000);
    std::vector<double> signal = Tail(*hrv, CHrv::Series::Signal, 400);
    double lo = *std::min_element(signal.begin(), signal.end());
    double hi = *std::max_element(signal.begin(), signal.end());
    // 200 raw units at 40 Hz: a 4th-order 10 Hz low-pass leaves a small fraction of a unit
    // after its DC gain of 0.5.
    EXPECT_LT(hi - lo, 1.0);
    EXPECT_NEAR((hi + lo) / 2, 524, 0.5);
}

TEST(SignalConditioning, FullSeriesKeepsTheNewestValuesInOrder) {
    auto hrv = std::make_unique<CHrv>();
    const int total = CHrv::kSeriesCapacity + 25;
    std::vector<int16_t> samples(total);
    for (int n = 0; n < total; ++n)
        samples[n] = static_cast<int16_t>(n % 20000);
    hrv->AddSamples(samples.data(), total);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), CHrv::kSeriesCapacity);
    std::vector<double> raw = Tail(*hrv, CHrv::Series::Raw, CHrv::kSeriesCapacity);
    EXPECT_EQ(raw.front(), 25 % 20000);
    EXPECT_EQ(raw.back(), (total - 1) % 20000);
    for (size_t i = 1; i < raw.size(); ++i)
        ASSERT_EQ(raw[i], static_cast<double>((25 + i) % 20000)) << "at " << i;
}

TEST(BeatDetection, ConstantInputRecordsRateZeroEvery171Samples) {
    // Input 0 keeps the filter exactly at rest, so the slope is exactly 0 from the start
    // (any other constant rings briefly while the filter settles).
    auto hrv = MakeHrv();
    std::vector<int16_t> samples(1400, 0);
    std::vector<int> arrivals = RateArrivals(*hrv, samples);
    // Window full after 40 + 399 samples; the search sets the countdown to 400 and the
    // same sample counts it down; nothing lies above half of a zero maximum.
    ASSERT_GE(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0], 439 + 399);
    EXPECT_EQ(arrivals[1] - arrivals[0], CHrv::kNoBeatWait);
    EXPECT_EQ(arrivals[2] - arrivals[1], CHrv::kNoBeatWait);
    for (double rate : hrv->CopyRates())
        EXPECT_EQ(rate, 0);
    EXPECT_EQ(hrv->BeatCount(), 0);
    EXPECT_EQ(hrv->LastInterval(), 0);
}

TEST(BeatDetection, TicksArriveEvery50SamplesOnceTheWindowIsFull) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples(487, 1000);
    hrv->AddSamples(samples.data(), 487);
    EXPECT_EQ(hrv->TimelineTicks(), 0);
    hrv->AddSamples(samples.data(), 1); // 439 + 49: the fiftieth sample of a full window
    EXPECT_EQ(hrv->TimelineTicks(), 1);
    hrv->AddSamples(samples.data(), 200);
    EXPECT_EQ(hrv->TimelineTicks(), 5);
    EXPECT_EQ(hrv->CopyRateDisplay().seconds, 1); // every fourth tick is one second
}

TEST(BeatDetection, PulseAt60BpmGivesExactly60FromTheFirstBeat) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples = SyntheticPulse(200, 200 * 30);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    std::vector<double> rates = hrv->CopyRates();
    ASSERT_GE(rates.size(), 25u);
    for (double rate : rates)
        EXPECT_EQ(rate, 60.0);
    EXPECT_EQ(hrv->LastInterval(), 200);
    EXPECT_EQ(hrv->CopyRateDisplay().rateBpm, 60.0);
}

TEST(BeatDetection, PulseAt120BpmGivesExactly120) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples = SyntheticPulse(100, 200 * 30);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    std::vector<double> rates = hrv->CopyRates();
    ASSERT_GE(rates.size(), 50u);
    for (double rate : rates)
        EXPECT_EQ(rate, 120.0);
}

TEST(BeatDetection, IntervalOf50SamplesIsAcceptedAt240) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples = SyntheticPulse(50, 200 * 10);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    std::vector<double> rates = hrv->CopyRates();
    ASSERT_GE(rates.size(), 30u);
    for (double rate : rates)
        EXPECT_EQ(rate, 240.0);
}

TEST(BeatDetection, IntervalOf49SamplesIsRejected) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples = SyntheticPulse(49, 200 * 10);
    std::vector<int> arrivals = RateArrivals(*hrv, samples);
    std::vector<double> rates = hrv->CopyRates();
    ASSERT_GE(rates.size(), 3u);
    // The first evaluation starts on a lobe end and finds the next one 49 samples later.
    EXPECT_EQ(rates[0], 0.0);
    EXPECT_EQ(arrivals[1] - arrivals[0], CHrv::kNoBeatWait);
    // The lobe was found, so the beat is listed, with rate 0.
    ASSERT_GT(hrv->BeatCount(), 0);
    EXPECT_EQ(hrv->Beat(0).rateBpm, 0.0);
    // Later windows start at other phases of the pulse; no rate above 240 is ever kept.
    for (double rate : rates)
        EXPECT_LE(rate, 240.0);
}

TEST(BeatDetection, BeatListPointsAtTheSignalSeries) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples = SyntheticPulse(200, 200 * 20);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    ASSERT_GE(hrv->BeatCount(), 10);
    std::vector<double> signal = Tail(*hrv, CHrv::Series::Signal, CHrv::kSeriesCapacity);
    for (int i = 0; i < hrv->BeatCount(); ++i) {
        BeatEntry beat = hrv->Beat(i);
        ASSERT_GE(beat.index, 0);
        ASSERT_LT(beat.index, signal.size());
        EXPECT_EQ(beat.value, signal[static_cast<size_t>(beat.index)]);
        if (i > 0) {
            EXPECT_EQ(beat.index - hrv->Beat(i - 1).index, 200);
        }
    }
}

TEST(BeatDetection, BeatListKeepsItsFirst750Entries) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples = SyntheticPulse(50, 50 * 800);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    EXPECT_EQ(hrv->BeatCount(), CHrv::kBeatCapacity);
    EXPECT_GT(hrv->CopyRates().size(), static_cast<size_t>(CHrv::kBeatCapacity));
}

TEST(BeatDetection, ResetReturnsToFilling) {
    auto hrv = MakeHrv();
    std::vector<int16_t> samples = SyntheticPulse(200, 200 * 10);
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    hrv->SetAge(50);
    hrv->ResetMeasurement();
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0);
    EXPECT_TRUE(hrv->CopyRates().empty());
    EXPECT_TRUE(hrv->CopyTimeline().empty());
    EXPECT_EQ(hrv->BeatCount(), 0);
    EXPECT_EQ(hrv->Identity().age, -1);
    RateDisplay display = hrv->CopyRateDisplay();
    EXPECT_EQ(display.rateBpm, 0);
    EXPECT_EQ(display.seconds, 0);
    // The same pulse again gives the same rates: the filter state was reset too.
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    for (double rate : hrv->CopyRates())
        EXPECT_EQ(rate, 60.0);
}

TEST(RateQueue, TickNeverEntersTheQueueButZeroDoes) {
    auto hrv = MakeHrv();
    hrv->AddRate(false, -1);
    hrv->AddRate(false, 0);
    hrv->AddRate(false, 72);
    hrv->AddRate(false, 29.9); // outside 30..240: ignored
    hrv->AddRate(false, 240.1);
    EXPECT_EQ(hrv->CopyRates(), (std::vector<double>{0, 72}));
    EXPECT_EQ(hrv->CopyTimeline(), (std::vector<double>{-1, 0, 72}));
}

TEST(RateQueue, KeepsTheNewest1080Rates) {
    auto hrv = MakeHrv();
    for (int i = 0; i < 1100; ++i)
        hrv->AddRate(false, 30 + i % 200);
    std::vector<double> rates = hrv->CopyRates();
    ASSERT_EQ(rates.size(), 1080u);
    EXPECT_EQ(rates.front(), 30 + 20);
    EXPECT_EQ(rates.back(), 30 + 1099 % 200);
}

TEST(RateQueue, TickWithoutRateChartDoesNothing) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AddRate(true, -1);
    EXPECT_EQ(hrv->TimelineTicks(), 0);
    EXPECT_EQ(hrv->ChartRevision(), 0u);
    hrv->AddRate(true, 70);
    EXPECT_EQ(hrv->CopyRates().size(), 1u);
}

TEST(RateQueue, RedrawAdvancesTheChartRevision) {
    auto hrv = MakeHrv();
    hrv->AddRate(false, 70);
    EXPECT_EQ(hrv->ChartRevision(), 0u);
    hrv->AddRate(true, 70);
    hrv->AddRate(true, -1);
    EXPECT_EQ(hrv->ChartRevision(), 2u);
}
