#include "analysis/Trace.h"
#include "analysis/proc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

int Count(const std::vector<double>& v) {
    return static_cast<int>(v.size());
}

// One value per beat at a mean of 70 bpm with a cosine of the given frequency in Hz (the
// series' sampling rate is 70/60 values per second).
std::vector<double> BeatTone(double hz, int count, double amplitude = 5) {
    std::vector<double> values(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        values[static_cast<size_t>(k)] =
            70 + amplitude * std::cos(2 * std::numbers::pi * hz * k / (70.0 / 60));
    return values;
}

// --- Statistics -------------------------------------------------------------------------

TEST(Statistics, NearestRoundsHalvesAwayFromZero) {
    EXPECT_EQ(f_nearest(0.5), 1);
    EXPECT_EQ(f_nearest(-0.5), -1);
    EXPECT_EQ(f_nearest(1.49), 1);
    EXPECT_EQ(f_nearest(2.5), 3);
    EXPECT_EQ(f_nearest(-2.5), -3);
}

TEST(Statistics, StddevDividesByCountMinusOne) {
    const std::vector<double> v{2, 4, 4, 4, 5, 5, 7, 9}; // squared deviations sum to 32
    EXPECT_DOUBLE_EQ(f_stddev(v.data(), Count(v)), std::sqrt(32.0 / 7));
    EXPECT_EQ(f_stddev(v.data(), 1), 0);
}

TEST(Statistics, HistogramPutsMinimumFirstAndMaximumLast) {
    const std::vector<double> v{10, 11, 14.9, 15, 20};
    double bins[3] = {7, 7, 7};
    f_histogram(bins, 3, v.data(), Count(v)); // bin = floor(2·(v - 10)/10)
    EXPECT_EQ(bins[0], 3);
    EXPECT_EQ(bins[1], 1);
    EXPECT_EQ(bins[2], 1);
}

TEST(Statistics, HistogramOfEqualValuesStaysEmpty) {
    const std::vector<double> v{70, 70, 70};
    double bins[2] = {5, 5};
    f_histogram(bins, 2, v.data(), Count(v));
    EXPECT_EQ(bins[0], 0);
    EXPECT_EQ(bins[1], 0);
}

TEST(Statistics, BeatTimeCountsOnlyRatesFrom30To240) {
    const std::vector<double> rates{60, 0, 29.9, 240.1, 120, 30, 240};
    EXPECT_DOUBLE_EQ(f_beattime(rates.data(), Count(rates)), 1 + 0.5 + 2 + 0.25);
}

// --- Variability indices ---------------------------------------------------------------

TEST(VariabilityIndex, UpDownOfTwoRisesAndOneFallIsZero) {
    const std::vector<double> v{60, 62, 61, 63};
    EXPECT_EQ(f_updown(v.data(), Count(v)), 0);
}

TEST(VariabilityIndex, UpDownIsFiftyWhenBalancedAndIgnoresEqualNeighbours) {
    const std::vector<double> v{60, 62, 62, 61, 61};
    EXPECT_EQ(f_updown(v.data(), Count(v)), 50);
    const std::vector<double> falls{70, 69, 68, 69};
    EXPECT_EQ(f_updown(falls.data(), Count(falls)), 75);
    const std::vector<double> thirds{70, 69, 68, 69, 68};
    EXPECT_DOUBLE_EQ(f_updown(thirds.data(), Count(thirds)), 100 - 50.0 / 3);
}

TEST(VariabilityIndex, UpDownWithoutFallIsZero) {
    const std::vector<double> v{60, 61, 61, 62};
    EXPECT_EQ(f_updown(v.data(), Count(v)), 0);
}

TEST(VariabilityIndex, Diff2IndexOfStraightLineIsZero) {
    const std::vector<double> v{60, 62, 64, 66, 68, 70};
    EXPECT_EQ(f_diff2index(v.data(), Count(v)), 0);
}

TEST(VariabilityIndex, Diff2IndexScalesSecondDifferenceDeviationBy12) {
    // Second differences -6, 0, 6 (deviation 6); -12, 0, 12; -24, 0, 24.
    const std::vector<double> six{70, 70, 64, 58, 58};
    const std::vector<double> twelve{70, 70, 58, 46, 46};
    const std::vector<double> twentyFour{70, 70, 46, 22, 22};
    EXPECT_DOUBLE_EQ(f_diff2index(six.data(), 5), 50);
    EXPECT_DOUBLE_EQ(f_diff2index(twelve.data(), 5), 100);
    EXPECT_DOUBLE_EQ(f_diff2index(twentyFour.data(), 5), 100);
}

TEST(VariabilityIndex, GaussScoreIsFiftyAtTheReference) {
    const std::vector<double> v{60, 70, 80}; // mean 70, deviation 10
    EXPECT_DOUBLE_EQ(f_gaussscore(v.data(), 3, 70, 10), 50);
    // A narrower own curve of the same height lies under the reference everywhere.
    EXPECT_DOUBLE_EQ(f_gaussscore(v.data(), 3, 70, 20), 50);
}

TEST(VariabilityIndex, GaussScoreMovesAwayFromFiftyTowardsTheMeanSide) {
    const std::vector<double> v{60, 70, 80};
    EXPECT_GT(f_gaussscore(v.data(), 3, 70, 8), 50); // own curve slightly wider
    const double above = f_gaussscore(v.data(), 3, 70, 5);
    const double below = f_gaussscore(v.data(), 3, 75, 5);
    EXPECT_GT(above, 50);
    EXPECT_LE(above, 100);
    EXPECT_LT(below, 50);
    EXPECT_GE(below, 0);
}

TEST(VariabilityIndex, GaussScoreWithZeroDeviationIsZero) {
    const std::vector<double> flat{70, 70, 70};
    const std::vector<double> v{60, 70, 80};
    EXPECT_EQ(f_gaussscore(flat.data(), 3, 70, 20), 0);
    EXPECT_EQ(f_gaussscore(v.data(), 3, 70, 0), 0);
}

// --- Outlier filter and cleaning -------------------------------------------------------

std::vector<double> ClusterWith(double outlier) {
    std::vector<double> v;
    for (int r = 60; r <= 80; ++r)
        v.push_back(r);
    v.push_back(outlier);
    return v;
}

TEST(HistoZero, ZeroesIsolatedValueBeyondFiveEmptyBins) {
    std::vector<double> v = ClusterWith(120);
    const std::vector<double> before = v;
    f_histozero(v.data(), Count(v));
    EXPECT_EQ(v.back(), 0);
    EXPECT_EQ(std::vector<double>(v.begin(), v.end() - 1),
              std::vector<double>(before.begin(), before.end() - 1));
}

TEST(HistoZero, KeepsValueBehindFourEmptyBins) {
    std::vector<double> above = ClusterWith(85); // 81..84 empty
    f_histozero(above.data(), Count(above));
    EXPECT_EQ(above.back(), 85);
    std::vector<double> below = ClusterWith(55); // 56..59 empty
    f_histozero(below.data(), Count(below));
    EXPECT_EQ(below.back(), 55);
}

TEST(HistoZero, ZeroesValueBehindFiveEmptyBinsOnEitherSide) {
    std::vector<double> above = ClusterWith(86); // 81..85 empty
    f_histozero(above.data(), Count(above));
    EXPECT_EQ(above.back(), 0);
    std::vector<double> below = ClusterWith(54); // 55..59 empty
    f_histozero(below.data(), Count(below));
    EXPECT_EQ(below.back(), 0);
    EXPECT_EQ(below.front(), 60);
}

// Bin 0 never becomes the mode: a majority at the lowest integer loses to a smaller
// cluster five empty bins above it.
TEST(HistoZero, BinZeroIsNeverTheMode) {
    std::vector<double> v(30, 60);
    v.insert(v.end(), 3, 70);
    f_histozero(v.data(), Count(v));
    EXPECT_EQ(v.front(), 0);
    EXPECT_EQ(v.back(), 70);
}

TEST(HistoZero, LeavesSingleBinAndHugeSpanUnchanged) {
    std::vector<double> v{70.1, 70.5, 70.9};
    f_histozero(v.data(), Count(v));
    EXPECT_EQ(v, (std::vector<double>{70.1, 70.5, 70.9}));
    std::vector<double> huge{60, 61, 62, 1e9};
    f_histozero(huge.data(), Count(huge));
    EXPECT_EQ(huge, (std::vector<double>{60, 61, 62, 1e9}));
}

TEST(CleanRate, DropsLeadingZerosAndInterpolatesJumps) {
    const std::vector<double> rates{0, 0, 70, 72, 90, 71, 70, 69};
    std::vector<double> out(rates.size(), -1);
    ASSERT_EQ(f_cleanrate(out.data(), rates.data(), Count(rates)), 6);
    EXPECT_EQ(out[0], 70);
    EXPECT_EQ(out[1], 72);
    EXPECT_DOUBLE_EQ(out[2], 72 - 2.0 / 3);
    EXPECT_DOUBLE_EQ(out[3], 72 - 4.0 / 3);
    EXPECT_EQ(out[4], 70);
    EXPECT_EQ(out[5], 69);
}

TEST(CleanRate, JumpOfFifteenIsKeptAndSixteenReplaced) {
    std::vector<double> rates{70, 85, 72, 74, 76, 78, 80, 82, 84};
    std::vector<double> out(rates.size());
    ASSERT_EQ(f_cleanrate(out.data(), rates.data(), Count(rates)), 9);
    EXPECT_EQ(out[1], 85);
    rates[1] = 86;
    ASSERT_EQ(f_cleanrate(out.data(), rates.data(), Count(rates)), 9);
    EXPECT_EQ(out[1], 71);
}

std::vector<double> WithGap(int zeros) {
    std::vector<double> rates(20, 70);
    rates.insert(rates.end(), static_cast<size_t>(zeros), 0);
    for (int i = 0; i < 20; ++i)
        rates.push_back(72 + i % 2);
    return rates;
}

TEST(CleanRate, KeepsOnlyThePartAfterAGapOfTenOrMore) {
    const std::vector<double> rates = WithGap(12);
    std::vector<double> out(rates.size());
    ASSERT_EQ(f_cleanrate(out.data(), rates.data(), Count(rates)), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(out[static_cast<size_t>(i)], 72 + i % 2);

    const std::vector<double> ten = WithGap(10);
    EXPECT_EQ(f_cleanrate(out.data(), ten.data(), Count(ten)), 20);
}

TEST(CleanRate, InterpolatesAGapOfNine) {
    const std::vector<double> rates = WithGap(9);
    std::vector<double> out(rates.size());
    ASSERT_EQ(f_cleanrate(out.data(), rates.data(), Count(rates)), 49);
    EXPECT_DOUBLE_EQ(out[20], 70 + 2.0 * 1 / 10);
    EXPECT_DOUBLE_EQ(out[28], 70 + 2.0 * 9 / 10);
    EXPECT_EQ(out[29], 72);
}

TEST(CleanRate, NeedsMoreThanFourValuesAfterTheLeadingZeros) {
    std::vector<double> out(8);
    const std::vector<double> four{0, 0, 0, 70, 71, 0, 73};
    EXPECT_EQ(f_cleanrate(out.data(), four.data(), Count(four)), 0);
    const std::vector<double> five{0, 70, 71, 0, 73, 72};
    EXPECT_EQ(f_cleanrate(out.data(), five.data(), Count(five)), 5);
}

TEST(CleanRate, DropsTrailingZerosAndReturnsZeroWithoutRates) {
    std::vector<double> out(10);
    const std::vector<double> trailing{70, 71, 72, 71, 70, 0, 0};
    EXPECT_EQ(f_cleanrate(out.data(), trailing.data(), Count(trailing)), 5);
    const std::vector<double> zeros(10, 0);
    EXPECT_EQ(f_cleanrate(out.data(), zeros.data(), Count(zeros)), 0);
}

// --- Resampling --------------------------------------------------------------------------

TEST(Resample, SteadyRateGivesOneValuePerBeat) {
    const std::vector<double> rates(30, 60);
    std::vector<double> out(60, -1);
    ASSERT_EQ(f_resample(rates.data(), out.data(), 30), 30);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(out[static_cast<size_t>(i)], 60);
}

TEST(Resample, SplitsBeatsOverTheTimeGrid) {
    // T = 1.5 s, n = ceil(2·90/(60/0.75)) = 3 cells of 0.5 s.
    const std::vector<double> rates{60, 120};
    std::vector<double> out(4, -1);
    ASSERT_EQ(f_resample(rates.data(), out.data(), 2), 3);
    EXPECT_EQ(out[0], 60);
    EXPECT_EQ(out[1], 60);
    EXPECT_EQ(out[2], 120);
}

TEST(Resample, CellWithoutBeatEndTakesTheMeanOfTwoRates) {
    // T = 4 s, n = ceil(3·50/(60/(4/3))) = 4 cells of 1 s; the 2 s beat ends in cell 3.
    const std::vector<double> rates{60, 30, 60};
    std::vector<double> out(6, -1);
    ASSERT_EQ(f_resample(rates.data(), out.data(), 3), 4);
    EXPECT_EQ(std::vector<double>(out.begin(), out.begin() + 4),
              (std::vector<double>{60, 45, 30, 60}));
}

TEST(Resample, NeverWritesMoreThanTwiceTheCount) {
    // n would be ceil(5.0625) = 6 cells; the buffer holds 4.
    const std::vector<double> rates{30, 240};
    std::vector<double> out(6, -1);
    ASSERT_EQ(f_resample(rates.data(), out.data(), 2), 4);
    EXPECT_EQ(out[0], 30);
    EXPECT_EQ(out[1], 30);
    EXPECT_EQ(out[2], 30);
    EXPECT_EQ(out[3], 240);
    EXPECT_EQ(out[4], -1);
}

TEST(Resample, OutputStaysWithinTheInputRates) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> rate(45, 130);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<double> rates(static_cast<size_t>(5 + trial));
        for (double& r : rates)
            r = rate(random);
        std::vector<double> out(2 * rates.size());
        const int n = f_resample(rates.data(), out.data(), Count(rates));
        ASSERT_GE(n, Count(rates));
        ASSERT_LE(n, Count(out));
        const double lo = f_min(rates.data(), Count(rates));
        const double hi = f_max(rates.data(), Count(rates));
        for (int i = 0; i < n; ++i) {
            ASSERT_GE(out[static_cast<size_t>(i)], lo);
            ASSERT_LE(out[static_cast<size_t>(i)], hi);
        }
    }
}

