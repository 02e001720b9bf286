#pragma once
// The window of a Markov analysis (template 2330): the node's text, a "Graph" menu button whose menu opens
// the line graphs of state probabilities and rewards, the full text report, and OK (or Escape) to close. It is
// one of the tree's bound windows inside the frame, listed in the Window menu, and a tree has at most one: a
// new analysis takes the place of the one shown. The window owns its analysis and closes with its node.

#include "treewin/TreeChildWindow.h"

#include <memory>

class MarkovAnalysis;

class MarkovAnalysisWindow : public TreeChildWindow {
public:

    // Takes the analysis; the window is made hidden (Show shows it).
    MarkovAnalysisWindow(TreeWindow* tree, std::unique_ptr<MarkovAnalysis> analysis);

    // Shows the analysis in the tree's Markov window: the window open before closes and the new one opens
    // where it stood, else at 0.4 across and 0.5 down the frame.
    static MarkovAnalysisWindow* Open(TreeWindow& tree, std::unique_ptr<MarkovAnalysis> analysis);

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void OnTreeTitleChanged(const char* title) override;
    bool DependsOn(const void* object) const override;

    MarkovAnalysis& Analysis() const { return *analysis_; }

private:
    void MakeGraphButton();

    std::unique_ptr<MarkovAnalysis> analysis_;
};
