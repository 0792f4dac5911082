#pragma once
// First-in-first-out buffer of fixed capacity. Element 0 is the oldest; removing it moves
// the rest down by one. Appending to a full queue does nothing unless the owner first grows
// or pops it. Not thread-safe: the owner guards it.

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

template <class T> class ElementQueue {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    explicit ElementQueue(int capacity) : m_data(static_cast<size_t>(capacity)) {}

    int Capacity() const { return static_cast<int>(m_data.size()); }
    int Count() const { return m_count; }
    bool Full() const { return m_count >= Capacity(); }
    const T* Data() const { return m_data.data(); }
    const T& operator[](int i) const { return m_data[static_cast<size_t>(i)]; }

    // Returns false (and stores nothing) when the queue is full.
    bool Append(const T& value) {
        if (Full())
            return false;
        m_data[static_cast<size_t>(m_count++)] = value;
        return true;
    }

    // Removes and returns the oldest element; an empty queue returns T{} and stays empty.
    T PopFront() {
        if (m_count == 0)
            return T{};
        T front = m_data[0];
        DropFront(1);
        return front;
    }

    // Removes the n oldest elements with one move of the rest.
    void DropFront(int n) {
        n = std::clamp(n, 0, m_count);
        m_count -= n;
        if (m_count > 0)
            std::memmove(m_data.data(), m_data.data() + n,
                         static_cast<size_t>(m_count) * sizeof(T));
    }

    // Keeps the first min(count, capacity) elements.
    void Resize(int capacity) {
        m_data.resize(static_cast<size_t>(std::max(capacity, 0)));
        m_count = std::min(m_count, Capacity());
    }

    void Clear() { m_count = 0; }

private:
    std::vector<T> m_data;
    int m_count = 0;
};
