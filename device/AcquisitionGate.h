#pragma once
// Lets one acquisition loop at a time use a sensor link, whichever window starts it. A start
// waits for a loop that its owner has stopped but that is still in its last cycle (its read
// is cancelled, so that is at most one FeedBytes and the 10 ms pause), and is refused while
// another owner's loop runs.
// Threads: every member may be called from any thread.

#include <condition_variable>
#include <mutex>

class AcquisitionGate {
public:
    // True when owner's loop may start now; it holds the gate until Leave.
    bool Enter(const void* owner) {
        std::unique_lock<std::mutex> lock(m_lock);
        while (m_owner && m_owner != owner) {
            if (!m_stopping)
                return false;
            m_left.wait(lock);
        }
        m_owner = owner;
        m_stopping = false;
        return true;
    }
    // owner has stopped its loop, which ends within one cycle.
    void Stopping(const void* owner) {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_owner == owner)
            m_stopping = true;
    }
    // owner's loop has ended: the last step of its thread, or of a start whose thread could
    // not be created.
    void Leave(const void* owner) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_owner != owner)
                return;
            m_owner = nullptr;
            m_stopping = false;
        }
        m_left.notify_all();
    }

private:
    std::mutex m_lock; // guards m_owner and m_stopping
    std::condition_variable m_left;
    const void* m_owner = nullptr; // the loop's owner, null while no loop holds the gate
    bool m_stopping = false;       // the owner has stopped its loop
};
