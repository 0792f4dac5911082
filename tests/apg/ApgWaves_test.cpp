// Placement of the a to e waves, the wellness type and the beat table.

#include "ApgShapes.h"

#include "apg/ApgCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using apgtest::Diff2Feeder;
using apgtest::Shape;

struct Waves {
    int a, b, c, d, e;
};

class ApgWaveSearch : public ::testing::Test {
protected:
    std::unique_ptr<ApgCanvas> apg = std::make_unique<ApgCanvas>();
    Diff2Feeder feeder{*apg};

    // Feeds the shape, analyses one beat and checks the row's DIFF2 positions.
    void ExpectWaves(const std::vector<double>& shape, Waves local) {
        const int base = feeder.Push(shape);
        apg->AnalyseBeat(10);
        ASSERT_EQ(apg->BeatRows(), 1);
        const ApgBeatRow row = apg->Row(0);
        const int expected[5] = {local.a, local.b, local.c, local.d, local.e};
        for (int w = 0; w < 5; ++w) {
            EXPECT_EQ(row.position[w], base + expected[w]) << "wave " << char('a' + w);
            EXPECT_EQ(row.amplitude[w], shape[static_cast<size_t>(expected[w])])
                << "wave " << char('a' + w);
        }
    }
};

TEST_F(ApgWaveSearch, BeatBeforeDiff2HasValuesLeavesNoRow) {
    apg->AnalyseBeat(10); // nothing at all yet
    for (int i = 0; i < 60; ++i)
        feeder.Push(0);
    apg->AnalyseBeat(10);
    EXPECT_EQ(apg->BeatRows(), 0);
}

TEST_F(ApgWaveSearch, SlowFallPutsBAndCHalfAndThreeQuartersOfTheWayToTheTrough) {
    // Trough 40 samples (200 ms) after a: b and c on the fall, d at the trough, e next peak.
    auto shape =
        Shape({{0, 0}, {30, 1000}, {70, -600}, {90, 200}, {110, -100}, {200, 1000}, {220, 0}});
    ExpectWaves(shape, {30, 50, 60, 70, 90});
}

TEST_F(ApgWaveSearch, TroughAt155MsTruncatesTheFractions) {
    // 31 samples: 31 * 4 / 8 = 15 and 31 * 6 / 8 = 23 in integers.
    auto shape =
        Shape({{0, 0}, {30, 1000}, {61, -600}, {80, 200}, {100, -100}, {190, 1000}, {210, 0}});
    ExpectWaves(shape, {30, 45, 53, 61, 80});
}

TEST_F(ApgWaveSearch, TroughAtExactly150MsGetsItsOwnDAndE) {
    auto shape = Shape({{0, 0},
                        {30, 1000},
                        {60, -700},
                        {75, -100},
                        {90, -400},
                        {110, 200},
                        {130, -100},
                        {230, 1000},
                        {250, 0}});
    ExpectWaves(shape, {30, 60, 75, 90, 110});
}

TEST_F(ApgWaveSearch, SeparateWavesAreTroughPeakTroughPositivePeak) {
    ExpectWaves(apgtest::SeparateWaves(-500, 300, 100, 200),
                {apgtest::kA, apgtest::kB, apgtest::kC, apgtest::kD, apgtest::kE});
}

TEST_F(ApgWaveSearch, PeakAfterBLaterThan250MsFallsBackToEighths) {
    // The peak after b is 60 samples (300 ms) after a: c and d at 3/8 and 5/8 from b to it,
    // although a positive peak follows the next trough half-way to the next a wave.
    auto shape = Shape({{0, 0},
                        {30, 1000},
                        {50, -700},
                        {90, 200},
                        {110, -300},
                        {130, 300},
                        {150, -100},
                        {230, 1000},
                        {250, 0}});
    ExpectWaves(shape, {30, 50, 65, 75, 90});
}

TEST_F(ApgWaveSearch, PeakAfterBAtExactly250MsIsStillC) {
    auto shape = Shape({{0, 0},
                        {30, 1000},
                        {50, -700},
                        {80, 200},
                        {100, -300},
                        {120, 300},
                        {140, -100},
                        {220, 1000},
                        {240, 0}});
    ExpectWaves(shape, {30, 50, 80, 100, 120});
}