// --- Padding and transform ---------------------------------------------------------------

TEST(Padding, PowerOfTwoIsCopied) {
    const std::vector<double> v{1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<double> out(16, -1);
    EXPECT_EQ(f_pad2(out.data(), v.data(), 8), 8);
    EXPECT_EQ(std::vector<double>(out.begin(), out.begin() + 8), v);
    EXPECT_EQ(out[8], -1);
}

TEST(Padding, InsertsMeansAfterEvenlySpacedPositions) {
    // L = 8, D = 2: means after positions floor(8/3) = 2 and floor(16/3) = 5.
    const std::vector<double> v{10, 20, 30, 40, 50, 60};
    std::vector<double> out(12, -1);
    ASSERT_EQ(f_pad2(out.data(), v.data(), 6), 8);
    EXPECT_EQ(std::vector<double>(out.begin(), out.begin() + 8),
              (std::vector<double>{10, 20, 30, 25, 40, 50, 45, 60}));
    EXPECT_EQ(out[8], -1);
}

TEST(Padding, UnpadDropsPositionsOfTheLongSeries) {
    std::vector<double> v{0, 1, 2, 3, 4, 5, 6, 7};
    f_unpad(2, v.data(), 8); // step 8/3: positions 2 and 5
    EXPECT_EQ(std::vector<double>(v.begin(), v.begin() + 6),
              (std::vector<double>{0, 1, 3, 4, 6, 7}));
    std::vector<double> same{1, 2, 3};
    f_unpad(3, same.data(), 3);
    f_unpad(0, same.data(), 3);
    EXPECT_EQ(same, (std::vector<double>{1, 2, 3}));
}

TEST(Transform, ConstantInputHasOnlyDirectComponent) {
    const std::vector<double> v(16, 3);
    std::vector<double> re(16), im(16);
    f_fft(v.data(), re.data(), im.data(), 16);
    EXPECT_EQ(re[0], 48);
    for (int k = 1; k < 16; ++k) {
        EXPECT_EQ(re[static_cast<size_t>(k)], 0);
        EXPECT_EQ(im[static_cast<size_t>(k)], 0);
    }
}

TEST(Transform, AlternatingInputLandsInTheMiddleBin) {
    std::vector<double> v(8);
    for (int n = 0; n < 8; ++n)
        v[static_cast<size_t>(n)] = n % 2 ? -1 : 1;
    std::vector<double> re(8), im(8);
    f_fft(v.data(), re.data(), im.data(), 8);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(re[static_cast<size_t>(k)], k == 4 ? 8 : 0) << k;
}

TEST(Transform, UsesTheTwiddleAngle3141) {
    // A unit impulse at n = 1 of four values: X = 1, w, -1, -w with w = e^(-i·3.141/2).
    const std::vector<double> v{0, 1, 0, 0};
    std::vector<double> re(4), im(4);
    f_fft(v.data(), re.data(), im.data(), 4);
    const double c = std::cos(3.141 / 2);
    const double s = std::sin(3.141 / 2);
    EXPECT_DOUBLE_EQ(re[0], 1);
    EXPECT_DOUBLE_EQ(re[1], c);
    EXPECT_DOUBLE_EQ(im[1], -s);
    EXPECT_DOUBLE_EQ(re[2], -1);
    EXPECT_DOUBLE_EQ(re[3], -c);
    EXPECT_DOUBLE_EQ(im[3], s);
}

TEST(Transform, SineInBinOneHasNegativeImaginaryPart) {
    constexpr int kN = 32;
    std::vector<double> v(kN);
    for (int n = 0; n < kN; ++n)
        v[static_cast<size_t>(n)] = std::sin(2 * std::numbers::pi * n / kN);
    std::vector<double> re(kN), im(kN);
    f_fft(v.data(), re.data(), im.data(), kN);
    // Exact: X[1] = -16i, X[31] = 16i, nothing else; the short twiddle angle leaks a little.
    EXPECT_NEAR(im[1], -16, 0.05);
    EXPECT_NEAR(im[31], 16, 0.05);
    for (int k = 2; k < kN - 1; ++k)
        EXPECT_NEAR(std::hypot(re[static_cast<size_t>(k)], im[static_cast<size_t>(k)]), 0, 0.05)
            << k;
}

TEST(Periodogram, PowerPerValueWithoutDirectComponent) {
    const std::vector<double> re{3, 1, 2, 0}, im{0, 1, 0, 2};
    std::vector<double> power(4, -1), frequencies(2, -1);
    ASSERT_EQ(f_periodogram(frequencies.data(), re.data(), 4, 2.0, im.data(), power.data()), 2);
    EXPECT_EQ(power, (std::vector<double>{0, 0.5, 1, 1}));
    EXPECT_EQ(frequencies, (std::vector<double>{0, 0.5}));
}

// --- Band powers -------------------------------------------------------------------------

// A tone keeps its frequency whatever the padding: 256 values take the unpadded path, the
// other lengths are stretched to the next power of two (150 -> 256 would move a tone to 59 %
// of its frequency if the padded spectrum were cut back to 150 positions).
TEST(BandPowers, TenthOfAHertzFallsInLf) {
    for (int count : {256, 180, 175, 150, 100}) {
        const std::vector<double> v = BeatTone(0.1, count);
        BandPower b;
        f_bandpower(v.data(), &b, count);
        EXPECT_GT(b.lf, 10 * (b.vlf + b.hf)) << count;
        EXPECT_GT(b.lfShare, 90) << count;
        EXPECT_DOUBLE_EQ(b.lfShare + b.hfShare, 100) << count;
        EXPECT_GE(b.total, b.vlf + b.lf + b.hf) << count;
    }
}

TEST(BandPowers, QuarterHertzFallsInHf) {
    for (int count : {256, 180, 175, 150, 100}) {
        const std::vector<double> v = BeatTone(0.25, count);
        BandPower b;
        f_bandpower(v.data(), &b, count);
        EXPECT_GT(b.hf, 10 * (b.vlf + b.lf)) << count;
        EXPECT_GT(b.hfShare, 90) << count;
    }
}

TEST(BandPowers, SlowWaveFallsInVlfAndFastWaveInNoBand) {
    const std::vector<double> slow = BeatTone(0.02, 256);
    BandPower b;
    f_bandpower(slow.data(), &b, Count(slow));
    EXPECT_GT(b.vlf, 10 * (b.lf + b.hf));

    const std::vector<double> fast = BeatTone(0.5, 256);
    f_bandpower(fast.data(), &b, Count(fast));
    EXPECT_GT(b.total, 10 * (b.vlf + b.lf + b.hf));
}

TEST(BandPowers, PowerIsInSquaredRateUnits) {
    // A cosine of amplitude A over a power-of-two count has a power of about A²·count/4 in
    // its bin (halved by the other side of the spectrum, which is not summed).
    const std::vector<double> v5 = BeatTone(0.1, 256, 5);
    const std::vector<double> v10 = BeatTone(0.1, 256, 10);
    BandPower b5, b10;
    f_bandpower(v5.data(), &b5, 256);
    f_bandpower(v10.data(), &b10, 256);
    EXPECT_NEAR(b10.total / b5.total, 4, 0.01);
    EXPECT_NEAR(b5.total, 25.0 * 256 / 4, 25.0 * 256 / 4 * 0.05);
}

TEST(BandPowers, ConstantSeriesHasNoPowerAndZeroShares) {
    const std::vector<double> v(100, 70);
    BandPower b;
    b.lfShare = -1;
    f_bandpower(v.data(), &b, Count(v));
    EXPECT_EQ(b.total, 0);
    EXPECT_EQ(b.lfShare, 0);
    EXPECT_EQ(b.hfShare, 0);
    f_bandpower(v.data(), &b, 0);
    EXPECT_EQ(b.total, 0);
}

// Series with missing beats, jumps and outliers through the whole rate chain; every buffer
// has exactly the size the routines document (the sanitizer builds check the bounds).
TEST(RateChain, RandomSeriesGiveFiniteResultsInsideTheirBuffers) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> rate(30, 240);
    std::uniform_int_distribution<int> kind(0, 9);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<double> rates(static_cast<size_t>(trial % 97 + 1));
        double level = rate(random);
        for (double& r : rates) {
            const int k = kind(random);
            r = k == 0 ? 0 : k == 1 ? rate(random) : level + (k - 5);
        }
        std::vector<double> cleaned(rates.size());
        const int c = f_cleanrate(cleaned.data(), rates.data(), Count(rates));
        ASSERT_GE(c, 0);
        ASSERT_LE(c, Count(rates));
        for (int i = 0; i < c; ++i)
            ASSERT_GT(cleaned[static_cast<size_t>(i)], 0);
        std::vector<double> resampled(2 * static_cast<size_t>(c));
        const int n = f_resample(cleaned.data(), resampled.data(), c);
        ASSERT_LE(n, 2 * c);
        BandPower b;
        f_bandpower(resampled.data(), &b, n);
        ASSERT_TRUE(std::isfinite(b.total) && std::isfinite(b.lfShare) && std::isfinite(b.hfShare));
        ASSERT_TRUE(std::isfinite(f_gaussscore(cleaned.data(), c, 78, 20)));
        ASSERT_TRUE(std::isfinite(f_diff2index(cleaned.data(), c)));
    }
}

