#include "framework/window/TraceMessage.h"

#include <windows.h>

#include <cstdarg>

int TraceSwitch = 0;
std::FILE* TraceFile = nullptr;

void TraceMessage(const char* format, ...)
{
    if (!TraceSwitch)
        return;
    char line[200] = {};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (TraceFile) {
        std::fputs(line, TraceFile);
        std::fputs("\n", TraceFile);
    } else {
        OutputDebugStringA(line);
        OutputDebugStringA("\r\n");
    }
}
