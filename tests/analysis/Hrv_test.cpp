// Signal conditioning, beat detection and rate bookkeeping of CHrv.

#include "analysis/Hrv.h"
#include "tests/common/SyntheticPulse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class HrvTest : public ::testing::Test {
protected:
    HrvTest() {
        hrv->AttachRateChart(300);
        hrv->AttachRateDisplay();
        hrv->AttachPulseRing();
    }
    void Add(const std::vector<int16_t>& samples) {
        hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    }
    std::vector<double> Tail(CHrv::Series which, int maxCount = CHrv::kSeriesCapacity) const {
        std::vector<double> values(static_cast<size_t>(maxCount));
        values.resize(static_cast<size_t>(hrv->CopySeriesTail(which, values.data(), maxCount)));
        return values;
    }
    // Feeds the samples one at a time and returns, for each new entry of the rate queue, the
    // raw sample count at which it arrived.
    std::vector<int> RateArrivals(const std::vector<int16_t>& samples) {
        std::vector<int> arrivals;
        size_t rates = hrv->CopyRates().size();
        for (size_t i = 0; i < samples.size(); ++i) {
            hrv->AddSamples(&samples[i], 1);
            if (hrv->CopyRates().size() != rates)
                arrivals.push_back(static_cast<int>(i + 1));
            rates = hrv->CopyRates().size();
        }
        return arrivals;
    }

    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
};

using SignalConditioning = HrvTest;
using BeatDetection = HrvTest;
using RateQueue = HrvTest;

} // namespace

TEST_F(SignalConditioning, FirstThirtyNineSamplesOnlyFillTheRawSeries) {
    std::vector<int16_t> samples(39, 900);
    Add(samples);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 39);
    EXPECT_EQ(hrv->Count(CHrv::Series::Signal), 0);
    EXPECT_EQ(hrv->Count(CHrv::Series::Slope), 0);
    EXPECT_EQ(hrv->TimelineTicks(), 0);

    hrv->AddSamples(samples.data(), 1);
    EXPECT_EQ(hrv->Count(CHrv::Series::Signal), 1);
    EXPECT_EQ(hrv->Count(CHrv::Series::Slope), 0); // a slope needs two conditioned values
}

TEST_F(SignalConditioning, ConstantInputSettlesAtHalfGainInverted) {
    Add(std::vector<int16_t>(3000, 1000));
    EXPECT_NEAR(Tail(CHrv::Series::Signal, 1).at(0), 1024 - 0.5 * 1000, 1e-9);
    EXPECT_NEAR(Tail(CHrv::Series::Slope, 1).at(0), 0, 1e-12);
}

TEST_F(SignalConditioning, LowPassRemovesFortyHertz) {
    std::vector<int16_t> samples(2000);
    for (int n = 0; n < 2000; ++n)
        samples[n] =
            static_cast<int16_t>(std::lround(1000 + 200 * std::sin(2 * M_PI * 40 * n / 200.0)));
    Add(samples);
    std::vector<double> signal = Tail(CHrv::Series::Signal, 400);
    auto [lo, hi] = std::minmax_element(signal.begin(), signal.end());
    // 200 raw units at 40 Hz: a 4th-order 10 Hz low-pass leaves a small fraction of a unit
    // after its DC gain of 0.5.
    EXPECT_LT(*hi - *lo, 1.0);
    EXPECT_NEAR((*hi + *lo) / 2, 524, 0.5);
}

TEST_F(SignalConditioning, FullSeriesKeepsTheNewestValuesInOrder) {
    const int total = CHrv::kSeriesCapacity + 25;
    std::vector<int16_t> samples(total);
    for (int n = 0; n < total; ++n)
        samples[n] = static_cast<int16_t>(n % 20000);
    Add(samples);
    std::vector<double> raw = Tail(CHrv::Series::Raw);
    ASSERT_EQ(raw.size(), static_cast<size_t>(CHrv::kSeriesCapacity));
    for (size_t i = 0; i < raw.size(); ++i)
        ASSERT_EQ(raw[i], static_cast<double>((25 + i) % 20000)) << "at " << i;
}

TEST_F(SignalConditioning, RawSamplesAreReadInArrivalOrderPastTheSeriesCapacity) {
    // A reader that keeps up gets every sample once, in order, also after the series is full;
    // one that falls behind by more than the series holds is told how many it missed.
    std::vector<double> collected, chunk;
    for (int batch = 0; batch < 40; ++batch) {
        std::vector<int16_t> samples(2000);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>((batch * 2000 + i) % 30011);
        Add(samples);
        const long long total = hrv->CopyRawFrom(static_cast<long long>(collected.size()), &chunk);
        ASSERT_EQ(total, (batch + 1) * 2000LL);
        ASSERT_EQ(chunk.size(), 2000u);
        collected.insert(collected.end(), chunk.begin(), chunk.end());
    }
    for (size_t i = 0; i < collected.size(); ++i)
        ASSERT_EQ(collected[i], static_cast<double>(i % 30011)) << "sample " << i;

    EXPECT_EQ(hrv->CopyRawFrom(0, &chunk), 80000);
    EXPECT_EQ(chunk.size(), static_cast<size_t>(CHrv::kSeriesCapacity)); // 15000 missed
    EXPECT_EQ(chunk.front(), 15000.0);
    hrv->ResetMeasurement();
    EXPECT_EQ(hrv->CopyRawFrom(0, &chunk), 0);
    EXPECT_TRUE(chunk.empty());
}

