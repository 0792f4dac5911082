#pragma once
// Collects the trace lines written while it lives (from any thread).

#include "analysis/Trace.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

class TraceCapture {
public:
    TraceCapture() {
        SetTraceSink([this](const char*, int, const std::string& text) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_lines.push_back(text);
        });
    }
    ~TraceCapture() { SetTraceSink(nullptr); }
    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lines;
    }
    int Count(const std::string& line) const {
        std::lock_guard<std::mutex> guard(m_lock);
        return static_cast<int>(std::count(m_lines.begin(), m_lines.end(), line));
    }
    void Clear() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_lines.clear();
    }

private:
    mutable std::mutex m_lock; // guards m_lines
    std::vector<std::string> m_lines;
};
