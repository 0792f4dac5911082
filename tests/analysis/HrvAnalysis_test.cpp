#include "analysis/Hrv.h"
#include "analysis/HrvScores.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

// Beat-by-beat rates over `seconds`: `base` bpm with a sine of `hz` and `amplitude` bpm,
// each beat lasting 60/rate seconds.
std::vector<double> ModulatedRates(double seconds, double hz, double amplitude = 5,
                                   double base = 70) {
    std::vector<double> rates;
    for (double t = 0; t < seconds;) {
        const double rate = base + amplitude * std::sin(2 * std::numbers::pi * hz * t);
        rates.push_back(rate);
        t += 60 / rate;
    }
    return rates;
}

class HrvAnalysis : public ::testing::Test {
protected:
    void Feed(const std::vector<double>& rates) {
        for (double rate : rates)
            hrv->AddRate(false, rate);
    }
    void Feed(double rate, int times) {
        Feed(std::vector<double>(static_cast<size_t>(times), rate));
    }

    HrvResult Analyse(int sex = 1, int age = 45) {
        EXPECT_EQ(hrv->AnalyseHrv(sex, age), HrvStatus::Ok);
        return hrv->Result();
    }

    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
};

// --- Norms and age groups ---------------------------------------------------------------

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

TEST(HrvNorms, AgeGroupRows) {
    EXPECT_EQ(HrvAgeGroup(20), 0);
    EXPECT_EQ(HrvAgeGroup(21), 1);
    EXPECT_EQ(HrvAgeGroup(30), 1);
    EXPECT_EQ(HrvAgeGroup(31), 2);
    EXPECT_EQ(HrvAgeGroup(60), 4);
    EXPECT_EQ(HrvAgeGroup(61), 5);
    EXPECT_EQ(HrvAgeGroup(75), 5);
    EXPECT_EQ(HrvAgeGroup(0), 2);
    EXPECT_EQ(HrvAgeGroup(5), 0);
    EXPECT_EQ(HrvAgeGroup(-1), 0);
}

TEST_F(HrvAnalysis, AgeSelectsTheTimeDomainNormRow) {
    // Lower bounds of the mean rate: row 0 64.01, row 1 62.52, row 2 61.03, row 4 58.06,
    // row 5 56.57.
    Feed(63, 160);
    EXPECT_EQ(Analyse(1, 20).rateClass, 0);
    EXPECT_EQ(Analyse(1, 21).rateClass, 1);

    hrv->ResetMeasurement();
    Feed(61.5, 160);
    EXPECT_EQ(Analyse(1, 0).rateClass, 1);
    EXPECT_EQ(Analyse(1, 21).rateClass, 0);

    hrv->ResetMeasurement();
    Feed(57, 160);
    EXPECT_EQ(Analyse(2, 75).rateClass, 1);
    EXPECT_EQ(Analyse(2, 60).rateClass, 0);
}

// --- Scores -----------------------------------------------------------------------------

TEST(HrvScores, LfScoreAddsTenPer057OfLnPower) {
    EXPECT_NEAR(LfScore(std::exp(5.83)), 50, 1e-9);
    EXPECT_NEAR(LfScore(std::exp(5.83 + 0.57)), 60, 1e-9);
    EXPECT_NEAR(LfScore(std::exp(5.83 - 2 * 0.57)), 30, 1e-9);
    EXPECT_NEAR(LfScore(std::exp(5.83 + 5 * 0.57)), 100, 1e-9);
    EXPECT_EQ(LfScore(std::exp(5.83 + 6 * 0.57)), 100);
    EXPECT_EQ(LfScore(std::exp(5.83 - 6 * 0.57)), 0);
    EXPECT_EQ(LfScore(0), 0);
}

TEST(HrvScores, HfScoreAddsTenPer062OfLnPower) {
    EXPECT_NEAR(HfScore(std::exp(5.33)), 50, 1e-9);
    EXPECT_NEAR(HfScore(std::exp(5.33 + 0.62)), 60, 1e-9);
    EXPECT_EQ(HfScore(std::exp(20.0)), 100);
    EXPECT_EQ(HfScore(0), 0);
}

TEST(HrvScores, HfBalanceIsHundredAtSixtyPercent) {
    EXPECT_DOUBLE_EQ(HfBalanceScore(60), 100);
    EXPECT_DOUBLE_EQ(HfBalanceScore(10), 0);
    EXPECT_DOUBLE_EQ(HfBalanceScore(35), 50);
    EXPECT_DOUBLE_EQ(HfBalanceScore(85), 50);
}

