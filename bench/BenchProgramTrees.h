#pragma once
// The trees that kivo_bench and the program benchmark (kivo_program_probe) both time, so that their figures
// compare: the file tree of a decision over chance nodes of 999 terminals, and the Monte Carlo tree.

class TreeDocument;

// A decision root defining three variables over `chanceNodes` chance nodes of 999 terminals each; every
// chance node binds one variable again and every terminal carries a probability and a payoff formula
// (1,000,001 nodes at 1,000 chance nodes).
void GrowFileBenchTree(TreeDocument& document, int chanceNodes);

// Ten uniform distributions and three options under the root, each four levels of chance nodes of three
// branches (0.3 / 0.3 / #) below it; terminal payoffs read one distribution each. Returns the node count.
int GrowMonteCarloBenchTree(TreeDocument& document);
