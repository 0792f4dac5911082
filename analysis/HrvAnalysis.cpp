// The HRV analysis at the end of a stress test or of a replayed rate recording: statistics,
// spectrum, time-domain indices, scores, stress score and balance type of CHrv's rate queue.

#include "analysis/Hrv.h"
#include "analysis/HrvScores.h"
#include "analysis/proc.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Per age group: ln total, ln VLF, ln LF, ln HF, ln LF / ln HF; mean rate (bpm), SDNN (ms),
// RMSSD (ms), triangular index, pNN50 (%).
// clang-format off
constexpr HrvNormRow kNorms[kHrvNormRows] = {
    {{7.57, 9.47}, {7.04, 8.98}, {6.24, 8.3},  {4.56, 7.79}, {0.2, 1.99},
     {64.01, 99.99}, {42.42, 112.17}, {21, 96}, {8, 50}, {7.5, 15}},
    {{7.57, 9.47}, {7.04, 8.98}, {6.24, 8.3},  {4.56, 7.79}, {0.2, 1.99},
     {62.52, 98.5},  {36.79, 106.54}, {19, 85}, {8, 50}, {7.5, 15}},
    {{7.36, 9.27}, {6.84, 8.77}, {6.08, 8.14}, {4.19, 7.42}, {0.41, 2.21},
     {61.03, 97.01}, {31.16, 100.91}, {16, 74}, {8, 50}, {7.5, 15}},
    {{7.16, 9.07}, {6.64, 8.57}, {5.93, 7.99}, {3.82, 7.05}, {0.63, 2.42},
     {59.54, 95.53}, {25.53, 95.28},  {15, 65}, {8, 50}, {7.5, 15}},
    {{6.96, 8.87}, {6.43, 8.37}, {5.77, 7.83}, {3.45, 6.68}, {0.84, 2.64},
     {58.06, 94.04}, {19.9, 89.65},   {13, 57}, {8, 50}, {7.5, 15}},
    {{6.96, 8.87}, {6.43, 8.37}, {5.77, 7.83}, {3.45, 6.68}, {0.84, 2.64},
     {56.57, 92.55}, {14.26, 84.01},  {11, 51}, {8, 50}, {7.5, 15}},
};
// clang-format on

int Classify(double value, NormBounds bounds) {
    return NormClass(value, bounds.lower, bounds.upper);
}

} // namespace

const HrvNormRow& HrvNorms(int group) {
    return kNorms[std::clamp(group, 0, kHrvNormRows - 1)];
}

int HrvAgeGroup(int age) {
    if (age == 0)
        return 2;
    return std::clamp((age - 1) / 10 - 1, 0, 5);
}

double RateNorm(int sex, int age) {
    return sex == 1 ? 78.2 - 0.0062 * age : 86.4 - 0.16 * age;
}

double SdNorm(int sex, int age) {
    return sex == 1 ? 96.5 - 0.73 * age : 73.2 - 0.41 * age;
}

double LfScore(double lfPower) {
    return std::clamp((std::log(lfPower) - 5.83) / 0.57 * 10 + 50, 0.0, 100.0);
}

double HfScore(double hfPower) {
    return std::clamp((std::log(hfPower) - 5.33) / 0.62 * 10 + 50, 0.0, 100.0);
}

double HfBalanceScore(double hfShare) {
    return (1 - 2 * std::fabs(hfShare - 60) / 100) * 100;
}

double StressG(double f) {
    if (f < 50)
        return 100 - f;
    if (f < 55)
        return f - 50 + 40;
    if (f < 60)
        return f - 50 + 20;
    return f - 50;
}

int NormClass(double value, double lower, double upper) {
    if (value > upper)
        return 2;
    if (value >= lower)
        return 1;
    return 0; // below, or not a number
}

int AnsType(int lfClass, int hfClass) {
    static constexpr int kTypes[3][3] = {{7, 8, 1}, {6, 9, 2}, {5, 4, 3}};
    if (lfClass < 0 || lfClass > 2 || hfClass < 0 || hfClass > 2)
        return 0;
    return kTypes[lfClass][hfClass];
}

