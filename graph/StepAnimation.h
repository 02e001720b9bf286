#pragma once
// The parts of a stepped graph, one that holds one picture per step of a third variable: the label that
// names the value of the step shown ("<caption> = <value>"), and the strip under the plot whose scroll bar
// picks the step and whose "Animate" button plays the steps one after another.

#include "foundation/NumericFormat.h"
#include "framework/window/PaneWindowCL.h"
#include "graph/GraphLabel.h"

#include <memory>

class GraphWindow;
class Timer;

class StepValueLabel : public GraphLabel {
public:
    StepValueLabel();

    // Takes the format as an axis format; shows step 0 (the first value).
    void Initialise(const NumericFormat& numberFormat, const char* captionText, double first, double last,
                    double step);
    // The current value becomes base + step x size and the text follows; with a display the label is
    // erased, measured and drawn again in place.
    void SetStep(int step, Display* display);
    // The larger extent of the texts at the base and at the maximum value, so that stepping never resizes it.
    void Measure(Display& display) override;
    bool Editable() const override { return false; }
    // Stored form: the graph label record, then
    //   version record                                   3 bytes
    //   format with its version record                   record
    //   base, maximum, step size, current value          4 x f64
    //   caption                                          text
    void Serialize(Archive& archive) override;

    NumericFormat format{true};
    double baseValue = 0.0;
    double maximumValue = 0.0;
    double stepSize = 0.0;
    double currentValue = 0.0;
    zString caption;

private:
    zString TextAt(double value) const;
};

// The step label stands over the plot, its right edge at the plot's: the plot block grows by its height,
// the plot and what goes with it are placed below it, and the label at the block's top.
LogicalRect StepLabelBlock(LogicalRect block, const StepValueLabel& label);
LogicalRect PlotUnderStepLabel(LogicalRect block, const StepValueLabel& label);
void PlaceStepLabel(StepValueLabel& label, const LogicalRect& block, const LogicalRect& plot);

// What a graph kind gives its strip: the number of steps, the step it draws, and its step label.
class SteppedGraph {
public:
    virtual ~SteppedGraph() = default;
    virtual int StepCount() const = 0;
    // The label that names the current step, or null.
    virtual StepValueLabel* StepLabel() { return nullptr; }

    // The step the graph draws.
    int currentStep = 0;

    // The step to draw: the one being drawn by the strip, else the one the step label names, so that the
    // picture and the label agree after any repaint; within 0 .. StepCount() - 1 (-1 without steps).
    int ShownStep();
};

// A row under the plot: a scroll bar (id 123) over the steps and the "Animate" button, which shows each
// step in turn every 350 ms and stops on the last.
class StepAnimationStrip : public PaneWindowCL {
public:
    static constexpr int Height = 31;
    static constexpr unsigned ScrollBarId = 123;  // not a resource id: the id of a child the window makes itself
    static constexpr DWORD TickMilliseconds = 350;

    StepAnimationStrip(GraphWindow& graph, SteppedGraph& stepped);
    ~StepAnimationStrip() override;

    // Starts from step 0 unless an animation runs.
    void Animate();
    // Makes step k the graph's current step and shows it at once: the plot and the step label are drawn
    // again, the scroll bar follows.
    void ShowStep(int step);
    bool Animating() const { return timer_ != nullptr; }
    int ScrollPosition() const;

    long OnCommandId(unsigned id, unsigned code, HWND control) override;

private:
    long OnScroll(WindowEvent* event);
    long OnDestroyed(WindowEvent* event);
    void OnTick();

    GraphWindow& graph_;
    SteppedGraph& stepped_;
    HWND scrollBar_ = nullptr;
    std::unique_ptr<Timer> timer_;
    // The step the next tick shows.
    int nextStep_ = 0;
};
