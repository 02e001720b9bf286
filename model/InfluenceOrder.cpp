#include "model/InfluenceOrder.h"

#include "model/InfluenceDiagram.h"

#include <algorithm>
#include <utility>

namespace {

using NodeList = std::vector<InfluenceNodeRecord*>;
using Edge = std::pair<InfluenceNodeRecord*, InfluenceNodeRecord*>;

bool Holds(const NodeList& list, const InfluenceNodeRecord* node)
{
    return std::find(list.begin(), list.end(), node) != list.end();
}

// The events a node stands for: a clone its master, a sub-model node the events inside it.
void AddEvents(InfluenceNodeRecord* node, NodeList& out)
{
    if (node->kind == InfluenceKind::SubModel && node->subDiagram) {
        for (InfluenceNodeRecord* inner : node->subDiagram->nodes)
            AddEvents(inner, out);
        return;
    }
    InfluenceNodeRecord* event = node->Effective();
    if (!Holds(out, event))
        out.push_back(event);
}

// The event has an arc (its own or a clone's) into the other event.
bool HasArcTo(const InfluenceNodeRecord* from, const InfluenceNodeRecord* to)
{
    std::vector<InfluenceArc*> arcs;
    from->CollectArcsOut(arcs);
    return std::any_of(arcs.begin(), arcs.end(),
                       [to](const InfluenceArc* arc) { return arc->head && arc->head->Effective() == to; });
}

class RelativeOrder {
public:
    RelativeOrder(NodeList& list, bool vertical) : vertical_(vertical)
    {
        for (InfluenceNodeRecord* node : list) {
            NodeList events;
            AddEvents(node, events);
            for (InfluenceNodeRecord* event : events)
                Place(event);
        }
        CollectEdges();
    }

    NodeList Result()
    {
        NodeList result;
        for (const Edge& edge : edges_)
            Insert(result, edge.first, edge.second);
        for (size_t i = 0; i < sorted_.size(); ++i) {
            if (Holds(result, sorted_[i]))
                continue;
            auto at = result.begin();
            for (size_t k = i; k-- > 0;) {
                const auto found = std::find(result.begin(), result.end(), sorted_[k]);
                if (found != result.end()) {
                    at = found + 1;
                    break;
                }
            }
            result.insert(at, sorted_[i]);
        }
        return result;
    }

private:
    // A deterministic event goes first, then the one further left (or up).
    bool Precedes(const InfluenceNodeRecord* a, const InfluenceNodeRecord* b) const
    {
        const DiagramPoint first = a->NodeCentre();
        const DiagramPoint second = b->NodeCentre();
        return a->kind == InfluenceKind::Deterministic || (vertical_ ? first.y < second.y : first.x < second.x);
    }

    void Place(InfluenceNodeRecord* event)
    {
        if (Holds(sorted_, event))
            return;
        auto at = std::find_if(sorted_.begin(), sorted_.end(),
                               [&](const InfluenceNodeRecord* x) { return !Precedes(x, event); });
        sorted_.insert(at, event);
    }

    bool HasEdge(const InfluenceNodeRecord* from, const InfluenceNodeRecord* to) const
    {
        return std::any_of(edges_.begin(), edges_.end(),
                           [&](const Edge& edge) { return edge.first == from && edge.second == to; });
    }

    // The arcs among the events, sources with no arc into them last, then every source's edges before
    // those of the events it influences.
    void CollectEdges()
    {
        NodeList targets;
        for (InfluenceNodeRecord* source : sorted_) {
            std::vector<InfluenceArc*> arcs;
            source->CollectArcsOut(arcs);
            for (const InfluenceArc* arc : arcs) {
                InfluenceNodeRecord* target = arc->head ? arc->head->Effective() : nullptr;
                if (target != nullptr && Holds(sorted_, target) && !HasEdge(source, target)) {
                    edges_.push_back(Edge{source, target});
                    targets.push_back(target);
                }
            }
        }
        std::stable_partition(edges_.begin(), edges_.end(),
                              [&](const Edge& edge) { return Holds(targets, edge.first); });
        std::vector<Edge> grouped;
        for (const Edge& edge : edges_) {
            auto last = std::find_if(grouped.rbegin(), grouped.rend(),
                                     [&](const Edge& e) { return e.first == edge.first; });
            grouped.insert(last == grouped.rend() ? grouped.end() : last.base(), edge);
            const auto sourceOf = [&grouped](const InfluenceNodeRecord* node) {
                return std::find_if(grouped.begin(), grouped.end(), [node](const Edge& e) { return e.first == node; });
            };
            const auto influenced = sourceOf(edge.second);
            if (influenced != grouped.end() && influenced < sourceOf(edge.first)) {
                std::vector<Edge> run;
                std::copy_if(grouped.begin(), grouped.end(), std::back_inserter(run),
                             [&](const Edge& e) { return e.first == edge.first; });
                grouped.erase(std::remove_if(grouped.begin(), grouped.end(),
                                             [&](const Edge& e) { return e.first == edge.first; }),
                              grouped.end());
                grouped.insert(sourceOf(edge.second), run.begin(), run.end());
            }
        }
        edges_ = std::move(grouped);
    }

