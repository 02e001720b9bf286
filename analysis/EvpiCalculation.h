#pragma once
// Expected value of perfect information: what knowing the outcome of a chance event before a decision is
// worth. A scratch tree resolves the event first and makes the decision knowing its outcome; its rolled-back
// value less the decision's value as the tree stands is the EVPI. The scratch tree hangs below the decision's
// parent without being one of its branches and is deleted with the calculation.

#include "formula/RunOutcome.h"
#include "model/NodeChildList.h"

#include <cstdint>
#include <functional>
#include <vector>

class TreeDocument;
class zString;
struct StoredAnalysis;
struct TreeNode;

// The choices an EVPI calculation asks of the person. Without an installed chooser no candidate is added
// and the nearest decision node is taken.
struct EvpiChooser {
    // Chance nodes that may represent the same event: returns false on Cancel, else marks the chosen ones.
    std::function<bool(const std::vector<TreeNode*>& candidates, std::vector<bool>& chosen)> equivalentNodes;
    // Several decision nodes lie above the event (nearest first): the index of the chosen one, or -1 on Cancel.
    std::function<int(const std::vector<TreeNode*>& decisions)> decisionLevel;
};
EvpiChooser SetEvpiChooser(EvpiChooser chooser);

// Shows an EVPI re-run from a stored record (the program's node value dialog).
using EvpiPresenter = std::function<void(TreeDocument* document, double evpi)>;
EvpiPresenter SetEvpiPresenter(EvpiPresenter presenter);

class EvpiCalculation {
public:
    explicit EvpiCalculation(TreeDocument* document) : document(document) {}
    EvpiCalculation(const EvpiCalculation&) = delete;
    EvpiCalculation& operator=(const EvpiCalculation&) = delete;
    ~EvpiCalculation();

    void FindEquivalentNodes();
    void ChooseDecisionNode();
    void ComputeWithout();
    void BuildScratchTree();
    void GraftPaths();
    void ComputeWith();

    TreeDocument* document;
    RunFault error;
    int32_t level = 0;
    double evpi = 0.0;
    double evWithout = 0.0;
    NodeChildList selection{4, Ownership::Borrows};
    TreeNode* decisionNode = nullptr;
    TreeNode* eventNode = nullptr;
    TreeNode* currentNode = nullptr;
    TreeNode* scratchRoot = nullptr;
    NodeChildList outcomes{4, Ownership::Borrows};
};

// The EVPI of the selected chance nodes; a failed check is reported and *error takes its code. Without error
// the settings become the tree's last analysis.
double CalculateEvpi(const NodeChildList& selected, RunFault* error);
void RerunEvpi(StoredAnalysis* record, TreeDocument* document);
void EvpiDescribe(TreeDocument* document, StoredAnalysis* record, zString& text);
