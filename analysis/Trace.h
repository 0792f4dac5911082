#pragma once
// Diagnostic trace: lines for a developer, never for the user. Every line carries the
// source file and line that wrote it. Nothing is written until a sink is installed.
// Threads: TRACE may be called from any thread; SetTraceSink belongs to start-up and tests.

#include <cstdio>
#include <functional>
#include <string>

using TraceSink = std::function<void(const char* file, int line, const std::string& text)>;

// Installs the sink (an empty function removes it). The sink is called outside any lock of
// the trace, possibly from several threads at once: it must be thread-safe itself.
void SetTraceSink(TraceSink sink);

// A sink that prints each line to `out` as "file:line: text" (the file without its folder),
// ending it with a line break when the text has none. `out` must outlive the sink.
TraceSink PrintTraceSink(std::FILE* out);

// The --trace[=FILE] option of the program and the tools: prints the trace to standard error
// (empty path) or to the file at path, created or emptied and kept open to the end of the
// process. False, with nothing installed, when the file cannot be opened.
bool TraceTo(const std::string& path);

void TraceWrite(const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

#define TRACE(...) TraceWrite(__FILE__, __LINE__, __VA_ARGS__)
