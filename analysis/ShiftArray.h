#pragma once
// Fixed-capacity series that keeps the newest N values, oldest first. When it is full, a
// new value drops the oldest one: observably the same as moving the whole array down by
// one, but the move happens once per N values, into storage of 2N, so that a push costs
// constant time and the values always lie contiguously from Data().
// Not thread-safe: the owner guards it.

#include <cstring>

template <class T, int N> class ShiftArray {
public:
    static constexpr int kCapacity = N;

    int Count() const { return m_count; }
    bool Full() const { return m_count == N; }
    const T* Data() const { return m_store + m_start; }
    const T& operator[](int i) const { return m_store[m_start + i]; }
    const T& Back() const { return m_store[m_start + m_count - 1]; }

    void Push(T value) {
        if (m_count < N) { // the start stays at 0 until the series is full
            m_store[m_count++] = value;
            return;
        }
        if (++m_start == N + 1) { // room for the newest value only after a move
            std::memmove(m_store, m_store + m_start, static_cast<size_t>(N - 1) * sizeof(T));
            m_start = 0;
        }
        m_store[m_start + N - 1] = value;
    }

    void Clear() {
        m_start = 0;
        m_count = 0;
    }

private:
    T m_store[2 * N]{};
    int m_start = 0;
    int m_count = 0;
};
