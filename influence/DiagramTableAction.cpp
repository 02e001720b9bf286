#include "influence/DiagramTableAction.h"

#include "influence/DiagramLevelLookups.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceNode.h"

DiagramTableAction::DiagramTableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, int table,
                                       const std::vector<PreparedRow>& rows)
    : DiagramAction(window, table == InfluenceNodeRecord::ProbabilityTable ? "Node Probabilities" : "Node Values"),
      index(LevelNodeIndex(window->Diagram(), node)), table(table)
{
    if (const DefinitionTreeNode* current = node->DefinitionTree(table)) {
        kept = current->DeepCopy();
        ApplyPreparedRows(*kept, rows);
    }
}

void DiagramTableAction::Do()
{
    InfluenceNodeRecord* node = NodeAt(index);
    if (node == nullptr || !kept)
        return;
    std::swap(table == InfluenceNodeRecord::ProbabilityTable ? node->definitionA : node->definitionB, kept);
    Window().SelectNode(node, false);
}
