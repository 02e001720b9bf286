#pragma once
// The Markov cohort of the Markov and Monte Carlo benchmarks: 10 states over 100 cycles. Each of the first
// nine states moves on to the next with a probability that grows with the stage ("0.05 + 0.001*_stage") and
// stays otherwise ("#"); the tenth is absorbing. Every state earns a discounted incremental reward
// "1/1.03^_stage".

class TreeDocument;
struct TreeNode;

constexpr int kBenchCohortStates = 10;

// A new last child of the parent, of the kind, text and probability.
TreeNode* AddBenchNode(TreeNode* parent, int kind, const char* text, const char* probability);
// The cohort's Markov node under the document's root.
TreeNode* BuildBenchCohort(TreeDocument& document);
