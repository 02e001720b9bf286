#pragma once
// The Probability Distribution command: the outcomes a node leads to along its optimal path, handed to the
// program as a bar graph of their probabilities. A new run becomes the tree's last analysis, a record of
// the probability distribution kind:
//   parameters: node count n (decimal), then per node its text cut to 30 characters and its path

#include "model/NodeChildList.h"

#include "foundation/zString.h"

class TreeDocument;
struct StoredAnalysis;

// The distribution at the one node given; several nodes give their distributions as lines over one range.
// `stored` is the record being run again, or null for a new run.
void RunProbabilityDistribution(TreeDocument* document, const NodeChildList& nodes, StoredAnalysis* stored);
// Runs a record again on the nodes its paths still reach; a path that leads nowhere ends it silently.
void RerunProbabilityDistribution(StoredAnalysis* record, TreeDocument* document);
void DescribeProbabilityDistribution(TreeDocument* document, StoredAnalysis* record, zString& text);
