#include "influence/DiagramActions.h"

#include "influence/DiagramLevelLookups.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceDiagram.h"
#include "model/InfluenceSubModels.h"
#include "model/InfluenceNode.h"
#include "model/NoteBox.h"

#include <algorithm>

namespace {

// The arc joins the two nodes again as it was: no straightening, its shape kept.
void Reattach(InfluenceArc& arc, InfluenceNodeRecord* tail, InfluenceNodeRecord* head)
{
    arc.tail = tail;
    arc.head = head;
    tail->AddArcOut(&arc);
    head->AddArcIn(&arc);
    tail->Effective()->UpdateSpecialArcFlag();
    arc.Recompute();
}

// The arc taken off its nodes, its ends kept in the arc.
void Detach(InfluenceArc& arc)
{
    arc.tail->RemoveArcOut(&arc);
    arc.head->RemoveArcIn(&arc);
    arc.tail->Effective()->UpdateSpecialArcFlag();
}

// The node's list of arcs in the kept order of level indexes, when it holds the same arcs.
void RestoreArcOrder(std::vector<InfluenceArc*>& arcs, const std::vector<int>& order, const InfluenceDiagram& diagram)
{
    if (order.size() != arcs.size())
        return;
    std::vector<InfluenceArc*> ordered;
    for (int index : order) {
        InfluenceArc* arc = index >= 0 && index < static_cast<int>(diagram.arcs.size()) ? diagram.arcs[static_cast<size_t>(index)]
                                                                                       : nullptr;
        if (arc == nullptr || std::find(arcs.begin(), arcs.end(), arc) == arcs.end())
            return;
        ordered.push_back(arc);
    }
    arcs = std::move(ordered);
}

ArcShape ShapeOf(const InfluenceArc& arc)
{
    return ArcShape{arc.curved, arc.middle, arc.commentOffset};
}

void GiveShape(InfluenceArc& arc, const ArcShape& shape)
{
    arc.Straighten();
    arc.commentOffset = shape.commentOffset;
    if (shape.curved != 0)
        arc.MoveMiddle(shape.middle);
    arc.Recompute();
}

// The level, then each of its sub-models' levels depth first, in node order.
void CollectLevels(InfluenceDiagram& level, std::vector<InfluenceDiagram*>& levels)
{
    levels.push_back(&level);
    for (InfluenceNodeRecord* node : level.nodes)
        if (node->kind == InfluenceKind::SubModel && node->subDiagram)
            CollectLevels(*node->subDiagram, levels);
}

} // namespace

DiagramAction::DiagramAction(InfluenceDiagramWindow* window, const char* name)
    : UndoAction(window, name), placement_(Placement())
{
}

bool DiagramAction::Toggle()
{
    Window().SetModified(1);
    const bool takingBack = undone == 0;
    if (!takingBack)
        placement_ = Placement();
    const bool toggled = UndoAction::Toggle();
    if (takingBack && restoresPlacement)
        RestorePlacement(placement_);
    return toggled;
}

DiagramPlacement DiagramAction::Placement() const
{
    DiagramPlacement placement;
    for (const InfluenceDiagram* level : Levels()) {
        DiagramPlacement::Level& place = placement.levels.emplace_back();
        const auto indexes = [level](const std::vector<InfluenceArc*>& arcs) {
            std::vector<int> out;
            for (const InfluenceArc* arc : arcs)
                out.push_back(LevelArcIndex(*level, arc));
            return out;
        };
        for (const InfluenceNodeRecord* node : level->nodes)
            place.nodes.push_back({node->NodeRect(), DiagramPoint{node->posX, node->posY}, indexes(node->arcsIn),
                                   indexes(node->arcsOut)});
        for (const InfluenceArc* arc : level->arcs)
            place.arcs.push_back({arc->tailCentre, arc->headCentre, arc->start, arc->end, arc->middle,
                                  arc->commentOffset, arc->commentBox, arc->curved});
    }
    return placement;
}

