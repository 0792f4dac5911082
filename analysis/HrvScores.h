#pragma once
// Score formulas and norm tables of the HRV analysis (CHrv::AnalyseHrv), for a person of a
// given age and sex (1 male, anything else female). Powers in (beats per minute)^2 of the
// resampled rate series; scores on 0..100 unless stated.

// Row of the norm tables: ages up to 20 -> 0, 21-30 -> 1, ..., 61 and over -> 5; age 0 -> 2.
int HrvAgeGroup(int age);

struct NormBounds {
    double lower;
    double upper;
};

// One row of the norm tables: natural logarithms of the total, VLF, LF and HF power and
// ln LF / ln HF; mean rate (bpm), SDNN and RMSSD (ms), triangular index, pNN50 (%).
struct HrvNormRow {
    NormBounds lnTotal, lnVlf, lnLf, lnHf, lnRatio;
    NormBounds rate, sdnn, rmssd, triangular, pnn50;
};
inline constexpr int kHrvNormRows = 6;

// The row of a group, clamped to 0..5.
const HrvNormRow& HrvNorms(int group);

// Reference mean rate in beats per minute and reference variability in milliseconds.
double RateNorm(int sex, int age);
double SdNorm(int sex, int age);

// 50 at ln power 5.83 (LF) / 5.33 (HF), 10 points per 0.57 / 0.62 of ln power, limited to
// 0..100 (a power of 0 gives 0).
double LfScore(double lfPower);
double HfScore(double hfPower);

// 100 at an HF share of 60 percent, 2 points less per percent away from it (may be negative).
double HfBalanceScore(double hfShare);

// Stress component G of F = sqrt(distribution score · LF score).
double StressG(double f);

// Norm class of a value: 0 below lower, 2 above upper, else 1; a value that is not a number
// (the ratio of two logarithms of zero power) is 0.
int NormClass(double value, double lower, double upper);

// Autonomic-balance type 1..9 from the LF and HF classes (0..2 each); 0 for other classes.
int AnsType(int lfClass, int hfClass);
