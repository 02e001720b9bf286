#pragma once
// Folding nodes of a diagram level into a sub-model node and unfolding them again. An arc that crosses the
// sub-model's boundary is kept by a proxy: a clone, inside the sub-model, of the node outside it.

#include "model/InfluenceDiagram.h"

#include <vector>

// The node (already in `level`) becomes a sub-model holding `nodes` (of `level`) and their clones in
// `level`; arcs with both ends inside move in, arcs with one end inside end at a proxy of the outside node
// (one proxy for each outside node), arcs with no end inside stay.
void CollapseToSubModel(InfluenceNodeRecord& node, const std::vector<InfluenceNodeRecord*>& nodes,
                        InfluenceDiagram& level);

// The sub-model's contents move to `level`, the level that holds the node: its proxies of nodes in `level`
// go, their arcs ending at the masters again; the nodes, arcs and notes are appended. The node, left empty,
// stays for the caller to remove.
void ExpandSubModel(InfluenceNodeRecord& node, InfluenceDiagram& level);

// The sub-model nodes of the level, in list order: the models besides the level itself in which a clone
// made there may be placed.
std::vector<InfluenceNodeRecord*> SubModelsOf(const InfluenceDiagram& level);

// The node, in no level, becomes one of the sub-model's nodes (appended).
void MoveIntoSubModel(InfluenceNodeRecord& subModel, InfluenceNodeRecord* inner);
