// The commands of an influence-diagram window: the command table (the handler of each command and the rule
// that enables its menu item and refuses it while the item would be grayed), the titles of the Edit items
// that follow the selection, and the tool bar's states.

#include "influence/InfluenceDiagramWindow.h"

#include "app/EditMenuTexts.h"
#include "app/FrameCommands.h"
#include "app/InPlaceEdit.h"
#include "app/MainToolbar.h"
#include "app/CursorStack.h"
#include "app/ProgramPreferences.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/FontRecordFonts.h"
#include "influence/ArcDialogs.h"
#include "influence/DiagramActions.h"
#include "influence/DiagramNodeDialogs.h"
#include "influence/DiagramPane.h"
#include "influence/NodePropertyDialogs.h"
#include "dialogs/DiagramBayesDialog.h"
#include "dialogs/OutcomeTableEditor.h"
#include "influence/DiagramTableAction.h"
#include "dialogs/EditScopeDialog.h"
#include "influence/DiagramClipboard.h"
#include "treewin/NoteBoxClipboard.h"
#include "model/InfluenceChecks.h"
#include "model/InfluenceConversion.h"
#include "model/InfluenceOrder.h"
#include "script/LinksDialog.h"
#include "treewin/TreeWindow.h"
#include "model/InfluenceSubModels.h"

#include "CommandIds.h"

#include <algorithm>
#include <string>

namespace {

// What the rules ask of the window, taken once per update.
struct DiagramFacts {
    explicit DiagramFacts(const InfluenceDiagramWindow& window)
        : window(window), nodes(static_cast<int>(window.SelectedNodes().size())),
          single(nodes == 1 ? window.FirstSelected() : nullptr), arc(window.SelectedArc()),
          editing(window.LabelEditor() != nullptr)
    {
    }

