// The Edit items of an influence-diagram window's menus, titled from the selection, and its tool bar's
// states by the command table's rules.

#include "influence/InfluenceDiagramWindow.h"

#include "widgets/EditMenuTexts.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/MainToolbar.h"
#include "influence/DiagramClipboard.h"
#include "influence/DiagramCommandRows.h"
#include "treewin/NoteBoxClipboard.h"

#include "CommandIds.h"

#include <string>

namespace {

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

} // namespace

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

void InfluenceDiagramWindow::SetDefaultCommandStates()
{
    // A sub-model window's Save is its diagram's.
    InfluenceDiagramWindow& diagram = OwnerWindow();
    EnableSaveCommand(diagram.IsModified() != 0 || diagram.FilePathObject().IsEmpty() ? 1 : 0);
    EnablePrintCommands(CanPrint());
    // The tree's Values and Analysis buttons have no row here: they are disabled.
    EnableToolbarButtons([this](unsigned id) { return CommandEnabled(id); });
    CheckRollBackButton(false);
    SelectModeButton(ToolButton(*this));
}