TEST(HrvScores, StressComponentSteps) {
    EXPECT_EQ(StressG(50), 40);
    const double justBelow = std::nextafter(50.0, 0.0);
    EXPECT_GT(StressG(justBelow), 50);
    EXPECT_LT(StressG(justBelow), 50.000001);
    EXPECT_EQ(StressG(20), 80);
    EXPECT_EQ(StressG(54), 44);
    EXPECT_EQ(StressG(55), 25);
    EXPECT_EQ(StressG(59), 29);
    EXPECT_EQ(StressG(60), 10);
    EXPECT_EQ(StressG(100), 50);
}

TEST(HrvScores, NormClassBoundsAreInclusive) {
    EXPECT_EQ(NormClass(5.92, 5.93, 7.99), 0);
    EXPECT_EQ(NormClass(5.93, 5.93, 7.99), 1);
    EXPECT_EQ(NormClass(7.99, 5.93, 7.99), 1);
    EXPECT_EQ(NormClass(8.0, 5.93, 7.99), 2);
    EXPECT_EQ(NormClass(-std::numeric_limits<double>::infinity(), 5.93, 7.99), 0);
    EXPECT_EQ(NormClass(std::nan(""), 0.63, 2.42), 0);
}

TEST(HrvScores, BalanceTypeGrid) {
    EXPECT_EQ(AnsType(2, 0), 5);
    EXPECT_EQ(AnsType(1, 1), 9);
    EXPECT_EQ(AnsType(0, 2), 1);
    EXPECT_EQ(AnsType(0, 0), 7);
    EXPECT_EQ(AnsType(2, 2), 3);
    EXPECT_EQ(AnsType(1, 0), 6);
    EXPECT_EQ(AnsType(0, 1), 8);
    EXPECT_EQ(AnsType(3, 1), 0);
}

// --- Analysis series --------------------------------------------------------------------

TEST_F(HrvAnalysis, ShortQueueUsesItsFirstHalfTwice) {
    Feed(60, 50); // 50 s
    Feed(90, 50); // 33 s, never analysed
    HrvResult r = Analyse();
    EXPECT_EQ(r.meanRate, 60);
    EXPECT_EQ(hrv->CopyResampledRates(), std::vector<double>(100, 60));
}

TEST_F(HrvAnalysis, QueueOfMoreThan180SecondsIsUsedWhole) {
    Feed(60, 181);
    Feed(62, 19);
    HrvResult r = Analyse();
    EXPECT_DOUBLE_EQ(r.meanRate, (181 * 60.0 + 19 * 62) / 200);
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
}

TEST_F(HrvAnalysis, SingleCleanedRateIsTooShort) {
    // First half: 10 missing beats, one rate, 10 missing beats. Twice over, the last gap
    // leaves a single rate.
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
    Feed(60, 190);
    Feed(0, 10);
    Feed({60, 61, 60, 62, 62, 62, 64, 64, 64, 62});
    HrvResult r = Analyse();
    ASSERT_EQ(hrv->CopyResampledRates().size(), 10u);
    EXPECT_NEAR(r.quarterSd, std::sqrt(1.0 / 3) * 0.25, 1e-12);
    EXPECT_NEAR(r.variabilityScore, (r.quarterSd - 63.65 * 0.06) * 10 / 1.92 + 50, 1e-9);
}

// --- Time domain ------------------------------------------------------------------------

