// The commands of an influence-diagram window: the command table (the handler of each command and the rule
// that enables its menu item and refuses it while the item would be grayed), and the menus by its rules. The
// Edit items' titles and the tool bar are in DiagramMenuState.cpp.

#include "influence/InfluenceDiagramWindow.h"

#include "app/FrameCommands.h"
#include "app/InPlaceEdit.h"
#include "app/ProgramPreferences.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/FontRecordFonts.h"
#include "influence/ArcDialogs.h"
#include "influence/DiagramAnalyses.h"
#include "influence/DiagramCommandRows.h"
#include "influence/DiagramActions.h"
#include "influence/DiagramLevelLookups.h"
#include "influence/DiagramNodeDialogs.h"
#include "influence/DiagramPane.h"
#include "influence/DiagramSubModelEdits.h"
#include "influence/NodePropertyDialogs.h"
#include "dialogs/EditScopeDialog.h"
#include "influence/DiagramClipboard.h"
#include "treewin/NoteBoxClipboard.h"
#include "script/LinksDialog.h"
#include "model/InfluenceSubModels.h"

#include "CommandIds.h"

namespace {

bool Always(const DiagramFacts&) { return true; }

// The sub-model nodes of the window's level, in list order.
std::vector<InfluenceNodeRecord*> LevelSubModels(const InfluenceDiagramWindow& window)
{
    return SubModelsOf(window.Diagram());
}

} // namespace

bool LevelHasSubModel(const InfluenceDiagramWindow& window)
{
    return !LevelSubModels(window).empty();
}

namespace {

// One node selected that is no sub-model node.
bool SingleNotSubModel(const DiagramFacts& f)
{
    return f.single != nullptr && f.single->kind != InfluenceKind::SubModel;
}

} // namespace

// The handlers, one for each row of the command table.
struct InfluenceDiagramWindow::CommandHandlers {
    using Window = InfluenceDiagramWindow;

    // Save and Save As of the document, from its own window or from a sub-model window.
    static void Save(Window& window) { window.OwnerWindow().SaveToFile(); }
    static void SaveAs(Window& window) { window.OwnerWindow().SaveAs(nullptr); }
    static void Snapshot(Window& window) { window.SnapshotPicture(); }

    // Pressing a tool's button again releases it; the note tool starts afresh each time.
    static void ChooseTool(Window& window, int tool, int kind)
    {
        const bool again = window.toolMode == tool && (tool != NodeTool || window.toolKind == kind);
        window.toolMode = SelectTool;
        if (tool == SelectTool || (again && tool != NoteTool))
            return;
        window.ClearSelection();
        window.toolMode = tool;
        if (tool == NodeTool)
            window.toolKind = kind;
    }
    template <int kind>
    static void UseNodeTool(Window& window) { ChooseTool(window, NodeTool, kind); }
    static void UseArcTool(Window& window) { ChooseTool(window, ArcTool, 0); }
    static void UseNoteTool(Window& window) { ChooseTool(window, NoteTool, 0); }
    static void UseNoTool(Window& window) { ChooseTool(window, SelectTool, 0); }

    static void StraightenArc(Window& window)
    {
        if (InfluenceArc* arc = window.selectedArc_)
            window.AddUndoAction(new DiagramArcShapeAction(&window, "Straighten Arc", arc, ArcShape{}, true));
    }
    static void FlipArc(Window& window)
    {
        if (InfluenceArc* arc = window.selectedArc_)
            window.AddUndoAction(new DiagramFlipArcAction(&window, arc));
    }

    static void DrawNewArc(Window& window)
    {
        if (InfluenceNodeRecord* node = window.FirstSelected(); node != nullptr && window.Pane() != nullptr)
            window.Pane()->StartInfluence(node);
    }
    static void Preferences(Window& window) { window.EditPreferences(); }
    static void Links(Window& window)
    {
        // A diagram has no spreadsheet links: the dialog offers none.
        LinksDialog links(window.document.links, &window.OwnerWindow());
        if (links.Run())
            window.SetModified(1);
    }
    static void CreateOrDestroyClones(Window& window);
    static void Font(Window& window)
    {
        InfluenceNodeRecord* node = window.editor_ != nullptr ? window.FirstSelected() : nullptr;
        FontRecord font = node != nullptr && node->font ? *node->font : window.document.prefs.nodeFont;
        window.EndInPlaceEdit();
        if (EditFontRecord(font, window.Handle(), ThePreferences().trueTypeFontsOnly))
            window.AddUndoAction(new DiagramFontChangeAction(&window, node, font));
    }
    // The paper's context menu: a new node of the kind where the press was.
    template <int kind>
    static void NewNode(Window& window)
    {
        window.AddUndoAction(new DiagramCreateNodeAction(&window, kind, window.clickPoint));
    }

