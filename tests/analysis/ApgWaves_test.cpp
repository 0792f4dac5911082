// Placement of the a to e waves, the wellness type and the beat table.

#include "ApgShapes.h"

#include "analysis/ApgCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using apgtest::Diff2Feeder;
using apgtest::Shape;

struct Waves {
    int a, b, c, d, e;
};

// Feeds the shape (after leadIn zeros) into a canvas of its own, analyses one beat and checks
// the row's DIFF2 positions and amplitudes.
void ExpectWaves(const std::vector<double>& shape, Waves local, int leadIn = 0) {
    auto apg = std::make_unique<ApgCanvas>();
    Diff2Feeder feeder(*apg);
    for (int i = 0; i < leadIn; ++i)
        feeder.Push(0);
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

class ApgWaveSearch : public ::testing::Test {
protected:
    std::unique_ptr<ApgCanvas> apg = std::make_unique<ApgCanvas>();
    Diff2Feeder feeder{*apg};
};

TEST_F(ApgWaveSearch, PlacesTheWavesOfEachShape) {
    const struct {
        const char* name;
        std::vector<int> at;
        std::vector<double> value;
        Waves waves;
    } cases[] = {
        // Trough 40 samples (200 ms) after a: b and c half and three quarters of the way to
        // it, d at the trough, e the next peak.
        {"slow fall",
         {0, 30, 70, 90, 110, 200, 220},
         {0, 1000, -600, 200, -100, 1000, 0},
         {30, 50, 60, 70, 90}},
        // Trough 31 samples (155 ms) after a: 31 * 4 / 8 = 15 and 31 * 6 / 8 = 23.
        {"trough at 155 ms",
         {0, 30, 61, 80, 100, 190, 210},
         {0, 1000, -600, 200, -100, 1000, 0},
         {30, 45, 53, 61, 80}},
        {"trough at exactly 150 ms",
         {0, 30, 60, 75, 90, 110, 130, 230, 250},
         {0, 1000, -700, -100, -400, 200, -100, 1000, 0},
         {30, 60, 75, 90, 110}},
        {"separate waves: trough, peak, trough, positive peak",
         {0, 30, 45, 60, 75, 95, 115, 200, 220},
         {0, 1000, -500, 300, 100, 200, -100, 1000, 0},
         {30, 45, 60, 75, 95}},
        // Peak after b 60 samples (300 ms) after a: c and d at 3/8 and 5/8 from b to it,
        // although a positive peak follows the next trough half-way to the next a wave.
        {"peak after b later than 250 ms",
         {0, 30, 50, 90, 110, 130, 150, 230, 250},
         {0, 1000, -700, 200, -300, 300, -100, 1000, 0},
         {30, 50, 65, 75, 90}},
        {"peak after b at exactly 250 ms",
         {0, 30, 50, 80, 100, 120, 140, 220, 240},
         {0, 1000, -700, 200, -300, 300, -100, 1000, 0},
         {30, 50, 80, 100, 120}},
        // The positive peak after the second trough (95) is 65 samples after a but only 55
        // before the next a wave (150): it belongs to the next beat. 15 * 3 / 8 = 5,
        // 15 * 5 / 8 = 9.
        {"candidate nearer the next beat",
         {0, 30, 45, 60, 75, 95, 115, 150, 170},
         {0, 1000, -800, -100, -400, 200, -100, 1000, 0},
         {30, 45, 50, 54, 60}},
        {"candidate half-way to the next beat",
         {0, 30, 45, 60, 75, 95, 115, 160, 180},
         {0, 1000, -800, -100, -400, 200, -100, 1000, 0},
         {30, 45, 60, 75, 95}},
        {"no positive peak after the second trough",
         {0, 30, 45, 60, 75, 95, 115, 130},
         {0, 1000, -800, -100, -400, -200, -500, -400},
         {30, 45, 50, 54, 60}},
        // The next positive peak is the next beat's a wave, with no a wave after it.
        {"peak of zero after the second trough",
         {0, 30, 45, 60, 75, 95, 115, 200, 220},
         {0, 1000, -800, -100, -400, 0, -100, 1000, 0},
         {30, 45, 50, 54, 60}},
        // The window ends on the rise and fall after the c candidate p1: no trough after it.
        // The search for e then starts at the window's beginning and finds a itself; here a
        // drops at once below 80 % of the maximum, so no a wave of a next beat follows, and
        // c and d go to 3/8 and 5/8 from b to p1: 15 * 3 / 8 = 5, 15 * 5 / 8 = 9.
        {"missing trough after the c candidate, no a wave after a",
         {0, 30, 32, 47, 67},
         {0, 1000, -800, -100, -600},
         {30, 32, 37, 41, 47}},
        // No trough after the c candidate either, an earlier positive bump, and p1 more than
        // 250 ms after a.
        {"missing trough after a late c candidate",
         {0, 10, 20, 50, 65, 110, 130},
         {0, 300, -100, 1000, -800, -100, -600},
         {50, 65, 81, 93, 110}},
        // 790 is below 0.8 * 1000 and skipped; 810 is a although 1000 comes later.
        {"first peak reaching 80 % of the maximum is a",
         {0, 20, 40, 60, 75, 90, 105, 125, 145, 230, 250},
         {0, 790, -100, 810, -800, -100, -400, 200, -100, 1000, 0},
         {60, 75, 90, 105, 125}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectWaves(Shape(c.at, c.value), c.waves);
    }
}

TEST_F(ApgWaveSearch, PositionsCountFromTheStartOfDiff2BeyondTheWindow) {
    // With 400 zeros first DIFF2 holds more than 500 values; the window covers the newest.
    const auto shape = apgtest::SeparateWaves(-500, 300, 100, 200);
    ASSERT_GT(Diff2Feeder::kLeadIn + 400 + static_cast<int>(shape.size()),
              ApgCanvas::kWindowCapacity);
    ExpectWaves(shape, {apgtest::kA, apgtest::kB, apgtest::kC, apgtest::kD, apgtest::kE}, 400);
}

TEST_F(ApgWaveSearch, BeatWithoutItsWavesLeavesNoRow) {
    apg->AnalyseBeat(10); // nothing at all yet
    for (int i = 0; i < 60; ++i)
        feeder.Push(0);
    apg->AnalyseBeat(10);
    EXPECT_EQ(apg->BeatRows(), 0) << "DIFF2 without values";

    feeder.Push(Shape({0, 30, 60}, {0, 1000, -500}));
    apg->AnalyseBeat(10);
    EXPECT_EQ(apg->BeatRows(), 0) << "no trough after a";

    feeder.Clear();
    feeder.Push(Shape({0, 30, 45, 60}, {0, 1000, -800, -100}));
    apg->AnalyseBeat(10);
    EXPECT_EQ(apg->BeatRows(), 0) << "no peak after the trough";

    // No trough after the c candidate, p1 within 250 ms of a, and a next a wave found after
    // the e candidate (which the search from the window's start finds at or before a; every
    // value of a fall is a peak of the search, so the one right after a qualifies): c and d
    // count as separate, and the missing trough, d, leaves the beat out.
    for (const auto& [at, value] : {
             std::pair<std::vector<int>, std::vector<double>>{{0, 30, 45, 60, 80},
                                                              {0, 1000, -800, -100, -600}},
             {{0, 10, 20, 50, 65, 80, 100}, {0, 300, -100, 1000, -800, -100, -600}}, // a bump
         }) {
        feeder.Clear();
        feeder.Push(Shape(at, value));
        apg->AnalyseBeat(10);
    }
    EXPECT_EQ(apg->BeatRows(), 0) << "no trough after the c candidate";
}

TEST_F(ApgWaveSearch, RowHoldsVascularAgeTypeAndStrength) {
    feeder.Push(apgtest::SeparateWaves(-500, 300, 100, 200));
    apg->AnalyseBeat(12.5);
    ASSERT_EQ(apg->BeatRows(), 1);
    const ApgBeatRow row = apg->Row(0);
    // ((-500 - 300 - 100 - 200) / 1000 + 1.515) / 0.023 = 0.415 / 0.023
    EXPECT_NEAR(row.vascularAge, 18.0434783, 1e-6);
    EXPECT_EQ(row.typeIndex, 0);
    EXPECT_EQ(row.strength, 12.5);
}

TEST_F(ApgWaveSearch, TablesKeepTheirFirst750Entries) {
    feeder.Push(apgtest::SeparateWaves(-500, 300, 100, 200));
    for (int i = 0; i < ApgCanvas::kBeatCapacity + 10; ++i) {
        apg->AnalyseBeat(i);
        apg->AppendBeat(i, i, 60);
    }
    ASSERT_EQ(apg->BeatRows(), ApgCanvas::kBeatCapacity);
    EXPECT_EQ(apg->Row(0).strength, 0);
    EXPECT_EQ(apg->Row(ApgCanvas::kBeatCapacity - 1).strength, ApgCanvas::kBeatCapacity - 1);
    EXPECT_EQ(apg->Row(ApgCanvas::kBeatCapacity).strength, 0) << "outside the table";
    EXPECT_EQ(apg->BeatListCount(), ApgCanvas::kBeatCapacity);
}

// Wellness type from the b, c and d amplitudes (a = 1000, e = 200), decided in order.
TEST(ApgWellnessType, IsDecidedInOrder) {
    const struct {
        const char* name;
        double b, c, d;
        char type;
    } cases[] = {
        {"positive c with d >= 0", -500, 300, 100, 'A'},
        {"positive c with d a fifth of b", -500, 300, -100, 'A'},
        {"positive c with d above a fifth of b", -500, 300, -101, 'C'},
        {"d 2.5 times b", -200, -100, -500, 'G'},
        {"d exactly twice b", -200, -100, -400, 'F'},
        {"d five thirds of b", -300, -100, -500, 'E'},
        {"d between four and five thirds of b", -300, -100, -450, 'E'},
        {"small d with c below d", -600, -100, -300, 'B'},
        {"small d with c above d", -600, 300, -250, 'C'},
        {"small d with c equal to d", -600, 300, -300, 'C'},
        {"d four thirds of b with small c", -300, -100, -400, 'C'},
        {"middle d with small c", -300, -100, -300, 'C'},
        {"middle d with c half of b or more", -300, -200, -350, 'D'},
        {"positive c with middle d", -300, 200, -300, 'D'},
    };
    for (const auto& c : cases) {
        auto apg = std::make_unique<ApgCanvas>();
        Diff2Feeder feeder(*apg);
        feeder.Push(apgtest::SeparateWaves(c.b, c.c, c.d, 200));
        apg->AnalyseBeat(10);
        ASSERT_EQ(apg->BeatRows(), 1) << c.name;
        const ApgBeatRow row = apg->Row(0);
        ASSERT_EQ(row.amplitude[1], c.b) << c.name;
        ASSERT_EQ(row.amplitude[2], c.c) << c.name;
        ASSERT_EQ(row.amplitude[3], c.d) << c.name;
        EXPECT_EQ(static_cast<char>('A' + row.typeIndex), c.type) << c.name;
    }
}

} // namespace
