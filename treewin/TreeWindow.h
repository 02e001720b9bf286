#pragma once
// The tree window: the document window of the main frame that shows and edits one tree document. It owns its
// document, which holds the tree and everything computed on it; the document functions of the window hand on
// to it, so callers that hold the window keep its whole interface while the model and the analyses work on
// the document alone. Without a main frame the window has no handle and no pane; the tree is then measured
// on an off-screen display, so a tree stays usable headless.

#include "widgets/DocumentWindow.h"
#include "widgets/WindowList.h"
#include "framework/draw/LogicalUnits.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"
#include "treewin/TreeLayout.h"

#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CustomInterfacePanel;
class Display;
class DistributionRecord;
class FilePath;
class EvaluatorWindow;
class FindReplaceWindow;
class VariablesWindow;
class InPlaceEdit;
class InPlaceEditState;
class NamePopupMenu;
class UndoAction;
class UndoHistory;
class TreeChildWindow;
struct TreeArrow;
class TreeDdeServer;
class TreePane;
class zFont;
struct LogicalPoint;
struct LogicalRect;
struct WindowEvent;

// The four default fonts of a tree, in the order of their line heights.
enum TreeFontKind { TreeTextFont = 0, ProbabilityFont = 1, VariablesTextFont = 2, ValuesFont = 3 };

class TreeWindow : public DocumentWindow, public TreeDocumentView {
public:
    // A new tree: a fresh decision node as root, or the given tree (see TreeDocument), titled "Untitled Tree n"
    // (or "TREEn.TRE" without full document titles) with the next number of the run and no file path. The
    // window is made hidden inside the main frame; Show shows it.
    explicit TreeWindow(TreeNode* root = nullptr);
    // A tree opened from a file (a ".trb" name reads a roll-back snapshot). A damaged or refused file
    // leaves a fresh root, no path and no title (no untitled number is taken): FileRead is then false and
    // the window is to be deleted unseen.
    explicit TreeWindow(const char* path);
    // False when the file of the constructor above was damaged or refused.
    bool FileRead() const override { return fileRead; }
    TreeWindow(const TreeWindow&) = delete;
    TreeWindow& operator=(const TreeWindow&) = delete;
    ~TreeWindow() override;

    // The tree windows that exist now, oldest first.
    static const std::vector<TreeWindow*>& OpenWindows();

    TreeDocument& Document() { return document; }
    // The file the tree is saved to; empty for an untitled tree.
    zString FilePath() const { return FullPath(); }
    // Saves to the path, which becomes the tree's file; false (message set) when nothing was written. Values
    // that bound windows set for a while (a slider's) are written as they were before.
    bool SaveAs(const char* path, zString& message);
    // Writes a roll-back snapshot to the path; the tree's path, title and modified flag stay as they are.
    bool SaveCopyAs(const char* path, zString& message);
    // The open in-place edit ends, and the tool windows' typed texts are taken (TreeChildWindow::EndEdit).
    bool EndOpenEdits() override;
    const TreeDocument& Document() const { return document; }

    // The modified flag is the document's; a change refreshes the frame's commands.
    void SetModified(int flag) override;
    int IsModified() override { return document.Modified; }

    // The window as a document of the frame.
    int IsTree() override { return 1; }
    int CanPrint() override { return 1; }
    // A roll-back snapshot never asks to be saved; then the save question of every document. A tree with a
    // running analysis refuses to close.
    int QueryClose(const char* question) override;
    // The status indicators of the frame follow the tree that becomes active.
    void OnActivated() override;
    // A text being typed in place is taken into the tree before another window acts.
    void OnDeactivated() override;
    void Bounds(LogicalRect& rect) override;
    void Draw(Display* display) override;
    void OnZoomChanged() override;
    // The tree's own printer settings, stored in its file.
    PrinterSetupRecord& PrinterSettings() override;
    bool WriteDocument(Archive& stream) override;
    bool Storable(zString& message) override;
    const char* const* FileFilter() override;
    bool ReadDocument(Archive& stream, uint32_t fileSize) override;
    // The whole file reads as a tree (or snapshot) again.
    bool FileStillReadable() override;
    // The title follows the path, in the document and in every bound window.
    void SetTitleFromPath(const char* path) override;
    int DocumentKind() override { return 1; }

