#include "influence/DiagramClipboard.h"

#include "widgets/ClipboardReader.h"
#include "widgets/ClipboardWriter.h"
#include "foundation/Archive.h"
#include "foundation/MemoryStream.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/Clipboard.h"
#include "framework/window/ClipboardFormat.h"
#include "influence/DiagramLevelLookups.h"
#include "influence/DiagramSubModelEdits.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/NoteBox.h"
#include "treewin/NoteBoxClipboard.h"

#include <algorithm>
#include <string>

namespace {

// The node's clone links that a removal breaks: the node itself when it is a clone, and every clone inside
// it when it is a sub-model, each with its master.
void CollectCloneLinks(InfluenceNodeRecord& node, std::vector<std::pair<InfluenceNodeRecord*, InfluenceNodeRecord*>>& out)
{
    if (node.isClone != 0 && node.cloneMaster != nullptr)
        out.emplace_back(&node, node.cloneMaster);
    if (node.subDiagram)
        for (InfluenceNodeRecord* inner : node.subDiagram->nodes)
            CollectCloneLinks(*inner, out);
}

void Detach(InfluenceArc& arc)
{
    arc.tail->RemoveArcOut(&arc);
    arc.head->RemoveArcIn(&arc);
    arc.tail->Effective()->UpdateSpecialArcFlag();
}

// The rectangle of the given size centred in the window's view.
LogicalRect CentredInView(InfluenceDiagramWindow& window, float width, float height)
{
    const LogicalRect view = window.VisibleArea();
    const float left = (view.left + view.right - width) / 2;
    const float top = (view.top + view.bottom - height) / 2;
    return LogicalRect{left, top, left + width, top + height};
}

} // namespace

const ClipboardFormat& DiagramNodesFormat()
{
    static const ClipboardFormat format = ClipboardFormat::Register("InfNodes");
    return format;
}

const ClipboardFormat& DiagramNodesExtraFormat()
{
    static const ClipboardFormat format = ClipboardFormat::Register("InfNodesExtra");
    return format;
}

void RegisterDiagramClipboardFormats()
{
    DiagramNodesFormat();
    DiagramNodesExtraFormat();
}

int16_t CanPasteDiagramNodes()
{
    Clipboard clipboard = MainWindowClipboard();
    if (!clipboard.HasFormat(DiagramNodesFormat()) || !clipboard.HasFormat(DiagramNodesExtraFormat()))
        return 0;
    ClipboardReader reader(clipboard, DiagramNodesExtraFormat());
    int16_t count = 0;
    if (Archive* stream = reader.Stream()) {
        stream->ReadShort(count);
        if (stream->Failed())
            count = 0;
    }
    return std::max<int16_t>(count, 0);
}

bool CheckNodesForClipboard(InfluenceDiagramWindow& window, bool offerClear)
{
    bool clones = false;
    bool subModels = false;
    const std::vector<InfluenceNodeRecord*> selected = window.SelectedNodes();
    for (auto node = selected.rbegin(); node != selected.rend(); ++node) {
        const bool clone = (*node)->isClone != 0;
        const bool subModel = (*node)->kind == InfluenceKind::SubModel;
        if (!clone && !subModel)
            continue;
        clones = clones || clone;
        subModels = subModels || subModel;
        window.DeselectNode(*node);
    }
    if (clones || subModels) {
        std::string text = "You may not put ";
        text += clones && subModels ? "clone or sub-model" : clones ? "clone" : "sub-model";
        text += " nodes on the clipboard.";
        if (offerClear)
            text += " Choose \"Clear\" to delete them.";
        ShowInfoBox(nullptr, text.c_str(), 0);
    }
    return !window.SelectedNodes().empty();
}

