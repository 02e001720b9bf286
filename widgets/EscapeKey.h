#pragma once
// The Escape key that long operations poll to cancel, and the tick count they time the polls with. Both
// are seams: tests install their own key source and clock.

#include <cstdint>
#include <functional>

// True when Escape is down or was pressed since the last query.
bool EscapePressed();
// Forgets a pending Escape press.
void EscapeKeyReset();
// Milliseconds since the system started (GetTickCount unless a test clock is installed): cheap enough for
// the polls of long operations.
uint32_t TickCount();
// Milliseconds from the steady fine clock unless a test clock is installed: fine enough to tell apart two
// presses a few milliseconds apart, which the system tick count's steps are not.
uint32_t FineTickCount();

// Installs a key source / clock (an empty function restores the system's) and returns the previous one. A key
// source answers whether Escape was pressed since it was last asked; EscapeKeyReset asks it and drops the
// answer.
std::function<bool()> SetEscapeKeySource(std::function<bool()> source);
std::function<uint32_t()> SetTickSource(std::function<uint32_t()> source);
