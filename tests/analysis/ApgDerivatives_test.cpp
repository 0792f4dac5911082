// The pulse series and its three smoothed derivatives.

#include "analysis/ApgCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

using Series = ApgCanvas::Series;

class ApgDerivatives : public ::testing::Test {
protected:
    std::unique_ptr<ApgCanvas> apg = std::make_unique<ApgCanvas>();

    double At(Series which, int i) const { return apg->Data(which)[i]; }

    // A ramp of slope 3 from `start`: DIFF1 is 0 for the first ten samples, then 3.
    void ExpectRampDiff1(double start) {
        for (int i = 0; i < 30; ++i)
            apg->AddSample(start + 3.0 * i);
        ASSERT_EQ(apg->Count(Series::Diff1), 30);
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(At(Series::Diff1, i), i < 10 ? 0 : 3) << "at " << i;
        EXPECT_EQ(At(Series::Diff2, 9), 0);
    }
};

TEST_F(ApgDerivatives, FirstTenDiff1ValuesAreZero) {
    ExpectRampDiff1(0);
}

TEST_F(ApgDerivatives, EachDerivativeIsTheMeanOfTheLastTenDifferences) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-500, 500);
    std::vector<double> pulse;
    for (int i = 0; i < 300; ++i) {
        pulse.push_back(value(random));
        apg->AddSample(pulse.back());
    }
    // The mean of ten consecutive differences telescopes to (x[i] - x[i-10]) / 10; each
    // series is 0 while its window fills.
    auto derive = [](const std::vector<double>& x) {
        std::vector<double> d(x.size(), 0.0);
        for (size_t i = 10; i < x.size(); ++i)
            d[i] = (x[i] - x[i - 10]) / 10;
        return d;
    };
    const std::vector<double> d1 = derive(pulse);
    const std::vector<double> d2 = derive(d1);
    const std::vector<double> d3 = derive(d2);
    for (int i = 0; i < 10; ++i) {
        for (Series s : {Series::Diff1, Series::Diff2, Series::Diff3})
            EXPECT_EQ(At(s, i), 0) << "at " << i;
    }
    for (int i = 0; i < 300; ++i) {
        EXPECT_NEAR(At(Series::Diff1, i), d1[i], 1e-9) << "at " << i;
        EXPECT_NEAR(At(Series::Diff2, i), d2[i], 1e-9) << "at " << i;
        EXPECT_NEAR(At(Series::Diff3, i), d3[i], 1e-9) << "at " << i;
    }
}

TEST_F(ApgDerivatives, FullSeriesDropsItsOldestValue) {
    const int extra = 5;
    for (int i = 0; i < ApgCanvas::kSeriesCapacity + extra; ++i)
        apg->AddSample(2.0 * i);
    EXPECT_EQ(apg->PulseCount(), ApgCanvas::kSeriesCapacity);
    EXPECT_EQ(apg->LastSampleIndex(), ApgCanvas::kSeriesCapacity - 1);
    EXPECT_EQ(At(Series::Pulse, 0), 2.0 * extra);
    EXPECT_EQ(At(Series::Pulse, ApgCanvas::kSeriesCapacity - 1),
              2.0 * (ApgCanvas::kSeriesCapacity + extra - 1));
    for (Series s : {Series::Diff1, Series::Diff2, Series::Diff3})
        EXPECT_EQ(apg->Count(s), ApgCanvas::kSeriesCapacity);
    // The slope windows carry on across the drop.
    EXPECT_EQ(At(Series::Diff1, ApgCanvas::kSeriesCapacity - 1), 2);
    EXPECT_EQ(At(Series::Diff2, ApgCanvas::kSeriesCapacity - 1), 0);
}

TEST_F(ApgDerivatives, ResetStartsTheSeriesAndWindowsAfresh) {
    for (int i = 0; i < 50; ++i)
        apg->AddSample(i * i);
    apg->AppendRate(70);
    apg->AppendBeat(10, 5, 70);
    apg->Reset();
    EXPECT_EQ(apg->PulseCount(), 0);
    EXPECT_EQ(apg->LastSampleIndex(), -1);
    EXPECT_EQ(apg->Count(Series::Diff3), 0);
    EXPECT_EQ(apg->BeatListCount(), 0);
    EXPECT_EQ(apg->MeanPulse(), 0);
    // Nothing of the old differences or sums is left in the smoothing windows.
    ExpectRampDiff1(1000);
}

} // namespace
