#pragma once
// Checks that run before an analysis and inside roll back: branch probabilities between zero and one that
// add up to one, label nodes with at most one branch, a usable risk preference function; and the checked
// conversions between values and utilities.

#include "formula/RunOutcome.h"
#include <vector>

struct TreeNode;
class TreeDocument;

// 1 when the probabilities below start (null: the root; with thisNodeOnly: of start alone) are valid. The
// first problem is reported (its text followed by two line breaks and extraText when given), its node to be
// selected. Returns 1 at once when the tree's values are current. With report, success is announced by
// "All probabilities sum to 1.0.".
int VerifyProbabilities(TreeDocument* document, int report, TreeNode* start, const char* extraText, int thisNodeOnly);

// The same check repeated at every step of a sweep, which changes variables but never the tree: the first
// check is whole and notes the nodes whose branch probabilities are not all constants; later checks visit
// only those, in the same order, so the same first problem is found. A subtree with a Markov node is
// checked whole every time.
class RepeatedProbabilityCheck {
public:
    int Verify(TreeDocument* document, TreeNode* start, const char* extraText);

private:
    std::vector<TreeNode*> varying_;
    bool noted_ = false;
    bool whole_ = false;
};

// 1 when the analysis may go on: utilities are off, or the risk preference function passes its check, or
// the user agrees to turn utilities off.
int CheckRiskPreference(TreeDocument* document, const char* extraText);

// With utilities on, the value becomes its utility / a utility becomes its certainty equivalent; an
// overflow sets *error and is reported.
void UtilityChecked(TreeDocument* document, double& value, RunFault* error);
void InverseUtilityChecked(TreeDocument* document, double& value, RunFault* error);
