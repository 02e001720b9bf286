#include "influence/DiagramSubModelEdits.h"

#include "foundation/MessageBoxes.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceSubModels.h"

#include <algorithm>
#include <string>

void DestroyNodeClones(InfluenceDiagramWindow& window, InfluenceNodeRecord& master)
{
    for (InfluenceNodeRecord* clone : master.clones) {
        InfluenceDiagram& level = clone->parentSubModel && clone->parentSubModel->subDiagram
                                      ? *clone->parentSubModel->subDiagram
                                      : window.OwnerWindow().Diagram();
        // The window that shows the clone's level may have it selected.
        InfluenceDiagramWindow* shown =
            clone->parentSubModel ? window.SubModelWindow(clone->parentSubModel) : &window.OwnerWindow();
        if (shown != nullptr)
            shown->ClearSelection();
        std::vector<InfluenceArc*> arcs = clone->arcsIn;
        arcs.insert(arcs.end(), clone->arcsOut.begin(), clone->arcsOut.end());
        for (InfluenceArc* arc : arcs) {
            InfluenceNodeRecord* tail = arc->tail;
            level.arcs.erase(std::remove(level.arcs.begin(), level.arcs.end(), arc), level.arcs.end());
            arc->SetEnds(nullptr, nullptr);
            delete arc;
            tail->Effective()->UpdateSpecialArcFlag();
        }
        level.nodes.erase(std::remove(level.nodes.begin(), level.nodes.end(), clone), level.nodes.end());
        delete clone;
        if (shown != nullptr)
            shown->UpdateExtent();
    }
    master.clones.clear();
    master.UpdateSpecialArcFlag();
}

void ChangeDiagramSubModels(InfluenceDiagramWindow& window, bool collapse)
{
    const std::string question = std::string(collapse ? "Collapsing the selected nodes into a sub-model is not undoable."
                                                      : "Expanding the sub-model is not undoable.") +
                                 " Do you wish to proceed?";
    if (AskYesNo(nullptr, question.c_str(), 0) != 1)
        return;
    window.ClearUndoHistory();
    const std::vector<InfluenceNodeRecord*> nodes = window.SelectedNodes();
    InfluenceDiagram& level = window.Diagram();
    window.ClearSelection();
    if (collapse) {
        LogicalRect bounds = nodes.front()->NodeRect();
        for (const InfluenceNodeRecord* node : nodes) {
            const LogicalRect rect = node->NodeRect();
            bounds = LogicalRect{std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                                 std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom)};
        }
        auto* subModel = new InfluenceNodeRecord;
        subModel->document = &window.document;
        subModel->kind = InfluenceKind::SubModel;
        subModel->parentSubModel = window.SubModelNode();
        subModel->SetRect(bounds);
        level.AddNode(subModel);
        subModel->Layout();
        CollapseToSubModel(*subModel, nodes, level);
        window.UpdateExtent();
        window.SelectNode(subModel, true);
    } else {
        InfluenceNodeRecord* subModel = nodes.front();
        // Its window shows the level being moved out: it closes first.
        window.CloseSubModelWindows({subModel});
        ExpandSubModel(*subModel, level);
        level.nodes.erase(std::remove(level.nodes.begin(), level.nodes.end(), subModel), level.nodes.end());
        delete subModel;
        window.UpdateExtent();
    }
    window.SetModified(1);
    window.InvalidateAll();
}
