// A diagram window's Edit commands (cut, copy, paste and clear, each acting on the kind of object chosen)
// and Create/Destroy Clones.

#include "influence/DiagramCommandHandlers.h"

#include "dialogs/EditScopeDialog.h"
#include "foundation/MessageBoxes.h"

#include "CommandIds.h"

#include <vector>

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