    // Negative when a comes first: an edge decides, then a decision comes after the other event, then the
    // place in the sorted list.
    int Compare(const InfluenceNodeRecord* a, const InfluenceNodeRecord* b) const
    {
        if (HasEdge(a, b))
            return -1;
        if (HasEdge(b, a))
            return 1;
        const bool aDecision = a->kind == InfluenceKind::Decision;
        const bool bDecision = b->kind == InfluenceKind::Decision;
        if (aDecision != bDecision)
            return aDecision ? -1 : 2;
        for (const InfluenceNodeRecord* node : sorted_) {
            if (node == a)
                return -1;
            if (node == b)
                return 1;
        }
        return 0;
    }

    // Forward from the position, before the first event the node does not follow.
    void InsertForward(NodeList& result, NodeList::iterator from, InfluenceNodeRecord* node) const
    {
        const auto at = std::find_if(from, result.end(), [&](const InfluenceNodeRecord* x) { return Compare(node, x) < 1; });
        result.insert(at, node);
    }

    void Insert(NodeList& result, InfluenceNodeRecord* source, InfluenceNodeRecord* target) const
    {
        const auto targetAt = std::find(result.begin(), result.end(), target);
        const bool sourceIn = Holds(result, source);
        if (targetAt != result.end() && !sourceIn) {
            // Back from the target: after the first event the source does not precede.
            auto at = result.begin();
            for (auto x = targetAt; x != result.begin();) {
                --x;
                if (Compare(source, *x) >= 0) {
                    at = x + 1;
                    break;
                }
            }
            result.insert(at, source);
        } else if (targetAt == result.end()) {
            const auto sourceAt = std::find(result.begin(), result.end(), source);
            InsertForward(result, sourceIn ? sourceAt + 1 : result.begin(), target);
            if (!sourceIn)
                InsertForward(result, result.begin(), source);
        }
    }

    bool vertical_;
    NodeList sorted_;
    std::vector<Edge> edges_;
};

} // namespace

void OrderRelativeTo(InfluenceNodeRecord* anchor, std::vector<InfluenceNodeRecord*>& list, bool vertical)
{
    const bool added = anchor != nullptr && !Holds(list, anchor);
    if (added)
        list.push_back(anchor);
    NodeList result = RelativeOrder(list, vertical).Result();
    if (added)
        list.pop_back();
    if (anchor != nullptr)
        result.erase(std::remove(result.begin(), result.end(), anchor->Effective()), result.end());
    list = std::move(result);
}

std::vector<InfluenceNodeRecord*> OrderDiagramNodes(InfluenceNodeRecord* finalNode,
                                                    const std::vector<InfluenceNodeRecord*>& nodes, bool vertical,
                                                    std::vector<RevisedEvent>* bayes)
{
    NodeList all;
    for (InfluenceNodeRecord* node : nodes)
        if (node->isClone == 0)
            AddEvents(node, all);
    if (finalNode != nullptr && !Holds(all, finalNode))
        all.push_back(finalNode);
    NodeList decisions, others, values, chances;
    for (InfluenceNodeRecord* node : all) {
        switch (node->kind) {
        case InfluenceKind::Decision:
            decisions.push_back(node);
            break;
        case InfluenceKind::Deterministic:
            others.push_back(node);
            break;
        case InfluenceKind::Value:
            values.push_back(node);
            break;
        case InfluenceKind::Chance:
            chances.push_back(node);
            break;
        default:
            break;
        }
    }
    others.insert(others.end(), values.begin(), values.end());
    OrderRelativeTo(finalNode, decisions, vertical);
    // Group i: the chance events decision i observes first; the last group: those no decision observes.
    std::vector<NodeList> groups(decisions.size() + 1);
    for (InfluenceNodeRecord* chance : chances) {
        size_t group = decisions.size();
        for (size_t i = 0; i < decisions.size() && group == decisions.size(); ++i)
            if (HasArcTo(chance, decisions[i]))
                group = i;
        groups[group].push_back(chance);
    }
    if (bayes != nullptr) {
        for (size_t i = 0; i < groups.size(); ++i) {
            for (InfluenceNodeRecord* observed : groups[i]) {
                std::vector<InfluenceArc*> arcs;
                observed->CollectArcsIn(arcs);
                for (const InfluenceArc* arc : arcs) {
                    InfluenceNodeRecord* source = arc->EffectiveTail();
                    for (size_t j = i + 1; j < groups.size(); ++j) {
                        if (source == nullptr || !Holds(groups[j], source))
                            continue;
                        auto record = std::find_if(bayes->begin(), bayes->end(),
                                                   [source](const RevisedEvent& r) { return r.revised == source; });
                        if (record == bayes->end())
                            record = bayes->insert(bayes->end(), RevisedEvent{source, {}});
                        if (!Holds(record->predictors, observed))
                            record->predictors.push_back(observed);
                    }
                }
            }
        }
    }
    NodeList order = others;
    for (size_t i = 0; i < groups.size(); ++i) {
        OrderRelativeTo(i < decisions.size() ? decisions[i] : finalNode, groups[i], vertical);
        order.insert(order.end(), groups[i].begin(), groups[i].end());
        if (i < decisions.size())
            order.push_back(decisions[i]);
    }
    if (finalNode != nullptr) {
        order.erase(std::remove(order.begin(), order.end(), finalNode), order.end());
        order.push_back(finalNode);
    }
    return order;
}