bool ConfirmDeleteClones(InfluenceDiagramWindow& window)
{
    std::vector<InfluenceNodeRecord*> masters;
    for (InfluenceNodeRecord* node : window.SelectedNodes())
        if (!node->clones.empty())
            masters.push_back(node);
    if (masters.empty())
        return true;
    if (AskYesNo(nullptr,
                 "Some of the selected nodes have clones. The clones will be permanently deleted before the "
                 "selected nodes are removed from the document. This part of the operation is not undoable. Do "
                 "you wish to proceed?",
                 0) != 1)
        return false;
    // Steps that name nodes by index would name the wrong ones once the clones are gone.
    window.ClearUndoHistory();
    const std::vector<InfluenceNodeRecord*> selected = window.SelectedNodes();
    std::vector<InfluenceNodeRecord*> keep;
    for (InfluenceNodeRecord* node : selected)
        if (node->isClone == 0 || std::find(masters.begin(), masters.end(), node->cloneMaster) == masters.end())
            keep.push_back(node);
    window.ClearSelection();
    for (InfluenceNodeRecord* master : masters)
        DestroyNodeClones(window, *master);
    window.ShowNodes(keep);
    return !keep.empty();
}

void CutDiagramNodes(InfluenceDiagramWindow& window)
{
    if (CheckNodesForClipboard(window, true) && ConfirmDeleteClones(window))
        window.AddUndoAction(new DiagramCutNodesAction(&window));
}

void CopyDiagramNodes(InfluenceDiagramWindow& window)
{
    if (CheckNodesForClipboard(window, false))
        window.AddUndoAction(new DiagramCopyNodesAction(&window));
}

void ClearDiagramNodes(InfluenceDiagramWindow& window)
{
    if (ConfirmDeleteClones(window))
        window.AddUndoAction(new DiagramClearNodesAction(&window));
}

void ClipboardBefore::Take(WindowCL& window)
{
    clipboard_ = std::make_unique<Clipboard>(MainWindowClipboard());
    snapshot_ = std::make_unique<ClipboardSnapshot>(*clipboard_, &window);
}

void ClipboardBefore::GiveBack()
{
    if (snapshot_)
        snapshot_->Restore();
    snapshot_.reset();
    clipboard_.reset();
}

DiagramCutNodesAction::DiagramCutNodesAction(InfluenceDiagramWindow* window, const char* verb, bool toClipboard,
                                             bool remove)
    : DiagramAction(window, ""), toClipboard_(toClipboard), remove_(remove)
{
    for (InfluenceNodeRecord* node : window->SelectedNodes())
        nodeIndexes_.push_back(LevelNodeIndex(window->Diagram(), node));
    nodeIndexes_.erase(std::remove(nodeIndexes_.begin(), nodeIndexes_.end(), -1), nodeIndexes_.end());
    std::sort(nodeIndexes_.begin(), nodeIndexes_.end());
    name = (std::string(verb) + (nodeIndexes_.size() == 1 ? " Node" : " Nodes")).c_str();
}

DiagramCutNodesAction::~DiagramCutNodesAction()
{
    if (undone)
        return;
    for (const RemovedArc& removed : removedArcs_)
        delete removed.arc;
    for (InfluenceNodeRecord* node : removedNodes_)
        delete node;
}

void DiagramCutNodesAction::Do()
{
    if (toClipboard_)
        PutOnClipboard();
    if (remove_)
        Remove();
}

void DiagramCutNodesAction::PutOnClipboard()
{
    std::vector<InfluenceNodeRecord*> nodes;
    for (auto index = nodeIndexes_.rbegin(); index != nodeIndexes_.rend(); ++index)
        if (InfluenceNodeRecord* node = NodeAt(*index))
            nodes.push_back(node);
    before_.Take(Window());
    Clipboard clipboard = MainWindowClipboard();
    ClipboardWriter writer(clipboard, DiagramNodesFormat(), true);
    WriteNodeBlock(*writer.Stream(), nodes);
    writer.Reset(DiagramNodesExtraFormat(), false);
    writer.Stream()->WriteShort(static_cast<int16_t>(nodes.size()));
    writer.Flush();
}

