#pragma once
// Raw sensor samples of a perfectly regular pulse, as a transmission finger clip delivers
// them (more blood, lower value, around 1024): a systolic wave and a smaller reflected wave
// per beat, `period` samples per beat at 200 samples per second.

#include <cmath>
#include <cstdint>
#include <vector>

inline std::vector<int16_t> SyntheticPulse(int period, int count, double swing = 300) {
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n) {
        double phase = static_cast<double>(n % period) / period;
        double systolic = std::exp(-std::pow((phase - 0.25) / 0.07, 2));
        double reflected = 0.45 * std::exp(-std::pow((phase - 0.5) / 0.09, 2));
        samples[static_cast<size_t>(n)] =
            static_cast<int16_t>(std::lround(1024 - swing * (systolic + reflected)));
    }
    return samples;
}
