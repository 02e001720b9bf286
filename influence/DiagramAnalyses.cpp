#include "influence/DiagramAnalyses.h"

#include "widgets/CursorStack.h"
#include "influence/DiagramBayesDialog.h"
#include "influence/OutcomeTableEditor.h"
#include "foundation/MessageBoxes.h"
#include "influence/DiagramLevelLookups.h"
#include "influence/DiagramTableAction.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceChecks.h"
#include "model/InfluenceConversion.h"
#include "model/InfluenceOrder.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// A failed check: its nodes of the window's level selected, then its message.
void ShowCheckFailure(InfluenceDiagramWindow& window, const std::vector<InfluenceNodeRecord*>& nodes,
                      const std::string& text)
{
    std::vector<InfluenceNodeRecord*> here;
    for (InfluenceNodeRecord* node : nodes)
        if (LevelNodeIndex(window.Diagram(), node) >= 0)
            here.push_back(node);
    if (!here.empty())
        window.ShowNodes(here);
    ShowErrorBox(nullptr, text.c_str(), 0);
}

} // namespace

void ShowBayesRevision(InfluenceDiagramWindow& window)
{
    const DiagramCheck check = CheckDiagramComplete(window.document);
    if (check.finalNode == nullptr) {
        ShowCheckFailure(window, check.nodes, check.text);
        return;
    }
    std::vector<InfluenceNodeRecord*> nodes;
    window.document.ForEachNode([&nodes](InfluenceNodeRecord& node) { nodes.push_back(&node); });
    std::vector<RevisedEvent> revisions;
    OrderDiagramNodes(check.finalNode, nodes, window.document.prefs.verticalInf != 0, &revisions);
    if (revisions.empty())
        ShowInfoBox(nullptr, "This influence diagram does not require the use of Bayes' revision.",
                    DialogRes::BayesRevision3475);
    else
        DiagramBayesDialog(revisions).Run();
}

void ConvertDiagramWindowToTree(InfluenceDiagramWindow& window)
{
    const DiagramCheck check = CheckDiagramComplete(window.document);
    if (check.finalNode == nullptr) {
        ShowCheckFailure(window, check.nodes, check.text);
        return;
    }
    window.EndInPlaceEdit();
    WaitCursorScope wait;
    zString rootText;
    window.FilePathObject().GetBaseName(rootText);
    auto* tree = new TreeWindow();
    ConvertDiagramToTree(window.document, check.finalNode, rootText.Text(), tree->Document());
    tree->Redraw();
    tree->SetModified(1);
    tree->Show(SW_SHOWNORMAL);
}

void EditDiagramNodeTable(InfluenceDiagramWindow& window, bool values)
{
    InfluenceNodeRecord* node = window.FirstSelected();
    if (node == nullptr)
        return;
    const int table = values ? InfluenceNodeRecord::ValueTable : InfluenceNodeRecord::ProbabilityTable;
    window.EndInPlaceEdit();
    // Preparing brings the table in step with the node's arcs: the table as it was comes back unless the edit
    // is made, and the edit's undo gives it back.
    InfluenceNodeRecord* event = node->Effective();
    std::unique_ptr<DefinitionTreeNode>& slot = values ? event->definitionB : event->definitionA;
    std::unique_ptr<DefinitionTreeNode> before = slot ? slot->DeepCopy() : nullptr;
    // The table's tree is never shown as a window of its own.
    std::unique_ptr<TreeWindow> tree;
    PreparedTable prepared;
    {
        WaitCursorScope wait;
        tree = TreeWindow::Unshown(event->name.Text());
        prepared = PrepareNodeTable(window.document, *node, table, tree->Document());
    }
    DiagramTableAction* action = nullptr;
    if (!prepared.text.empty()) {
        ShowCheckFailure(window, prepared.nodes, prepared.text);
    } else {
        tree->Redraw();
        OutcomeTableEditor editor(*node, *tree, prepared.rows, values);
        if (editor.Edit()) {
            // Links that Paste Link made in the table belong to the diagram from now on.
            BuildLinkItemList(tree->Document().DocumentLinks, window.document.links);
            action = new DiagramTableAction(&window, node, table, prepared.rows);
        }
    }
    slot = std::move(before);
    if (action != nullptr)
        window.AddUndoAction(action);
}
