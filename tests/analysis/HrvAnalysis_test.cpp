#include "analysis/Hrv.h"
#include "analysis/HrvScores.h"
#include "tests/common/TestInputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

class HrvAnalysis : public ::testing::Test {
protected:
    void Feed(const std::vector<double>& rates) {
        for (double rate : rates)
            hrv->AddRate(false, rate);
    }
    void Feed(double rate, int times) {
        Feed(std::vector<double>(static_cast<size_t>(times), rate));
    }
    // 190 s at 60 bpm and a gap of 10 missing beats: only the rates after it are analysed.
    void FeedAfterGap(const std::vector<double>& rates) {
        Feed(60, 190);
        Feed(0, 10);
        Feed(rates);
    }

    HrvResult Analyse(int sex = 1, int age = 45) {
        EXPECT_EQ(hrv->AnalyseHrv(sex, age), HrvStatus::Ok);
        return hrv->Result();
    }

    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
};

// --- Norms, scores and classes ------------------------------------------------------------

TEST_F(HrvAnalysis, NormsOfA45YearOldManAndWoman) {
    Feed(ModulatedRates(150, 0.1));
    HrvResult man = Analyse(1, 45);
    EXPECT_EQ(man.age, 45);
    EXPECT_EQ(man.sex, 1);
    EXPECT_NEAR(man.rateNorm, 77.921, 1e-9);
    EXPECT_NEAR(man.sdNorm, 63.65, 1e-9);
    EXPECT_EQ(man.rateNormSd, 20.0);
    EXPECT_EQ(man.sdNormRange, 32.0);
    EXPECT_NEAR(man.sdNormRate, 63.65 * 0.06, 1e-9);
    EXPECT_NEAR(man.sdNormHalf, 32 * 0.06, 1e-9);

    HrvResult woman = Analyse(2, 45);
    EXPECT_NEAR(woman.rateNorm, 79.2, 1e-9);
    EXPECT_NEAR(woman.sdNorm, 54.75, 1e-9);
}

TEST_F(HrvAnalysis, AgeSelectsTheNormRow) {
    const std::pair<int, int> groups[] = {{20, 0}, {21, 1}, {30, 1}, {31, 2}, {60, 4},
                                          {61, 5}, {75, 5}, {0, 2},  {5, 0},  {-1, 0}};
    for (auto [age, group] : groups)
        EXPECT_EQ(HrvAgeGroup(age), group) << age;

    // Lower bounds of the mean rate: row 0 64.01, row 1 62.52, row 2 61.03, row 4 58.06,
    // row 5 56.57.
    struct Case {
        double rate;
        int sex, age, rateClass;
    };
    const Case cases[] = {{63, 1, 20, 0},   {63, 1, 21, 1}, {61.5, 1, 0, 1},
                          {61.5, 1, 21, 0}, {57, 2, 75, 1}, {57, 2, 60, 0}};
    for (const Case& c : cases) {
        hrv->ResetMeasurement();
        Feed(c.rate, 160);
        EXPECT_EQ(Analyse(c.sex, c.age).rateClass, c.rateClass) << c.rate << " at " << c.age;
    }
}

TEST(HrvScores, PowerScoresAddTenPointsPerStepOfLnPower) {
    struct Case {
        double (*score)(double);
        double power, expected;
    };
    const Case cases[] = {{LfScore, std::exp(5.83), 50},
                          {LfScore, std::exp(5.83 + 0.57), 60},
                          {LfScore, std::exp(5.83 - 2 * 0.57), 30},
                          {LfScore, std::exp(5.83 + 5 * 0.57), 100},
                          {HfScore, std::exp(5.33), 50},
                          {HfScore, std::exp(5.33 + 0.62), 60}};
    for (const Case& c : cases)
        EXPECT_NEAR(c.score(c.power), c.expected, 1e-9) << std::log(c.power);
    const Case clamped[] = {{LfScore, std::exp(5.83 + 6 * 0.57), 100},
                            {LfScore, std::exp(5.83 - 6 * 0.57), 0},
                            {LfScore, 0, 0},
                            {HfScore, std::exp(20.0), 100},
                            {HfScore, 0, 0}};
    for (const Case& c : clamped)
        EXPECT_EQ(c.score(c.power), c.expected) << c.power;

    for (auto [share, expected] : {std::pair{60.0, 100.0}, {10.0, 0.0}, {35.0, 50.0}, {85.0, 50.0}})
        EXPECT_DOUBLE_EQ(HfBalanceScore(share), expected) << share;
}

