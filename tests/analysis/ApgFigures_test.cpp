// Figures over the beats of a test: means, trimmed means, wellness index, vascular age,
// wellness type, blood-pressure tendency, signal strength and pulse.

#include "ApgShapes.h"

#include "analysis/ApgCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using apgtest::Diff2Feeder;

// b, c, d, e amplitudes of a beat whose a wave is 1000 (a-b .. a-e: 75, 150, 225, 325 ms).
struct Beat {
    double b, c, d, e;
};
// c/a 0.3, d/a 0.1, vascular age 5.48, type A.
constexpr Beat kYoung{-800, 300, 100, 189};
// c/a -0.1, d/a -0.3, vascular age 60.22, type C.
constexpr Beat kOld{-300, -100, -300, 230};
// c/a 0.3, vascular age 0.52.
constexpr Beat kAgeBelowOne{-800, 300, 100, 303};
// Vascular age -3.70.
constexpr Beat kNegativeAge{-800, 300, 100, 400};
// c/a -0.7, vascular age 87.6.
constexpr Beat kLowCa{-900, -700, -800, 100};

// Wellness index of a c/a mean against a reference row.
double Index(double ca, double refMean, double refDeviation) {
    return (ca - refMean) / refDeviation * 20 + 50;
}

class ApgFigures : public ::testing::Test {
protected:
    std::unique_ptr<ApgCanvas> apg = std::make_unique<ApgCanvas>();
    Diff2Feeder feeder{*apg};

    // Adds count rows of the beat, each with the given signal strength.
    void AddBeats(Beat beat, int count, double strength = 10) {
        feeder.Clear();
        feeder.Push(apgtest::SeparateWaves(beat.b, beat.c, beat.d, beat.e));
        const int before = apg->BeatRows();
        for (int i = 0; i < count; ++i)
            apg->AnalyseBeat(strength);
        ASSERT_EQ(apg->BeatRows(), before + count);
    }
};

class ApgMeans : public ApgFigures {};

TEST_F(ApgMeans, AverageRatiosAndIntervalsOfTheQualifiedBeats) {
    AddBeats(kYoung, 1);
    AddBeats(kOld, 3);
    AddBeats(kLowCa, 2, 3.99);
    const ApgSummary s = apg->Summarise(45, 1);
    EXPECT_EQ(s.qualified, 4);
    EXPECT_NEAR(s.ba, (-0.8 - 3 * 0.3) / 4, 1e-12);
    EXPECT_NEAR(s.ca, 0, 1e-12);
    EXPECT_NEAR(s.da, (0.1 - 3 * 0.3) / 4, 1e-12);
    EXPECT_NEAR(s.ea, (0.189 + 3 * 0.23) / 4, 1e-12);
    EXPECT_EQ(s.abMs, 75);
    EXPECT_EQ(s.acMs, 150);
    EXPECT_EQ(s.adMs, 225);
    EXPECT_EQ(s.aeMs, 325);
    EXPECT_EQ(s.rows, 6);
}

TEST_F(ApgMeans, StrengthOf399PercentIsLeftOutAnd4PercentCounts) {
    AddBeats(kYoung, 1, 3.99);
    EXPECT_EQ(apg->ComputeMeans(), 0);
    EXPECT_EQ(apg->MeanTypeIndex(), -1);
    EXPECT_EQ(apg->MeanVascularAge(), 0);
    EXPECT_EQ(apg->WellnessIndex(45, 1), 0);

    AddBeats(kOld, 1, 4.0);
    EXPECT_EQ(apg->ComputeMeans(), 1);
    EXPECT_EQ(apg->MeanTypeIndex(), 2);
    EXPECT_EQ(apg->MeanVascularAge(), 60);
    EXPECT_NEAR(apg->WellnessIndex(45, 1), Index(-0.1, -0.2276262, 0.143983748), 1e-9);
    // The signal strength is the one figure over all beats.
    EXPECT_DOUBLE_EQ(apg->MeanSignalStrength(), (3.99 + 4.0) / 2);
}