void DiagramCutNodesAction::Remove()
{
    InfluenceDiagram& diagram = Diagram();
    Window().ClearSelection();
    std::vector<InfluenceNodeRecord*> nodes;
    for (int index : nodeIndexes_)
        if (InfluenceNodeRecord* node = NodeAt(index))
            nodes.push_back(node);
    Window().CloseSubModelWindows(nodes);
    removedArcs_.clear();
    for (int i = 0; i < static_cast<int>(diagram.arcs.size()); ++i) {
        InfluenceArc* arc = diagram.arcs[static_cast<size_t>(i)];
        if (std::find(nodes.begin(), nodes.end(), arc->tail) != nodes.end() ||
            std::find(nodes.begin(), nodes.end(), arc->head) != nodes.end())
            removedArcs_.push_back(RemovedArc{i, LevelNodeIndex(diagram, arc->tail), LevelNodeIndex(diagram, arc->head), arc});
    }
    for (auto removed = removedArcs_.rbegin(); removed != removedArcs_.rend(); ++removed) {
        diagram.arcs.erase(diagram.arcs.begin() + removed->index);
        Detach(*removed->arc);
    }
    cloneLinks_.clear();
    for (InfluenceNodeRecord* node : nodes)
        CollectCloneLinks(*node, cloneLinks_);
    for (const auto& link : cloneLinks_) {
        auto& clones = link.second->clones;
        clones.erase(std::remove(clones.begin(), clones.end(), link.first), clones.end());
    }
    removedNodes_.clear();
    for (auto index = nodeIndexes_.rbegin(); index != nodeIndexes_.rend(); ++index)
        if (*index < static_cast<int>(diagram.nodes.size())) {
            removedNodes_.insert(removedNodes_.begin(), diagram.nodes[static_cast<size_t>(*index)]);
            diagram.nodes.erase(diagram.nodes.begin() + *index);
        }
    Window().UpdateExtent();
    Window().SetModified(1);
}

void DiagramCutNodesAction::Undo()
{
    if (remove_ && !removedNodes_.empty()) {
        InfluenceDiagram& diagram = Diagram();
        Window().ClearSelection();
        size_t next = 0;
        for (int index : nodeIndexes_) {
            if (next == removedNodes_.size() || index > static_cast<int>(diagram.nodes.size()))
                break;
            diagram.nodes.insert(diagram.nodes.begin() + index, removedNodes_[next++]);
        }
        for (const RemovedArc& removed : removedArcs_) {
            const size_t at = std::min(static_cast<size_t>(removed.index), diagram.arcs.size());
            diagram.arcs.insert(diagram.arcs.begin() + static_cast<std::ptrdiff_t>(at), removed.arc);
            InfluenceArc& arc = *removed.arc;
            arc.tail = NodeAt(removed.tailIndex);
            arc.head = NodeAt(removed.headIndex);
            arc.tail->AddArcOut(&arc);
            arc.head->AddArcIn(&arc);
            arc.tail->Effective()->UpdateSpecialArcFlag();
            arc.Recompute();
        }
        for (const auto& link : cloneLinks_)
            link.second->clones.push_back(link.first);
        Window().ShowNodes(removedNodes_);
        Window().UpdateExtent();
    }
    before_.GiveBack();
}

DiagramPasteNodesAction::DiagramPasteNodesAction(InfluenceDiagramWindow* window, int16_t count)
    : DiagramAction(window, count < 2 ? "Paste Node" : "Paste Nodes")
{
    Clipboard clipboard = MainWindowClipboard();
    ClipboardReader reader(clipboard, DiagramNodesFormat());
    if (reader.Data() != nullptr)
        block_.assign(reader.Data(), reader.Data() + reader.Size());
}

