#pragma once
// The framework's debug trace: silent unless switched on; lines go to a trace file when one is set, else to
// the debugger output.

#include <cstdio>

// Formats one line (below 200 characters) and writes it when the trace is switched on.
void TraceMessage(const char* format, ...);

// Switches the trace on or off while it lives, writing to a file or (null) to the debugger output, and
// restores the previous setting afterwards.
class TraceScope {
public:
    TraceScope(bool on, std::FILE* file);
    ~TraceScope();
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

private:
    bool savedOn_;
    std::FILE* savedFile_;
};
