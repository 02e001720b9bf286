#pragma once
// Lookups in the level a diagram window shows (the document's diagram or a sub-model's): a node's or an arc's
// index in the level's lists and back, which undo steps keep instead of pointers, and what lies at a point.

#include "model/InfluenceDiagram.h"

class NoteBox;

// A node's or an arc's index in the level's list, and back; -1 and null when there is none.
int LevelNodeIndex(const InfluenceDiagram& level, const InfluenceNodeRecord* node);
InfluenceNodeRecord* LevelNodeAt(const InfluenceDiagram& level, int index);
int LevelArcIndex(const InfluenceDiagram& level, const InfluenceArc* arc);
InfluenceArc* LevelArcAt(const InfluenceDiagram& level, int index);
// The first node or note of the level at the point, or null.
InfluenceNodeRecord* LevelNodeAtPoint(InfluenceDiagram& level, DiagramPoint point);
NoteBox* LevelNoteAtPoint(InfluenceDiagram& level, DiagramPoint point);