    // Selection (TreeSelection.cpp). The node selection, the selected note box and the field the in-place
    // edit shows. Selecting a node clears a selected note box, and selecting a note box clears the nodes.
    // Selects the node a click on it means (ResolveSelectableNode) with the field; extend adds it, or
    // removes it when it is selected already. Reselecting the only selected node with its field does nothing.
    void SelectNode(TreeNode* node, int field, const void* point, bool extend);
    // Replaces the selection by the nodes (an open in-place edit is ended first, so it cannot land in another
    // node). Given the name of the window asking, the tree comes to the top and the status line tells how to
    // return to that window.
    void SelectNodes(const NodeChildList& nodes, const char* windowName = nullptr);
    void SelectOrToggleNode(TreeNode* node) { SelectNode(node, 1, nullptr, Selection.Count() > 0); }
    void ClearSelection();
    bool IsNodeSelected(const TreeNode* node) const { return Selection.Contains(node); }
    // The node is selected, or lies (outside a clone copy) in the current node's highlighted subtree.
    bool IsSelectedOrUnderSelection(const TreeNode* node) const;
    // The first selected node, or null.
    TreeNode* CurrentNode() const;
    // Selects the note box; without openText no field is open.
    void SelectNoteBox(NoteBox* note, const void* point, bool openText);
    // The node a click on this one selects: the root of the clone copy it lies in, then the highest
    // collapsed ancestor.
    TreeNode* ResolveSelectableNode(TreeNode* node);
    // Appends every note box whose text equals the text, in the window's order.
    void FindNoteBoxesWithText(const char* text, std::vector<NoteBox*>& out) const;
    // The first note box, or free arrow, in list order whose hit test accepts the point; null when none.
    NoteBox* NoteBoxAt(LogicalPoint point) const;
    TreeArrow* ArrowAt(LogicalPoint point);
    // A Ctrl+click shows the current node's whole shown subtree selected until the selection changes.
    void HighlightSubtree();
    void UnhighlightSubtree();
    // Scrolls the shown pane to the current node, else the selected note or arrow.
    void ScrollSelectionIntoView();
    // The selected nodes, the current node first; a snapshot stores them with the tree.
    NodeChildList Selection{4, Ownership::Borrows};
    // The current node's whole subtree shows selected (HighlightSubtree).
    uint8_t SubtreeSelection = 0;

    // The key operation: keys of the in-place edit and keys released over the pane (the virtual key and
    // whether Alt was down); 1 when the key was used.
    int OnKey(unsigned virtualKey, bool alt);
    // Home, Left, Up, Down and Right move the selection through the tree; with Navigating on and Ctrl held
    // (from the key operation) they skip nodes without a variable binding. 0 when the key is not theirs.
    int NavigateByKey(int key, bool fromKeyOperation);

    // Puts a typed text into the field (EditField's numbering) of the current node or the selected note
    // box, clone copies following. With check a typed probability is evaluated at once (its error shown)
    // and, with complementary probabilities on, completes the one sibling left without a probability.
    void SetFieldText(int field, const zString& text, bool check);
    void CompleteSiblingProbability(TreeNode* node);
    // While one lives, no tree opens an in-place edit: a typed probability is being evaluated, or an edit
    // is being opened. Holds nest; the last one to end lets edits open again.
    class InPlaceEditHold {
    public:
        InPlaceEditHold();
        ~InPlaceEditHold();
        InPlaceEditHold(const InPlaceEditHold&) = delete;
        InPlaceEditHold& operator=(const InPlaceEditHold&) = delete;
        static bool Active();
    };