TEST(HrvScores, StressComponentSteps) {
    const std::pair<double, double> steps[] = {{50, 40}, {20, 80}, {54, 44}, {55, 25},
                                               {59, 29}, {60, 10}, {100, 50}};
    for (auto [f, g] : steps)
        EXPECT_EQ(StressG(f), g) << f;
    const double justBelow = std::nextafter(50.0, 0.0);
    EXPECT_GT(StressG(justBelow), 50);
    EXPECT_LT(StressG(justBelow), 50.000001);
}

TEST(HrvScores, NormClassBoundsAreInclusiveAndBalanceTypeGrid) {
    const std::pair<double, int> classes[] = {
        {5.92, 0}, {5.93, 1}, {7.99, 1}, {8.0, 2}, {-std::numeric_limits<double>::infinity(), 0}};
    for (auto [value, expected] : classes)
        EXPECT_EQ(NormClass(value, 5.93, 7.99), expected) << value;
    EXPECT_EQ(NormClass(std::nan(""), 0.63, 2.42), 0);

    // {lfClass, hfClass, type}
    const int grid[][3] = {{0, 0, 7}, {0, 1, 8}, {0, 2, 1}, {1, 0, 6}, {1, 1, 9},
                           {1, 2, 2}, {2, 0, 5}, {2, 1, 4}, {2, 2, 3}, {3, 1, 0}};
    for (const auto& g : grid)
        EXPECT_EQ(AnsType(g[0], g[1]), g[2]) << g[0] << "," << g[1];
}

// --- Analysis series --------------------------------------------------------------------

TEST_F(HrvAnalysis, ShortQueueUsesItsFirstHalfTwice) {
    Feed(60, 50); // 50 s
    Feed(90, 50); // 33 s, never analysed
    EXPECT_EQ(Analyse().meanRate, 60);
    EXPECT_EQ(hrv->CopyResampledRates(), std::vector<double>(100, 60));
}

TEST_F(HrvAnalysis, QueueOfMoreThan180SecondsIsUsedWhole) {
    Feed(60, 181);
    Feed(62, 19);
    EXPECT_DOUBLE_EQ(Analyse().meanRate, (181 * 60.0 + 19 * 62) / 200);
    EXPECT_EQ(hrv->CopyResampledRates(), hrv->CopyRates());
}

TEST_F(HrvAnalysis, TooShortLeavesTheRecordZeroedApartFromNorms) {
    Feed(70, 4);
    EXPECT_EQ(hrv->AnalyseHrv(2, 30), HrvStatus::TooShort);
    HrvResult r = hrv->Result();
    EXPECT_EQ(r.age, 30);
    EXPECT_EQ(r.sex, 2);
    EXPECT_EQ(r.rateNormSd, 20);
    EXPECT_EQ(r.sdNormRange, 32);
    EXPECT_NEAR(r.rateNorm, 81.6, 1e-9);
    EXPECT_NEAR(r.sdNorm, 60.9, 1e-9);
    EXPECT_EQ(r.meanRate, 0);
    EXPECT_EQ(r.sdNormRate, 0);
    EXPECT_EQ(r.stressScore, 0);
    EXPECT_EQ(r.ansType, 0);
    EXPECT_TRUE(hrv->CopyResampledRates().empty());

    // First half: 10 missing beats, one rate, 10 missing beats. Twice over, the last gap
    // leaves a single rate.
    hrv->ResetMeasurement();
    Feed(0, 10);
    Feed(70, 1);
    Feed(0, 10);
    Feed(70, 21);
    EXPECT_EQ(hrv->AnalyseHrv(1, 45), HrvStatus::TooShort);
    EXPECT_EQ(hrv->CopyResampledRates(), std::vector<double>{70});
    EXPECT_EQ(hrv->Result().meanRate, 0);
}

