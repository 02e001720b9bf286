#pragma once
// "Node Probabilities" and "Node Values": a node's table takes the cells of the table editor's rows; undo
// gives the table back as it was.

#include "influence/DiagramActions.h"
#include "model/InfluenceConversion.h"

class DiagramTableAction : public DiagramAction {
public:
    // The table (InfluenceNodeRecord::ProbabilityTable or ValueTable) of the node of the window's level with
    // the rows written in; a clone's table is its master's, wherever the master lies.
    DiagramTableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, int table,
                       const std::vector<PreparedRow>& rows);
    // The node's table and the kept one change places; the node is selected.
    void Do() override;
    void Undo() override { Do(); }

    int index;
    int table;
    std::unique_ptr<DefinitionTreeNode> kept;
};
