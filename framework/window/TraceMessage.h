#pragma once
// The framework's debug trace: silent unless switched on; lines go to a trace file when one is set, else to
// the debugger output.

#include <cstdio>

extern int TraceSwitch;
extern std::FILE* TraceFile;

// Formats one line (below 200 characters) and writes it when the trace is switched on.
void TraceMessage(const char* format, ...);