void DiagramAction::RestorePlacement(const DiagramPlacement& placement)
{
    const std::vector<InfluenceDiagram*> levels = Levels();
    if (levels.size() != placement.levels.size())
        return;
    for (size_t l = 0; l < levels.size(); ++l) {
        InfluenceDiagram& diagram = *levels[l];
        const DiagramPlacement::Level& level = placement.levels[l];
        if (level.nodes.size() != diagram.nodes.size() || level.arcs.size() != diagram.arcs.size())
            continue;
        for (size_t i = 0; i < level.nodes.size(); ++i) {
            InfluenceNodeRecord& node = *diagram.nodes[i];
            const DiagramPlacement::NodePlace& place = level.nodes[i];
            node.left = place.rect.left;
            node.top = place.rect.top;
            node.right = place.rect.right;
            node.bottom = place.rect.bottom;
            node.posX = place.position.x;
            node.posY = place.position.y;
            RestoreArcOrder(node.arcsIn, place.arcsIn, diagram);
            RestoreArcOrder(node.arcsOut, place.arcsOut, diagram);
        }
        for (size_t i = 0; i < level.arcs.size(); ++i) {
            InfluenceArc& arc = *diagram.arcs[i];
            const DiagramPlacement::ArcPlace& place = level.arcs[i];
            arc.tailCentre = place.tailCentre;
            arc.headCentre = place.headCentre;
            arc.start = place.start;
            arc.end = place.end;
            arc.middle = place.middle;
            arc.commentOffset = place.commentOffset;
            arc.commentBox = place.commentBox;
            arc.curved = place.curved;
        }
    }
    Window().UpdateExtent();
    Window().InvalidateAll();
}

std::vector<InfluenceDiagram*> DiagramAction::Levels() const
{
    std::vector<InfluenceDiagram*> levels;
    CollectLevels(Window().document.diagram, levels);
    return levels;
}

InfluenceDiagramWindow& DiagramAction::Window() const
{
    return *static_cast<InfluenceDiagramWindow*>(window);
}

InfluenceDiagram& DiagramAction::Diagram() const
{
    return Window().Diagram();
}

InfluenceNodeRecord* DiagramAction::NodeAt(int index) const
{
    return LevelNodeAt(Window().Diagram(), index);
}

InfluenceArc* DiagramAction::ArcAt(int index) const
{
    return LevelArcAt(Window().Diagram(), index);
}

int DiagramAction::AppendNode(InfluenceNodeRecord* node, bool startEdit)
{
    Diagram().AddNode(node);
    Window().UpdateExtent();
    Window().SelectNode(node, startEdit);
    return static_cast<int>(Diagram().nodes.size()) - 1;
}

void DiagramAction::RemoveNodeAt(int index)
{
    InfluenceNodeRecord* node = NodeAt(index);
    Window().ClearSelection();
    Diagram().nodes.erase(Diagram().nodes.begin() + index);
    delete node;
    Window().UpdateExtent();
}

DiagramCreateNodeAction::DiagramCreateNodeAction(InfluenceDiagramWindow* window, int kind, DiagramPoint point)
    : DiagramAction(window, "Create Node"), kind(kind), point(point)
{
}

void DiagramCreateNodeAction::Do()
{
    auto* node = new InfluenceNodeRecord;
    node->document = &Window().document;
    node->kind = kind;
    node->left = node->right = point.x;
    node->top = node->bottom = point.y;
    node->Layout();
    node->MoveBy(DiagramPoint{-(node->right - node->left) / 2, -(node->bottom - node->top) / 2});
    index = AppendNode(node, true);
}

void DiagramCreateNodeAction::Undo()
{
    InfluenceNodeRecord* node = NodeAt(index);
    if (node == nullptr)
        return;
    RemoveNodeAt(index);
}

