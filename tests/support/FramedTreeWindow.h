#pragma once
// A tree window inside a main frame, with message boxes recorded: the ground most tree window tests stand on.

#include "framework/window/MDIframeCL.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

struct FramedTreeWindow {
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    MessageBoxRecorder boxes;
    TreeWindow window;
    TreeDocument& tree = window.Document();
};
