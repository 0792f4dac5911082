#include "analysis/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {
std::mutex g_sinkLock; // guards g_sink
TraceSink g_sink;
std::atomic<bool> g_hasSink{false};
} // namespace

void SetTraceSink(TraceSink sink) {
    std::lock_guard<std::mutex> guard(g_sinkLock);
    g_hasSink = static_cast<bool>(sink);
    g_sink = std::move(sink);
}

TraceSink StderrTraceSink() {
    return [](const char* file, int line, const std::string& text) {
        std::fprintf(stderr, "%s:%d: %s", file, line, text.c_str());
    };
}

void TraceWrite(const char* file, int line, const char* format, ...) {
    if (!g_hasSink.load(std::memory_order_relaxed))
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    TraceSink sink;
    {
        std::lock_guard<std::mutex> guard(g_sinkLock);
        sink = g_sink;
    }
    if (sink)
        sink(file, line, text);
}