    const InfluenceDiagramWindow& window;
    int nodes;
    InfluenceNodeRecord* single;
    InfluenceArc* arc;
    bool editing;
};

// The kinds of edit the window carries out.
constexpr unsigned kHandledEdits = InfluenceDiagramWindow::OneNodeBit | InfluenceDiagramWindow::NodesBit |
                                   InfluenceDiagramWindow::TextBit | InfluenceDiagramWindow::NoteBit |
                                   InfluenceDiagramWindow::ArcBit;
constexpr unsigned kNodeBits = InfluenceDiagramWindow::OneNodeBit | InfluenceDiagramWindow::NodesBit;

bool Always(const DiagramFacts&) { return true; }

// The sub-model nodes of the window's level, in list order.
std::vector<InfluenceNodeRecord*> LevelSubModels(const InfluenceDiagramWindow& window)
{
    return SubModelsOf(window.Diagram());
}

bool LevelHasSubModel(const InfluenceDiagramWindow& window)
{
    return !LevelSubModels(window).empty();
}

// One node selected that is no sub-model node.
bool SingleNotSubModel(const DiagramFacts& f)
{
    return f.single != nullptr && f.single->kind != InfluenceKind::SubModel;
}


// The one kind the mask names, 0 when it names none or several.
unsigned SingleBit(unsigned mask)
{
    return mask != 0 && (mask & (mask - 1)) == 0 ? mask : 0;
}

const char* BitWord(unsigned bit)
{
    switch (bit) {
    case InfluenceDiagramWindow::OneNodeBit:
        return "Node";
    case InfluenceDiagramWindow::NodesBit:
        return "Nodes";
    case InfluenceDiagramWindow::TextBit:
        return "Text";
    case InfluenceDiagramWindow::NoteBit:
        return "Note";
    default:
        return "Arc";
    }
}

// The mode button that shows the window's tool.
unsigned ToolButton(const InfluenceDiagramWindow& window)
{
    if (window.toolMode == InfluenceDiagramWindow::ArcTool)
        return Cmd::ModeArc;
    if (window.toolMode != InfluenceDiagramWindow::NodeTool)
        return Cmd::ModeNone;
    switch (window.toolKind) {
    case 1:
        return Cmd::ModeChance;
    case 2:
        return Cmd::ModeDeterministic;
    case 3:
        return Cmd::ModeDecision;
    default:
        return Cmd::ModeValue;
    }
}

void SetItem(HMENU menu, unsigned id, bool enabled)
{
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

} // namespace

struct InfluenceDiagramWindow::CommandRow {
    unsigned id;
    int (InfluenceDiagramWindow::*handler)(unsigned command);
    bool (*rule)(const DiagramFacts& f);
};

// Commands without a rule are those whose dialogs and engines the window does not have yet: their items
// stay grayed.
const InfluenceDiagramWindow::CommandRow InfluenceDiagramWindow::Commands[] = {
    // Saving is the document window's; a sub-model window saves its document under a new name only.
    {Cmd::FileSave, &InfluenceDiagramWindow::OnSaveCommand,
     [](const DiagramFacts& f) { return f.window.SubModelNode() == nullptr; }},
    {Cmd::FileSaveAs, &InfluenceDiagramWindow::OnSaveCommand, Always},
    // The window's own picture, of a sub-model window too.
    {Cmd::FileSnapshot, &InfluenceDiagramWindow::OnSaveCommand, Always},
    // The Edit menu and the context menus' paste items.
    {Cmd::EditCut, &InfluenceDiagramWindow::OnEditCommand,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().cut & kHandledEdits) != 0; }},
    {Cmd::EditCopy, &InfluenceDiagramWindow::OnEditCommand,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().copy & kHandledEdits) != 0; }},
    {Cmd::EditPaste, &InfluenceDiagramWindow::OnEditCommand,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().paste & kHandledEdits) != 0; }},
    {Cmd::EditClear, &InfluenceDiagramWindow::OnEditCommand,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().clear & kHandledEdits) != 0; }},
    {Cmd::NodePasteText, &InfluenceDiagramWindow::OnEditCommand,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().paste & TextBit) != 0; }},
    {Cmd::NodePasteNode, &InfluenceDiagramWindow::OnEditCommand,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().paste & kNodeBits) != 0; }},
    {Cmd::EditCreateClone, &InfluenceDiagramWindow::OnNodeCommand,
     [](const DiagramFacts& f) {
         return f.single != nullptr && (!f.single->clones.empty() || (f.single->isClone == 0 && SingleNotSubModel(f)));
     }},
    {Cmd::EditCopySpecial, &InfluenceDiagramWindow::OnEditCommand, Always},
    // Sub-models: collapse (Ctrl+J) and expand (Ctrl+Shift+J), reached by their keys.
    {Cmd::DisplayCollapseSubtree, &InfluenceDiagramWindow::OnSubModelCommand,
     [](const DiagramFacts& f) { return f.nodes >= 2; }},
    {Cmd::DisplayExpandSubtreeOnce, &InfluenceDiagramWindow::OnSubModelCommand,
     [](const DiagramFacts& f) { return f.single != nullptr && f.single->kind == InfluenceKind::SubModel; }},
    // The tools and the Display menu's note and font.
    {Cmd::ModeDecision, &InfluenceDiagramWindow::OnToolCommand, Always},
    {Cmd::ModeChance, &InfluenceDiagramWindow::OnToolCommand, Always},
    {Cmd::ModeDeterministic, &InfluenceDiagramWindow::OnToolCommand, Always},
    {Cmd::ModeValue, &InfluenceDiagramWindow::OnToolCommand, Always},
    {Cmd::ModeArc, &InfluenceDiagramWindow::OnToolCommand, Always},
    {Cmd::ModeNone, &InfluenceDiagramWindow::OnToolCommand, Always},
    {Cmd::DisplayCreateNote, &InfluenceDiagramWindow::OnToolCommand, Always},
    {Cmd::DisplayPreferences, &InfluenceDiagramWindow::OnNodeCommand, Always},
    {Cmd::EditLinks, &InfluenceDiagramWindow::OnNodeCommand, Always},
    {Cmd::DisplayFont, &InfluenceDiagramWindow::OnNodeCommand,
     [](const DiagramFacts& f) {
         return f.editing || (f.nodes == 0 && f.arc == nullptr && f.window.SelectedNote() == nullptr);
     }},
    // The paper's context menu: a new node where the press was.
    {Cmd::RightClickNewDecision, &InfluenceDiagramWindow::OnNodeCommand, Always},
    {Cmd::RightClickNewChance, &InfluenceDiagramWindow::OnNodeCommand, Always},
    {Cmd::RightClickNewDeterm, &InfluenceDiagramWindow::OnNodeCommand, Always},
    {Cmd::RightClickNewValue, &InfluenceDiagramWindow::OnNodeCommand, Always},
    {Cmd::NodeDrawNewArc, &InfluenceDiagramWindow::OnNodeCommand, [](const DiagramFacts& f) { return f.single != nullptr; }},
    // The Diagram menu: the node's dialogs, the arcs and the diagram's analyses.
    {Cmd::DiagramDescription, &InfluenceDiagramWindow::OnPropertyCommand,
     [](const DiagramFacts& f) { return f.single != nullptr; }},
    {Cmd::DiagramVariable, &InfluenceDiagramWindow::OnPropertyCommand, SingleNotSubModel},
    {Cmd::DiagramOutcomes, &InfluenceDiagramWindow::OnPropertyCommand,
     [](const DiagramFacts& f) {
         return f.single != nullptr &&
                (f.single->Effective()->kind == InfluenceKind::Chance || f.single->Effective()->kind == InfluenceKind::Decision);
     }},
    {Cmd::DiagramProbabilities, &InfluenceDiagramWindow::OnTableCommand,
     [](const DiagramFacts& f) { return f.single != nullptr && f.single->kind == InfluenceKind::Chance; }},
    {Cmd::DiagramValues, &InfluenceDiagramWindow::OnTableCommand,
     [](const DiagramFacts& f) {
         const InfluenceNodeRecord* n = f.single;
         return n != nullptr && (((n->kind == InfluenceKind::Chance || n->kind == InfluenceKind::Decision) &&
                                  n->neverDefine == 0) ||
                                 (n->kind == InfluenceKind::Value && n->noFormula != 0));
     }},
    {Cmd::DiagramStraightenArc, &InfluenceDiagramWindow::OnArcCommand,
     [](const DiagramFacts& f) { return f.arc != nullptr && f.arc->curved != 0; }},
    // Flipped, the tail is influenced: it may not be deterministic.
    {Cmd::DiagramFlipArc, &InfluenceDiagramWindow::OnArcCommand,
     [](const DiagramFacts& f) {
         return f.arc != nullptr && f.arc->tail != nullptr && f.arc->tail->kind != InfluenceKind::Deterministic;
     }},
    {Cmd::ArcEditArc, &InfluenceDiagramWindow::OnPropertyCommand, [](const DiagramFacts& f) { return f.arc != nullptr; }},
    {Cmd::DiagramAlign, &InfluenceDiagramWindow::OnPropertyCommand, [](const DiagramFacts& f) { return f.nodes >= 2; }},
    {Cmd::ArcAlignJoined, &InfluenceDiagramWindow::OnPropertyCommand,
     [](const DiagramFacts& f) { return f.arc != nullptr && f.arc->tail != nullptr && f.arc->head != nullptr; }},
    {Cmd::OptionsChangeNodeType, &InfluenceDiagramWindow::OnPropertyCommand,
     [](const DiagramFacts& f) { return SingleNotSubModel(f) && f.single->isClone == 0; }},
    {Cmd::DiagramBayesRevision, &InfluenceDiagramWindow::OnBayesRevision, Always},
    // The whole document converts, from its own window.
    {Cmd::FileConvertToOutline, &InfluenceDiagramWindow::OnConvertToTree,
     [](const DiagramFacts& f) { return f.window.SubModelNode() == nullptr; }},
};

