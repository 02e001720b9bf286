#include "influence/DiagramLevelLookups.h"

#include "model/InfluenceNode.h"
#include "model/NoteBox.h"

#include <algorithm>

int LevelNodeIndex(const InfluenceDiagram& level, const InfluenceNodeRecord* node)
{
    const auto& nodes = level.nodes;
    const auto found = std::find(nodes.begin(), nodes.end(), node);
    return found == nodes.end() ? -1 : static_cast<int>(found - nodes.begin());
}

InfluenceNodeRecord* LevelNodeAt(const InfluenceDiagram& level, int index)
{
    const auto& nodes = level.nodes;
    return index >= 0 && index < static_cast<int>(nodes.size()) ? nodes[static_cast<size_t>(index)] : nullptr;
}

int LevelArcIndex(const InfluenceDiagram& level, const InfluenceArc* arc)
{
    const auto& arcs = level.arcs;
    const auto found = std::find(arcs.begin(), arcs.end(), arc);
    return found == arcs.end() ? -1 : static_cast<int>(found - arcs.begin());
}

InfluenceArc* LevelArcAt(const InfluenceDiagram& level, int index)
{
    const auto& arcs = level.arcs;
    return index >= 0 && index < static_cast<int>(arcs.size()) ? arcs[static_cast<size_t>(index)] : nullptr;
}

InfluenceNodeRecord* LevelNodeAtPoint(InfluenceDiagram& level, DiagramPoint point)
{
    for (InfluenceNodeRecord* node : level.nodes)
        if (node->HitNodePart(point) != 0)
            return node;
    return nullptr;
}

NoteBox* LevelNoteAtPoint(InfluenceDiagram& level, DiagramPoint point)
{
    for (int i = 0; i < level.notes.Count(); ++i) {
        NoteBox* note = level.notes.At(i);
        if (note->HitTest(point.x, point.y) != NoteBoxMissed)
            return note;
    }
    return nullptr;
}
