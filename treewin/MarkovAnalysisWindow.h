#pragma once
// The window of a Markov analysis (template 2330): the node's text, a "Graph" menu button whose menu opens
// the line graphs of state probabilities and rewards, the full text report, and OK to close. The window
// owns its analysis and deletes itself, with the analysis, when it closes. Until the program's document
// child windows exist it is a modeless top-level window of the frame.

#include "framework/dialog/DialogFrameCL.h"

#include <memory>

class MarkovAnalysis;

class MarkovAnalysisWindow : public DialogFrameCL {
public:

    // Takes the analysis and shows the window.
    explicit MarkovAnalysisWindow(std::unique_ptr<MarkovAnalysis> analysis);
    ~MarkovAnalysisWindow() override;

    long OnCommandId(unsigned id, unsigned code, HWND control) override;

    MarkovAnalysis& Analysis() const { return *analysis_; }

private:
    void MakeGraphButton();

    std::unique_ptr<MarkovAnalysis> analysis_;
};
