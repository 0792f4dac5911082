#include "analysis/LfHfCanvas.h"

#include "analysis/Trace.h"
#include "analysis/proc.h"

#include <vector>

LfHfCanvas::LfHfCanvas() = default;

void LfHfCanvas::Reset() {
    m_history.Clear();
    m_history.Resize(kFirstCapacity);
    m_windowCount = 0;
    m_scroll = 0;
    m_dropped = 0;
}

double LfHfCanvas::AddShare(double lfShare) {
    if (m_windowCount == kSmoothing) {
        for (int i = 1; i < kSmoothing; ++i)
            m_window[i - 1] = m_window[i];
        --m_windowCount;
    }
    m_window[m_windowCount++] = lfShare;
    const double smoothed = f_mean(m_window, m_windowCount);

    if (m_history.Full()) {
        if (m_history.Capacity() < kMaxCapacity) {
            m_history.Resize(m_history.Capacity() + kGrowth);
        } else {
            m_history.PopFront();
            ++m_dropped;
            --m_scroll;
        }
    }
    m_history.Append(smoothed);
    if (m_history.Count() > kSpan)
        ++m_scroll;
    return smoothed;
}

void UpdateLfHf(const double* rates, int count, LfHfCanvas& chart) {
    constexpr double kWindowSeconds = 62;
    constexpr double kUsableSeconds = 60;

    // The oldest rate at which the valid beats, counted back from the newest, reach 62 s.
    int first = count - 1;
    for (double seconds = 0; first >= 0; --first) {
        if (rates[first] >= 30 && rates[first] <= 240)
            seconds += 60 / rates[first];
        if (seconds >= kWindowSeconds)
            break;
    }
    if (first < 0)
        return;

    // The window runs from there up to, not including, the newest rate.
    const int length = count - 1 - first;
    std::vector<double> cleaned(static_cast<size_t>(length));
    const int cleanedCount = f_cleanrate(cleaned.data(), rates + first, length);
    if (f_beattime(cleaned.data(), cleanedCount) < kUsableSeconds)
        return;

    std::vector<double> resampled(2 * static_cast<size_t>(cleanedCount));
    const int resampledCount = f_resample(cleaned.data(), resampled.data(), cleanedCount);
    BandPower bands;
    f_bandpower(resampled.data(), &bands, resampledCount);
    const double smoothed = chart.AddShare(bands.lfShare);
    TRACE("### ProcData LF(%.0f)  ###\n", smoothed);
}
