#pragma once
// The influence-diagram window: the document window of one influence diagram. It owns the diagram's
// document, shows it in a zoomable pane, paints it and reads and writes its ".ind" file; it keeps the
// selection (nodes, or one arc, or one note), the drawing tool of the tool bar and the in-place editor of a
// node's label, and turns the Diagram menu's commands into undoable edits.

#include "widgets/DocumentWindow.h"
#include "model/InfluenceDiagram.h"

#include <memory>
#include <string>
#include <vector>

class DiagramPane;
class InPlaceEdit;
class NoteBox;
class zFont;

class InfluenceDiagramWindow : public DocumentWindow {
public:
    // The tool the next press in the pane uses.
    enum Tool : int { SelectTool = 0, ArcTool = 1, NodeTool = 2, NoteTool = 3 };
    // What Cut, Copy, Clear and Paste act on: one node, several nodes, the label's text, a note, an arc.
    enum EditBit : unsigned { OneNodeBit = 2, NodesBit = 4, TextBit = 8, NoteBit = 16, ArcBit = 32 };
    struct EditMasks {
        unsigned copy = 0, cut = 0, clear = 0, paste = 0;
    };

    // A new, empty diagram titled "Untitled Influence Diagram n" (or "DIAGn.IND" without full document
    // titles) with the next number of the run, made hidden inside the main frame.
    InfluenceDiagramWindow();
    // The diagram of the file, titled by it; a file that cannot be read is reported and leaves an empty
    // diagram without path or title (no untitled number is taken): FileRead is then false and the window is
    // to be deleted unseen.
    explicit InfluenceDiagramWindow(const char* path);
    bool FileRead() const override { return fileRead_; }
    // The window of a sub-model node shown in `shower` (a window of the same document): it shows the
    // node's level, titled "<document title>: Sub-Model "<name>"", and is no document of its own.
    InfluenceDiagramWindow(InfluenceDiagramWindow& shower, InfluenceNodeRecord& subModel);
    // A document window first closes the sub-model windows of its document.
    ~InfluenceDiagramWindow() override;

    // A sub-model window asks no save question and marks its document window modified; its open editor
    // ends when it closes.
    int IsDocument() override { return subModelNode_ == nullptr ? 1 : 0; }
    int QueryClose(const char* question) override;
    // The editors of the document's window and of its open sub-model windows end.
    bool EndOpenEdits() override;
    void SetModified(int flag) override;
    // The step is applied; in a sub-model window it marks the document modified as well.
    void AddUndoAction(UndoAction* action);

    int DocumentKind() override { return 3; }
    // The document's new file names the window and the open sub-model windows of its document.
    void SetTitleFromPath(const char* path) override;
    const char* const* FileFilter() override;
    // Header and document, with the pane's zoom.
    bool WriteDocument(Archive& stream) override;
    // Header and document; laid out and shown at the zoom it was stored with.
    bool ReadDocument(Archive& stream, uint32_t fileSize) override;

    // The diagram, then on the screen the selection's marks: the selected note's handles, the selected
    // arc's middle handle, the band inside every selected node and the node an influence is drawn to.
    void Draw(Display* display) override;
    void Bounds(LogicalRect& rect) override;
    // A diagram and a sub-model print as a tree does: on the diagram's page set-up and scale, placed by its
    // offsets, centred on one page as the document's preferences say.
    int CanPrint() override { return 1; }
    // Save As a ".bmp" or ".wmf" name and Snapshot save the picture of the window's drawing.
    int CanSaveAsPicture() override { return 1; }
    int CentreOnePage() override { return document.prefs.centerPrint; }
    PrinterSetupRecord& PrinterSettings() override { return Diagram().pageSetup; }
    double GetPrintScale() override { return Diagram().PrintScale(); }
    void SetPrintScale(double scale, double) override { Diagram().SetPrintScale(scale); }
    // The print preview's placing of the drawing, in thousandths of an inch in the diagram.
    bool GetPrintOffset(float& x, float& y) override;
    void SetPrintOffset(float x, float y) override;

    // Commands (DiagramCommands.cpp): the label editor's own edit commands first, then the diagram's command
    // table, Save and Save As among its rows. Every command ends the drawing tool, except that a tool button
    // starts one.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // 1 when the command is the diagram's (also when its rule refuses it), 0 otherwise.
    int OnCommand(unsigned command);
    bool CommandEnabled(unsigned command);
    static bool HasCommand(unsigned id);
    // The handlers, one for each row of the command table (DiagramCommandHandlers.h).
    struct CommandHandlers;
    // The Diagram menu and the Edit items by the command table's rules, titled from the selection.
    void UpdateMenus(HMENU bar) override;
    // A context menu: the same rules, the edit items without '&' and key texts.
    void UpdatePopupMenu(HMENU popup);
    // The tool bar: Save, printing, the buttons by the rows' rules, the pressed tool button.
    void SetDefaultCommandStates() override;
    void OnActivated() override;
    EditMasks ComputeEditMasks() const;

    // Preferences of the diagram; after OK every node is laid out again and the diagram is modified.
    void EditPreferences();

