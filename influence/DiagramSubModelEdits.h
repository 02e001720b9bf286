#pragma once
// The edits of a diagram window that move nodes between levels: sub-models collapsed and expanded, and a
// node's clones destroyed. Neither is undoable.

class InfluenceDiagramWindow;
class InfluenceNodeRecord;

// Collapse to Sub-Model (the selected nodes into a new sub-model node) or Expand Sub-Model (the selected
// sub-model's level into the window's), after the person agrees.
void ChangeDiagramSubModels(InfluenceDiagramWindow& window, bool collapse);
// Every clone of the master leaves its level with its arcs and is destroyed.
void DestroyNodeClones(InfluenceDiagramWindow& window, InfluenceNodeRecord& master);