TEST_F(ApgWaveSearch, CandidateNearerTheNextBeatFallsBackToEighths) {
    // The positive peak after the second trough (95) is 65 samples after a but only 55 before
    // the next a wave (150): it belongs to the next beat. 15 * 3 / 8 = 5, 15 * 5 / 8 = 9.
    auto shape = Shape({{0, 0},
                        {30, 1000},
                        {45, -800},
                        {60, -100},
                        {75, -400},
                        {95, 200},
                        {115, -100},
                        {150, 1000},
                        {170, 0}});
    ExpectWaves(shape, {30, 45, 50, 54, 60});
}

TEST_F(ApgWaveSearch, CandidateHalfWayToTheNextBeatIsStillE) {
    // 65 samples after a and 65 before the next a wave (160).
    auto shape = Shape({{0, 0},
                        {30, 1000},
                        {45, -800},
                        {60, -100},
                        {75, -400},
                        {95, 200},
                        {115, -100},
                        {160, 1000},
                        {180, 0}});
    ExpectWaves(shape, {30, 45, 60, 75, 95});
}

TEST_F(ApgWaveSearch, NoPositivePeakAfterTheSecondTroughFallsBackToEighths) {
    auto shape = Shape({{0, 0},
                        {30, 1000},
                        {45, -800},
                        {60, -100},
                        {75, -400},
                        {95, -200},
                        {115, -500},
                        {130, -400}});
    ExpectWaves(shape, {30, 45, 50, 54, 60});
}

TEST_F(ApgWaveSearch, PeakOfZeroAfterTheSecondTroughIsNotE) {
    // The next positive peak is the next beat's a wave, with no a wave after it.
    auto shape = Shape({{0, 0},
                        {30, 1000},
                        {45, -800},
                        {60, -100},
                        {75, -400},
                        {95, 0},
                        {115, -100},
                        {200, 1000},
                        {220, 0}});
    ExpectWaves(shape, {30, 45, 50, 54, 60});
}

TEST_F(ApgWaveSearch, MissingTroughAfterTheCCandidateFallsBackToEighths) {
    // The window ends on the fall after the c candidate. An earlier positive bump must not be
    // taken for the d/e region: the beat is placed like one without a d/e region.
    auto shape =
        Shape({{0, 0}, {10, 300}, {20, -100}, {50, 1000}, {65, -800}, {80, -100}, {100, -600}});
    ExpectWaves(shape, {50, 65, 70, 74, 80});
}

TEST_F(ApgWaveSearch, FirstPeakReachingEightyPercentOfTheMaximumIsA) {
    // 790 is below 0.8 * 1000 and skipped; 810 is the a wave although 1000 comes later.
    auto shape = Shape({{0, 0},
                        {20, 790},
                        {40, -100},
                        {60, 810},
                        {75, -800},
                        {90, -100},
                        {105, -400},
                        {125, 200},
                        {145, -100},
                        {230, 1000},
                        {250, 0}});
    ExpectWaves(shape, {60, 75, 90, 105, 125});
}

TEST_F(ApgWaveSearch, MissingTroughOrPeakAfterALeavesNoRow) {
    feeder.Push(Shape({{0, 0}, {30, 1000}, {60, -500}}));
    apg->AnalyseBeat(10);
    EXPECT_EQ(apg->BeatRows(), 0) << "no trough after a";

    feeder.Clear();
    feeder.Push(Shape({{0, 0}, {30, 1000}, {45, -800}, {60, -100}}));
    apg->AnalyseBeat(10);
    EXPECT_EQ(apg->BeatRows(), 0) << "no peak after the trough";
}

TEST_F(ApgWaveSearch, PositionsCountFromTheStartOfDiff2BeyondTheWindow) {
    for (int i = 0; i < 400; ++i)
        feeder.Push(0);
    // DIFF2 now holds more than 500 values; the window covers only the newest 500.
    auto shape = apgtest::SeparateWaves(-500, 300, 100, 200);
    ASSERT_GT(Diff2Feeder::kLeadIn + 400 + static_cast<int>(shape.size()),
              ApgCanvas::kWindowCapacity);
    ExpectWaves(shape, {apgtest::kA, apgtest::kB, apgtest::kC, apgtest::kD, apgtest::kE});
}

class ApgBeatTable : public ApgWaveSearch {};

