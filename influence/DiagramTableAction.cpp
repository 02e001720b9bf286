#include "influence/DiagramTableAction.h"

#include "influence/DiagramLevelLookups.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceNode.h"

DiagramTableAction::DiagramTableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, int table,
                                       const std::vector<PreparedRow>& rows)
    : DiagramAction(window, table == InfluenceNodeRecord::ProbabilityTable ? "Node Probabilities" : "Node Values"),
      index(LevelNodeIndex(window->Diagram(), node)), table(table)
{
    const DefinitionTreeNode* current = node->Effective()->DefinitionTree(table);
    kept = current != nullptr ? current->DeepCopy() : std::make_unique<DefinitionTreeNode>();
    ApplyPreparedRows(*kept, rows);
}

void DiagramTableAction::Do()
{
    InfluenceNodeRecord* node = NodeAt(index);
    // Kept is empty after the first swap when the node had no table before.
    if (node == nullptr)
        return;
    InfluenceNodeRecord* event = node->Effective();
    std::swap(table == InfluenceNodeRecord::ProbabilityTable ? event->definitionA : event->definitionB, kept);
    Window().SelectNode(node, false);
}
