#include "stress/RateTrace.h"

#include <cmath>
#include <cstddef>

namespace {
constexpr double kTick = -1;
constexpr double kLowestRate = 30;
constexpr double kLargestJump = 20;
} // namespace

std::vector<std::vector<TracePoint>> RateTraceSegments(std::span<const double> timeline,
                                                       int skipTicks, int pageTicks) {
    size_t start = 0;
    for (int skipped = 0; skipped < skipTicks && start < timeline.size(); ++start) {
        if (timeline[start] == kTick)
            ++skipped;
    }
    std::vector<std::vector<TracePoint>> segments;
    if (start >= timeline.size())
        return segments;
    std::vector<TracePoint> current;
    double previous = timeline[start];
    int tick = 0;
    for (size_t i = start; i < timeline.size() && tick < pageTicks; ++i) {
        const double value = timeline[i];
        if (value == kTick) {
            ++tick;
            continue;
        }
        if (value < kLowestRate || std::fabs(value - previous) > kLargestJump) {
            if (!current.empty())
                segments.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back({tick, value});
        }
        previous = value;
    }
    if (!current.empty())
        segments.push_back(std::move(current));
    return segments;
}
