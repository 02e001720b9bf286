#pragma once
// Bayes' rule written into a converted tree. A chance event observed before an event that influences it
// reads P(a) and the revised event P(s | a): the joint probabilities of the predictors and the revised
// event are products of the diagram's cells, their sums are the predictors' own probabilities, and the
// branches read quotients of them, all as generated variables ("_pJ_1", "_pJ_2" ...) that the tree
// evaluates itself.

#include "model/InfluenceDefinitions.h"
#include "model/InfluenceOrder.h"

#include <memory>
#include <string>
#include <vector>

class InfluenceNodeRecord;
struct TreeNode;

// A state chosen for a keying event on the path being built; state -1: the event gave no branch here.
struct PathState {
    std::string name;
    int32_t state;
};
using PathAssignment = std::vector<PathState>;

// The assignment as the table lookups read it (names point into the assignment).
std::vector<StateChoice> ChoicesOf(const PathAssignment& assignment);

// The variables one revision generates; their running number belongs to the whole conversion.
struct GeneratedVariables {
    struct Definition {
        std::string name;
        std::string expression;
    };
    // The name of a generated variable defined by the text, made when none is yet.
    std::string NameFor(const std::string& expression);

    std::vector<Definition> list;
    int* counter;
};

// One revision of a revised event under one context (the states of the other events its first predictor's
// table is keyed by).
class BayesRevisionItem {
public:
    // Made on the branch node of a predictor, for the path's assignment.
    BayesRevisionItem(TreeNode* branch, const RevisedEvent& revision, const PathAssignment& assignment,
                      bool vertical, int& counter);

    // The item revises the event under the assignment's states of its context events.
    bool Matches(const InfluenceNodeRecord* revised, const PathAssignment& assignment) const;
    // The branch probability for the path: P(a1 ... aj) / P(a1 ... aj-1), P(a1) alone for the first
    // predictor. A quotient whose denominator is 0 (an observation that cannot happen) is 0, and 1 on the
    // closing branch of its node, so that the branches still add up to 1.
    std::string ConditionalText(const PathAssignment& assignment, bool closing) const;

    InfluenceNodeRecord* revised;
    std::vector<InfluenceNodeRecord*> predictors;
    // Where the generated variables are bound: an ancestor of every branch that reads them.
    TreeNode* bindingNode;
    GeneratedVariables generated;

private:
    // The product for one state of every predictor and of the revised event, as a leaf's formula; the
    // joint table's inner nodes get the sums of their children.
    void FillLeaves(DefinitionTreeNode* level, PathAssignment& extended);
    void FillSums(DefinitionTreeNode* level);
    std::string CellText(InfluenceNodeRecord* node, const PathAssignment& extended);

    PathAssignment context_;
    std::vector<std::string> contextNodes_;
    DefinitionTreeNode joint_;
};