// --- Extremum search ---------------------------------------------------------------------

TEST(ExtremumSearch, PeakNeedsFiveLowerValuesAndSixFollowing) {
    const std::vector<double> v{1, 5, 4, 3, 2, 1, 0, 0};
    EXPECT_EQ(FindPeak(0, v.data(), 8), 1);
    EXPECT_EQ(FindPeak(0, v.data(), 7), -1);
    EXPECT_EQ(FindPeak(2, v.data(), 8), -1); // nothing before the start is examined
}

TEST(ExtremumSearch, PeakMustBeStrictlyAbove) {
    const std::vector<double> v{5, 4, 3, 5, 2, 1, 0, 0, 0, 0};
    EXPECT_EQ(FindPeak(0, v.data(), 10), 3);
}

// The search skips indices that cannot qualify; on rough data with many ties it must still
// return what testing every index in turn returns.
TEST(ExtremumSearch, SkippingSearchMatchesTheIndexByIndexDefinition) {
    auto qualifies = [](const std::vector<double>& v, int k, int end, bool peak) {
        for (int j = 1; j <= 5; ++j) {
            if (peak ? !(v[k + j] < v[k]) : !(v[k + j] > v[k]))
                return false;
        }
        return k + 6 < end;
    };
    auto first = [&](const std::vector<double>& v, int start, int end, bool peak) {
        for (int k = std::max(start, 0); k < end - 1 && k + 6 < end; ++k) {
            if (qualifies(v, k, end, peak))
                return k;
        }
        return -1;
    };
    std::mt19937 random(7);
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<double> v(40);
        for (double& x : v)
            x = static_cast<double>(random() % 6);
        int end = 1 + static_cast<int>(random() % 40);
        int start = static_cast<int>(random() % 40) - 2;
        ASSERT_EQ(FindPeak(start, v.data(), end), first(v, start, end, true)) << trial;
        ASSERT_EQ(FindTrough(start, v.data(), end), first(v, start, end, false)) << trial;
    }
}

TEST(ExtremumSearch, TroughMirrorsPeak) {
    const std::vector<double> v{9, 1, 2, 3, 4, 5, 6, 6};
    EXPECT_EQ(FindTrough(0, v.data(), 8), 1);
    EXPECT_EQ(FindTrough(0, v.data(), 7), -1);
    EXPECT_EQ(FindTrough(-3, v.data(), 8), 1);
}

} // namespace
