#pragma once
// The stack of status-bar progress entries: long operations push an entry with a text and a total, step
// it, and pop it. Only the top entry is shown; the one below is shown again when it is popped.

#include "foundation/zString.h"

#include <cstdint>

class ProgressWindow {
public:
    // Pushes an entry and returns its handle (1 and above).
    static int32_t Push(const char* text, int unused1, int unused2, double total);
    // Moves the bar of the entry when it is the top one; ignored otherwise.
    static void Step(int32_t handle, double position);
    static void Pop(int32_t handle);

    // The number of entries pushed so far and the current depth (for the status bar and its checks).
    static long PushedCount();
    static int Depth();
    // Text and position of the top entry; false when there is none.
    static bool Top(zString& text, double& position, double& total);
};
