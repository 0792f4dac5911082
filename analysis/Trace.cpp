#include "analysis/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
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

TraceSink PrintTraceSink(std::FILE* out) {
    return [out](const char* file, int line, const std::string& text) {
        const char* slash = std::strrchr(file, '/');
        const bool ended = !text.empty() && text.back() == '\n';
        std::fprintf(out, "%s:%d: %s%s", slash ? slash + 1 : file, line, text.c_str(),
                     ended ? "" : "\n");
    };
}

bool TraceTo(const std::string& path) {
    if (path.empty()) {
        SetTraceSink(PrintTraceSink(stderr));
        return true;
    }
    // Left open on purpose: trace lines may come until the process ends.
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    std::setvbuf(file, nullptr, _IOLBF, BUFSIZ); // every line is on disk if the program dies
    SetTraceSink(PrintTraceSink(file));
    return true;
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
