#pragma once
// The Markov fields of a node record, chosen by the record's Markov selector.

#include <cstdint>

class Archive;
struct TreeNode;

enum MarkovSelector : int16_t {
    MarkovSelectorNone = 0,
    MarkovSelectorMarkovNode = 1,
    MarkovSelectorState = 2,
    MarkovSelectorTransition = 3,  // a terminal inside a state: jump target and transition rewards
    MarkovSelectorTransitionRewards = 4,
};

// The selector the writer uses for a node in its place in the tree (0 without a Markov record).
int16_t MarkovSelectorFor(const TreeNode* node);
// Reads the fields of the selector for a record of the given version key into the node (through the Markov
// setters, with propagation to clone copies; the jump state without).
void ReadMarkovFields(TreeNode* node, Archive& archive, int selector, int32_t versionKey);
// Writes the fields of the selector in the current version's form.
void WriteMarkovFields(const TreeNode* node, Archive& archive, int selector);