TEST_F(ApgMeans, WithoutQualifiedBeatsEveryFigureSaysNothing) {
    for (int beats : {0, 2}) { // an empty test, then two beats of 2 %
        if (beats > 0)
            AddBeats(kOld, beats, 2);
        const ApgSummary s = apg->Summarise(45, 2);
        EXPECT_EQ(s.qualified, 0);
        for (double mean : {s.ba, s.ca, s.da, s.ea, s.abMs, s.acMs, s.adMs, s.aeMs})
            EXPECT_EQ(mean, 0);
        EXPECT_EQ(s.wellnessIndex, 0);
        EXPECT_EQ(s.vascularAge, 0);
        EXPECT_EQ(s.typeIndex, -1);
        EXPECT_EQ(s.meanSignalStrength, beats > 0 ? 2 : 0);
        EXPECT_EQ(s.meanPulse, 0);
        EXPECT_EQ(s.rows, beats);
    }
}

TEST_F(ApgMeans, BeatWithZeroAWaveIsLeftOutOfRatiosAndVascularAge) {
    // Only zeros and negative values in the window: the last zero before the fall is a.
    feeder.Clear();
    feeder.Push(apgtest::Shape({0, 15, 30, 45, 65, 85}, {0, -500, -100, -400, -50, -300}));
    apg->AnalyseBeat(10);
    ASSERT_EQ(apg->BeatRows(), 1);
    ASSERT_EQ(apg->Row(0).amplitude[0], 0);
    AddBeats(kOld, 1);

    EXPECT_EQ(apg->ComputeMeans(), 1);
    EXPECT_EQ(apg->MeanVascularAge(), 60);
    EXPECT_NEAR(apg->WellnessIndex(45, 1), Index(-0.1, -0.2276262, 0.143983748), 1e-9);
    EXPECT_EQ(apg->MeanTypeIndex(), 2) << "the type needs no a wave";
}

class ApgTrimmedMean : public ApgFigures {};

TEST_F(ApgTrimmedMean, FortyQualifiedBeatsAreAllAveraged) {
    AddBeats(kYoung, 10);
    AddBeats(kOld, 30);
    AddBeats(kYoung, 5, 1); // not qualified
    EXPECT_EQ(apg->MeanVascularAge(), (10 * 5 + 30 * 60) / 40.0);
    EXPECT_EQ(apg->MeanTypeIndex(), 1); // 1.5 truncated
    EXPECT_NEAR(apg->WellnessIndex(45, 1), Index(0, -0.2276262, 0.143983748), 1e-9);
}

TEST_F(ApgTrimmedMean, FortyOneQualifiedBeatsLeaveOutTheTenSmallest) {
    AddBeats(kYoung, 10);
    AddBeats(kOld, 31);
    EXPECT_EQ(apg->MeanVascularAge(), 60);
    EXPECT_EQ(apg->MeanTypeIndex(), 2);
    // c/a: ten of the 31 values -0.1 are the smallest; 21 of them and ten 0.3 remain.
    EXPECT_NEAR(apg->WellnessIndex(45, 1),
                Index((21 * -0.1 + 10 * 0.3) / 31, -0.2276262, 0.143983748), 1e-9);
}

class ApgWellnessIndex : public ApgFigures {};

TEST_F(ApgWellnessIndex, Aged45UsesRow8ForAManAndRow9ForAWoman) {
    AddBeats(kOld, 3);
    EXPECT_NEAR(apg->WellnessIndex(45, 1), 67.7278619, 1e-6);
    EXPECT_NEAR(apg->WellnessIndex(45, 2), 69.8805751, 1e-6);
}

TEST_F(ApgWellnessIndex, NegativeIndexIsReturnedAsZero) {
    AddBeats(kLowCa, 3);
    EXPECT_EQ(apg->WellnessIndex(45, 1), 0);
}

TEST_F(ApgWellnessIndex, IndexAbove100IsReturnedUnchanged) {
    AddBeats(kYoung, 3);
    EXPECT_NEAR(apg->WellnessIndex(45, 1), 123.2896882, 1e-6);
}

TEST_F(ApgWellnessIndex, BeatsWithVascularAgeBelowOneAreLeftOut) {
    AddBeats(kAgeBelowOne, 3);
    EXPECT_EQ(apg->WellnessIndex(45, 1), 0);
    AddBeats(kOld, 1);
    EXPECT_NEAR(apg->WellnessIndex(45, 1), Index(-0.1, -0.2276262, 0.143983748), 1e-9);
}

