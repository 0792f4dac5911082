#pragma once
// The walk over a rate timeline (rates and tick markers -1, as the rate chart keeps them)
// that the heart-rate chart of the stress window and the trace of the stress report draw.
//
// The page starts after `skipTicks` tick markers; the element there is the first "previous
// rate" (so a page that starts on a marker does not draw its first rate). Each marker moves
// one tick to the right; a rate below 30 bpm or more than 20 bpm away from the previous
// element's rate breaks the trace; any other rate continues the current segment (or starts
// one). Every rate becomes the previous rate, drawn or not. The walk ends at the end of the
// timeline or when pageTicks ticks have been passed.
// Threads: any.

#include <span>
#include <vector>

struct TracePoint {
    int tick;    // 0 .. pageTicks - 1 from the page's start
    double rate; // bpm
};

// The segments of the page, in order; a segment of one point is a pen placed and not moved.
std::vector<std::vector<TracePoint>> RateTraceSegments(std::span<const double> timeline,
                                                       int skipTicks, int pageTicks);
