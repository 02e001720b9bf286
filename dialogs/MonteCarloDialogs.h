#pragma once
// The Monte Carlo simulation's set-up dialog (template 2420) and its "Sample Distributions" chooser (2455).
// The window that runs the trials and shows the results is one of the tree's (treewin/MonteCarloProgressDialog.h).

#include "analysis/MonteCarloSimulation.h"
#include "widgets/AppDialog.h"

#include <vector>

class TreeDocument;
struct TreeNode;

class MonteCarloSetupDialog : public AppDialog {
public:

    // Filled from the remembered defaults.
    MonteCarloSetupDialog(TreeDocument* document, TreeNode* node);
    // Runs the dialog modally; after "&Begin" it and Result() are nonzero and the settings hold the choice.
    int Run() { return RunModal(); }

    MonteCarloSettings settings;

private:
    int OkResult() override;
    long OnChoice(WindowEvent* event);
    void UpdateControls();

    TreeDocument* document;
    TreeNode* node;
    int trials = 0;
    int key = 0;
    std::vector<int32_t> chosen;
};

// Toggles which of the document's distributions are sampled; on OK the chosen list becomes the selected ones.
class SampleDistributionsDialog : public AppDialog {
public:

    SampleDistributionsDialog(TreeDocument* document, std::vector<int32_t>& chosen);
    // Runs the dialog modally; nonzero after OK.
    int Run() { return RunModal(); }

private:
    int OkResult() override;

    TreeDocument* document;
    std::vector<int32_t>& chosen;
};