DiagramMakeCloneAction::DiagramMakeCloneAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* master,
                                               InfluenceNodeRecord* target)
    : DiagramAction(window, "Make Clone"), masterIndex(LevelNodeIndex(window->Diagram(), master)),
      targetIndex(target != nullptr ? LevelNodeIndex(window->Diagram(), target) : -1)
{
}

InfluenceNodeRecord* DiagramMakeCloneAction::Target() const
{
    InfluenceNodeRecord* target = targetIndex >= 0 ? NodeAt(targetIndex) : nullptr;
    return target != nullptr && target->kind == InfluenceKind::SubModel ? target : nullptr;
}

void DiagramMakeCloneAction::Do()
{
    InfluenceNodeRecord* master = NodeAt(masterIndex);
    if (master == nullptr || (targetIndex >= 0 && Target() == nullptr))
        return;
    auto* clone = new InfluenceNodeRecord;
    clone->document = master->document;
    clone->kind = master->kind;
    clone->name = master->name;
    clone->variableName = master->variableName;
    if (master->font)
        clone->font = std::make_unique<FontRecord>(*master->font);
    clone->isClone = 1;
    clone->cloneMaster = master;
    const LogicalRect rect = master->NodeRect();
    clone->SetRect(LogicalRect{rect.left + 0.8f, rect.top + 0.4f, rect.right + 0.8f, rect.bottom + 0.4f});
    clone->Layout();
    master->clones.push_back(clone);
    InfluenceNodeRecord* target = Target();
    if (target == nullptr) {
        index = AppendNode(clone, false);
        return;
    }
    MoveIntoSubModel(*target, clone);
    index = static_cast<int>(target->subDiagram->nodes.size()) - 1;
    if (InfluenceDiagramWindow* shown = Window().SubModelWindow(target))
        shown->UpdateExtent();
    Window().SelectNode(master, false);
}

void DiagramMakeCloneAction::Undo()
{
    InfluenceNodeRecord* target = Target();
    std::vector<InfluenceNodeRecord*>* level = target != nullptr && target->subDiagram ? &target->subDiagram->nodes
                                               : targetIndex < 0                     ? &Diagram().nodes
                                                                                     : nullptr;
    if (level == nullptr || index < 0 || index >= static_cast<int>(level->size()))
        return;
    InfluenceNodeRecord* clone = (*level)[static_cast<size_t>(index)];
    if (clone->cloneMaster == nullptr)
        return;
    InfluenceNodeRecord* master = clone->cloneMaster;
    master->clones.erase(std::remove(master->clones.begin(), master->clones.end(), clone), master->clones.end());
    Window().ClearSelection();
    // The sub-model's own window may show the clone selected.
    InfluenceDiagramWindow* shown = target != nullptr ? Window().SubModelWindow(target) : nullptr;
    if (shown != nullptr)
        shown->ClearSelection();
    level->erase(level->begin() + index);
    delete clone;
    if (shown != nullptr)
        shown->UpdateExtent();
    Window().UpdateExtent();
    Window().SelectNode(master, false);
}

DiagramCreateArcAction::DiagramCreateArcAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* tail,
                                               InfluenceNodeRecord* head)
    : DiagramAction(window, "Create Arc"), tailIndex(LevelNodeIndex(window->Diagram(), tail)),
      headIndex(LevelNodeIndex(window->Diagram(), head))
{
}

void DiagramCreateArcAction::Do()
{
    InfluenceNodeRecord* tail = NodeAt(tailIndex);
    InfluenceNodeRecord* head = NodeAt(headIndex);
    if (tail == nullptr || head == nullptr)
        return;
    InfluenceArc* arc = Diagram().AddArc(new InfluenceArc(tail, head));
    index = static_cast<int>(Diagram().arcs.size()) - 1;
    tail->Effective()->UpdateSpecialArcFlag();
    Window().UpdateExtent();
    Window().SelectArc(arc);
}

