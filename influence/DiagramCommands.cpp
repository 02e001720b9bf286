// The commands of an influence-diagram window: the command table (the handler of each command and the rule
// that enables its menu item and refuses it while the item would be grayed), and the menus by its rules. The
// handlers are in DiagramCommandHandlers.h and DiagramEditCommands.cpp, the Edit items' titles and the tool bar
// in DiagramMenuState.cpp.

#include "influence/DiagramCommandHandlers.h"

#include "widgets/EditMenuTexts.h"
#include "widgets/FrameCommands.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/MainToolbar.h"
#include "widgets/CursorStack.h"
#include "widgets/ProgramPreferences.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/FontRecordFonts.h"
#include "influence/ArcDialogs.h"
#include "influence/DiagramActions.h"
#include "influence/DiagramNodeDialogs.h"
#include "influence/DiagramPane.h"
#include "influence/NodePropertyDialogs.h"
#include "influence/DiagramBayesDialog.h"
#include "influence/OutcomeTableEditor.h"
#include "influence/DiagramTableAction.h"
#include "dialogs/EditScopeDialog.h"
#include "influence/DiagramClipboard.h"
#include "treewin/NoteBoxClipboard.h"
#include "model/InfluenceChecks.h"
#include "model/InfluenceConversion.h"
#include "model/InfluenceOrder.h"
#include "widgets/LinksDialog.h"
#include "treewin/TreeWindow.h"
#include "model/InfluenceSubModels.h"

#include "CommandIds.h"

std::vector<InfluenceNodeRecord*> LevelSubModels(const InfluenceDiagramWindow& window)
{
    return SubModelsOf(window.Diagram());
}

bool LevelHasSubModel(const InfluenceDiagramWindow& window)
{
    return !LevelSubModels(window).empty();
}

namespace {

bool Always(const DiagramFacts&) { return true; }

// One node selected that is no sub-model node.
bool SingleNotSubModel(const DiagramFacts& f)
{
    return f.single != nullptr && f.single->kind != InfluenceKind::SubModel;
}

} // namespace

using Handlers = InfluenceDiagramWindow::CommandHandlers;

// Commands without a rule are those whose dialogs and engines the window does not have yet: their items
// stay grayed.
const InfluenceDiagramWindow::CommandRow InfluenceDiagramWindow::Commands[] = {
    // A sub-model window saves the diagram it belongs to.
    {Cmd::FileSave, Handlers::Save, Always},
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
