#include "model/InfluenceSubModels.h"

#include <algorithm>
#include <memory>

namespace {

template <typename T>
bool Contains(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <typename T>
void Erase(std::vector<T*>& list, const T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

void MoveIn(InfluenceNodeRecord& subModel, InfluenceNodeRecord* inner, InfluenceDiagram& level)
{
    Erase(level.nodes, inner);
    MoveIntoSubModel(subModel, inner);
}

// A clone of the outside node's event on its place, inside the sub-model.
InfluenceNodeRecord* MakeProxy(InfluenceNodeRecord& subModel, InfluenceNodeRecord& outside)
{
    InfluenceNodeRecord& master = *outside.Effective();
    auto proxy = std::make_unique<InfluenceNodeRecord>();
    proxy->document = master.document;
    proxy->kind = master.kind;
    proxy->name = master.name;
    proxy->variableName = master.variableName;
    if (master.font)
        proxy->font = std::make_unique<FontRecord>(*master.font);
    proxy->isClone = 1;
    proxy->cloneMaster = &master;
    proxy->SetRect(outside.NodeRect());
    proxy->Layout();
    master.clones.push_back(proxy.get());
    InfluenceNodeRecord* made = proxy.release();
    MoveIntoSubModel(subModel, made);
    return made;
}

} // namespace

std::vector<InfluenceNodeRecord*> SubModelsOf(const InfluenceDiagram& level)
{
    std::vector<InfluenceNodeRecord*> subModels;
    for (InfluenceNodeRecord* node : level.nodes)
        if (node->kind == InfluenceKind::SubModel)
            subModels.push_back(node);
    return subModels;
}

void MoveIntoSubModel(InfluenceNodeRecord& subModel, InfluenceNodeRecord* inner)
{
    if (!subModel.subDiagram)
        subModel.subDiagram = std::make_unique<InfluenceDiagram>();
    inner->parentSubModel = &subModel;
    subModel.subDiagram->AddNode(inner);
}

void CollapseToSubModel(InfluenceNodeRecord& node, const std::vector<InfluenceNodeRecord*>& nodes,
                        InfluenceDiagram& level)
{
    node.subDiagram = std::make_unique<InfluenceDiagram>();
    node.kind = InfluenceKind::SubModel;
    InfluenceDiagram& inside = *node.subDiagram;
    for (InfluenceNodeRecord* inner : nodes) {
        if (inner == &node || inner->parentSubModel == &node)
            continue;
        MoveIn(node, inner, level);
        for (InfluenceNodeRecord* clone : inner->clones)
            if (Contains(level.nodes, clone))
                MoveIn(node, clone, level);
    }
    std::vector<InfluenceNodeRecord*> proxies;
    const auto isInside = [&](const InfluenceNodeRecord* end) { return end->parentSubModel == &node; };
    for (InfluenceArc* arc : level.arcs) {
        const bool tailInside = isInside(arc->tail);
        const bool headInside = isInside(arc->head);
        if (!tailInside && !headInside)
            continue;
        if (tailInside != headInside) {
            InfluenceNodeRecord* outside = tailInside ? arc->head : arc->tail;
            const auto found = std::find_if(proxies.begin(), proxies.end(), [&](const InfluenceNodeRecord* proxy) {
                return proxy->cloneMaster == outside->Effective();
            });
            InfluenceNodeRecord* proxy = found != proxies.end() ? *found : MakeProxy(node, *outside);
            if (found == proxies.end())
                proxies.push_back(proxy);
            arc->SetEnds(tailInside ? arc->tail : proxy, tailInside ? proxy : arc->head);
        }
        inside.AddArc(arc);
    }
    for (InfluenceArc* arc : inside.arcs)
        Erase(level.arcs, arc);
}

void ExpandSubModel(InfluenceNodeRecord& node, InfluenceDiagram& level)
{
    if (!node.subDiagram)
        return;
    InfluenceDiagram& inside = *node.subDiagram;
    const std::vector<InfluenceNodeRecord*> inner = inside.nodes;
    for (InfluenceNodeRecord* proxy : inner) {
        InfluenceNodeRecord* master = proxy->isClone != 0 ? proxy->cloneMaster : nullptr;
        if (master == nullptr || !Contains(level.nodes, master))
            continue;
        Erase(inside.nodes, proxy);
        for (InfluenceArc* arc : std::vector<InfluenceArc*>(proxy->arcsIn))
            arc->SetEnds(arc->tail, master);
        for (InfluenceArc* arc : std::vector<InfluenceArc*>(proxy->arcsOut))
            arc->SetEnds(master, arc->head);
        Erase(master->clones, proxy);
        delete proxy;
    }
    for (InfluenceNodeRecord* moved : inside.nodes) {
        moved->parentSubModel = node.parentSubModel;
        level.AddNode(moved);
    }
    for (InfluenceArc* arc : inside.arcs)
        level.AddArc(arc);
    for (int i = 0; i < inside.notes.Count(); ++i)
        level.notes.Add(inside.notes.At(i));
    inside.RemoveAllItems();
}