TEST_F(HrvAnalysis, IntervalIndicesOfTheWorkedExample) {
    // 190 s at 60 bpm, a gap of 10 missing beats, then intervals 1000, 1060, 1000, 1000,
    // 1000 ms: only the part after the gap is analysed.
    Feed(60, 190);
    Feed(0, 10);
    Feed({60, 60000.0 / 1060, 60, 60, 60});
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
    EXPECT_EQ(r.meanRate, 70);
    EXPECT_EQ(r.sdRate, 0);
    EXPECT_EQ(r.totalPower, 0);
    EXPECT_EQ(r.lfShare, 0);
    EXPECT_EQ(r.hfShare, 0);
    EXPECT_EQ(r.lfScore, 0);
    EXPECT_EQ(r.hfScore, 0);
    EXPECT_DOUBLE_EQ(r.hfBalanceScore, -20);
    EXPECT_DOUBLE_EQ(r.variabilityScore, (0 - 63.65 * 0.06) * 10 / 1.92 + 50);
    EXPECT_EQ(r.diff2Index, 0);
    EXPECT_EQ(r.distributionScore, 0);
    EXPECT_EQ(r.combinedScore, 0);
    EXPECT_EQ(r.regularityScore, 100);
    EXPECT_EQ(r.stressScore, 100); // F = 0 gives G = 100
    EXPECT_EQ(r.stressScoreCopy, 100);
    EXPECT_EQ(r.triangularIndex, 0); // no interval range, no bin
    EXPECT_EQ(r.pnn50, 0);
    EXPECT_EQ(r.rmssd, 0);
    EXPECT_EQ(r.lfClass, 0);
    EXPECT_EQ(r.hfClass, 0);
    EXPECT_EQ(r.ratioClass, 0);
    EXPECT_EQ(r.rateClass, 1);
    EXPECT_EQ(r.sdnnClass, 0);
    EXPECT_EQ(r.ansType, 7);
}

// Beat intervals of a resting ECG (tests/data): the figures against the textbook formulas
// on the cleaned series, with the conventions of this analysis (difference list with a
// leading 0, divisor c).
TEST_F(HrvAnalysis, RestingEcgIntervals) {
    std::ifstream in(std::string(TONDRELA_TEST_DATA) + "/neurokit_resting5min_ecg_nn.csv");
    ASSERT_TRUE(in);
    std::string line;
    std::getline(in, line);
    std::vector<double> rates;
    while (std::getline(in, line))
        rates.push_back(60000 / std::stod(line.substr(line.find(',') + 1)));
    ASSERT_GT(rates.size(), 300u);
    Feed(rates); // about 300 s: the whole queue is analysed
    HrvResult r = Analyse(1, 30);

    // Seven beats that jump by more than 15 bpm are replaced by interpolated ones.
    const std::vector<double> cleaned = hrv->CopyResampledRates();
    ASSERT_EQ(cleaned.size(), rates.size());
    int changed = 0;
    for (size_t k = 0; k < rates.size(); ++k)
        changed += cleaned[k] != rates[k];
    EXPECT_EQ(changed, 7);

    std::vector<double> rr;
    for (double rate : cleaned)
        rr.push_back(60000 / rate);
    const double c = static_cast<double>(rr.size());
    double sum = 0, squares = 0;
    int nn50 = 0;
    for (size_t k = 0; k < rr.size(); ++k) {
        sum += rr[k];
        if (k > 0) {
            const double d = rr[k] - rr[k - 1];
            squares += d * d;
            nn50 += std::fabs(d) >= 50;
        }
    }
    const double mean = sum / c;
    double deviation = 0;
    for (double ms : rr)
        deviation += (ms - mean) * (ms - mean);
    EXPECT_NEAR(r.meanRr, mean, 1e-6);
    EXPECT_NEAR(r.sdnn, std::sqrt(deviation / (c - 1)), 1e-6);
    EXPECT_NEAR(r.rmssd, std::sqrt(squares / c), 1e-6);
    EXPECT_EQ(r.pnn50, static_cast<int>(nn50 * 100 / rr.size()));
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

TEST_F(HrvAnalysis, TenthOfAHertzModulationIsLf) {
    for (double base : {55.0, 70.0, 90.0}) {
        hrv->ResetMeasurement();
        Feed(ModulatedRates(150, 0.1, 5, base));
        HrvResult r = Analyse();
        EXPECT_GT(r.lfShare, 80) << base;
        EXPECT_GT(r.lfPower, 4 * r.hfPower) << base;
        EXPECT_GT(r.lfPower, r.vlfPower) << base;
        EXPECT_DOUBLE_EQ(r.lfShare + r.hfShare, 100) << base;
    }
}

TEST_F(HrvAnalysis, QuarterHertzModulationIsHf) {
    for (double base : {55.0, 70.0, 90.0}) {
        hrv->ResetMeasurement();
        Feed(ModulatedRates(150, 0.25, 5, base));
        HrvResult r = Analyse();
        EXPECT_GT(r.hfShare, 80) << base;
        EXPECT_GT(r.hfPower, 4 * r.lfPower) << base;
        EXPECT_GT(r.hfPower, r.vlfPower) << base;
    }
}

TEST_F(HrvAnalysis, StrongerModulationRaisesLfScoreAndLowersStress) {
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