void DiagramPasteNodesAction::Do()
{
    InfluenceDiagramWindow& window = Window();
    window.ClearSelection();
    firstNode = firstArc = -1;
    nodeCount = arcCount = 0;
    MemoryStream stream(block_.data(), static_cast<uint32_t>(block_.size()), false);
    InfluenceDiagram pasted;
    if (block_.empty() || !ReadNodeBlock(stream, window.document, pasted) || pasted.nodes.empty()) {
        pasted.RemoveAllItems();
        return;
    }
    LogicalRect bounds{0, 0, 0, 0};
    for (size_t i = 0; i < pasted.nodes.size(); ++i) {
        InfluenceNodeRecord& node = *pasted.nodes[i];
        node.parentSubModel = window.SubModelNode();
        node.Layout();
        const LogicalRect rect = node.NodeRect();
        bounds = i == 0 ? rect
                        : LogicalRect{std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                                      std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom)};
    }
    if (!placed_) {
        const LogicalRect place = CentredInView(window, bounds.right - bounds.left, bounds.bottom - bounds.top);
        offset_ = DiagramPoint{place.left - bounds.left, place.top - bounds.top};
        placed_ = true;
    }
    InfluenceDiagram& diagram = Diagram();
    firstNode = static_cast<int>(diagram.nodes.size());
    nodeCount = static_cast<int>(pasted.nodes.size());
    firstArc = pasted.arcs.empty() ? -1 : static_cast<int>(diagram.arcs.size());
    arcCount = static_cast<int>(pasted.arcs.size());
    for (InfluenceNodeRecord* node : pasted.nodes) {
        node->MoveBy(offset_);
        diagram.AddNode(node);
    }
    for (InfluenceArc* arc : pasted.arcs)
        diagram.AddArc(arc);
    MakeNewVariableNamesUnique(window.document, pasted.nodes);
    window.ShowNodes(pasted.nodes);
    pasted.RemoveAllItems();
    window.SetModified(1);
    window.UpdateExtent();
}

void DiagramPasteNodesAction::Undo()
{
    InfluenceDiagram& diagram = Diagram();
    Window().ClearSelection();
    if (firstArc >= 0 && firstArc + arcCount <= static_cast<int>(diagram.arcs.size())) {
        for (int i = 0; i < arcCount; ++i) {
            InfluenceArc* arc = diagram.arcs[static_cast<size_t>(firstArc + i)];
            Detach(*arc);
            delete arc;
        }
        diagram.arcs.erase(diagram.arcs.begin() + firstArc, diagram.arcs.begin() + firstArc + arcCount);
    }
    if (firstNode >= 0 && firstNode + nodeCount <= static_cast<int>(diagram.nodes.size())) {
        const auto from = diagram.nodes.begin() + firstNode;
        std::vector<InfluenceNodeRecord*> nodes(from, from + nodeCount);
        diagram.nodes.erase(from, from + nodeCount);
        for (InfluenceNodeRecord* node : nodes)
            delete node;
    }
    Window().UpdateExtent();
}

DiagramNoteAction::DiagramNoteAction(InfluenceDiagramWindow* window, Kind kind, NoteBox* pasted)
    : DiagramAction(window, kind == Paste ? "Paste Note" : kind == Cut ? "Cut Note" : "Clear Note"), kind_(kind),
      held_(pasted)
{
    if (kind != Paste)
        index_ = window->Diagram().notes.IndexOf(window->SelectedNote());
}

DiagramNoteAction::~DiagramNoteAction() = default;

void DiagramNoteAction::Do()
{
    if (kind_ == Paste) {
        Add();
        return;
    }
    if (kind_ == Cut)
        before_.Take(Window());
    Take();
    if (kind_ == Cut && held_)
        PutNoteBoxOnClipboard(*held_);
}

void DiagramNoteAction::Undo()
{
    if (kind_ == Paste) {
        Take();
        return;
    }
    Add();
    before_.GiveBack();
}

void DiagramNoteAction::Add()
{
    if (!held_)
        return;
    NoteBoxList& notes = Diagram().notes;
    Window().ClearSelection();
    // A pasted note is placed once; Redo puts it back where it was.
    if (kind_ == Paste && index_ < 0) {
        const LogicalRect text = held_->GetTextRect();
        const LogicalRect place = CentredInView(Window(), text.right - text.left, text.bottom - text.top);
        held_->SetRect(place.left, place.top, place.right, place.bottom);
        index_ = notes.Count();
    }
    NoteBox* note = held_.release();
    notes.InsertAt(std::min(index_, static_cast<int>(notes.Count())), note);
    Window().UpdateExtent();
    Window().SelectNote(note);
    Window().SetModified(1);
}

void DiagramNoteAction::Take()
{
    NoteBoxList& notes = Diagram().notes;
    if (held_ || index_ < 0 || index_ >= notes.Count())
        return;
    Window().ClearSelection();
    held_.reset(notes.At(index_));
    notes.RemoveAt(index_);
    Window().UpdateExtent();
    Window().SetModified(1);
}
