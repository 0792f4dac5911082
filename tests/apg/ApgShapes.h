#pragma once
// Test helpers: drive an ApgCanvas with a pulse whose second-derivative series (DIFF2) takes
// exactly the values a test wants, so that the wave search sees known shapes.
//
// Once their windows are full, DIFF1[i] = (p[i] - p[i-10]) / 10 and
// DIFF2[i] = (DIFF1[i] - DIFF1[i-10]) / 10. Running both backwards gives the pulse for a
// wanted DIFF2. With integer targets every intermediate value is an integer (and every sum
// a multiple of 10), so the series come out exact.

#include "apg/ApgCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace apgtest {

// A control point of a piecewise-linear DIFF2 shape: position in samples, value.
struct Point {
    int at;
    double value;
};

// Values at 0..last position, linear between the points and rounded to integers. Every
// segment must change by at least one unit per sample so that it is strictly monotone and
// the extremum search sees peaks and troughs exactly at the points.
inline std::vector<double> Shape(std::initializer_list<Point> points) {
    std::vector<double> values;
    const Point* prev = nullptr;
    for (const Point& p : points) {
        if (!prev) {
            values.push_back(p.value);
        } else {
            const int len = p.at - prev->at;
            if (len <= 0 || std::fabs(p.value - prev->value) < len)
                ADD_FAILURE() << "shape segment ending at " << p.at << " is not strictly monotone";
            for (int j = 1; j <= len; ++j)
                values.push_back(std::round(prev->value + (p.value - prev->value) * j / len));
        }
        prev = &p;
    }
    return values;
}

// Beat with separate waves at fixed places: a = 30 (1000), b = 45, c = 60, d = 75, e = 95,
// then a fall to -100 at 115 and the next beat's a wave (1000) at 200. The a-b .. a-e
// intervals are 75, 150, 225 and 325 ms.
constexpr int kA = 30, kB = 45, kC = 60, kD = 75, kE = 95, kNextA = 200;
inline std::vector<double> SeparateWaves(double b, double c, double d, double e) {
    return Shape({{0, 0},
                  {kA, 1000},
                  {kB, b},
                  {kC, c},
                  {kD, d},
                  {kE, e},
                  {115, -100},
                  {kNextA, 1000},
                  {220, 0}});
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
