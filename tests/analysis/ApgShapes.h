#pragma once
// Test helpers: drive an ApgCanvas with a pulse whose second-derivative series (DIFF2) takes
// exactly the values a test wants, so that the wave search sees known shapes.
//
// Once their windows are full, DIFF1[i] = (p[i] - p[i-10]) / 10 and
// DIFF2[i] = (DIFF1[i] - DIFF1[i-10]) / 10. Running both backwards gives the pulse for a
// wanted DIFF2. With integer targets every intermediate value is an integer (and every sum
// a multiple of 10), so the series come out exact.

#include "analysis/ApgCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace apgtest {

// Values at 0..the last position, linear between the control points (positions in samples,
// values) and rounded to integers. Every segment must change by at least one unit per sample
// so that it is strictly monotone and the extremum search sees peaks and troughs exactly at
// the control points.
inline std::vector<double> Shape(const std::vector<int>& at, const std::vector<double>& value) {
    if (at.size() != value.size() || at.empty() || at[0] != 0)
        ADD_FAILURE() << "a shape needs one value per position, starting at 0";
    std::vector<double> values{value.empty() ? 0 : value[0]};
    for (size_t k = 1; k < std::min(at.size(), value.size()); ++k) {
        const int len = at[k] - at[k - 1];
        const double from = value[k - 1];
        if (len <= 0 || std::fabs(value[k] - from) < len)
            ADD_FAILURE() << "shape segment ending at " << at[k] << " is not strictly monotone";
        for (int j = 1; j <= len; ++j)
            values.push_back(std::round(from + (value[k] - from) * j / len));
    }
    return values;
}

// Beat with separate waves at fixed places: a = 30 (1000), b = 45, c = 60, d = 75, e = 95,
// then a fall to -100 at 115 and the next beat's a wave (1000) at 200. The a-b .. a-e
// intervals are 75, 150, 225 and 325 ms.
constexpr int kA = 30, kB = 45, kC = 60, kD = 75, kE = 95, kNextA = 200;
inline std::vector<double> SeparateWaves(double b, double c, double d, double e) {
    return Shape({0, kA, kB, kC, kD, kE, 115, kNextA, 220}, {0, 1000, b, c, d, e, -100, 1000, 0});
}

class Diff2Feeder {
public:
    static constexpr int kLeadIn = 20; // samples of 0 before the first wanted value

    explicit Diff2Feeder(ApgCanvas& apg) : m_apg(apg) {
        for (int i = 0; i < kLeadIn; ++i)
            Push(0);
    }

    // Appends one pulse sample after which DIFF2's newest value is q.
    void Push(double q) {
        const size_t i = m_pulse.size();
        double d1 = 0;
        double p = 0;
        if (i >= static_cast<size_t>(kLeadIn)) {
            d1 = 10 * q + m_diff1[i - 10];
            p = 10 * d1 + m_pulse[i - 10];
        }
        m_diff1.push_back(d1);
        m_pulse.push_back(p);
        m_apg.AddSample(p);
    }

    // Appends the values; returns the DIFF2 index of the first one.
    int Push(const std::vector<double>& values) {
        const int first = static_cast<int>(m_pulse.size());
        for (double q : values)
            Push(q);
        return first;
    }

    // Zeros that push everything before out of the 500-value analysis window.
    void Clear() {
        for (int i = 0; i < ApgCanvas::kWindowCapacity; ++i)
            Push(0);
    }

private:
    ApgCanvas& m_apg;
    std::vector<double> m_diff1;
    std::vector<double> m_pulse;
};

} // namespace apgtest
