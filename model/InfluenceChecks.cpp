#include "model/InfluenceChecks.h"

#include "foundation/StringHelpers.h"
#include "model/InfluenceDiagram.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

const char* const kCannotConvert = "This diagram cannot be converted because ";

// Successors of the node's event: the arcs out of it and out of its clones.
size_t SuccessorCount(const InfluenceNodeRecord& node)
{
    std::vector<InfluenceArc*> arcs;
    node.CollectArcsOut(arcs);
    return arcs.size();
}

std::string UpperName(const char* text)
{
    std::string upper;
    for (const char* c = text; *c; ++c)
        upper += UpperChar(*c);
    return upper;
}

} // namespace

std::vector<InfluenceNodeRecord*> FilteredPredecessors(InfluenceNodeRecord& node, PredecessorFilter filter)
{
    ArcRowFlags need;
    need.probabilities = filter.probabilities;
    need.values = filter.values;
    std::vector<InfluenceArc*> arcs;
    node.Effective()->CollectArcsIn(arcs);
    std::vector<InfluenceNodeRecord*> predecessors;
    for (const InfluenceArc* arc : arcs) {
        InfluenceNodeRecord* tail = arc->EffectiveTail();
        if (tail == nullptr || std::find(predecessors.begin(), predecessors.end(), tail) != predecessors.end())
            continue;
        const ArcRowFlags have = arc->RowFlags();
        if (tail->kind == InfluenceKind::Deterministic || (!filter.probabilities && !filter.values) ||
            RowFlagsCover(have, need, false) || (filter.additional && have.types))
            predecessors.push_back(tail);
    }
    return predecessors;
}

// Depth first along the predecessors with an explicit path; a node whose predecessors were all explored
// without a loop is never entered again.
InfluenceNodeRecord* FindInfluenceLoop(InfluenceNodeRecord* node, PredecessorFilter filter)
{
    struct Frame {
        InfluenceNodeRecord* node;
        std::vector<InfluenceNodeRecord*> predecessors;
        size_t next;
    };
    std::unordered_set<const InfluenceNodeRecord*> onPath;
    std::unordered_set<const InfluenceNodeRecord*> explored;
    std::vector<Frame> path;
    InfluenceNodeRecord* start = node->Effective();
    path.push_back(Frame{start, FilteredPredecessors(*start, filter), 0});
    onPath.insert(start);
    while (!path.empty()) {
        Frame& top = path.back();
        if (top.next == top.predecessors.size()) {
            onPath.erase(top.node);
            explored.insert(top.node);
            path.pop_back();
            continue;
        }
        InfluenceNodeRecord* predecessor = top.predecessors[top.next++];
        if (onPath.count(predecessor) != 0)
            return predecessor;
        if (explored.count(predecessor) != 0)
            continue;
        onPath.insert(predecessor);
        path.push_back(Frame{predecessor, FilteredPredecessors(*predecessor, filter), 0});
    }
    return nullptr;
}

std::string IncompleteNodeText(const InfluenceNodeRecord& node)
{
    if ((node.kind == InfluenceKind::Chance || node.kind == InfluenceKind::Decision) && node.isClone == 0 &&
        node.OutcomeCount() == 0)
        return "You have not defined outcomes or alternatives for the selected node.";
    if (node.kind == InfluenceKind::Value && node.noFormula != 0 && SuccessorCount(node) > 0)
        return "Value nodes which influence other nodes (i.e., \"intermediate\" value nodes) must have a formula "
               "assigned. You may assign a formula via the Variable menu item in the Diagram menu.";
    return std::string();
}

DiagramCheck CheckDiagramComplete(InfluenceDocument& document)
{
    DiagramCheck check;
    std::vector<InfluenceNodeRecord*> nodes;
    document.ForEachNode([&nodes](InfluenceNodeRecord& node) { nodes.push_back(&node); });
    std::vector<InfluenceNodeRecord*> finals;
    for (InfluenceNodeRecord* node : nodes)
        if ((node->kind == InfluenceKind::Chance || node->kind == InfluenceKind::Value) && node->isClone == 0 &&
            SuccessorCount(*node) == 0)
            finals.push_back(node);
    if (finals.size() != 1) {
        check.text = std::string(kCannotConvert) + "it is incomplete. (Exactly one node must have no successors.)";
        return check;
    }
    for (InfluenceNodeRecord* node : nodes) {
        check.text = IncompleteNodeText(*node);
        if (!check.text.empty()) {
            check.nodes = {node};
            return check;
        }
    }
    // Every arc counts: arcs into a value node never influence probabilities, so a walk that asked for both
    // would see no loop behind a final value node.
    if (InfluenceNodeRecord* loop = FindInfluenceLoop(finals[0], PredecessorFilter{})) {
        check.text = std::string(kCannotConvert) + "there is an influence-loop.";
        check.nodes = {loop};
        return check;
    }
    // The first node (in list order) whose name a later node repeats, and the first such later node.
    std::unordered_map<std::string, size_t> firstWithName;
    size_t first = nodes.size();
    size_t second = nodes.size();
    for (size_t j = 0; j < nodes.size(); ++j) {
        if (nodes[j]->isClone != 0)
            continue;
        const auto found = firstWithName.emplace(UpperName(nodes[j]->variableName.Text()), j);
        if (!found.second && found.first->second < first) {
            first = found.first->second;
            second = j;
        }
    }
    if (first < nodes.size()) {
        check.text = "The selected nodes have identical variable names. After you change one of them, you should "
                     "ensure that all distributions conditional on either node are correct.";
        check.nodes = {nodes[first], nodes[second]};
        return check;
    }
    check.finalNode = finals[0];
    return check;
}
