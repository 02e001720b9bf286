#include "framework/window/TraceMessage.h"

#include <windows.h>

#include <cstdarg>

namespace {

bool traceOn = false;
std::FILE* traceFile = nullptr;

} // namespace

TraceScope::TraceScope(bool on, std::FILE* file) : savedOn_(traceOn), savedFile_(traceFile)
{
    traceOn = on;
    traceFile = file;
}

TraceScope::~TraceScope()
{
    traceOn = savedOn_;
    traceFile = savedFile_;
}

void TraceMessage(const char* format, ...)
{
    if (!traceOn)
        return;
    char line[200] = {};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (traceFile) {
        std::fputs(line, traceFile);
        std::fputs("\n", traceFile);
    } else {
        OutputDebugStringA(line);
        OutputDebugStringA("\r\n");
    }
}
