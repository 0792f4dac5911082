#include "analysis/HrvCanvas.h"

#include <algorithm>
#include <cmath>

HrvCanvas::HrvCanvas(int spanSeconds) : m_span(spanSeconds) {}

void HrvCanvas::Reset(int spanSeconds) {
    m_timeline.Clear();
    m_timeline.Resize(kFirstCapacity);
    m_span = spanSeconds;
    m_scroll = 0;
    m_droppedTicks = 0;
    m_ticks = 0;
}

void HrvCanvas::Append(double value) {
    if (m_timeline.Full()) {
        if (m_timeline.Capacity() < kMaxCapacity) {
            m_timeline.Resize(m_timeline.Capacity() + kGrowth);
        } else if (m_timeline.PopFront() == kTick) {
            ++m_droppedTicks;
            --m_scroll;
        }
    }
    m_timeline.Append(value); // a still-full timeline drops the new value
    if (value == kTick) {
        ++m_ticks;
        if (m_ticks > m_span * 4)
            ++m_scroll;
    }
}

double HrvCanvas::TimelineStats(double* minRate, double* maxRate) const {
    double sum = 0;
    int rates = 0;
    for (int i = 0; i < m_timeline.Count(); ++i) {
        if (m_timeline[i] != kTick) {
            sum += m_timeline[i];
            ++rates;
        }
    }
    if (rates == 0)
        return 0;
    double mean = sum / rates;
    double lo = 200;
    double hi = 0;
    // With a mean of 0 the deviation is not finite and no value lies inside the band.
    for (int i = 0; i < m_timeline.Count(); ++i) {
        double value = m_timeline[i];
        if (std::fabs(mean - value) * 100 / mean <= 40) {
            lo = std::min(lo, value);
            hi = std::max(hi, value);
        }
    }
    *minRate = lo;
    *maxRate = hi;
    return mean;
}