    static void EditArc(Window& window)
    {
        if (InfluenceArc* arc = window.selectedArc_)
            EditArcSettings(window, *arc);
    }
    static void AlignJoined(Window& window)
    {
        if (InfluenceArc* arc = window.selectedArc_)
            RunAlignNodesDialog(window, {arc->tail, arc->head});
    }
    static void Align(Window& window)
    {
        RunAlignNodesDialog(window, std::vector<InfluenceNodeRecord*>(window.selectedNodes_));
    }
    // A node's dialog; the label editor closes for it and opens again after it. A clone's description,
    // variable and outcomes are its master's, when the master is on this level.
    static void EditNode(Window& window, void (*edit)(Window&, InfluenceNodeRecord&), bool master)
    {
        InfluenceNodeRecord* node = window.FirstSelected();
        if (node == nullptr)
            return;
        if (master && LevelNodeIndex(window.Diagram(), node->Effective()) >= 0)
            node = node->Effective();
        const bool editing = window.editor_ != nullptr;
        edit(window, *node);
        if (editing && window.selectedNodes_.size() == 1)
            window.StartInPlaceEdit();
    }
    static void Description(Window& window) { EditNode(window, EditNodeDescription, true); }
    static void Variable(Window& window) { EditNode(window, EditNodeVariable, true); }
    static void Outcomes(Window& window) { EditNode(window, EditNodeStates, true); }
    static void ChangeNodeType(Window& window) { EditNode(window, RunNodeShapeDialog, false); }

    static void CollapseSubModel(Window& window) { ChangeDiagramSubModels(window, true); }
    static void ExpandSubModel(Window& window) { ChangeDiagramSubModels(window, false); }
    static void BayesRevision(Window& window) { ShowBayesRevision(window); }
    static void ConvertToTree(Window& window) { ConvertDiagramWindowToTree(window); }
    static void Probabilities(Window& window) { EditDiagramNodeTable(window, false); }
    static void Values(Window& window) { EditDiagramNodeTable(window, true); }

    // The Edit commands: what each verb does to the kind of object it acts on.
    struct EditVerb {
        unsigned command;
        unsigned EditMasks::*mask;
        void (*nodes)(Window& window);
        void (*note)(Window& window);
        // The label's text, through the editor's own edit; false when the text stays as it was.
        bool (*text)(InPlaceEdit& editor);
    };
    static const EditVerb CutVerb, CopyVerb, PasteVerb, ClearVerb;
    // Acts on the one kind of the verb's mask (limited to only), asking which when it holds several.
    static void Edit(Window& window, const EditVerb& verb, unsigned only);
    static void Cut(Window& window) { Edit(window, CutVerb, ~0u); }
    static void Copy(Window& window) { Edit(window, CopyVerb, ~0u); }
    static void Paste(Window& window) { Edit(window, PasteVerb, ~0u); }
    static void Clear(Window& window) { Edit(window, ClearVerb, ~0u); }
    static void PasteText(Window& window) { Edit(window, PasteVerb, TextBit); }
    static void PasteNodes(Window& window) { Edit(window, PasteVerb, kNodeBits); }
    static void CopyPicture(Window& window) { window.CopyPicture(); }

    static void PasteNote(Window& window)
    {
        if (NoteBox* note = GetNoteBoxFromClipboard())
            window.AddUndoAction(new DiagramNoteAction(&window, DiagramNoteAction::Paste, note));
        else
            MessageBeep(MB_ICONEXCLAMATION);
    }
};

using Handlers = InfluenceDiagramWindow::CommandHandlers;

const Handlers::EditVerb Handlers::CutVerb = {
    Cmd::EditCut, &EditMasks::cut, [](Window& window) { CutDiagramNodes(window); },
    [](Window& window) { window.AddUndoAction(new DiagramNoteAction(&window, DiagramNoteAction::Cut, nullptr)); },
    [](InPlaceEdit& editor) {
        editor.Cut();
        return true;
    }};
const Handlers::EditVerb Handlers::CopyVerb = {
    Cmd::EditCopy, &EditMasks::copy, [](Window& window) { CopyDiagramNodes(window); },
    [](Window& window) {
        if (window.SelectedNote() != nullptr)
            PutNoteBoxOnClipboard(*window.SelectedNote());
    },
    [](InPlaceEdit& editor) {
        editor.Copy();
        return false;
    }};
const Handlers::EditVerb Handlers::PasteVerb = {
    Cmd::EditPaste, &EditMasks::paste,
    [](Window& window) { window.AddUndoAction(new DiagramPasteNodesAction(&window, CanPasteDiagramNodes())); },
    PasteNote,
    [](InPlaceEdit& editor) {
        SendMessageA(editor.Handle(), WM_PASTE, 0, 0);
        return true;
    }};
