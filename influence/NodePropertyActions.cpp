#include "influence/NodePropertyActions.h"

#include "influence/DiagramLevelLookups.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceDiagram.h"
#include "model/InfluenceNode.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Every node of the document follows a variable's new name.
void RenameVariableEverywhere(InfluenceDocument& document, const char* oldName, const char* newName)
{
    document.ForEachNode([&](InfluenceNodeRecord& node) { node.RenameVariable(oldName, newName); });
}

} // namespace

float AlignOffset(int mode, float low, float high, float areaLow, float areaHigh)
{
    switch (mode) {
    case 1:
        return areaLow - low;
    case 2:
        return ((areaHigh - areaLow) - (high - low)) / 2 - (low - areaLow);
    case 3:
        return areaHigh - high;
    default:
        return 0;
    }
}

NodePropertyAction::NodePropertyAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, const char* name)
    : DiagramAction(window, name), index(LevelNodeIndex(window->Diagram(), node))
{
}

void NodePropertyAction::Show(InfluenceNodeRecord& node, bool relayout)
{
    Window().ClearSelection();
    if (relayout)
        node.Layout();
    Window().UpdateExtent();
    Window().SelectNode(&node, false);
}

NodeDescriptionAction::NodeDescriptionAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                             const zString& name, const zString& annotation)
    : NodePropertyAction(window, node, "Node Description"), label(name), annotation(annotation)
{
}

void NodeDescriptionAction::Do()
{
    InfluenceNodeRecord* node = Node();
    if (node == nullptr)
        return;
    const bool renamed = std::strcmp(label.Text(), node->name.Text()) != 0;
    std::swap(node->name, label);
    std::swap(node->annotation, annotation);
    node->NameChanged();
    node->SyncClones();
    Show(*node, renamed);
}

NodeVariableAction::NodeVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                       const zString& variable)
    : NodePropertyAction(window, node, "Node Variable"), variable(variable)
{
}

NodeVariableAction::NodeVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                       const zString& variable, const zString& valueText, int16_t neverDefine)
    : NodeVariableAction(window, node, variable)
{
    this->valueText = valueText;
    this->neverDefine = neverDefine;
}

void NodeVariableAction::Do()
{
    InfluenceNodeRecord* node = Node();
    if (node == nullptr)
        return;
    const zString saved = node->variableName;
    node->UniqueVariableName(variable.Text());
    node->SyncClones();
    SwapOthers(*node);
    if (std::strcmp(saved.Text(), node->variableName.Text()) != 0)
        RenameVariableEverywhere(Window().document, saved.Text(), node->variableName.Text());
    variable = saved;
    Show(*node, false);
}

void NodeVariableAction::SwapOthers(InfluenceNodeRecord& node)
{
    std::swap(node.valueText, valueText);
    std::swap(node.neverDefine, neverDefine);
}

NodeRangeVariableAction::NodeRangeVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                                 const zString& variable, const zString& valueText, double low,
                                                 double high)
    : NodeVariableAction(window, node, variable), low(low), high(high)
{
    this->valueText = valueText;
}

void NodeRangeVariableAction::SwapOthers(InfluenceNodeRecord& node)
{
    std::swap(node.valueText, valueText);
    std::swap(node.lowValue, low);
    std::swap(node.highValue, high);
}

NodeFormulaVariableAction::NodeFormulaVariableAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                                     const zString& variable, const zString& formula)
    : NodeVariableAction(window, node, variable), formula(formula)
{
}

void NodeFormulaVariableAction::SwapOthers(InfluenceNodeRecord& node)
{
    const zString savedFormula = node.formula;
    const int16_t savedFlag = node.noFormula;
    node.noFormula = noFormula >= 0 ? noFormula : static_cast<int16_t>(formula.IsEmpty() ? 1 : 0);
    if (noFormula >= 0 || !formula.IsEmpty())
        node.formula = formula;
    formula = savedFormula;
    noFormula = savedFlag;
}

NodeStatesAction::NodeStatesAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                   std::vector<std::string> names)
    : NodePropertyAction(window, node,
                         node->kind == InfluenceKind::Chance ? "Node Outcomes" : "Node Alternatives"),
      names(std::move(names))
{
}

void NodeStatesAction::Do()
{
    InfluenceNodeRecord* node = Node();
    if (node == nullptr)
        return;
    std::vector<std::string> saved;
    for (int i = 0; i < node->outcomeNames.Count(); ++i)
        saved.emplace_back(node->outcomeNames.At(i)->Text());
    node->outcomeNames.Clear();
    for (const std::string& name : names)
        node->outcomeNames.AddText(name.c_str());
    names = std::move(saved);
    Show(*node, false);
}

DiagramChangeNodeTypeAction::DiagramChangeNodeTypeAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                                         int kind)
    : NodePropertyAction(window, node, "Change Node Type"), kind(kind)
{
}

void DiagramChangeNodeTypeAction::Do()
{
    InfluenceNodeRecord* node = Node();
    if (node == nullptr)
        return;
    std::swap(node->kind, kind);
    node->SyncClones();
    Show(*node, true);
}

DiagramAlignNodesAction::DiagramAlignNodesAction(InfluenceDiagramWindow* window,
                                                 const std::vector<InfluenceNodeRecord*>& nodes, int vertical,
                                                 int horizontal)
    : DiagramAction(window, "Align Nodes"), vertical(vertical), horizontal(horizontal)
{
    for (const InfluenceNodeRecord* node : nodes) {
        const LogicalRect rect = node->NodeRect();
        bounds = indexes.empty() ? rect
                                 : LogicalRect{std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                                               std::max(bounds.right, rect.right),
                                               std::max(bounds.bottom, rect.bottom)};
        indexes.push_back(LevelNodeIndex(window->Diagram(), node));
        before.push_back(rect);
    }
}

void DiagramAlignNodesAction::Place(bool aligned)
{
    std::vector<InfluenceNodeRecord*> placed;
    for (size_t i = 0; i < indexes.size(); ++i) {
        InfluenceNodeRecord* node = NodeAt(indexes[i]);
        if (node == nullptr)
            continue;
        LogicalRect rect = before[i];
        if (aligned) {
            const float dx = AlignOffset(horizontal, rect.left, rect.right, bounds.left, bounds.right);
            const float dy = AlignOffset(vertical, rect.top, rect.bottom, bounds.top, bounds.bottom);
            rect = LogicalRect{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
        }
        node->SetRect(rect);
        placed.push_back(node);
    }
    Window().ClearSelection();
    Window().UpdateExtent();
    Window().ShowNodes(placed);
}

DiagramEditArcAction::DiagramEditArcAction(InfluenceDiagramWindow* window, InfluenceArc* arc, ArcSettings settings)
    : DiagramAction(window, "Edit Arc"), index(LevelArcIndex(window->Diagram(), arc)), settings(std::move(settings))
{
}

void DiagramEditArcAction::Do()
{
    InfluenceArc* arc = ArcAt(index);
    if (arc == nullptr)
        return;
    std::swap(arc->settings, settings);
    if (InfluenceNodeRecord* tail = arc->EffectiveTail())
        tail->UpdateSpecialArcFlag();
    arc->ComputeCommentBox();
    Window().UpdateExtent();
    Window().SelectArc(arc);
}