void DiagramCreateArcAction::Undo()
{
    InfluenceArc* arc = ArcAt(index);
    if (arc == nullptr)
        return;
    InfluenceNodeRecord* tail = arc->tail;
    Window().ClearSelection();
    Diagram().arcs.erase(Diagram().arcs.begin() + index);
    arc->SetEnds(nullptr, nullptr);
    delete arc;
    tail->Effective()->UpdateSpecialArcFlag();
    Window().UpdateExtent();
    Window().SelectNode(tail, false);
}

DiagramClearArcAction::DiagramClearArcAction(InfluenceDiagramWindow* window, InfluenceArc* arc)
    : DiagramAction(window, "Clear Arc"), index(LevelArcIndex(window->Diagram(), arc)),
      tailIndex(LevelNodeIndex(window->Diagram(), arc->tail)), headIndex(LevelNodeIndex(window->Diagram(), arc->head))
{
}

void DiagramClearArcAction::Do()
{
    InfluenceArc* arc = ArcAt(index);
    if (arc == nullptr)
        return;
    Window().ClearSelection();
    Diagram().arcs.erase(Diagram().arcs.begin() + index);
    Detach(*arc);
    removed.reset(arc);
    Window().UpdateExtent();
}

void DiagramClearArcAction::Undo()
{
    InfluenceNodeRecord* tail = NodeAt(tailIndex);
    InfluenceNodeRecord* head = NodeAt(headIndex);
    if (!removed || tail == nullptr || head == nullptr || index > static_cast<int>(Diagram().arcs.size()))
        return;
    InfluenceArc* arc = removed.release();
    Diagram().arcs.insert(Diagram().arcs.begin() + index, arc);
    Reattach(*arc, tail, head);
    Window().UpdateExtent();
    Window().SelectArc(arc);
}

DiagramDragAction::DiagramDragAction(InfluenceDiagramWindow* window, const std::vector<InfluenceNodeRecord*>& nodes,
                                     DiagramPoint offset)
    : DiagramAction(window, "Drag"), offset(offset)
{
    for (const InfluenceNodeRecord* node : nodes)
        indexes.push_back(LevelNodeIndex(window->Diagram(), node));
}

void DiagramDragAction::Do()
{
    std::vector<InfluenceNodeRecord*> moved;
    for (int nodeIndex : indexes) {
        if (InfluenceNodeRecord* node = NodeAt(nodeIndex)) {
            node->MoveBy(offset);
            moved.push_back(node);
        }
    }
    offset = DiagramPoint{-offset.x, -offset.y};
    Window().UpdateExtent();
    Window().ShowNodes(moved);
}

DiagramArcShapeAction::DiagramArcShapeAction(InfluenceDiagramWindow* window, const char* name, InfluenceArc* arc,
                                             const ArcShape& before, bool straighten)
    : DiagramAction(window, name), index(LevelArcIndex(window->Diagram(), arc)), shape(before), straighten(straighten)
{
    // A curve is made once the gesture has moved the middle: its undo gives the kept shape back itself.
    restoresPlacement = straighten;
}

void DiagramArcShapeAction::Do()
{
    InfluenceArc* arc = ArcAt(index);
    if (arc == nullptr || !straighten)
        return;
    shape = ShapeOf(*arc);
    arc->Straighten();
    Window().UpdateExtent();
    Window().SelectArc(arc);
}

void DiagramArcShapeAction::Undo()
{
    InfluenceArc* arc = ArcAt(index);
    if (arc == nullptr)
        return;
    const ArcShape present = ShapeOf(*arc);
    GiveShape(*arc, shape);
    shape = present;
    Window().UpdateExtent();
    Window().SelectArc(arc);
}

DiagramFlipArcAction::DiagramFlipArcAction(InfluenceDiagramWindow* window, InfluenceArc* arc)
    : DiagramAction(window, "Flip Arc"), index(LevelArcIndex(window->Diagram(), arc))
{
    const ArcRowFlags flags = arc->RowFlags();
    const InfluenceNodeRecord* newTail = arc->head ? arc->head->Effective() : nullptr;
    ArcInfluenceRow row;
    row.affectsProbabilities = flags.probabilities ? 1 : 0;
    row.affectsValues = flags.values ? 1 : 0;
    rows.assign(newTail ? static_cast<size_t>(newTail->OutcomeCount()) : 0, row);
}

