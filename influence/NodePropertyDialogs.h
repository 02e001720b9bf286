#pragma once
// The dialogs of one diagram node's properties: its description, its variable and its outcomes or
// alternatives. Each opener ends the label editor, runs its dialog on copies of the node's fields and, when
// OK changed something, hands the change to the window's undo history; the dialogs never change the node.

class InfluenceDiagramWindow;
class InfluenceNodeRecord;

// "Edit Node Description": the label and the annotation.
void EditNodeDescription(InfluenceDiagramWindow& window, InfluenceNodeRecord& node);
// "Edit Node Variable" in the form of the node's kind: the value when skipped of chance and decision nodes,
// the baseline value and range of deterministic ones, the formula or table of value nodes.
void EditNodeVariable(InfluenceDiagramWindow& window, InfluenceNodeRecord& node);
// "Edit Node Outcomes" of a chance node, "Edit Node Alternatives" of a decision node (NodeStateDialogs.cpp).
void EditNodeStates(InfluenceDiagramWindow& window, InfluenceNodeRecord& node);