const InfluenceDiagramWindow::CommandRow* InfluenceDiagramWindow::FindCommand(unsigned id)
{
    for (const CommandRow& row : Commands)
        if (row.id == id)
            return &row;
    return nullptr;
}

bool InfluenceDiagramWindow::HasCommand(unsigned id)
{
    return FindCommand(id) != nullptr;
}

bool InfluenceDiagramWindow::CommandEnabled(unsigned command)
{
    const CommandRow* row = FindCommand(command);
    return row != nullptr && row->rule != nullptr && row->rule(DiagramFacts(*this));
}

long InfluenceDiagramWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    const bool saving = id == Cmd::FileSave || id == Cmd::FileSaveAs;
    if (!saving && DocumentWindow::OnCommandId(id, code, control))
        return 1;
    return OnCommand(id);
}

int InfluenceDiagramWindow::OnCommand(unsigned command)
{
    const CommandRow* row = FindCommand(command);
    if (row == nullptr)
        return 0;
    // Every command ends the tool; a tool button starts or ends one itself.
    if (row->handler != &InfluenceDiagramWindow::OnToolCommand)
        toolMode = SelectTool;
    if (row->handler != nullptr && row->rule != nullptr && row->rule(DiagramFacts(*this)))
        (this->*row->handler)(command);
    RefreshFrameCommands();
    return 1;
}

