#pragma once
// Three dialogs of the diagram window's selected nodes: in which model a clone goes, the kind of one node,
// and how several nodes line up.

#include <vector>

class InfluenceDiagramWindow;
class InfluenceNodeRecord;

// "Make Clone": "(Main Document Window)" and then "Sub-model: " and each sub-model's name (16 characters);
// the chosen entry's index (0 the diagram itself), or -1 when cancelled.
int RunMakeCloneDialog(const std::vector<InfluenceNodeRecord*>& subModels);

// "Change Node Type" for the node; on OK a changed kind becomes a "Change Node Type" step of the window.
// "De&terministic" is offered only to a node without influences into it.
void RunNodeShapeDialog(InfluenceDiagramWindow& window, InfluenceNodeRecord& node);

// "Align Nodes" for the nodes, with a sample that follows the choice; on OK with any alignment chosen, an
// "Align Nodes" step of the window.
void RunAlignNodesDialog(InfluenceDiagramWindow& window, const std::vector<InfluenceNodeRecord*>& nodes);
