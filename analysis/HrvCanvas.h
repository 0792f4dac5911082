#pragma once
// Rate chart data: the rate timeline of a test (every rate in arrival order and one tick
// marker -1 per 50 samples), its span and scroll position. Drawn by the stress and review
// windows. Guarded by the owning CHrv.

#include "analysis/ElementQueue.h"

class HrvCanvas {
public:
    static constexpr int kFirstCapacity = 10240;
    static constexpr int kGrowth = 2048;
    static constexpr int kMaxCapacity = 20480;
    static constexpr double kTick = -1.0;

    explicit HrvCanvas(int spanSeconds);

    // Empties the timeline (back to its first capacity) and its counters.
    void Reset(int spanSeconds);

    // Appends a rate or a tick marker: grows while below the largest capacity, then drops
    // the oldest element for each new one.
    void Append(double value);

    // Mean of all rates (ticks left out, zeros included); minimum and maximum over the rates
    // within 40 % of that mean, starting from 200 and 0. A timeline without rates returns 0
    // and leaves both outputs unset.
    double TimelineStats(double* minRate, double* maxRate) const;

    const ElementQueue<double>& Timeline() const { return m_timeline; }
    int Span() const { return m_span; }
    int TickCount() const { return m_ticks; }
    int DroppedTicks() const { return m_droppedTicks; }
    int ScrollPosition() const { return m_scroll; }
    void SetScrollPosition(int position) { m_scroll = position; }

private:
    ElementQueue<double> m_timeline{kFirstCapacity};
    int m_span;
    int m_scroll = 0;
    int m_droppedTicks = 0;
    int m_ticks = 0;
};

// Live rate and elapsed seconds of a test.
struct RateDisplay {
    double rateBpm = 0;
    int seconds = 0;
};
