#pragma once
// The structure check that precedes every Markov run.

struct TreeNode;

// Walks the states in order and each state's subtree in pre-order; stops at the first node that breaks a
// rule, selects it and shows "Markov Structure Error". Nodes that pass get a MarkovInfo and their run-time
// results cleared (the Markov node itself too when all pass). True when the subtree is valid.
bool CheckMarkovStructure(TreeNode* markov);
