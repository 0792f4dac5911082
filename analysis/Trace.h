#pragma once
// Diagnostic trace: lines for a developer, never for the user. Every line carries the
// source file and line that wrote it. Nothing is written until a sink is installed.
// Threads: TRACE may be called from any thread; SetTraceSink belongs to start-up and tests.

#include <functional>
#include <string>

using TraceSink = std::function<void(const char* file, int line, const std::string& text)>;

// Installs the sink (an empty function removes it). The sink is called outside any lock of
// the trace, possibly from several threads at once: it must be thread-safe itself.
void SetTraceSink(TraceSink sink);

// Writes a sink that prints each line to standard error as "file:line: text".
TraceSink StderrTraceSink();

void TraceWrite(const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

#define TRACE(...) TraceWrite(__FILE__, __LINE__, __VA_ARGS__)
