#pragma once
// Stored records of the node-value commands: the command id and the selected nodes by their paths, so that
// a re-run selects the same nodes and sends the same command.
//   parameters: command id (decimal), node count n (decimal), then n node paths from the root

#include "model/NodeChildList.h"

struct StoredAnalysis;
struct TreeNode;

// A new record of the node-value kind for the nodes, the command and the template-allowed flag.
[[nodiscard]] StoredAnalysis* MakeNodeValueStoredRecord(const NodeChildList& nodes, int commandId, int templateAllowed);
// The same for a single node.
[[nodiscard]] StoredAnalysis* MakeNodeValueRecord(TreeNode* node, int commandId, int templateAllowed);

#include "formula/RunOutcome.h"
#include "foundation/zString.h"

#include <functional>

class GraphTemplate;
class TreeDocument;

// Menu commands whose settings a node-value record keeps.
enum NodeValueCommand : int {
    ProbabilityDistributionCommand = 1602,
    MarkovAnalysisCommand = 1603,
    ExpectedValueCommand = 1605,
    PathProbabilityCommand = 1606,
    PayoffRangeCommand = 1608,
    StandardDeviationCommand = 1609,
    EvpiCommand = 1618,
    RankingsCommand = 1619,
    CostEffectivenessCommand = 1620,
};

// Shows one node value (the program's node value dialog); optimal is the strategy list of a single
// decision node under Expected Value, else null.
using NodeValuePresenter =
    std::function<void(TreeDocument* document, int command, double value, const NodeChildList& nodes,
                       const NodeChildList* optimal)>;
NodeValuePresenter SetNodeValuePresenter(NodeValuePresenter presenter);
// Sends a command to the tree window as a menu command, the record's graph template pending. Without an
// installed sender the node value commands run here and the others are not run.
using NodeValueCommandSender =
    std::function<void(TreeDocument* document, int command, const NodeChildList& nodes, GraphTemplate* pending)>;
NodeValueCommandSender SetNodeValueCommandSender(NodeValueCommandSender sender);

// Expected Value, Path Probability, Standard Deviation or EVPI of the nodes (the selection): presents the value,
// or reports that a cost-effectiveness decision has no strategy, and makes the last-analysis record (none
// for EVPI). A failed calculation presents nothing and keeps no record. Returns what the calculation
// reported (also reported on as it ends).
RunOutcome DisplayAnyVal(TreeDocument* document, int command, const NodeChildList& nodes);
// The description of a node-value record.
void NodeValueAnalysisName(TreeDocument* document, StoredAnalysis* record, zString& text);
// Selects the record's nodes again, sends its command and runs the next record of the chain; the record
// the command made for itself is dropped.
void RunNodeValueAnalysis(StoredAnalysis* record, TreeDocument* document);
