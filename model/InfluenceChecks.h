#pragma once
// The tests a diagram passes before it is converted into a tree, revised by Bayes' rule or has a table
// edited: influence loops, nodes without outcomes, intermediate value nodes without a formula, exactly one
// final node, and unique variable names. A failure is the person's text and the nodes to select; the
// program shows it.

#include <string>
#include <vector>

class InfluenceDocument;
class InfluenceNodeRecord;

// Which arcs a walk backwards follows: those whose rows cover the asked effects (with additional, a row's
// influence type other than symmetric passes as well); asking for neither effect follows every arc, and a
// deterministic predecessor is always followed.
struct PredecessorFilter {
    bool probabilities = false;
    bool values = false;
    bool additional = false;
};

// The events whose arcs reach the node's event through the filter, each once, in arc order (clones stand
// for their masters).
std::vector<InfluenceNodeRecord*> FilteredPredecessors(InfluenceNodeRecord& node, PredecessorFilter filter);

// A node that closes a loop among the predecessors reachable backwards from the node, or null. Each node is
// explored once, so a dense diagram without loops is searched in time linear in its arcs.
InfluenceNodeRecord* FindInfluenceLoop(InfluenceNodeRecord* node, PredecessorFilter filter);

// The person's text when the node may not take part (a chance or decision node without outcomes or
// alternatives, a value node given by a table that influences other nodes); empty when it may.
std::string IncompleteNodeText(const InfluenceNodeRecord& node);

struct DiagramCheck {
    // The diagram's final node when every test passed, else null.
    InfluenceNodeRecord* finalNode = nullptr;
    // The first failure's text and the nodes to select for it.
    std::string text;
    std::vector<InfluenceNodeRecord*> nodes;
};

// Exactly one final node (a chance or value node, no clone, without successors), every node complete, no
// loop back from the final node, no two variable names equal but for case; the first failure only.
DiagramCheck CheckDiagramComplete(InfluenceDocument& document);