int InfluenceDiagramWindow::OnSaveCommand(unsigned command)
{
    if (command == Cmd::FileSnapshot) {
        SnapshotPicture();
        return 1;
    }
    InfluenceDiagramWindow& owner = OwnerWindow();
    if (command == Cmd::FileSave)
        owner.SaveToFile();
    else
        owner.SaveAs(nullptr);
    return 1;
}

int InfluenceDiagramWindow::OnToolCommand(unsigned command)
{
    const int previous = toolMode;
    toolMode = SelectTool;
    if (command == Cmd::DisplayCreateNote) {
        ClearSelection();
        toolMode = NoteTool;
    } else if (command == Cmd::ModeArc) {
        if (previous != ArcTool) {
            ClearSelection();
            toolMode = ArcTool;
        }
    } else if (const int kind = CommandToNodeKind(command); kind != 0) {
        if (!(previous == NodeTool && toolKind == kind)) {
            ClearSelection();
            toolMode = NodeTool;
            toolKind = kind;
        }
    }
    return 1;
}

int InfluenceDiagramWindow::OnArcCommand(unsigned command)
{
    InfluenceArc* arc = selectedArc_;
    if (arc == nullptr)
        return 1;
    if (command == Cmd::DiagramStraightenArc)
        AddUndoAction(new DiagramArcShapeAction(this, "Straighten Arc", arc, ArcShape{}, true));
    else
        AddUndoAction(new DiagramFlipArcAction(this, arc));
    return 1;
}

int InfluenceDiagramWindow::OnNodeCommand(unsigned command)
{
    if (command == Cmd::NodeDrawNewArc) {
        if (InfluenceNodeRecord* node = FirstSelected(); node != nullptr && Pane() != nullptr)
            Pane()->StartInfluence(node);
        return 1;
    }
    if (command == Cmd::DisplayPreferences) {
        EditPreferences();
        return 1;
    }
    if (command == Cmd::EditLinks) {
        // A diagram has no spreadsheet links: the dialog offers none.
        LinksDialog links(document.links, &OwnerWindow());
        if (links.Run())
            SetModified(1);
        return 1;
    }
    if (command == Cmd::EditCreateClone) {
        InfluenceNodeRecord* node = FirstSelected();
        if (node == nullptr)
            return 1;
        if (node->clones.empty()) {
            // With sub-models on this level the person chooses where the clone goes.
            const std::vector<InfluenceNodeRecord*> subModels = LevelSubModels(*this);
            const int chosen = subModels.empty() ? 0 : RunMakeCloneDialog(subModels);
            if (chosen < 0)
                return 1;
            AddUndoAction(new DiagramMakeCloneAction(this, node, chosen == 0 ? nullptr : subModels[chosen - 1]));
            return 1;
        }
        if (AskYesNo(nullptr, "Destroying a node's clones is not undoable. Do you wish to proceed?", 0) != 1)
            return 1;
        ClearUndoHistory();
        ClearSelection();
        DestroyClones(*node);
        UpdateExtent();
        SetModified(1);
        SelectNode(node, false);
        return 1;
    }
    if (command == Cmd::DisplayFont) {
        InfluenceNodeRecord* node = editor_ != nullptr ? FirstSelected() : nullptr;
        FontRecord font = node != nullptr && node->font ? *node->font : document.prefs.nodeFont;
        EndInPlaceEdit();
        if (EditFontRecord(font, Handle(), ThePreferences().trueTypeFontsOnly))
            AddUndoAction(new DiagramFontChangeAction(this, node, font));
        return 1;
    }
    AddUndoAction(new DiagramCreateNodeAction(this, CommandToNodeKind(command), clickPoint));
    return 1;
}

