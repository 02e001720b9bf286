#pragma once
// The Monte Carlo simulation's dialogs and drivers: the set-up dialog (template 2420) and its "Sample
// Distributions" chooser (2455), the modeless progress-and-results dialog (3920, 3944 in cost-effectiveness
// mode) that runs the trials in idle time, and the drivers behind the Analysis menu and stored records.

#include "analysis/MonteCarloProgress.h"
#include "widgets/AppDialog.h"
#include "foundation/HostPace.h"

#include <memory>
#include <vector>

class ProgressBar;
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

// Shows a running simulation and its results; owns the run and deletes itself, with the run, when closed.
// It closes with its tree (CloseDocumentPopups), so the run never outlives the document.
class MonteCarloProgressDialog : public DialogFrameCL, public MonteCarloProgressView {
public:

    // Takes the run, shows the dialog and starts the trials.
    explicit MonteCarloProgressDialog(std::unique_ptr<MonteCarloProgress> run);
    ~MonteCarloProgressDialog() override;

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void ShowTrialPosition(int trial) override;
    void ShowStatistics(const std::vector<zString>& texts) override;
    void ShowFinished(bool resultsEnabled) override;

    MonteCarloProgress& Run() const { return *run; }

private:
    void ShowGraphMenu();

    std::unique_ptr<MonteCarloProgress> run;
    std::unique_ptr<ProgressBar> progressBar;
    // The bar moves a few times a second, not per trial.
    HostPace barPace{16};
};

// The Analysis menu's simulation at a node: the set-up dialog, then the progress dialog.
void RunMonteCarlo(TreeNode* node);
// Runs a stored simulation again; the record's chain continues when all trials ran.
void RunStoredMonteCarlo(StoredAnalysis* record, TreeDocument* document);
// Registers the stored simulation's runner with the stored analyses.
void InstallMonteCarloDialogs();
