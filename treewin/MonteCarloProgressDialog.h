#pragma once
// The window of a running simulation and its results (template 3920, 3944 in cost-effectiveness mode): the
// trials run in idle time while it shows their progress; then its statistics, graphs and text report. It is
// one of the tree's bound windows inside the frame, listed in the Window menu, and closes with its tree or its
// node; it owns the run and ends it when it closes. The Analysis menu's drivers open it.

#include "analysis/MonteCarloProgress.h"
#include "foundation/HostPace.h"
#include "treewin/TreeChildWindow.h"

#include <memory>

class MenuButton;
class ProgressBar;
class TreeDocument;
struct StoredAnalysis;
struct TreeNode;

class MonteCarloProgressDialog : public TreeChildWindow, public MonteCarloProgressView {
public:
    // Takes the run; the window is made hidden (Open shows it and starts the trials).
    MonteCarloProgressDialog(TreeWindow* tree, std::unique_ptr<MonteCarloProgress> run);
    ~MonteCarloProgressDialog() override;

    // Shows the run in a window of the document's tree (of the frame when the document has no window) and
    // starts it. With replace, the tree's window of a finished run closes and the new one opens where it
    // stood; else, and at first, it opens at 0.4 across and 0.5 down the frame.
    static MonteCarloProgressDialog* Open(std::unique_ptr<MonteCarloProgress> run, bool replace);

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void OnTreeTitleChanged(const char* title) override;
    bool DependsOn(const void* object) const override;
    void ShowTrialPosition(int trial) override;
    void ShowStatistics(const std::vector<zString>& texts) override;
    void ShowFinished(bool resultsEnabled) override;

    MonteCarloProgress& Run() const { return *run; }

private:
    // The graph menu button, over the template's Graph control: its menu holds the run's graphs.
    void MakeGraphButton();

    std::unique_ptr<MonteCarloProgress> run;
    std::unique_ptr<ProgressBar> progressBar;
    MenuButton* graphButton = nullptr;
    // The bar moves a few times a second, not per trial.
    HostPace barPace{16};
};

// The Analysis menu's simulation at a node: the set-up dialog, then the progress window, which takes the
// place of the tree's window of an earlier run.
void RunMonteCarlo(TreeNode* node);
// Runs a stored simulation again, in a window of its own; the record's chain continues when all trials ran.
void RunStoredMonteCarlo(StoredAnalysis* record, TreeDocument* document);
// Registers the stored simulation's runner with the stored analyses.
void InstallMonteCarloDialogs();
