#pragma once
// Mean of the last N values, kept as a running sum: when N values are held, the oldest is
// subtracted before the newest is added. 0 while fewer than N values have arrived.
// Not thread-safe: the owner guards it.

template <int N> class MovingAverage {
public:
    double Push(double value) {
        if (m_count == N)
            m_sum -= m_values[m_next];
        else
            ++m_count;
        m_values[m_next] = value;
        m_next = m_next + 1 == N ? 0 : m_next + 1;
        m_sum += value;
        return m_count == N ? m_sum / N : 0;
    }

    void Clear() {
        m_count = 0;
        m_next = 0;
        m_sum = 0;
    }

private:
    double m_values[N] = {}; // ring; the oldest is at m_next once full
    int m_count = 0;
    int m_next = 0;
    double m_sum = 0;
};
