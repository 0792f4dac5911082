#pragma once
// The three body-measure calculators beside the stress test: standard weight and obesity,
// body mass index and its category, waist-hip ratio. Heights in cm, weights in kg; waist and
// hip in any one unit. Each result is empty (nullopt) unless every input is above 0; the
// standard weight also needs a height above 100 cm.

#include <optional>

struct StandardWeight {
    double weightKg;       // h - 100 below 150 cm, (h - 150)·0.5 + 50 below 160, (h - 100)·0.9
    double obesityPercent; // (w - standard)·100 / standard
};
std::optional<StandardWeight> ComputeStandardWeight(double heightCm, double weightKg);

// w / (h/100)².
std::optional<double> ComputeBodyMassIndex(double heightCm, double weightKg);
// Slot of an index on the five-slot scale: below 18.5 -> 0, below 25 -> 1, below 30 -> 2,
// below 35 -> 3, from 35 -> 4.
int BodyMassCategory(double bodyMassIndex);
inline constexpr int kBodyMassCategories = 5;

std::optional<double> ComputeWaistHipRatio(double waist, double hip);