    // Selection: the nodes in the order they were selected, or one arc, or one note.
    const std::vector<InfluenceNodeRecord*>& SelectedNodes() const { return selectedNodes_; }
    InfluenceNodeRecord* FirstSelected() const { return selectedNodes_.empty() ? nullptr : selectedNodes_[0]; }
    InfluenceArc* SelectedArc() const { return selectedArc_; }
    NoteBox* SelectedNote() const { return selectedNote_; }
    bool IsSelected(const InfluenceNodeRecord* node) const;
    // The node alone selected; with startEdit its label editor opens.
    void SelectNode(InfluenceNodeRecord* node, bool startEdit);
    void AddToSelection(InfluenceNodeRecord* node);
    // The node leaves the selection; when one remains, its label editor opens.
    void DeselectNode(InfluenceNodeRecord* node);
    // Exactly these nodes selected, in this order.
    void ShowNodes(const std::vector<InfluenceNodeRecord*>& nodes);
    void SelectArc(InfluenceArc* arc);
    // The note alone selected; with edit its text editor opens.
    void SelectNote(NoteBox* note, bool edit = false);
    // Nothing selected; the label editor closes first.
    void ClearSelection();
    // The first arc of the diagram at the point, hit as the pane draws it (DiagramLevelLookups.h has the
    // level's other lookups).
    InfluenceArc* ArcAtPoint(DiagramPoint point);

    // The drawing keeps a margin of 0.25 on the left and top (everything moves when it has less), and the
    // scroll ranges follow its size; the pane is repainted.
    void UpdateExtent();

    // The label editor (DiagramLabelEditing.cpp).
    // The editor over the label of the one selected node, or over the selected note, with the caret at the
    // end; nothing while the window is not the active child, several nodes or a clone are selected, or an
    // editor is open.
    void StartInPlaceEdit();
    // The typed text goes into the node (laid out again) or the note, and the open "Typing" step ends.
    void EndInPlaceEdit();
    // The editor closes (Escape), the text left as it was when it opened and its "Typing" step dropped.
    void CancelInPlaceEdit();
    // The editor's text changed: the first change opens one "Typing" step.
    void InPlaceTextChanged();
    InPlaceEdit* LabelEditor() const { return editor_; }
    DiagramPane* Pane() const;

    // The level this window shows: the document's diagram, or a sub-model's in a sub-model window.
    InfluenceDiagram& Diagram() const { return *level_; }
    // The sub-model node whose level this window shows; null for the document's window.
    InfluenceNodeRecord* SubModelNode() const { return subModelNode_; }
    // The document window: the window itself, or the one that owns the document of a sub-model window.
    InfluenceDiagramWindow& OwnerWindow() { return owner_ != nullptr ? *owner_ : *this; }
    // The open window of a sub-model node of this document, or null.
    InfluenceDiagramWindow* SubModelWindow(const InfluenceNodeRecord* node);
    // The sub-model node's window (a clone's: its master's), opened beside this one when none is open,
    // brought to the top.
    InfluenceDiagramWindow* OpenSubModel(InfluenceNodeRecord* node);
    // Closes the windows of these nodes' sub-models, and of sub-models inside them.
    void CloseSubModelWindows(const std::vector<InfluenceNodeRecord*>& nodes);
    // "<document title>: Sub-Model "<name, 16 characters>"".
    std::string SubModelTitle() const;
    // The node's open sub-model window takes its title from the node's name again.
    void RetitleSubModel(const InfluenceNodeRecord* node);
    // The part of the drawing in view (logical units); a letter page at the origin while not shown.
    LogicalRect VisibleArea() const;

    int toolMode = SelectTool;
    // The kind of node the node tool makes.
    int toolKind = 1;
    // Where the last press in the pane was (logical units): new nodes of the context menu go there.
    DiagramPoint clickPoint;
private:
    // The document of a document window; none in a sub-model window.
    std::unique_ptr<InfluenceDocument> ownDocument_;

public:
    InfluenceDocument& document;

private:
    void GiveUntitledTitle();
    // The pane at the document's zoom, and the measuring of texts on its display.
    void CreatePane();
    // The document (laid out as it was read) shown at its zoom.
    void ShowDocument();
    // The commands' handlers.
    struct CommandRow;
    static const CommandRow Commands[];
    static const CommandRow* FindCommand(unsigned id);
    void UpdateEditMenuTexts(HMENU menu, bool popup) const;

    InfluenceDiagram* level_ = &document.diagram;
    InfluenceNodeRecord* subModelNode_ = nullptr;
    InfluenceDiagramWindow* owner_ = nullptr;
    // False when the file of the path constructor could not be read.
    bool fileRead_ = true;
    // In a document window: the open sub-model windows of its document.
    std::vector<InfluenceDiagramWindow*> subModelWindows_;
    std::unique_ptr<DiagramMeasure> measure_;
    std::vector<InfluenceNodeRecord*> selectedNodes_;
    InfluenceArc* selectedArc_ = nullptr;
    NoteBox* selectedNote_ = nullptr;
    InPlaceEdit* editor_ = nullptr;
    std::unique_ptr<zFont> editorFont_;
    zString editStart_;
};