    // The in-place edit (TreeInPlaceEdit.cpp): an edit control over the text of EditField, on the pane of
    // the shown window while it is the active child. A selection range (start >= 0) places the caret,
    // else it goes to the end. Nothing opens while an edit is open or opening, with two nodes selected, or
    // for a probability while probabilities are hidden.
    void OpenInPlaceEditor(int selectionStart = -1, int selectionEnd = -1);
    // Puts the edit's text into its field when it changed; with check a probability is evaluated.
    void CommitInPlaceEdit(bool check);
    // Commits, completes an open "Typing" step, closes the edit and gives the pane the focus.
    void CloseInPlaceEdit();
    // Escape: closes the edit without its typing; the field keeps its text and no "Typing" step stays.
    void CancelInPlaceEdit();
    void SetEditFont(const FontRecord& font);
    // The edit's text changed: the first change opens a "Typing" step.
    void InPlaceTextChanged();
    // While the pane refits its scroll ranges or a print preview draws the tree, an open edit is closed and
    // then opened again with its selection: a layout for another display would move it, and so ask the
    // pane to paint once more.
    bool SuspendInPlaceEdit() override;
    void ResumeInPlaceEdit() override;
    // The open edit (a child of the pane), or null.
    InPlaceEdit* InPlaceEditor = nullptr;
    // The edit the pane shows: the open one, or the one set aside while its text goes into its field (the
    // field's setters see no open edit, yet a repaint meanwhile, under an error box, must keep the edit's
    // frame and leave its text to it).
    InPlaceEdit* EditorOnScreen() const { return InPlaceEditor != nullptr ? InPlaceEditor : editorAside_; }
    zString EditStartText;
    zString EditText;
    std::unique_ptr<zFont> EditFont;
    // The pane of the shown window, or null.
    TreePane* Pane() const;

    // What the in-place edit shows: 0 nothing, 1 the node's text, 2 the probability of the branch into it,
    // 3 the selected note box's text, 4 the node's second text.
    int EditField = 0;
    NoteBox* SelectedNote = nullptr;
    // 0, or the next press in the pane draws an arrow (1) or a note box (2).
    int ClickMode = 0;
    // The note box the next node selected gets bound to (Bind Note), or null. Any command and any other
    // selection drop it.
    NoteBox* PendingNoteBinding = nullptr;

    // Takes the note box out of the window (the caller owns it then); it is no longer selected.
    void RemoveNoteBox(NoteBox* note);
    // Arrows (TreeWindowNotes.cpp): the window owns an added arrow (inserted before the index, appended
    // without one); a removed one belongs to the caller.
    void AddArrow(TreeArrow* arrow, int index = -1);
    void RemoveArrow(TreeArrow* arrow);
    // Selects the arrow alone: no node and no note box stay selected.
    void SelectArrow(TreeArrow* arrow);
    TreeArrow* SelectedArrow = nullptr;
    // The part of the drawing in view in the pane, in inches (without a pane: a letter page at the origin).
    LogicalRect VisibleArea();

    void StatusIndicatorsChanged() override;

    // Where the notes and arrows lie, in list order, and the tree's offset among them.
    struct DrawingPlacement {
        LayoutPoint origin;
        std::vector<LogicalRect> notes;
        std::vector<LogicalRect> arrows;  // tail x, tail y, head x, head y
    };
    DrawingPlacement Placement() const;
    // Puts the notes, arrows and tree where they were, when there are as many notes and arrows as then, and
    // lays out. An undo gives the drawing back so: laying out after an item comes back would leave the others
    // where its removal had moved them.
    void RestorePlacement(const DrawingPlacement& placement);
    // Lays the tree out again from the measured node sizes.
    void Relayout();
    const TreeLayout& Layout() const { return layout; }
    float ColumnWidth(int column) const { return layout.ColumnWidth(column); }
    // Measures every node again, then lays out.
    void Redraw();
    // Measures the listed nodes again and lays out; mode 0 each node alone (and its counterparts in clone
    // copies), 1 each with its whole shown subtree, 2 first each child alone, then the node. An empty list
    // does nothing.
    void RedrawNodes(const NodeChildList& nodes, int mode);
    void RedrawNode(TreeNode* node, int mode);
    // The Page Header & Footer dialog on the tree's header and footer; OK stores them (modified) and gives 1.
    int EditPageHeader() override;
    bool HasPageHeader() override { return true; }
    void LayoutChanged() override { Relayout(); }
    // Closes the bound windows that keep temporary values in the tree, and those that depend on a node of
    // the leaving subtree.
    void ShapeChanging(const TreeNode* leaving) override;
    void NodeChanged(TreeNode* node, int mode) override;
    // An analysis points at nodes: they become the selection, and the highlighting follows.
    void PointAt(const NodeChildList& nodes) override;
    // The measuring display stays ready (its context held) while many nodes are measured one by one.
    void NodeChangesBegin() override;
    void NodeChangesEnd() override;