int InfluenceDiagramWindow::OnPropertyCommand(unsigned command)
{
    if (command == Cmd::ArcEditArc || command == Cmd::ArcAlignJoined) {
        InfluenceArc* arc = selectedArc_;
        if (arc == nullptr)
            return 1;
        if (command == Cmd::ArcEditArc)
            EditArcSettings(*this, *arc);
        else
            RunAlignNodesDialog(*this, {arc->tail, arc->head});
        return 1;
    }
    if (command == Cmd::DiagramAlign) {
        RunAlignNodesDialog(*this, std::vector<InfluenceNodeRecord*>(selectedNodes_));
        return 1;
    }
    InfluenceNodeRecord* node = FirstSelected();
    if (node == nullptr)
        return 1;
    // A clone's properties are its master's, when the master is on this level.
    if (command != Cmd::OptionsChangeNodeType && IndexOfNode(node->Effective()) >= 0)
        node = node->Effective();
    // The label editor closes for the dialog and opens again after it.
    const bool editing = editor_ != nullptr;
    switch (command) {
    case Cmd::DiagramDescription:
        EditNodeDescription(*this, *node);
        break;
    case Cmd::DiagramVariable:
        EditNodeVariable(*this, *node);
        break;
    case Cmd::DiagramOutcomes:
        EditNodeStates(*this, *node);
        break;
    default:
        RunNodeShapeDialog(*this, *node);
        break;
    }
    if (editing && selectedNodes_.size() == 1)
        StartInPlaceEdit();
    return 1;
}

void InfluenceDiagramWindow::RenameVariableEverywhere(const char* oldName, const char* newName)
{
    document.ForEachNode([&](InfluenceNodeRecord& node) { node.RenameVariable(oldName, newName); });
}

