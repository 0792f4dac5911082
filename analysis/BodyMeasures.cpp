#include "analysis/BodyMeasures.h"

std::optional<StandardWeight> ComputeStandardWeight(double heightCm, double weightKg) {
    if (!(heightCm > 0 && weightKg > 0))
        return std::nullopt;
    double standard = 0;
    if (heightCm < 150)
        standard = heightCm - 100;
    else if (heightCm < 160)
        standard = (heightCm - 150) * 0.5 + 50;
    else
        standard = (heightCm - 100) * 0.9;
    if (standard <= 0) // 100 cm and below: no standard weight to compare with
        return std::nullopt;
    return StandardWeight{standard, (weightKg - standard) * 100 / standard};
}

std::optional<double> ComputeBodyMassIndex(double heightCm, double weightKg) {
    if (!(heightCm > 0 && weightKg > 0))
        return std::nullopt;
    const double metres = heightCm / 100;
    return weightKg / (metres * metres);
}

int BodyMassCategory(double bodyMassIndex) {
    constexpr double kUpperBounds[] = {18.5, 25, 30, 35};
    int category = 0;
    for (double bound : kUpperBounds) {
        if (bodyMassIndex < bound)
            return category;
        ++category;
    }
    return category;
}

std::optional<double> ComputeWaistHipRatio(double waist, double hip) {
    if (!(waist > 0 && hip > 0))
        return std::nullopt;
    return waist / hip;
}
