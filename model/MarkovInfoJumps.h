#pragma once
// Jump targets of a Markov subtree: every terminal below a state names the state the cohort moves to at the
// end of a cycle. The names are resolved into 1-based state indexes before a run, and into state nodes while
// the run is prepared.

struct TreeNode;

// For each state of the Markov node at or above `node`, every terminal below it gets its jumpIndex: a
// terminal that is itself a state (absorbing) its own index, any other the index its jump name resolves to.
void ResolveMarkovJumpIndexes(TreeNode* node);
// jumpIndex 0 on every terminal below every state of the Markov node at or above `node`.
void ResetMarkovJumpTargets(TreeNode* node);
// jumpNode of every terminal below the states: the state with its jumpIndex (an absorbing state itself).
void ResolveJumpTargetNodes(TreeNode* markov);
// jumpNode back to null on every node of the subtree.
void ClearJumpTargetNodes(TreeNode* markov);
