#pragma once
// The handlers of a diagram window's command table (DiagramCommands.cpp), one for each row; the Edit verbs and
// Create/Destroy Clones are defined in DiagramEditCommands.cpp.

#include "widgets/InPlaceEdit.h"
#include "widgets/ProgramPreferences.h"
#include "framework/draw/FontRecordFonts.h"
#include "influence/ArcDialogs.h"
#include "influence/DiagramActions.h"
#include "influence/DiagramAnalyses.h"
#include "influence/DiagramClipboard.h"
#include "influence/DiagramCommandRows.h"
#include "influence/DiagramLevelLookups.h"
#include "influence/DiagramNodeDialogs.h"
#include "influence/DiagramPane.h"
#include "influence/DiagramSubModelEdits.h"
#include "influence/InfluenceDiagramWindow.h"
#include "influence/NodePropertyDialogs.h"
#include "widgets/LinksDialog.h"
#include "treewin/NoteBoxClipboard.h"

#include <vector>

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
