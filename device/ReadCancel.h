#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

// Lets a blocked read end early. Request may be called from any thread; it stays in force
// until Clear, so a request made just before a read begins is not lost.
class ReadCancel {
public:
    void Request() {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_requested = true;
        }
        m_wake.notify_all();
    }
    void Clear() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_requested = false;
    }
    bool Requested() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requested;
    }
    // Waits until a request, until done() returns true (checked at least every 10 ms) or
    // until the limit passes. Returns true when the wait ended by a request.
    template <class Done> bool WaitFor(std::chrono::milliseconds limit, Done done) {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::unique_lock<std::mutex> lock(m_lock);
        while (!m_requested && !done()) {
            auto now = std::chrono::steady_clock::now();
            if (now >= end)
                break;
            m_wake.wait_for(lock, std::min<std::chrono::steady_clock::duration>(
                                      end - now, std::chrono::milliseconds(10)));
        }
        return m_requested;
    }

private:
    mutable std::mutex m_lock; // guards m_requested
    std::condition_variable m_wake;
    bool m_requested = false;
};