TEST_F(ApgBeatTable, RowHoldsVascularAgeTypeAndStrength) {
    feeder.Push(apgtest::SeparateWaves(-500, 300, 100, 200));
    apg->AnalyseBeat(12.5);
    ASSERT_EQ(apg->BeatRows(), 1);
    const ApgBeatRow row = apg->Row(0);
    // ((-500 - 300 - 100 - 200) / 1000 + 1.515) / 0.023 = 0.415 / 0.023
    EXPECT_NEAR(row.vascularAge, 18.0434783, 1e-6);
    EXPECT_EQ(row.typeIndex, 0);
    EXPECT_EQ(row.strength, 12.5);
}

TEST_F(ApgBeatTable, KeepsTheFirst750Rows) {
    feeder.Push(apgtest::SeparateWaves(-500, 300, 100, 200));
    for (int i = 0; i < ApgCanvas::kBeatCapacity + 10; ++i)
        apg->AnalyseBeat(i);
    ASSERT_EQ(apg->BeatRows(), ApgCanvas::kBeatCapacity);
    EXPECT_EQ(apg->Row(0).strength, 0);
    EXPECT_EQ(apg->Row(ApgCanvas::kBeatCapacity - 1).strength, ApgCanvas::kBeatCapacity - 1);
    EXPECT_EQ(apg->Row(ApgCanvas::kBeatCapacity).strength, 0) << "outside the table";
}

TEST_F(ApgBeatTable, BeatListKeepsTheFirst750Entries) {
    for (int i = 0; i < ApgCanvas::kBeatCapacity + 3; ++i)
        apg->AppendBeat(i, i, 60);
    EXPECT_EQ(apg->BeatListCount(), ApgCanvas::kBeatCapacity);
}

// Wellness type from the b, c and d amplitudes (a = 1000, e = 200).
struct TypeCase {
    const char* name;
    double b, c, d;
    char type;
};

class ApgWellnessType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(ApgWellnessType, IsDecidedInOrder) {
    const TypeCase& tc = GetParam();
    auto apg = std::make_unique<ApgCanvas>();
    Diff2Feeder feeder(*apg);
    feeder.Push(apgtest::SeparateWaves(tc.b, tc.c, tc.d, 200));
    apg->AnalyseBeat(10);
    ASSERT_EQ(apg->BeatRows(), 1);
    const ApgBeatRow row = apg->Row(0);
    ASSERT_EQ(row.amplitude[1], tc.b);
    ASSERT_EQ(row.amplitude[2], tc.c);
    ASSERT_EQ(row.amplitude[3], tc.d);
    EXPECT_EQ(static_cast<char>('A' + row.typeIndex), tc.type);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApgWellnessType,
    ::testing::Values(TypeCase{"PositiveCWithNonNegativeDIsA", -500, 300, 100, 'A'},
                      TypeCase{"PositiveCWithDAFifthOfBIsA", -500, 300, -100, 'A'},
                      TypeCase{"PositiveCWithDAboveAFifthOfBIsNotA", -500, 300, -101, 'C'},
                      TypeCase{"DTwoAndAHalfTimesBIsG", -200, -100, -500, 'G'},
                      TypeCase{"DExactlyTwiceBIsFNotG", -200, -100, -400, 'F'},
                      TypeCase{"DFiveThirdsOfBIsENotF", -300, -100, -500, 'E'},
                      TypeCase{"DBetweenFourAndFiveThirdsOfBIsE", -300, -100, -450, 'E'},
                      TypeCase{"SmallDWithCBelowDIsB", -600, -100, -300, 'B'},
                      TypeCase{"SmallDWithCAboveDIsC", -600, 300, -250, 'C'},
                      TypeCase{"SmallDWithCEqualToDIsC", -600, 300, -300, 'C'},
                      TypeCase{"DFourThirdsOfBWithSmallCIsC", -300, -100, -400, 'C'},
                      TypeCase{"MiddleDWithSmallCIsC", -300, -100, -300, 'C'},
                      TypeCase{"MiddleDWithCHalfOfBOrMoreIsD", -300, -200, -350, 'D'},
                      TypeCase{"PositiveCWithMiddleDIsD", -300, 200, -300, 'D'}),
    [](const ::testing::TestParamInfo<TypeCase>& info) { return std::string(info.param.name); });

} // namespace