void DiagramFlipArcAction::Do()
{
    InfluenceArc* arc = ArcAt(index);
    if (arc == nullptr || arc->tail == nullptr || arc->head == nullptr)
        return;
    InfluenceNodeRecord* oldTail = arc->tail;
    const ArcShape before = ShapeOf(*arc);
    // The rows kept for this direction have one per state of the new tail already.
    std::swap(arc->settings.rows, rows);
    arc->SetEnds(arc->head, oldTail);
    if (before.curved != 0)
        arc->MoveMiddle(before.middle);
    arc->Recompute();
    oldTail->Effective()->UpdateSpecialArcFlag();
    arc->tail->Effective()->UpdateSpecialArcFlag();
    Window().UpdateExtent();
    Window().SelectArc(arc);
}

DiagramFontChangeAction::DiagramFontChangeAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node,
                                                 const FontRecord& font)
    : DiagramAction(window, "Font Change"), index(node ? LevelNodeIndex(window->Diagram(), node) : -1), newFont(font)
{
    if (node == nullptr)
        oldFont = std::make_unique<FontRecord>(window->document.prefs.nodeFont);
    else if (node->font)
        oldFont = std::make_unique<FontRecord>(*node->font);
}

void DiagramFontChangeAction::Do()
{
    Window().ClearSelection();
    if (index < 0) {
        Window().document.prefs.nodeFont = newFont;
        Window().document.LayoutAll();
        Window().UpdateExtent();
        return;
    }
    InfluenceNodeRecord* node = NodeAt(index);
    if (node == nullptr)
        return;
    node->font = std::make_unique<FontRecord>(newFont);
    node->Layout();
    node->SyncClones();
    Window().UpdateExtent();
    Window().SelectNode(node, false);
}

void DiagramFontChangeAction::Undo()
{
    Window().ClearSelection();
    if (index < 0) {
        Window().document.prefs.nodeFont = *oldFont;
        Window().document.LayoutAll();
        Window().UpdateExtent();
        return;
    }
    InfluenceNodeRecord* node = NodeAt(index);
    if (node == nullptr)
        return;
    // A node that followed the diagram's font keeps a copy of it.
    node->font = std::make_unique<FontRecord>(oldFont ? *oldFont : Window().document.prefs.nodeFont);
    node->Layout();
    node->SyncClones();
    Window().UpdateExtent();
    Window().SelectNode(node, false);
}

DiagramTypingAction::DiagramTypingAction(InfluenceDiagramWindow* window, InfluenceNodeRecord* node, NoteBox* note,
                                         const char* oldText)
    : DiagramAction(window, "Typing"),
      index(note != nullptr ? window->Diagram().notes.IndexOf(note) : LevelNodeIndex(window->Diagram(), node)),
      note(note != nullptr), oldText(oldText)
{
    if (note == nullptr && node != nullptr)
        oldVariable = node->variableName;
    open = 1;
}

void DiagramTypingAction::SetLabel(const zString& text, const zString& variable)
{
    if (note) {
        NoteBoxList& notes = Diagram().notes;
        if (index < 0 || index >= notes.Count())
            return;
        Window().ClearSelection();
        notes.At(index)->text = text;
        Window().UpdateExtent();
        Window().SelectNote(notes.At(index));
        return;
    }
    InfluenceNodeRecord* node = NodeAt(index);
    if (node == nullptr)
        return;
    Window().ClearSelection();
    node->name = text;
    node->variableName = variable;
    node->Layout();
    node->SyncClones();
    Window().RetitleSubModel(node);
    Window().UpdateExtent();
    Window().SelectNode(node, false);
}