TEST_F(BeatDetection, ConstantInputRecordsRateZeroEvery171Samples) {
    // Input 0 keeps the filter exactly at rest, so the slope is exactly 0 from the start
    // (any other constant rings briefly while the filter settles).
    std::vector<int> arrivals = RateArrivals(std::vector<int16_t>(1400, 0));
    // Window full after 40 + 399 samples; the search sets the countdown to 400 and the
    // same sample counts it down; nothing lies above half of a zero maximum.
    ASSERT_GE(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0], 439 + 399);
    EXPECT_EQ(arrivals[1] - arrivals[0], CHrv::kNoBeatWait);
    EXPECT_EQ(arrivals[2] - arrivals[1], CHrv::kNoBeatWait);
    EXPECT_EQ(hrv->CopyRates(), std::vector<double>(arrivals.size(), 0));
    EXPECT_EQ(hrv->BeatCount(), 0);
    EXPECT_EQ(hrv->LastInterval(), 0);
}

TEST_F(BeatDetection, TicksArriveEvery50SamplesOnceTheWindowIsFull) {
    std::vector<int16_t> samples(487, 1000);
    Add(samples);
    EXPECT_EQ(hrv->TimelineTicks(), 0);
    hrv->AddSamples(samples.data(), 1); // 439 + 49: the fiftieth sample of a full window
    EXPECT_EQ(hrv->TimelineTicks(), 1);
    hrv->AddSamples(samples.data(), 200);
    EXPECT_EQ(hrv->TimelineTicks(), 5);
    EXPECT_EQ(hrv->CopyRateDisplay().seconds, 1); // every fourth tick is one second
}

TEST_F(BeatDetection, RegularPulseGivesItsExactRateDownToIntervalsOf50Samples) {
    const std::tuple<int, double, size_t> cases[] = {
        {200, 60.0, 25}, {100, 120.0, 50}, {50, 240.0, 30}};
    for (auto [period, rate, minimum] : cases) {
        hrv->ResetMeasurement();
        Add(SyntheticPulse(period, period == 50 ? 2000 : 6000));
        std::vector<double> rates = hrv->CopyRates();
        ASSERT_GE(rates.size(), minimum) << period;
        EXPECT_EQ(rates, std::vector<double>(rates.size(), rate)) << period;
        EXPECT_EQ(hrv->LastInterval(), period);
        EXPECT_EQ(hrv->CopyRateDisplay().rateBpm, rate);
    }
}

TEST_F(BeatDetection, IntervalOf49SamplesIsRejected) {
    std::vector<int> arrivals = RateArrivals(SyntheticPulse(49, 200 * 10));
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

TEST_F(BeatDetection, BeatListPointsAtTheSignalSeriesAndKeepsItsFirst750) {
    Add(SyntheticPulse(200, 200 * 20));
    ASSERT_GE(hrv->BeatCount(), 10);
    std::vector<double> signal = Tail(CHrv::Series::Signal);
    for (int i = 0; i < hrv->BeatCount(); ++i) {
        BeatEntry beat = hrv->Beat(i);
        ASSERT_GE(beat.index, 0);
        ASSERT_LT(beat.index, signal.size());
        EXPECT_EQ(beat.value, signal[static_cast<size_t>(beat.index)]);
        if (i > 0) {
            EXPECT_EQ(beat.index - hrv->Beat(i - 1).index, 200);
        }
    }

    hrv->ResetMeasurement();
    Add(SyntheticPulse(50, 50 * 800));
    EXPECT_EQ(hrv->BeatCount(), CHrv::kBeatCapacity);
    EXPECT_GT(hrv->CopyRates().size(), static_cast<size_t>(CHrv::kBeatCapacity));
}

TEST_F(BeatDetection, ResetReturnsToFilling) {
    std::vector<int16_t> samples = SyntheticPulse(200, 200 * 10);
    Add(samples);
    const std::vector<double> rates = hrv->CopyRates();
    hrv->SetAge(50);
    hrv->ResetMeasurement();
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0);
    EXPECT_TRUE(hrv->CopyRates().empty());
    EXPECT_TRUE(hrv->CopyTimeline().empty());
    EXPECT_EQ(hrv->BeatCount(), 0);
    EXPECT_EQ(hrv->Identity().age, -1);
    EXPECT_EQ(hrv->CopyRateDisplay().rateBpm, 0);
    EXPECT_EQ(hrv->CopyRateDisplay().seconds, 0);
    // The same pulse again gives the same rates: the filter state was reset too.
    Add(samples);
    EXPECT_EQ(hrv->CopyRates(), rates);
}

TEST_F(RateQueue, TicksAndOutOfRangeValuesNeverEnterTheQueue) {
    for (double value : {-1.0, 0.0, 72.0, 29.9, 240.1})
        hrv->AddRate(false, value);
    EXPECT_EQ(hrv->CopyRates(), (std::vector<double>{0, 72}));
    EXPECT_EQ(hrv->CopyTimeline(), (std::vector<double>{-1, 0, 72}));
    EXPECT_EQ(hrv->ChartRevision(), 0u);
    hrv->AddRate(true, 70);
    hrv->AddRate(true, -1);
    EXPECT_EQ(hrv->ChartRevision(), 2u); // a redraw advances the chart revision
}

TEST_F(RateQueue, KeepsTheNewest1080Rates) {
    for (int i = 0; i < 1100; ++i)
        hrv->AddRate(false, 30 + i % 200);
    std::vector<double> rates = hrv->CopyRates();
    ASSERT_EQ(rates.size(), 1080u);
    EXPECT_EQ(rates.front(), 30 + 20);
    EXPECT_EQ(rates.back(), 30 + 1099 % 200);
}

TEST(RateQueueWithoutChart, TickDoesNothing) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AddRate(true, -1);
    EXPECT_EQ(hrv->TimelineTicks(), 0);
    EXPECT_EQ(hrv->ChartRevision(), 0u);
    hrv->AddRate(true, 70);
    EXPECT_EQ(hrv->CopyRates().size(), 1u);
}
