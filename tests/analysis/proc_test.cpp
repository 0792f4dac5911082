#include "analysis/proc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

using Values = std::vector<double>;

int Count(const Values& v) {
    return static_cast<int>(v.size());
}

// One value per beat at a mean of 70 bpm with a cosine of the given frequency in Hz (the
// series' sampling rate is 70/60 values per second).
Values BeatTone(double hz, int count, double amplitude = 5) {
    Values values(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        values[static_cast<size_t>(k)] =
            70 + amplitude * std::cos(2 * std::numbers::pi * hz * k / (70.0 / 60));
    return values;
}

// --- Statistics and variability indices -----------------------------------------------

TEST(Statistics, NearestRoundsHalvesAwayFromZero) {
    const std::pair<double, double> cases[] = {
        {0.5, 1}, {-0.5, -1}, {1.49, 1}, {2.5, 3}, {-2.5, -3}};
    for (auto [x, expected] : cases)
        EXPECT_EQ(f_nearest(x), expected) << x;
}

TEST(Statistics, StddevHistogramAndBeatTime) {
    const Values v{2, 4, 4, 4, 5, 5, 7, 9}; // squared deviations sum to 32
    EXPECT_DOUBLE_EQ(f_stddev(v.data(), Count(v)), std::sqrt(32.0 / 7));
    EXPECT_EQ(f_stddev(v.data(), 1), 0);

    // bin = floor(2·(v - 10)/10): the minimum in the first bin, the maximum in the last.
    const Values spread{10, 11, 14.9, 15, 20};
    double bins[3] = {7, 7, 7};
    f_histogram(bins, 3, spread.data(), Count(spread));
    EXPECT_EQ(Values(bins, bins + 3), (Values{3, 1, 1}));
    const Values equal{70, 70, 70};
    f_histogram(bins, 2, equal.data(), Count(equal));
    EXPECT_EQ(Values(bins, bins + 3), (Values{0, 0, 1})); // both bins cleared, nothing counted

    const Values rates{60, 0, 29.9, 240.1, 120, 30, 240}; // only 30..240 count
    EXPECT_DOUBLE_EQ(f_beattime(rates.data(), Count(rates)), 1 + 0.5 + 2 + 0.25);
}

TEST(VariabilityIndex, UpDownBalancesRisesAgainstFalls) {
    const std::pair<Values, double> cases[] = {
        {{60, 62, 61, 63}, 0},      // two rises, one fall
        {{60, 62, 62, 61, 61}, 50}, // balanced; equal neighbours count in neither
        {{70, 69, 68, 69}, 75},     // one rise, two falls
        {{60, 61, 61, 62}, 0}       // no fall
    };
    for (const auto& [v, expected] : cases)
        EXPECT_EQ(f_updown(v.data(), Count(v)), expected) << v[0] << "," << v[1] << ",...";
    const Values thirds{70, 69, 68, 69, 68};
    EXPECT_DOUBLE_EQ(f_updown(thirds.data(), Count(thirds)), 100 - 50.0 / 3);
}

TEST(VariabilityIndex, Diff2IndexScalesSecondDifferenceDeviationBy12) {
    const std::pair<Values, double> cases[] = {
        {{60, 62, 64, 66, 68, 70}, 0}, // straight line
        {{70, 70, 64, 58, 58}, 50},    // second differences -6, 0, 6: deviation 6
        {{70, 70, 58, 46, 46}, 100},   // deviation 12
        {{70, 70, 46, 22, 22}, 100}    // deviation 24, capped
    };
    for (const auto& [v, expected] : cases)
        EXPECT_DOUBLE_EQ(f_diff2index(v.data(), Count(v)), expected) << v[2];
}

TEST(VariabilityIndex, GaussScoreComparesTheCurveWithTheReference) {
    const Values v{60, 70, 80}; // mean 70, deviation 10
    EXPECT_DOUBLE_EQ(f_gaussscore(v.data(), 3, 70, 10), 50);
    // A narrower own curve of the same height lies under the reference everywhere.
    EXPECT_DOUBLE_EQ(f_gaussscore(v.data(), 3, 70, 20), 50);
    EXPECT_GT(f_gaussscore(v.data(), 3, 70, 8), 50); // own curve slightly wider
    const double above = f_gaussscore(v.data(), 3, 70, 5);
    const double below = f_gaussscore(v.data(), 3, 75, 5);
    EXPECT_GT(above, 50);
    EXPECT_LE(above, 100);
    EXPECT_LT(below, 50);
    EXPECT_GE(below, 0);

    const Values flat{70, 70, 70};
    EXPECT_EQ(f_gaussscore(flat.data(), 3, 70, 20), 0);
    EXPECT_EQ(f_gaussscore(v.data(), 3, 70, 0), 0);
}

// --- Outlier filter and cleaning -------------------------------------------------------

// The rates 60..80 and one more value; a value five or more empty bins away is zeroed.
TEST(HistoZero, ZeroesOnlyValuesBeyondFiveEmptyBins) {
    const std::pair<double, double> cases[] = {
        {120, 0}, {85, 85} /* 81..84 empty */, {55, 55}, {86, 0} /* 81..85 empty */, {54, 0}};
    for (auto [outlier, expected] : cases) {
        Values v;
        for (int r = 60; r <= 80; ++r)
            v.push_back(r);
        const Values cluster = v;
        v.push_back(outlier);
        f_histozero(v.data(), Count(v));
        EXPECT_EQ(v.back(), expected) << outlier;
        EXPECT_EQ(Values(v.begin(), v.end() - 1), cluster) << outlier;
    }
}

TEST(HistoZero, BinZeroIsNeverTheModeAndDegenerateSpansStay) {
    // A majority at the lowest integer loses to a smaller cluster five empty bins above it.
    Values v(30, 60);
    v.insert(v.end(), 3, 70);
    f_histozero(v.data(), Count(v));
    EXPECT_EQ(v.front(), 0);
    EXPECT_EQ(v.back(), 70);

    for (const Values& same : {Values{70.1, 70.5, 70.9}, Values{60, 61, 62, 1e9}}) {
        Values copy = same;
        f_histozero(copy.data(), Count(copy));
        EXPECT_EQ(copy, same);
    }
}

TEST(CleanRate, DropsLeadingZerosAndInterpolatesJumps) {
    const Values rates{0, 0, 70, 72, 90, 71, 70, 69};
    Values out(rates.size(), -1);
    ASSERT_EQ(f_cleanrate(out.data(), rates.data(), Count(rates)), 6);
    EXPECT_EQ(out[0], 70);
    EXPECT_EQ(out[1], 72);
    EXPECT_DOUBLE_EQ(out[2], 72 - 2.0 / 3);
    EXPECT_DOUBLE_EQ(out[3], 72 - 4.0 / 3);
    EXPECT_EQ(out[4], 70);
    EXPECT_EQ(out[5], 69);

    Values jump{70, 85, 72, 74, 76, 78, 80, 82, 84};
    out.assign(jump.size(), -1);
    ASSERT_EQ(f_cleanrate(out.data(), jump.data(), Count(jump)), 9);
    EXPECT_EQ(out[1], 85); // a jump of 15 is kept
    jump[1] = 86;
    ASSERT_EQ(f_cleanrate(out.data(), jump.data(), Count(jump)), 9);
    EXPECT_EQ(out[1], 71); // one of 16 is replaced
}

Values WithGap(int zeros) {
    Values rates(20, 70);
    rates.insert(rates.end(), static_cast<size_t>(zeros), 0);
    for (int i = 0; i < 20; ++i)
        rates.push_back(72 + i % 2);
    return rates;
}

TEST(CleanRate, KeepsOnlyThePartAfterAGapOfTenOrMoreAndBridgesNine) {
    const Values twelve = WithGap(12);
    Values out(twelve.size());
    ASSERT_EQ(f_cleanrate(out.data(), twelve.data(), Count(twelve)), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(out[static_cast<size_t>(i)], 72 + i % 2);
    const Values ten = WithGap(10);
    EXPECT_EQ(f_cleanrate(out.data(), ten.data(), Count(ten)), 20);

    const Values nine = WithGap(9);
    ASSERT_EQ(f_cleanrate(out.data(), nine.data(), Count(nine)), 49);
    EXPECT_DOUBLE_EQ(out[20], 70 + 2.0 * 1 / 10);
    EXPECT_DOUBLE_EQ(out[28], 70 + 2.0 * 9 / 10);
    EXPECT_EQ(out[29], 72);
}

TEST(CleanRate, CountsOfShortAndEmptySeries) {
    const std::pair<Values, int> cases[] = {
        {{0, 0, 0, 70, 71, 0, 73}, 0}, // four values after the leading zeros are too few
        {{0, 70, 71, 0, 73, 72}, 5},
        {{70, 71, 72, 71, 70, 0, 0}, 5}, // trailing zeros dropped
        {Values(10, 0), 0}};
    Values out(10);
    for (const auto& [rates, expected] : cases)
        EXPECT_EQ(f_cleanrate(out.data(), rates.data(), Count(rates)), expected) << rates.size();
}

// --- Resampling, padding and transform --------------------------------------------------

TEST(Resample, SplitsBeatsOverTheTimeGridWithinTwiceTheCount) {
    const std::pair<Values, Values> cases[] = {
        {Values(30, 60), Values(30, 60)}, // one value per beat
        // T = 1.5 s, n = ceil(2·90/(60/0.75)) = 3 cells of 0.5 s.
        {{60, 120}, {60, 60, 120}},
        // T = 4 s, 4 cells of 1 s; no beat ends in cell 1: the mean of two rates.
        {{60, 30, 60}, {60, 45, 30, 60}},
        // n would be ceil(5.0625) = 6 cells; the buffer holds 4.
        {{30, 240}, {30, 30, 30, 240}}};
    for (const auto& [rates, expected] : cases) {
        Values out(2 * rates.size() + 2, -1);
        ASSERT_EQ(f_resample(rates.data(), out.data(), Count(rates)), Count(expected)) << rates[1];
        EXPECT_EQ(Values(out.begin(), out.begin() + Count(expected)), expected) << rates[1];
        EXPECT_EQ(out[2 * rates.size()], -1) << rates[1];
    }
}

TEST(Resample, OutputStaysWithinTheInputRates) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> rate(45, 130);
    for (int trial = 0; trial < 200; ++trial) {
        Values rates(static_cast<size_t>(5 + trial));
        for (double& r : rates)
            r = rate(random);
        Values out(2 * rates.size());
        const int n = f_resample(rates.data(), out.data(), Count(rates));
        ASSERT_GE(n, Count(rates));
        ASSERT_LE(n, Count(out));
        const auto [lo, hi] = std::minmax_element(rates.begin(), rates.end());
        for (int i = 0; i < n; ++i) {
            ASSERT_GE(out[static_cast<size_t>(i)], *lo);
            ASSERT_LE(out[static_cast<size_t>(i)], *hi);
        }
    }
}

TEST(Padding, StretchesToAPowerOfTwoAndUnpadsBack) {
    const Values eight{1, 2, 3, 4, 5, 6, 7, 8};
    Values out(16, -1);
    EXPECT_EQ(f_pad2(out.data(), eight.data(), 8), 8);
    EXPECT_EQ(Values(out.begin(), out.begin() + 9), (Values{1, 2, 3, 4, 5, 6, 7, 8, -1}));

    // L = 8, D = 2: means after positions floor(8/3) = 2 and floor(16/3) = 5.
    const Values six{10, 20, 30, 40, 50, 60};
    out.assign(12, -1);
    ASSERT_EQ(f_pad2(out.data(), six.data(), 6), 8);
    EXPECT_EQ(Values(out.begin(), out.begin() + 9), (Values{10, 20, 30, 25, 40, 50, 45, 60, -1}));

    Values v{0, 1, 2, 3, 4, 5, 6, 7};
    f_unpad(2, v.data(), 8); // step 8/3: positions 2 and 5
    EXPECT_EQ(Values(v.begin(), v.begin() + 6), (Values{0, 1, 3, 4, 6, 7}));
    Values same{1, 2, 3};
    f_unpad(3, same.data(), 3);
    f_unpad(0, same.data(), 3);
    EXPECT_EQ(same, (Values{1, 2, 3}));
}

TEST(Transform, ConstantAndAlternatingInputsFillOneBinExactly) {
    Values constant(16, 3), alternating(8);
    for (int n = 0; n < 8; ++n)
        alternating[static_cast<size_t>(n)] = n % 2 ? -1 : 1;
    for (const auto& [v, bin, value] : {std::tuple{constant, 0, 48.0}, {alternating, 4, 8.0}}) {
        Values re(v.size()), im(v.size());
        f_fft(v.data(), re.data(), im.data(), Count(v));
        for (int k = 0; k < Count(v); ++k) {
            EXPECT_EQ(re[static_cast<size_t>(k)], k == bin ? value : 0) << v.size() << ":" << k;
            EXPECT_EQ(im[static_cast<size_t>(k)], 0) << v.size() << ":" << k;
        }
    }
}

TEST(Transform, UsesTheTwiddleAngle3141) {
    // A unit impulse at n = 1 of four values: X = 1, w, -1, -w with w = e^(-i·3.141/2).
    const Values v{0, 1, 0, 0};
    Values re(4), im(4);
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
    Values v(kN);
    for (int n = 0; n < kN; ++n)
        v[static_cast<size_t>(n)] = std::sin(2 * std::numbers::pi * n / kN);
    Values re(kN), im(kN);
    f_fft(v.data(), re.data(), im.data(), kN);
    // Exact: X[1] = -16i, X[31] = 16i, nothing else; the short twiddle angle leaks a little.
    EXPECT_NEAR(im[1], -16, 0.05);
    EXPECT_NEAR(im[31], 16, 0.05);
    for (int k = 2; k < kN - 1; ++k)
        EXPECT_NEAR(std::hypot(re[static_cast<size_t>(k)], im[static_cast<size_t>(k)]), 0, 0.05)
            << k;
}

TEST(Periodogram, PowerPerValueWithoutDirectComponent) {
    const Values re{3, 1, 2, 0}, im{0, 1, 0, 2};
    Values power(4, -1), frequencies(2, -1);
    ASSERT_EQ(f_periodogram(frequencies.data(), re.data(), 4, 2.0, im.data(), power.data()), 2);
    EXPECT_EQ(power, (Values{0, 0.5, 1, 1}));
    EXPECT_EQ(frequencies, (Values{0, 0.5}));
}

// --- Band powers -------------------------------------------------------------------------

// A tone keeps its frequency whatever the padding: 256 values take the unpadded path, the
// other lengths are stretched to the next power of two (150 -> 256 would move a tone to 59 %
// of its frequency if the padded spectrum were cut back to 150 positions).
TEST(BandPowers, TenthOfAHertzFallsInLfAndQuarterHertzInHf) {
    for (int count : {256, 180, 175, 150, 100}) {
        const Values slow = BeatTone(0.1, count);
        BandPower b;
        f_bandpower(slow.data(), &b, count);
        EXPECT_GT(b.lf, 10 * (b.vlf + b.hf)) << count;
        EXPECT_GT(b.lfShare, 90) << count;
        EXPECT_DOUBLE_EQ(b.lfShare + b.hfShare, 100) << count;
        EXPECT_GE(b.total, b.vlf + b.lf + b.hf) << count;

        const Values fast = BeatTone(0.25, count);
        f_bandpower(fast.data(), &b, count);
        EXPECT_GT(b.hf, 10 * (b.vlf + b.lf)) << count;
        EXPECT_GT(b.hfShare, 90) << count;
    }
}

TEST(BandPowers, SlowWaveFallsInVlfAndFastWaveInNoBand) {
    const Values slow = BeatTone(0.02, 256);
    BandPower b;
    f_bandpower(slow.data(), &b, Count(slow));
    EXPECT_GT(b.vlf, 10 * (b.lf + b.hf));

    const Values fast = BeatTone(0.5, 256);
    f_bandpower(fast.data(), &b, Count(fast));
    EXPECT_GT(b.total, 10 * (b.vlf + b.lf + b.hf));
}

TEST(BandPowers, PowerIsInSquaredRateUnitsAndZeroForAConstant) {
    // A cosine of amplitude A over a power-of-two count has a power of about A²·count/4 in
    // its bin (halved by the other side of the spectrum, which is not summed).
    const Values v5 = BeatTone(0.1, 256, 5);
    const Values v10 = BeatTone(0.1, 256, 10);
    BandPower b5, b10;
    f_bandpower(v5.data(), &b5, 256);
    f_bandpower(v10.data(), &b10, 256);
    EXPECT_NEAR(b10.total / b5.total, 4, 0.01);
    EXPECT_NEAR(b5.total, 25.0 * 256 / 4, 25.0 * 256 / 4 * 0.05);

    const Values constant(100, 70);
    BandPower b;
    b.lfShare = -1;
    f_bandpower(constant.data(), &b, Count(constant));
    EXPECT_EQ(b.total, 0);
    EXPECT_EQ(b.lfShare, 0);
    EXPECT_EQ(b.hfShare, 0);
    f_bandpower(v5.data(), &b, 0);
    EXPECT_EQ(b.total, 0);
}

// Series with missing beats, jumps and outliers through the whole rate chain; every buffer
// has exactly the size the routines document (the sanitizer builds check the bounds).
TEST(RateChain, RandomSeriesGiveFiniteResultsInsideTheirBuffers) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> rate(30, 240);
    std::uniform_int_distribution<int> kind(0, 9);
    for (int trial = 0; trial < 300; ++trial) {
        Values rates(static_cast<size_t>(trial % 97 + 1));
        double level = rate(random);
        for (double& r : rates) {
            const int k = kind(random);
            r = k == 0 ? 0 : k == 1 ? rate(random) : level + (k - 5);
        }
        Values cleaned(rates.size());
        const int c = f_cleanrate(cleaned.data(), rates.data(), Count(rates));
        ASSERT_GE(c, 0);
        ASSERT_LE(c, Count(rates));
        for (int i = 0; i < c; ++i)
            ASSERT_GT(cleaned[static_cast<size_t>(i)], 0);
        Values resampled(2 * static_cast<size_t>(c));
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
    const Values v{1, 5, 4, 3, 2, 1, 0, 0};
    EXPECT_EQ(FindPeak(0, v.data(), 8), 1);
    EXPECT_EQ(FindPeak(0, v.data(), 7), -1);
    EXPECT_EQ(FindPeak(2, v.data(), 8), -1); // nothing before the start is examined
}

// The search skips indices that cannot qualify; on rough data with many ties and negative
// starts it must still return what testing every index in turn returns.
TEST(ExtremumSearch, SkippingSearchMatchesTheIndexByIndexDefinition) {
    auto first = [](const Values& v, int start, int end, bool peak) {
        for (int k = std::max(start, 0); k + 6 < end; ++k) {
            bool qualifies = true;
            for (int j = 1; j <= 5; ++j)
                qualifies = qualifies && (peak ? v[k + j] < v[k] : v[k + j] > v[k]);
            if (qualifies)
                return k;
        }
        return -1;
    };
    std::mt19937 random(7);
    for (int trial = 0; trial < 2000; ++trial) {
        Values v(40);
        for (double& x : v)
            x = static_cast<double>(random() % 6);
        int end = 1 + static_cast<int>(random() % 40);
        int start = static_cast<int>(random() % 40) - 2;
        ASSERT_EQ(FindPeak(start, v.data(), end), first(v, start, end, true)) << trial;
        ASSERT_EQ(FindTrough(start, v.data(), end), first(v, start, end, false)) << trial;
    }
}

} // namespace