    // The tree's DDE topic on the program's service is named after its file path: made when the tree gets
    // a path (opened or saved under a name) and made anew under each new path, so the old name no longer
    // connects. Without the program's link manager there is none.
    void CreateDdeTopic();
    // "DDE_" followed by the id: the topic's item of a link id.
    static void DdeItemName(int id, zString& text);
    // The clients advising on the item of the id get the new text.
    void LinkValueChanged(int id, const char* text) override;
    // A tree showing its results computes them again with the link's new value (and publishes its own
    // linked values); one whose values then fail stops showing results.
    void LinkedValueArrived() override;
    void SpreadsheetValuesBound(TreeNode* node) override { NodeChanged(node, 0); }

    // The display the tree is shown on (an off-screen display compatible with the screen until one is set;
    // null goes back to it). Texts are measured on its measuring display.
    void SetPaneDisplay(Display* display);
    Display& PaneDisplay();
    Display& MeasuringDisplay();
    // The default font of the kind, as a record and as made on the measuring display.
    const FontRecord& DefaultFont(int kind) const;
    zFont& MeasuringFont(int kind);
    // Line heights on the measuring display of the four default fonts (inches).
    float FontLineHeight(int kind);
    // Sizes of texts measured in the default font of the kind (multi-line or single-line), kept until the
    // measuring fonts are made again.
    std::unordered_map<std::string, LogicalSize>& MeasuredTexts(int kind, bool multiLine);
    // Paints the tree, then its note boxes and arrows, on the display; the clip rectangle (inches), when
    // given, limits the work to what may show there. A pending layout is made first.
    void Draw(Display& display, const LogicalRect* clip = nullptr);

    // The picture of the tree (TreeSnapshot.cpp): the current node with its shown subtree, or the whole
    // drawing with its notes and arrows when no node is selected. Its rectangle in inches:
    LogicalRect PictureBounds();
    void DrawPicture(Display& display);
    // Saved as a file by SnapshotFiles (TreeSnapshot.h).

    // Builds the variables menu again from the document's variables and shows the Variables window the
    // selection again.
    void VariablesChanged() override;
    // The windows bound to the variable close.
    void CloseVariableWindows(const DocVariable& variable) override;
    // Every bound window renames the variable in what it shows.
    void VariableRenamed(const char* oldName, const char* newName) override;
    // Variable Properties for the new name, which OK makes.
    DocVariable* CreateAskedVariable(const char* name) override;

    // The pop-up menu of the variables' names (ids from Cmd::FirstVariable in list order), made on the
    // first change of the variables.
    std::unique_ptr<NamePopupMenu> VariablesMenu;

    // The drawing's offset on the printed page, in inches; the tree file keeps it in two 32-bit slots of
    // thousandths of an inch. The getter answers that the tree has one.
    bool GetPrintOffset(float& x, float& y) override;
    void SetPrintOffset(float x, float y) override;
    // A drawing of one page is printed centred on it while the display preference says so.
    int CentreOnePage() override { return document.DisplayPrefs.CenterTreeOnPage; }
    // The print scale (1.0 is 100 per cent), kept as a whole per cent from 10 to 250.
    double GetPrintScale() override { return document.DisplayPrefs.PrintZoomFact / 100.0; }
    void SetPrintScale(double scale, double) override;

