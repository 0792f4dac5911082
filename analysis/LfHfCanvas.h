#pragma once
// LF/HF chart data: the history of smoothed LF shares, one value per second of a test or
// replay, with the smoothing window of the last six shares and the chart's scroll state.
// Drawn by the stress window. Guarded by the owning CHrv.

#include "analysis/ElementQueue.h"

class LfHfCanvas {
public:
    static constexpr int kFirstCapacity = 1800;
    static constexpr int kGrowth = 360;
    static constexpr int kMaxCapacity = 3600;
    static constexpr int kSmoothing = 6;
    static constexpr int kSpan = 150;

    LfHfCanvas();

    // Empties the history (back to its first capacity), the smoothing window and the counters.
    void Reset();

    // Takes one LF share into the smoothing window and appends the window's mean to the
    // history; returns that mean.
    double AddShare(double lfShare);

    const ElementQueue<double>& History() const { return m_history; }
    int Span() const { return kSpan; }
    int ScrollPosition() const { return m_scroll; }
    int DroppedValues() const { return m_dropped; }
    void SetScrollPosition(int position) { m_scroll = position; }

private:
    ElementQueue<double> m_history{kFirstCapacity};
    double m_window[kSmoothing] = {};
    int m_windowCount = 0;
    int m_scroll = 0;
    int m_dropped = 0;
};

// Runs the LF analysis of the last 62 seconds of valid beats in the rate queue (oldest
// first) and, when enough of them are usable, appends one smoothed LF share to the chart.
void UpdateLfHf(const double* rates, int count, LfHfCanvas& chart);