void InfluenceDiagramWindow::DestroyClones(InfluenceNodeRecord& master)
{
    for (InfluenceNodeRecord* clone : master.clones) {
        InfluenceDiagram& level = clone->parentSubModel && clone->parentSubModel->subDiagram
                                      ? *clone->parentSubModel->subDiagram
                                      : OwnerWindow().Diagram();
        // The window that shows the clone's level may have it selected.
        InfluenceDiagramWindow* shown = clone->parentSubModel ? SubModelWindow(clone->parentSubModel) : &OwnerWindow();
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

int InfluenceDiagramWindow::OnSubModelCommand(unsigned command)
{
    const bool collapse = command == Cmd::DisplayCollapseSubtree;
    const std::string question = std::string(collapse ? "Collapsing the selected nodes into a sub-model is not undoable."
                                                      : "Expanding the sub-model is not undoable.") +
                                 " Do you wish to proceed?";
    if (AskYesNo(nullptr, question.c_str(), 0) != 1)
        return 1;
    ClearUndoHistory();
    const std::vector<InfluenceNodeRecord*> nodes = selectedNodes_;
    InfluenceDiagram& level = Diagram();
    ClearSelection();
    if (collapse) {
        LogicalRect bounds = nodes.front()->NodeRect();
        for (const InfluenceNodeRecord* node : nodes) {
            const LogicalRect rect = node->NodeRect();
            bounds = LogicalRect{std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                                 std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom)};
        }
        auto* subModel = new InfluenceNodeRecord;
        subModel->document = &document;
        subModel->kind = InfluenceKind::SubModel;
        subModel->parentSubModel = subModelNode_;
        subModel->SetRect(bounds);
        level.AddNode(subModel);
        subModel->Layout();
        CollapseToSubModel(*subModel, nodes, level);
        UpdateExtent();
        SelectNode(subModel, true);
    } else {
        InfluenceNodeRecord* subModel = nodes.front();
        // Its window shows the level being moved out: it closes first.
        CloseSubModelWindows({subModel});
        ExpandSubModel(*subModel, level);
        level.nodes.erase(std::remove(level.nodes.begin(), level.nodes.end(), subModel), level.nodes.end());
        delete subModel;
        UpdateExtent();
    }
    SetModified(1);
    InvalidateAll();
    return 1;
}

void InfluenceDiagramWindow::ShowCheckFailure(const std::vector<InfluenceNodeRecord*>& nodes, const std::string& text)
{
    std::vector<InfluenceNodeRecord*> here;
    for (InfluenceNodeRecord* node : nodes)
        if (IndexOfNode(node) >= 0)
            here.push_back(node);
    if (!here.empty())
        ShowNodes(here);
    ShowErrorBox(nullptr, text.c_str(), 0);
}

int InfluenceDiagramWindow::OnBayesRevision(unsigned)
{
    const DiagramCheck check = CheckDiagramComplete(document);
    if (check.finalNode == nullptr) {
        ShowCheckFailure(check.nodes, check.text);
        return 1;
    }
    std::vector<InfluenceNodeRecord*> nodes;
    document.ForEachNode([&nodes](InfluenceNodeRecord& node) { nodes.push_back(&node); });
    std::vector<RevisedEvent> revisions;
    OrderDiagramNodes(check.finalNode, nodes, document.prefs.verticalInf != 0, &revisions);
    if (revisions.empty())
        ShowInfoBox(nullptr, "This influence diagram does not require the use of Bayes' revision.",
                    DialogRes::BayesRevision3475);
    else
        DiagramBayesDialog(revisions).Run();
    return 1;
}

int InfluenceDiagramWindow::OnConvertToTree(unsigned)
{
    const DiagramCheck check = CheckDiagramComplete(document);
    if (check.finalNode == nullptr) {
        ShowCheckFailure(check.nodes, check.text);
        return 1;
    }
    EndInPlaceEdit();
    WaitCursorScope wait;
    zString rootText;
    FilePathObject().GetBaseName(rootText);
    auto* tree = new TreeWindow();
    ConvertDiagramToTree(document, check.finalNode, rootText.Text(), tree->Document());
    tree->Redraw();
    tree->SetModified(1);
    tree->Show(SW_SHOWNORMAL);
    return 1;
}

int InfluenceDiagramWindow::OnTableCommand(unsigned command)
{
    InfluenceNodeRecord* node = FirstSelected();
    if (node == nullptr)
        return 1;
    const bool values = command == Cmd::DiagramValues;
    const int table = values ? InfluenceNodeRecord::ValueTable : InfluenceNodeRecord::ProbabilityTable;
    EndInPlaceEdit();
    // The table's tree is never shown as a window of its own.
    std::unique_ptr<TreeWindow> tree;
    PreparedTable prepared;
    {
        WaitCursorScope wait;
        tree = TreeWindow::Unshown(node->Effective()->name.Text());
        prepared = PrepareNodeTable(document, *node, table, tree->Document());
    }
    if (!prepared.text.empty()) {
        ShowCheckFailure(prepared.nodes, prepared.text);
        return 1;
    }
    tree->Redraw();
    OutcomeTableEditor editor(*node, *tree, prepared.rows, values);
    if (!editor.Edit())
        return 1;
    // Links that Paste Link made in the table belong to the diagram from now on.
    BuildLinkItemList(tree->Document().DocumentLinks, document.links);
    AddUndoAction(new DiagramTableAction(this, node->Effective(), table, prepared.rows));
    return 1;
}

int InfluenceDiagramWindow::OnEditCommand(unsigned command)
{
    if (command == Cmd::EditCopySpecial) {
        CopyPicture();
        return 1;
    }
    const EditMasks masks = ComputeEditMasks();
    unsigned mask = command == Cmd::EditCut     ? masks.cut
                    : command == Cmd::EditCopy  ? masks.copy
                    : command == Cmd::EditClear ? masks.clear
                                                : masks.paste;
    if (command == Cmd::NodePasteText)
        mask &= TextBit;
    else if (command == Cmd::NodePasteNode)
        mask &= kNodeBits;
    unsigned kind = SingleBit(mask);
    if (kind == 0 && mask != 0) {
        const unsigned verb = command == Cmd::NodePasteNode ? Cmd::EditPaste : command;
        EditScopeDialog dialog(verb, mask, false);
        const int scope = dialog.Run();
        kind = scope > 0 ? 1u << scope : 0;
    }
    const unsigned verb = command == Cmd::NodePasteText || command == Cmd::NodePasteNode ? Cmd::EditPaste : command;
    if ((kind & kNodeBits) != 0)
        return OnNodesEdit(verb);
    if (kind == NoteBit)
        return OnNoteEdit(verb);
    if (kind == ArcBit && selectedArc_ != nullptr)
        AddUndoAction(new DiagramClearArcAction(this, selectedArc_));
    if (kind != TextBit || editor_ == nullptr)
        return 1;
    InPlaceEdit* editor = editor_;
    // The label's text: the editor's own edit, and its change notice opens the typing step.
    switch (verb) {
    case Cmd::EditCut:
        editor->Cut();
        break;
    case Cmd::EditCopy:
        editor->Copy();
        return 1;
    case Cmd::EditPaste:
        SendMessageA(editor->Handle(), WM_PASTE, 0, 0);
        break;
    default:
        editor->ReplaceSelection("");
        break;
    }
    InPlaceTextChanged();
    return 1;
}

int InfluenceDiagramWindow::OnNodesEdit(unsigned command)
{
    switch (command) {
    case Cmd::EditCut:
        CutDiagramNodes(*this);
        break;
    case Cmd::EditCopy:
        CopyDiagramNodes(*this);
        break;
    case Cmd::EditClear:
        ClearDiagramNodes(*this);
        break;
    default:
        AddUndoAction(new DiagramPasteNodesAction(this, CanPasteDiagramNodes()));
        break;
    }
    return 1;
}

int InfluenceDiagramWindow::OnNoteEdit(unsigned command)
{
    switch (command) {
    case Cmd::EditCut:
        AddUndoAction(new DiagramNoteAction(this, DiagramNoteAction::Cut, nullptr));
        break;
    case Cmd::EditCopy:
        if (selectedNote_ != nullptr)
            PutNoteBoxOnClipboard(*selectedNote_);
        break;
    case Cmd::EditClear:
        AddUndoAction(new DiagramNoteAction(this, DiagramNoteAction::Clear, nullptr));
        break;
    default:
        if (NoteBox* note = GetNoteBoxFromClipboard())
            AddUndoAction(new DiagramNoteAction(this, DiagramNoteAction::Paste, note));
        else
            MessageBeep(MB_ICONEXCLAMATION);
        break;
    }
    return 1;
}

InfluenceDiagramWindow::EditMasks InfluenceDiagramWindow::ComputeEditMasks() const
{
    EditMasks masks;
    if (editor_ != nullptr) {
        const EditCtrl::Selection selected = editor_->GetSelection();
        if (selected.high > selected.low)
            masks.copy |= TextBit;
        if (IsClipboardFormatAvailable(CF_TEXT))
            masks.paste |= TextBit;
    } else {
        if (selectedNote_ != nullptr)
            masks.copy |= NoteBit;
        if (!selectedNodes_.empty())
            masks.copy |= selectedNodes_.size() == 1 ? OneNodeBit : NodesBit;
    }
    masks.cut = masks.copy;
    masks.clear = masks.copy | (selectedArc_ != nullptr ? ArcBit : 0u);
    if (const int16_t count = CanPasteDiagramNodes(); count > 0)
        masks.paste |= count == 1 ? OneNodeBit : NodesBit;
    if (selectedNodes_.empty() && selectedArc_ == nullptr && selectedNote_ == nullptr && IsNoteBoxOnClipboard())
        masks.paste |= NoteBit;
    return masks;
}

// Each item is named by the one kind it would act on ("Clea&r Arc"), or "..." for several; grayed when
// the window does not carry that edit out. The menu bar shows the keys, a context menu no '&'.
void InfluenceDiagramWindow::UpdateEditMenuTexts(HMENU menu, bool popup) const
{
    const EditMasks masks = ComputeEditMasks();
    const struct {
        unsigned id;
        unsigned mask;
    } items[] = {{Cmd::EditCut, masks.cut}, {Cmd::EditCopy, masks.copy}, {Cmd::EditClear, masks.clear},
                 {Cmd::EditPaste, masks.paste}};
    for (const auto& item : items) {
        if (GetMenuState(menu, item.id, MF_BYCOMMAND) == static_cast<UINT>(-1))
            continue;
        const bool enabled = (item.mask & kHandledEdits) != 0;
        // With nothing to act on, the verb alone.
        const char* word = item.mask == 0 ? "" : SingleBit(item.mask) != 0 ? BitWord(item.mask) : nullptr;
        const std::string text = EditItemText(item.id, word, popup);
        ModifyMenuA(menu, item.id, MF_BYCOMMAND | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), item.id,
                    text.c_str());
    }
    if (popup) {
        SetItem(menu, Cmd::NodePasteText, (masks.paste & TextBit) != 0);
        SetItem(menu, Cmd::NodePasteNode, (masks.paste & kNodeBits) != 0);
    }
}