HrvStatus CHrv::AnalyseHrv(int sex, int age) {
    std::lock_guard<std::mutex> guard(m_lock);
    HrvResult& r = m_result;
    r = HrvResult{};
    r.age = age;
    r.sex = sex;
    r.rateNormSd = 20.0;
    r.sdNormRange = 32.0;
    r.rateNorm = RateNorm(sex, age);
    r.sdNorm = SdNorm(sex, age);

    // More than 180 s of valid beats: the whole queue. Otherwise its first half, followed by
    // the first n - n/2 rates again.
    const int n = m_rates.Count();
    const double* rates = m_rates.Data();
    std::vector<double> series(rates, rates + n);
    if (f_beattime(rates, n) <= 180)
        std::copy(rates, rates + (n - n / 2), series.begin() + n / 2);

    std::vector<double> cleaned(static_cast<size_t>(n));
    const int c = f_cleanrate(cleaned.data(), series.data(), n);
    m_resampled.Clear();
    for (int i = 0; i < c; ++i)
        m_resampled.Append(cleaned[static_cast<size_t>(i)]);
    if (c <= 1)
        return HrvStatus::TooShort;
    const double* v = cleaned.data();

    std::vector<double> resampled(2 * static_cast<size_t>(c));
    const int resampledCount = f_resample(v, resampled.data(), c);
    r.meanRate = f_mean(v, c);
    r.sdRate = f_stddev(v, c);
    BandPower bands;
    f_bandpower(resampled.data(), &bands, resampledCount);
    r.totalPower = bands.total;
    r.vlfPower = bands.vlf;
    r.lfPower = bands.lf;
    r.hfPower = bands.hf;
    r.lfShare = bands.lfShare;
    r.hfShare = bands.hfShare;

    // Quarters; with two values the third and fourth lie past the end and count as 0.
    const int q = static_cast<int>(f_nearest(c * 0.25));
    auto sd = [&](int from, int to) {
        from = std::min(from, c);
        to = std::min(to, c);
        return f_stddev(v + from, to - from);
    };
    r.quarterSd = (sd(q, 2 * q) + sd(0, q) + sd(2 * q, 3 * q) + sd(3 * q, c)) * 0.25;
    r.sdNormRate = r.sdNorm * 60 / 1000;
    r.sdNormLow = (r.sdNorm - r.sdNormRange) * 60 / 1000;
    r.sdNormHigh = (r.sdNorm + r.sdNormRange) * 60 / 1000;
    r.sdNormHalf = (r.sdNormHigh - r.sdNormLow) / 2;
    r.variabilityScore = (r.quarterSd - r.sdNormRate) * 10 / r.sdNormHalf + 50;
    r.diff2Index = f_diff2index(v, c);

    // A band power of 0 has the logarithm -infinity: its score is 0, its class 0.
    const double lnTotal = std::log(r.totalPower);
    const double lnVlf = std::log(r.vlfPower);
    const double lnLf = std::log(r.lfPower);
    const double lnHf = std::log(r.hfPower);
    r.lfScore = LfScore(r.lfPower);
    r.hfScore = HfScore(r.hfPower);
    r.hfBalanceScore = HfBalanceScore(r.hfShare);
    r.diff2Score = r.diff2Index;
    r.distributionScore = f_gaussscore(v, c, r.rateNorm, r.rateNormSd);
    r.geoVariability = std::sqrt(r.variabilityScore * r.diff2Index);
    r.combinedScore = std::cbrt(r.distributionScore * r.lfScore * (100 - r.geoVariability));
    r.upDownIndex = f_updown(v, c);
    r.regularityScore = 100 - (r.diff2Score + r.geoVariability) / 2;

    const double f = std::sqrt(r.distributionScore * r.lfScore);
    r.stressScore =
        0.5 * (100 - (100 - r.regularityScore + (r.diff2Score + r.geoVariability)) / 3) +
        0.5 * StressG(f);
    r.stressScoreCopy = r.stressScore;

    const HrvNormRow& norms = HrvNorms(HrvAgeGroup(age));
    r.totalClass = Classify(lnTotal, norms.lnTotal);
    r.vlfClass = Classify(lnVlf, norms.lnVlf);
    r.lfClass = Classify(lnLf, norms.lnLf);
    r.hfClass = Classify(lnHf, norms.lnHf);
    r.ratioClass = Classify(lnLf / lnHf, norms.lnRatio);

    // Beat intervals in ms. The triangular index uses bins of about 10 ms; a range below
    // 9.5 ms gives no bin and an index of 0.
    std::vector<double> rr(static_cast<size_t>(c));
    for (int k = 0; k < c; ++k)
        rr[static_cast<size_t>(k)] = 60000 / v[k];
    const int bins = static_cast<int>(f_nearest(f_max(rr.data(), c) - f_min(rr.data(), c)) / 10);
    if (bins > 0) {
        std::vector<double> histogram(static_cast<size_t>(bins));
        f_histogram(histogram.data(), bins, rr.data(), c);
        r.triangularIndex = c / f_max(histogram.data(), bins);
    }
    r.meanRr = f_mean(rr.data(), c);
    r.sdnn = f_stddev(rr.data(), c);

    // Successive differences: c values, the first 0.
    std::vector<double> diffs(static_cast<size_t>(c));
    int nn50 = 0;
    double squares = 0;
    for (int k = 0; k < c; ++k) {
        const double d =
            k > 0 ? std::fabs(rr[static_cast<size_t>(k - 1)] - rr[static_cast<size_t>(k)]) : 0;
        diffs[static_cast<size_t>(k)] = d;
        if (d >= 50)
            ++nn50;
        squares += d * d;
    }
    r.pnn50 = nn50 * 100 / c;
    r.rmssd = std::sqrt(squares / c);
    r.sdsd = f_stddev(diffs.data(), c);

    r.rateClass = Classify(r.meanRate, norms.rate);
    r.sdnnClass = Classify(r.sdnn, norms.sdnn);
    r.rmssdClass = Classify(r.rmssd, norms.rmssd);
    r.triangularClass = Classify(r.triangularIndex, norms.triangular);
    r.pnn50Class = Classify(r.pnn50, norms.pnn50);
    r.ansType = AnsType(r.lfClass, r.hfClass);
    return HrvStatus::Ok;
}