TEST_F(ApgWellnessIndex, AgesOutsideTheTableUseTheNearestDecadeOfTheSameSex) {
    AddBeats(kOld, 1);
    EXPECT_NEAR(apg->WellnessIndex(95, 1), Index(-0.1, -0.35966, 0.157273623), 1e-9);
    EXPECT_NEAR(apg->WellnessIndex(95, 2), Index(-0.1, -0.364420435, 0.128414476), 1e-9);
    EXPECT_NEAR(apg->WellnessIndex(-15, 1), Index(-0.1, -0.150551938, 0.162711175), 1e-9);
    EXPECT_NEAR(apg->WellnessIndex(-15, 2), Index(-0.1, -0.099298858, 0.144801272), 1e-9);
    // The three youngest decades share one reference.
    EXPECT_EQ(apg->WellnessIndex(5, 1), apg->WellnessIndex(25, 1));
}

class ApgVascularAge : public ApgFigures {};

TEST_F(ApgVascularAge, EachBeatIsTruncatedBeforeAveraging) {
    AddBeats(kYoung, 1); // 5.48
    AddBeats(kOld, 1);   // 60.22
    EXPECT_EQ(apg->MeanVascularAge(), 32.5);
}

TEST_F(ApgVascularAge, NegativeMeanIsReturnedAsZero) {
    AddBeats(kNegativeAge, 2);
    EXPECT_EQ(apg->MeanVascularAge(), 0);
}

// Blood-pressure tendency of beats with d = dAmplitude (a = 1000) at that age.
int PressureStatus(double dAmplitude, int age) {
    auto apg = std::make_unique<ApgCanvas>();
    Diff2Feeder feeder(*apg);
    feeder.Push(apgtest::SeparateWaves(-600, -100, dAmplitude, 200));
    apg->AnalyseBeat(10);
    EXPECT_EQ(apg->ComputeMeans(), 1);
    return apg->BloodPressureStatus(age);
}

TEST(ApgBloodPressure, DaAgainstTheReferenceOfTheAgeDecade) {
    // Age 45: reference d/a -0.24.
    EXPECT_EQ(PressureStatus(100, 45), 40012);  // -56.7: a bit low
    EXPECT_EQ(PressureStatus(-177, 45), 40013); // -10.5 truncated to -10: normal
    EXPECT_EQ(PressureStatus(-240, 45), 40013); // 0
    EXPECT_EQ(PressureStatus(-310, 45), 40014); // 11.7: a bit high
    EXPECT_EQ(PressureStatus(-400, 45), 40015); // 26.7: high
    // Outside the table: no text for a negative age; 90 and above use the 80-89 reference.
    EXPECT_EQ(PressureStatus(-400, -1), 0);
    EXPECT_EQ(PressureStatus(-400, 95), 40013);
    EXPECT_EQ(PressureStatus(-400, 85), 40013);
}

TEST_F(ApgFigures, SummariseComputesTheMeansBeforeTheTendency) {
    AddBeats({-600, -100, -400, 200}, 2);
    AddBeats(kOld, 1, 3);
    apg->AppendRate(60);
    apg->AppendRate(0);
    const ApgSummary s = apg->Summarise(45, 1);
    EXPECT_EQ(s.qualified, 2);
    EXPECT_EQ(s.bpStatus, 40015);
    EXPECT_EQ(s.typeIndex, apg->MeanTypeIndex());
    EXPECT_EQ(s.vascularAge, apg->MeanVascularAge());
    EXPECT_EQ(s.wellnessIndex, apg->WellnessIndex(45, 1));
    EXPECT_DOUBLE_EQ(s.meanSignalStrength, (10 + 10 + 3) / 3.0);
    EXPECT_EQ(s.meanPulse, 30);
    EXPECT_EQ(s.rows, 3);
}

TEST(ApgRateList, MeanPulseOfTheNewest180RatesIncludesRejectedBeats) {
    auto apg = std::make_unique<ApgCanvas>();
    for (double rate : {0.0, 70.0, 80.0})
        apg->AppendRate(rate);
    EXPECT_EQ(apg->MeanPulse(), 50);
    for (int i = 3; i < ApgCanvas::kRateCapacity; ++i)
        apg->AppendRate(60);
    EXPECT_NEAR(apg->MeanPulse(), (70 + 80 + 177 * 60) / 180.0, 1e-9);
    apg->AppendRate(60);
    EXPECT_NEAR(apg->MeanPulse(), (70 + 80 + 178 * 60) / 180.0, 1e-9) << "the oldest rate left";
}

} // namespace