TEST_F(HrvAnalysis, TwoCleanedRatesAreAnalysed) {
    Feed(0, 10);
    Feed({70, 72});
    Feed(0, 10);
    Feed(70, 22);
    HrvResult r = Analyse();
    EXPECT_EQ(hrv->CopyResampledRates(), (std::vector<double>{70, 72}));
    EXPECT_EQ(r.meanRate, 71);
    EXPECT_EQ(r.quarterSd, 0); // four quarters of at most one value each
    EXPECT_TRUE(std::isfinite(r.stressScore));
}

TEST_F(HrvAnalysis, QuarterSdAveragesTheFourQuarters) {
    // Ten cleaned rates: quarters of round(2.5) = 3 values, the last one of 1.
    FeedAfterGap({60, 61, 60, 62, 62, 62, 64, 64, 64, 62});
    HrvResult r = Analyse();
    ASSERT_EQ(hrv->CopyResampledRates().size(), 10u);
    EXPECT_NEAR(r.quarterSd, std::sqrt(1.0 / 3) * 0.25, 1e-12);
    EXPECT_NEAR(r.variabilityScore, (r.quarterSd - 63.65 * 0.06) * 10 / 1.92 + 50, 1e-9);
}

// --- Time domain ------------------------------------------------------------------------

TEST_F(HrvAnalysis, IntervalIndicesOfTheWorkedExample) {
    // Intervals 1000, 1060, 1000, 1000, 1000 ms.
    FeedAfterGap({60, 60000.0 / 1060, 60, 60, 60});
    HrvResult r = Analyse();
    ASSERT_EQ(hrv->CopyResampledRates().size(), 5u);
    EXPECT_EQ(r.pnn50, 40);
    EXPECT_NEAR(r.rmssd, std::sqrt(7200.0 / 5), 1e-9);
    EXPECT_NEAR(r.rmssd, 37.95, 0.005);
    EXPECT_NEAR(r.meanRr, 1012, 1e-9);
    EXPECT_NEAR(r.sdnn, std::sqrt(720.0), 1e-9);
    EXPECT_NEAR(r.sdsd, std::sqrt(1080.0), 1e-9); // deviation of 0, 60, 60, 0, 0
    EXPECT_DOUBLE_EQ(r.triangularIndex, 5.0 / 4); // 6 bins, four intervals in the first
}

TEST_F(HrvAnalysis, SteadyRateGivesFiniteFiguresAndTypeSeven) {
    Feed(70, 175);
    HrvResult r = Analyse(1, 45);
    EXPECT_DOUBLE_EQ(r.hfBalanceScore, -20);
    EXPECT_DOUBLE_EQ(r.variabilityScore, (0 - 63.65 * 0.06) * 10 / 1.92 + 50);
    // F = 0 gives G = 100; without an interval range there is no triangle bin.
    EXPECT_EQ((std::vector<double>{r.meanRate, r.sdRate, r.totalPower, r.lfShare, r.hfShare,
                                   r.lfScore, r.hfScore, r.diff2Index, r.distributionScore,
                                   r.combinedScore, r.regularityScore, r.stressScore,
                                   r.stressScoreCopy, r.triangularIndex, r.pnn50, r.rmssd}),
              (std::vector<double>{70, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 100, 100, 0, 0, 0}));
    EXPECT_EQ(
        (std::vector<int>{r.lfClass, r.hfClass, r.ratioClass, r.rateClass, r.sdnnClass, r.ansType}),
        (std::vector<int>{0, 0, 0, 1, 0, 7}));
}