const Handlers::EditVerb Handlers::ClearVerb = {
    Cmd::EditClear, &EditMasks::clear, [](Window& window) { ClearDiagramNodes(window); },
    [](Window& window) { window.AddUndoAction(new DiagramNoteAction(&window, DiagramNoteAction::Clear, nullptr)); },
    [](InPlaceEdit& editor) {
        editor.ReplaceSelection("");
        return true;
    }};

void Handlers::Edit(Window& window, const EditVerb& verb, unsigned only)
{
    const unsigned mask = window.ComputeEditMasks().*verb.mask & only;
    unsigned kind = SingleBit(mask);
    if (kind == 0 && mask != 0) {
        EditScopeDialog dialog(verb.command, mask, false);
        const int scope = dialog.Run();
        kind = scope > 0 ? 1u << scope : 0;
    }
    if ((kind & kNodeBits) != 0) {
        verb.nodes(window);
    } else if (kind == NoteBit) {
        verb.note(window);
    } else if (kind == ArcBit) {
        if (window.selectedArc_ != nullptr)
            window.AddUndoAction(new DiagramClearArcAction(&window, window.selectedArc_));
    } else if (kind == TextBit && window.editor_ != nullptr) {
        // The label's own edit; its change notice opens the typing step.
        if (verb.text(*window.editor_))
            window.InPlaceTextChanged();
    }
}

void Handlers::CreateOrDestroyClones(Window& window)
{
    InfluenceNodeRecord* node = window.FirstSelected();
    if (node == nullptr)
        return;
    if (node->clones.empty()) {
        // With sub-models on this level the person chooses where the clone goes.
        const std::vector<InfluenceNodeRecord*> subModels = LevelSubModels(window);
        const int chosen = subModels.empty() ? 0 : RunMakeCloneDialog(subModels);
        if (chosen >= 0)
            window.AddUndoAction(
                new DiagramMakeCloneAction(&window, node, chosen == 0 ? nullptr : subModels[chosen - 1]));
        return;
    }
    if (AskYesNo(nullptr, "Destroying a node's clones is not undoable. Do you wish to proceed?", 0) != 1)
        return;
    window.ClearUndoHistory();
    window.ClearSelection();
    DestroyNodeClones(window, *node);
    window.UpdateExtent();
    window.SetModified(1);
    window.SelectNode(node, false);
}