    // The tool windows bound to the tree (owned): each joins in its constructor and leaves in its destructor.
    void AddChildWindow(TreeChildWindow* window);
    void RemoveChildWindow(TreeChildWindow* window);
    const WindowList& ChildWindows() const { return childWindows; }
    // 0 (with a beep) while rolled back, or at the first node that a bound window already edits the key at
    // (asking, with ask, whether to bring that window up); 1 otherwise.
    int CheckEditConflict(const NodeChildList& nodes, const char* key, bool ask);
    int AcceptsEdit(TreeNode* node, const char* key, bool ask) override;
    // The tree's Find/Replace window (one of its bound windows), null while it is closed. Edits that take
    // nodes away start its search over.
    FindReplaceWindow* FindReplace = nullptr;
    void ResetFindReplace();
    // The tree's Evaluator (one of its bound windows), null while it is closed.
    EvaluatorWindow* Evaluator = nullptr;
    // The open Evaluator follows the selection.
    void SyncEvaluatorWindow();
    // The tree's Variables window (one of its bound windows), null while it is closed.
    VariablesWindow* VariablesView = nullptr;
    // The open Variables window follows the selection.
    void SyncVariablesWindow();
    // The Evaluator, the Variables window and the frame's tool bar follow the selection: the tool bar is
    // brought up to date also where no in-place edit opens or closes (a roll back, a band, a script).
    void FollowSelection();
    void DefineValues();
    // A slider of the chosen variable over the selected nodes (the root when none is), when its high value
    // lies above its low one; the variable's sensitivity range becomes the slider's.
    void CreateSlider();
    // The Define Variable window of the name at the node, unless another window edits it there.
    void OpenNodeValueWindow(TreeNode* node, const char* name);
    // Define New Variable (1195) at the current node: a new document variable, then its window there.
    void DefineNewVariable();
    // Distribute Children (1408): the current node gets one branch per range of a chosen distribution, each
    // binding the chosen variable to its range's value; the undo history is cleared after asking.
    void DistributeChildren();
    // The distribution records whose Properties dialog is open, innermost last: a chooser opened inside
    // one of those dialogs neither deletes nor edits them.
    std::vector<const DistributionRecord*> DistributionsInProperties;
    // The font last chosen for a node's or a note box's text, offered the next time.
    FontRecord ChosenFont;
    // The window's command handler, through the command table: 1 when the command is a tree command (also
    // when its rule refuses it), 0 otherwise. Cancels a pending arrow or note click first.
    int OnCommand(int command);
    // Commands sent to the window: after cancelling a pending click, Save, Save As and the focused edit's own
    // commands first, then the tree's.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // Runs the row's handler of the command without asking its rule, and names the undo step the row names:
    // a stored analysis run again, or a chain started from the custom interface, starts commands whose menu
    // items are grayed meanwhile. 1 for a command of the table, 0 otherwise.
    int RunCommandHandler(unsigned id);
    // False when the command's menu item would be grayed now, or the command has no rule or no row.
    bool CommandEnabled(int command);
    // The command table (TreeCommandTable.h): each command's handler, enable rule and undo text; the
    // handlers (TreeCommandHandlers.h), one per row.
    struct CommandRow;
    struct CommandHandlers;
    static const CommandRow* FindCommand(unsigned id);
    static bool HasCommand(unsigned id);
    // Add Branches (1403) on the current node: as many branches as the preference says on a node without
    // any, else one; nothing on a terminal node or while roll-back results are shown. A node without room
    // for them says so.
    void AddBranches();
    // The kinds of object Cut, Copy, Clear and Paste act on, as bit (1 << scope) of each scope.
    enum EditScope { ScopeNode = 1, ScopeSubtree = 2, ScopeText = 3, ScopeNote = 4, ScopeArrow = 5 };
    struct EditMasks {
        unsigned copy = 0, cut = 0, clear = 0, paste = 0;
    };
    EditMasks ComputeEditMasks() const;
    // Retitles and grays Cut, Copy, Clear and Paste of the menu by the masks ("Cu&t Node\tCtrl+X",
    // "&Copy..." for several kinds); in the node popup menu without '&' and key texts, with Paste Text (1188)
    // and Paste Node(s) (1189) enabled by the paste mask.
    void UpdateEditMenuTexts(HMENU menu, bool popup) const;
    // Asks before destroying the master's clone, which then leaves all its copies (an undoable step). The other
    // clone commands are TreeCloneCommands.h's.
    void ConfirmDestroyClone(TreeNode* master);
    // Makes the link that the clipboard holds (or reuses it) and gives the formula text that reads it; false,
    // after saying why where something is wrong, when no link was made. The link commands are
    // TreeLinkCommands.h's.
    bool PasteLink(zString& formula);
    // Menu and tool-bar state (TreeMenuState.cpp), taken from the selection and the window's state: the tree's
    // menus on the menu bar, the node pop-up menu (menu 118, which gets the "Define Variable" sub-menu at
    // position 5) and the tool-bar buttons, each item enabled by its command row's rule.
    void UpdateMenus(HMENU bar) override;
    void UpdateMenuTexts(HMENU popup);
    void UpdateCommands();
    void SetDefaultCommandStates() override { UpdateCommands(); }
    // The menu bar and the tool bar while one of the tree's bound windows is active (after the frame's and the
    // window base's states): the Options and Analysis commands are grayed, the Values commands follow the
    // tree; editHere says whether the bound window has an edit field to type into.
    void UpdateChildMenus(HMENU bar, bool editHere, bool wheelHere);
    void UpdateChildCommands(bool wheelHere);
    // The Probability Wheel of a bound window: not while the tree is locked or shows its custom interface,
    // and only in a window that offers a probability.
    bool ChildMayUseWheel(const TreeChildWindow& child) const;
    // The tree has custom-interface settings with a parameter, and a stored analysis to run.
    bool CanShowCustomInterface();
    // 1 while the custom interface covers the tree.
    int16_t CustomInterfaceShown = 0;
    // Shows (1) or hides (0) the custom interface panel over the tree pane; either clears the selection.
    void ShowCustomInterface(int show);
    // The panel while it is shown in a pane, else null.
    CustomInterfacePanel* CustomPanel() const { return customInterfacePanel; }
    // Destroys every bound window that depends on the object; the others keep their order.
    void CloseChildWindowsFor(const void* object);
    // The tree changed as a whole: each bound window follows it or closes, unless refreshes are suspended.
    void RefreshBoundWindows();
    // A tree that is worked on but never shown (a diagram's table): it takes no untitled number.
    static std::unique_ptr<TreeWindow> Unshown(const char* title);
    // A new, empty tree shown in the frame with its root selected: typing names the root, the arrows move on.
    static TreeWindow* ShowNew(int showCommand);

protected:
    // A window without a menu of its own and without an untitled number, titled as given: it shows trees
    // that belong to no document file.
    TreeWindow(const char* title, unsigned menuId);

private:
    InPlaceEdit* editorAside_ = nullptr;
    std::unique_ptr<InPlaceEditState> suspendedEdit;
    bool MayOpenInPlaceEditor() const;
    // Structure edits wait while roll-back results are shown.
    bool MayEditStructure() const;
    // Preferences (1308): the tree's pages of the Preferences dialog, undoable as one "Preferences" action.
    void EditPreferences();
    // Cut (1202), Copy (1203), Paste (1204) or Clear (1205) of the in-place edit's selection; the edit shows
    // the change and one undo step holds the texts before and after it.
    void EditInPlaceText(int command);
    void LimitZoom();
    void MarkPages(Display& display, const LogicalRect* clip);
    // Posts a press at the point to the open edit, so that its caret goes where the user clicked.
    void ForwardClickToEditor(LogicalPoint point);
    // Gives the window its icon and its pane inside the frame (neither without a frame handle).
    void CreatePane();
    void GiveUntitledTitle();
    // The note boxes of a tree imported from the foreign format take their places beside this layout.
    void PlaceForeignNoteBoxes();