// Beat intervals of a resting ECG (tests/data), about 300 s: the whole queue is analysed, the
// seven beats that jump by more than 15 bpm are replaced by interpolated ones, and the
// time-domain figures follow the textbook formulas on the cleaned series with the
// conventions of this analysis (difference list with a leading 0, divisor c).
TEST_F(HrvAnalysis, RestingEcgIntervals) {
    std::vector<double> rates;
    for (const std::string& line : DataLines("neurokit_resting5min_ecg_nn.csv"))
        rates.push_back(60000 / std::stod(line.substr(line.find(',') + 1)));
    ASSERT_GT(rates.size(), 300u);
    Feed(rates);
    HrvResult r = Analyse(1, 30);
    const std::vector<double> cleaned = hrv->CopyResampledRates();
    ASSERT_EQ(cleaned.size(), rates.size());
    int changed = 0;
    for (size_t k = 0; k < rates.size(); ++k)
        changed += cleaned[k] != rates[k];
    EXPECT_EQ(changed, 7);

    const double c = static_cast<double>(cleaned.size());
    double sum = 0, squares = 0, deviation = 0;
    int nn50 = 0;
    for (size_t k = 0; k < cleaned.size(); ++k) {
        sum += 60000 / cleaned[k];
        const double d = k > 0 ? 60000 / cleaned[k] - 60000 / cleaned[k - 1] : 0;
        squares += d * d;
        nn50 += std::fabs(d) >= 50;
    }
    for (double rate : cleaned)
        deviation += std::pow(60000 / rate - sum / c, 2);
    EXPECT_NEAR(r.meanRr, sum / c, 1e-6);
    EXPECT_NEAR(r.sdnn, std::sqrt(deviation / (c - 1)), 1e-6);
    EXPECT_NEAR(r.rmssd, std::sqrt(squares / c), 1e-6);
    EXPECT_EQ(r.pnn50, static_cast<int>(nn50 * 100 / cleaned.size()));
    EXPECT_GE(r.totalPower, r.vlfPower + r.lfPower + r.hfPower);
    EXPECT_GE(r.ansType, 1);
    EXPECT_LE(r.ansType, 9);
}

TEST_F(HrvAnalysis, RandomQueuesGiveFiniteFigures) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> rate(30, 240);
    std::uniform_int_distribution<int> kind(0, 19);
    for (int trial = 0; trial < 40; ++trial) {
        hrv->ResetMeasurement();
        const double level = rate(random);
        const int count = trial * 37 % 1200;
        for (int i = 0; i < count; ++i) {
            const int k = kind(random);
            hrv->AddRate(false, k == 0 ? 0 : k == 1 ? rate(random) : level + (k % 7 - 3));
        }
        if (hrv->AnalyseHrv(trial % 2 + 1, trial * 3) != HrvStatus::Ok)
            continue;
        const HrvResult r = hrv->Result();
        for (double v : {r.meanRate,
                         r.sdRate,
                         r.totalPower,
                         r.lfShare,
                         r.hfShare,
                         r.quarterSd,
                         r.variabilityScore,
                         r.diff2Index,
                         r.lfScore,
                         r.hfScore,
                         r.hfBalanceScore,
                         r.distributionScore,
                         r.geoVariability,
                         r.combinedScore,
                         r.upDownIndex,
                         r.regularityScore,
                         r.stressScore,
                         r.meanRr,
                         r.sdnn,
                         r.triangularIndex,
                         r.pnn50,
                         r.rmssd,
                         r.sdsd})
            ASSERT_TRUE(std::isfinite(v)) << trial;
        ASSERT_GE(r.ansType, 1);
        ASSERT_LE(r.ansType, 9);
    }
}

// --- Spectrum ---------------------------------------------------------------------------

TEST_F(HrvAnalysis, TenthOfAHertzIsLfAndQuarterHertzIsHfAtEveryBaseRate) {
    for (double base : {55.0, 70.0, 90.0}) {
        hrv->ResetMeasurement();
        Feed(ModulatedRates(150, 0.1, 5, base));
        HrvResult r = Analyse();
        EXPECT_GT(r.lfShare, 80) << base;
        EXPECT_GT(r.lfPower, 4 * r.hfPower) << base;
        EXPECT_GT(r.lfPower, r.vlfPower) << base;
        EXPECT_DOUBLE_EQ(r.lfShare + r.hfShare, 100) << base;

        hrv->ResetMeasurement();
        Feed(ModulatedRates(150, 0.25, 5, base));
        r = Analyse();
        EXPECT_GT(r.hfShare, 80) << base;
        EXPECT_GT(r.hfPower, 4 * r.lfPower) << base;
        EXPECT_GT(r.hfPower, r.vlfPower) << base;
    }
}

TEST_F(HrvAnalysis, StrongerModulationRaisesLfAndVariabilityScores) {
    Feed(ModulatedRates(150, 0.1, 1));
    HrvResult weak = Analyse();
    hrv->ResetMeasurement();
    Feed(ModulatedRates(150, 0.1, 8));
    HrvResult strong = Analyse();
    EXPECT_GT(strong.lfPower, 30 * weak.lfPower);
    EXPECT_GT(strong.lfScore, weak.lfScore);
    EXPECT_GT(strong.variabilityScore, weak.variabilityScore);
}

} // namespace
