#pragma once
// Plain entry points for a program that drives the core without the analysis frame: each takes the document
// and answers with a result record whose outcome tells what happened (RunOutcome: the code, the node or
// variable concerned and the person's text). Nothing is shown or selected: the caller decides what to show
// (PresentOutcome hands it to the program's presenter).

#include "formula/RunOutcome.h"
#include "foundation/ValueTriple.h"
#include "analysis/MarkovAnalysis.h"
#include "foundation/zString.h"

#include <vector>

class TreeDocument;
struct TreeNode;

// Rolling the whole tree back. status 0: done and the tree is marked rolled back; otherwise failed (the
// outcome's code and text) or stopped (Cancelled).
struct RollBackResult {
    int status = 0;
    ValueTriple root;  // the root's cost, effectiveness and expected value
    RunOutcome outcome;
};

// Rolls the tree back (after the risk preference check, under the wait cursor; every node evaluated), with
// a progress entry when asked.
RollBackResult RollBackDocument(TreeDocument& document, bool withProgress = false);

// Checks every probability of the tree: Done with the notice ProbabilitiesVerified, or the first problem.
RunOutcome CheckTreeProbabilities(TreeDocument& document);

// One cycle of a cohort run: the rewards of the cycle, the running totals and each state's share and reward
// (the states in child order).
struct MarkovStage {
    ValueTriple stage;
    ValueTriple total;
    std::vector<MarkovStateEntry> states;
};

// A cohort run at a Markov node. status 0: done; otherwise failed or stopped, as the outcome tells.
struct MarkovCohortResult {
    int status = 0;
    std::vector<zString> stateNames;  // the states' texts cut to 30 characters, in child order
    std::vector<MarkovStage> stages;  // one per cycle and a last one with the final rewards
    ValueTriple total;                // the rewards of the whole run
    RunOutcome outcome;
};

// Runs the cohort at markov (after the risk preference check, under the wait cursor), without leaving a
// record in the document. The stages list the states the user made: tunnel copies count for their state.
MarkovCohortResult RunMarkovCohortAt(TreeDocument& document, TreeNode* markov);

// One strategy of a decision node on the cost-effectiveness plane, in ascending cost.
struct CEFrontierPoint {
    double cost = 0.0;
    double effectiveness = 0.0;
    int state = 0;           // CEPoint::State: undominated, dominated or extended-dominated
    int strategyIndex = -1;  // the child's position
    zString name;
    double ratio = kNoRatio;  // incremental against the previous undominated point; kNoRatio when none
};

// The frontier at a decision node. status 0: done; otherwise failed or stopped, as the outcome tells.
struct CEFrontierResult {
    int status = 0;
    std::vector<CEFrontierPoint> points;
    int recommended = -1;  // the recommended child's position under the tree's settings, or -1
    RunOutcome outcome;
};

// Rolls the node's subtree back under the tree's calculation method and lays out its children's cost and
// effectiveness with dominance, ratios and the strategy the tree's settings recommend.
CEFrontierResult CostEffectivenessFrontier(TreeDocument& document, TreeNode* decision);