    void RebuildFonts();
    // Writes the tree file of SaveAs and SaveCopyAs, the open edit ended first and bound windows' values
    // as they were.
    bool WriteTreeFile(const char* path, zString& message, RecordForm form = RecordForm::Plain,
                       const NodeChildList* selection = nullptr);

    TreeDocument document;
    WindowList childWindows{4, true};
    // A child of the pane, deleted with it.
    CustomInterfacePanel* customInterfacePanel = nullptr;
    TreeLayout layout;
    bool layoutPending = false;
    // The tree was last laid out with rolled-back values: their boxes had their room.
    bool laidOutRolledBack = false;
    bool fileRead = true;
    std::unique_ptr<Display> offscreen;
    std::unique_ptr<TreeDdeServer> ddeTopic;
    Display* paneDisplay = nullptr;
    // The measuring display held between NodeChangesBegin and NodeChangesEnd.
    Display* heldDisplay = nullptr;
    // The measuring fonts and line heights and the display they were made on.
    Display* fontsMadeOn = nullptr;
    std::unique_ptr<zFont> measuringFonts[4];
    float lineHeights[4] = {0, 0, 0, 0};
    std::unordered_map<std::string, LogicalSize> measuredTexts[4][2];
};

// Keeps the in-place edit across an operation that must not run with it open: closes it, remembering its
// selection, and Restore opens it again where it was.
class InPlaceEditState {
public:
    explicit InPlaceEditState(TreeWindow& tree);
    void Restore();

private:
    TreeWindow& tree_;
    bool wasOpen_;
    int start_ = 0;
    int end_ = 0;
};
