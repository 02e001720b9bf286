#pragma once
// The status-bar progress display: a stack of progress messages, each pushed by a long operation that gets
// a handle, moves its own bar by it and pops it when done. Only the top message is shown, as a text and a
// bar at the left of the status bar; a step or pop by a handle that is not on top leaves the display as it
// is. A short operation shows nothing (see ShowDelay). The stack works without a status bar (nothing is shown then).

#include "foundation/zString.h"
#include "framework/visual/VisualFieldItem.h"

#include <cstdint>
#include <memory>

class ProgressBar;

struct ProgressMessage {
    uint32_t Handle;
    double Low;
    double High;
    zString Text;
    double Value; // where the operation has got to
    uint32_t PushedAt; // the clock at the push, in milliseconds
};

class ProgressWindow : public VisualFieldItem {
public:
    static constexpr int Key = 1;
    static constexpr int BarWidth = 250;
    // A message pushed while no bar shows appears at its first step this long after the push: an operation
    // that ends sooner never flickers a bar onto the status line.
    static constexpr uint32_t ShowDelay = 300;

    // The item of key 1 at the left of the status pane. The program frame's shows the stack.
    explicit ProgressWindow(VisualStatusPane* pane);
    ~ProgressWindow() override;

    // Handles count from 1. High should be above Low.
    static uint32_t Push(const char* text, double low, double high);
    static void Step(uint32_t handle, double value);
    static void Pop(uint32_t handle);
    // True while a bar is shown.
    static bool HasEntries();

    // Pushes so far, the stack's depth and the top message's text, value and High (false when empty).
    static long PushedCount();
    static int Depth();
    static bool Top(zString& text, double& position, double& total);

    ProgressBar* ActiveBar() const { return activeBar_.get(); }

private:
    void ShowMessage(const ProgressMessage& message);
    void HideBar();
    void Relayout();

    std::unique_ptr<ProgressBar> activeBar_;
    SIZE savedSize_{0, 0};
};