// Commands without a rule are those whose dialogs and engines the window does not have yet: their items
// stay grayed.
const InfluenceDiagramWindow::CommandRow InfluenceDiagramWindow::Commands[] = {
    // Saving is the document window's; a sub-model window saves its document under a new name only.
    {Cmd::FileSave, Handlers::Save, [](const DiagramFacts& f) { return f.window.SubModelNode() == nullptr; }},
    {Cmd::FileSaveAs, Handlers::SaveAs, Always},
    // The window's own picture, of a sub-model window too.
    {Cmd::FileSnapshot, Handlers::Snapshot, Always},
    // The Edit menu and the context menus' paste items.
    {Cmd::EditCut, Handlers::Cut,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().cut & kHandledEdits) != 0; }},
    {Cmd::EditCopy, Handlers::Copy,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().copy & kHandledEdits) != 0; }},
    {Cmd::EditPaste, Handlers::Paste,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().paste & kHandledEdits) != 0; }},
    {Cmd::EditClear, Handlers::Clear,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().clear & kHandledEdits) != 0; }},
    {Cmd::NodePasteText, Handlers::PasteText,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().paste & TextBit) != 0; }},
    {Cmd::NodePasteNode, Handlers::PasteNodes,
     [](const DiagramFacts& f) { return (f.window.ComputeEditMasks().paste & kNodeBits) != 0; }},
    {Cmd::EditCreateClone, Handlers::CreateOrDestroyClones,
     [](const DiagramFacts& f) {
         return f.single != nullptr && (!f.single->clones.empty() || (f.single->isClone == 0 && SingleNotSubModel(f)));
     }},
    {Cmd::EditCopySpecial, Handlers::CopyPicture, Always},
    // Sub-models: collapse (Ctrl+J) and expand (Ctrl+Shift+J), reached by their keys.
    {Cmd::DisplayCollapseSubtree, Handlers::CollapseSubModel, [](const DiagramFacts& f) { return f.nodes >= 2; }},
    {Cmd::DisplayExpandSubtreeOnce, Handlers::ExpandSubModel,
     [](const DiagramFacts& f) { return f.single != nullptr && f.single->kind == InfluenceKind::SubModel; }},
    // The tools and the Display menu's note and font.
    {Cmd::ModeDecision, Handlers::UseNodeTool<InfluenceKind::Decision>, Always, true},
    {Cmd::ModeChance, Handlers::UseNodeTool<InfluenceKind::Chance>, Always, true},
    {Cmd::ModeDeterministic, Handlers::UseNodeTool<InfluenceKind::Deterministic>, Always, true},
    {Cmd::ModeValue, Handlers::UseNodeTool<InfluenceKind::Value>, Always, true},
    {Cmd::ModeArc, Handlers::UseArcTool, Always, true},
    {Cmd::ModeNone, Handlers::UseNoTool, Always, true},
    {Cmd::DisplayCreateNote, Handlers::UseNoteTool, Always, true},
    {Cmd::DisplayPreferences, Handlers::Preferences, Always},
    {Cmd::EditLinks, Handlers::Links, Always},
    {Cmd::DisplayFont, Handlers::Font,
     [](const DiagramFacts& f) {
         return f.editing || (f.nodes == 0 && f.arc == nullptr && f.window.SelectedNote() == nullptr);
     }},
    // The paper's context menu: a new node where the press was.
    {Cmd::RightClickNewDecision, Handlers::NewNode<InfluenceKind::Decision>, Always},
    {Cmd::RightClickNewChance, Handlers::NewNode<InfluenceKind::Chance>, Always},
    {Cmd::RightClickNewDeterm, Handlers::NewNode<InfluenceKind::Deterministic>, Always},
    {Cmd::RightClickNewValue, Handlers::NewNode<InfluenceKind::Value>, Always},
    {Cmd::NodeDrawNewArc, Handlers::DrawNewArc, [](const DiagramFacts& f) { return f.single != nullptr; }},
    // The Diagram menu: the node's dialogs, the arcs and the diagram's analyses.
    {Cmd::DiagramDescription, Handlers::Description, [](const DiagramFacts& f) { return f.single != nullptr; }},
    {Cmd::DiagramVariable, Handlers::Variable, SingleNotSubModel},
    {Cmd::DiagramOutcomes, Handlers::Outcomes,
     [](const DiagramFacts& f) {
         return f.single != nullptr &&
                (f.single->Effective()->kind == InfluenceKind::Chance || f.single->Effective()->kind == InfluenceKind::Decision);
     }},
    {Cmd::DiagramProbabilities, Handlers::Probabilities,
     [](const DiagramFacts& f) { return f.single != nullptr && f.single->kind == InfluenceKind::Chance; }},
    {Cmd::DiagramValues, Handlers::Values,
     [](const DiagramFacts& f) {
         const InfluenceNodeRecord* n = f.single;
         return n != nullptr && (((n->kind == InfluenceKind::Chance || n->kind == InfluenceKind::Decision) &&
                                  n->neverDefine == 0) ||
                                 (n->kind == InfluenceKind::Value && n->noFormula != 0));
     }},
    {Cmd::DiagramStraightenArc, Handlers::StraightenArc,
     [](const DiagramFacts& f) { return f.arc != nullptr && f.arc->curved != 0; }},
    // Flipped, the tail is influenced: it may not be deterministic.
    {Cmd::DiagramFlipArc, Handlers::FlipArc,
     [](const DiagramFacts& f) {
         return f.arc != nullptr && f.arc->tail != nullptr && f.arc->tail->kind != InfluenceKind::Deterministic;
     }},
    {Cmd::ArcEditArc, Handlers::EditArc, [](const DiagramFacts& f) { return f.arc != nullptr; }},
    {Cmd::DiagramAlign, Handlers::Align, [](const DiagramFacts& f) { return f.nodes >= 2; }},
    {Cmd::ArcAlignJoined, Handlers::AlignJoined,
     [](const DiagramFacts& f) { return f.arc != nullptr && f.arc->tail != nullptr && f.arc->head != nullptr; }},
    {Cmd::OptionsChangeNodeType, Handlers::ChangeNodeType,
     [](const DiagramFacts& f) { return SingleNotSubModel(f) && f.single->isClone == 0; }},
    {Cmd::DiagramBayesRevision, Handlers::BayesRevision, Always},
    // The whole document converts, from its own window.
    {Cmd::FileConvertToOutline, Handlers::ConvertToTree,
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
    if (!row->tool)
        toolMode = SelectTool;
    if (row->handler != nullptr && row->rule != nullptr && row->rule(DiagramFacts(*this)))
        row->handler(*this);
    RefreshFrameCommands();
    return 1;
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

void InfluenceDiagramWindow::OnActivated()
{
    toolMode = SelectTool;
    DocumentWindow::OnActivated();
}