// "Al&ternatives..." for a decision node, "Ou&tcomes..." otherwise.
static void SetOutcomesText(HMENU menu, const InfluenceNodeRecord* node)
{
    if (GetMenuState(menu, Cmd::DiagramOutcomes, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return;
    const InfluenceNodeRecord* effective = node != nullptr && node->isClone != 0 && node->cloneMaster ? node->cloneMaster : node;
    const bool alternatives = effective != nullptr && effective->kind == InfluenceKind::Decision;
    const UINT state = GetMenuState(menu, Cmd::DiagramOutcomes, MF_BYCOMMAND) & MF_GRAYED;
    ModifyMenuA(menu, Cmd::DiagramOutcomes, MF_BYCOMMAND | MF_STRING | state, Cmd::DiagramOutcomes,
                alternatives ? "Al&ternatives..." : "Ou&tcomes...");
}

void InfluenceDiagramWindow::UpdateMenus(HMENU bar)
{
    const DiagramFacts facts(*this);
    for (const CommandRow& row : Commands)
        SetItem(bar, row.id, row.rule != nullptr && row.rule(facts));
    UpdateEditMenuTexts(bar, false);
    const InfluenceNodeRecord* node = facts.single;
    SetOutcomesText(bar, node);
    const char* clone = node != nullptr && !node->clones.empty() ? "Destroy Clo&nes..."
                        : node != nullptr && node->isClone == 0 && node->kind != InfluenceKind::SubModel &&
                                  LevelHasSubModel(*this)
                            ? "Create Clo&ne..."
                            : "Create Clo&ne";
    if (GetMenuState(bar, Cmd::FileConvertToOutline, MF_BYCOMMAND) != static_cast<UINT>(-1))
        ModifyMenuA(bar, Cmd::FileConvertToOutline,
                    MF_BYCOMMAND | MF_STRING | (CommandEnabled(Cmd::FileConvertToOutline) ? MF_ENABLED : MF_GRAYED),
                    Cmd::FileConvertToOutline, "Con&vert To Tree");
    if (GetMenuState(bar, Cmd::EditCreateClone, MF_BYCOMMAND) != static_cast<UINT>(-1))
        ModifyMenuA(bar, Cmd::EditCreateClone,
                    MF_BYCOMMAND | MF_STRING | (CommandEnabled(Cmd::EditCreateClone) ? MF_ENABLED : MF_GRAYED),
                    Cmd::EditCreateClone, clone);
}

void InfluenceDiagramWindow::UpdatePopupMenu(HMENU popup)
{
    const DiagramFacts facts(*this);
    for (const CommandRow& row : Commands)
        SetItem(popup, row.id, row.rule != nullptr && row.rule(facts));
    UpdateEditMenuTexts(popup, true);
    SetOutcomesText(popup, facts.single);
}

void InfluenceDiagramWindow::SetDefaultCommandStates()
{
    EnableSaveCommand(IsDocument() != 0 && (IsModified() != 0 || FilePathObject().IsEmpty()) ? 1 : 0);
    EnablePrintCommands(CanPrint());
    EnableConvertToOutline(CommandEnabled(Cmd::FileConvertToOutline) ? 1 : 0);
    DisableAnalysisCommands();
    EnableChangeNodeType(CommandEnabled(Cmd::OptionsChangeNodeType));
    EnableDefineVariable(0);
    EnableCommand1556(0);
    EnableProbabilityWheel(0);
    EnableFontCommand(CommandEnabled(Cmd::DisplayFont));
    SelectModeButton(ToolButton(*this));
}

void InfluenceDiagramWindow::OnActivated()
{
    toolMode = SelectTool;
    DocumentWindow::OnActivated();
}
