#pragma once
// The program's own message loop for a test: every message goes through the application's processing (the
// frame's accelerators, the dialog keys) and the idle tasks run while nothing is queued, as in the running
// program, until a condition holds or the deadline (milliseconds) passes; answers the condition.

#include "tests/support/PumpMessages.h"

#include <windows.h>

#include <functional>

bool RunProgramLoopUntil(const std::function<bool()>& condition, DWORD deadline = DefaultPumpDeadline);
