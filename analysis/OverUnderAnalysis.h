#pragma once
// Over/under: the probability that the outcome of a node lies above a target and below it. The tree is
// rolled back and the probabilities of the paths to the end values above the target are added up; the
// result is handed to the presenter and the settings become the tree's last analysis.

#include "formula/RunOutcome.h"
#include "foundation/zString.h"

#include <cstdint>
#include <functional>

class TreeDocument;
struct StoredAnalysis;
struct TreeNode;

struct OverUnderRequest {
    double target = 0.0;
    double probabilityAbove = 0.0;
    TreeNode* node = nullptr;
    RunFault error;
    // 1: a value equal to the target counts as above; 0: as below.
    int32_t targetCountsAbove = 0;
    // What the computation reported (reported on after it, before any result is presented).
    RunOutcome outcome;
};

// What the result dialog shows: the texts formatted by the tree's number format and the two labels, the
// words "at or" standing in the label of the side that includes the target.
struct OverUnderResult {
    zString target;
    zString above;
    zString below;
    zString aboveLabel;
    zString belowLabel;
};

using OverUnderPresenter = std::function<void(const OverUnderResult& result)>;
// Installs the presenter of the result (the program's result dialog); returns the one before.
OverUnderPresenter SetOverUnderPresenter(OverUnderPresenter presenter);

// Rolls back, adds up the probability above and presents the result; without error and when not a re-run
// the settings become the last analysis of the node's tree.
void OverUnderCompute(OverUnderRequest& request, bool rerun);
// Runs a stored record again; a record whose node or numbers cannot be read is ignored.
void RunOverUnder(StoredAnalysis* record, TreeDocument* document);
void OverUnderDescribe(TreeDocument* document, StoredAnalysis* record, zString& text);
