// The edit control opened over a text of the tree: a node's text, its probability, its second text or a
// note box's text. What was typed goes into the field when the edit closes; the first change opens one
// "Typing" step that the closing completes.

#include "treewin/TreeWindow.h"

#include "widgets/FrameCommands.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/InputHelpers.h"
#include "widgets/UndoHistory.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/zFont.h"
#include "framework/window/Clipboard.h"
#include "framework/window/FrameworkApp.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePainter.h"
#include "treewin/TreePane.h"
#include "treewin/TreeTextActions.h"

#include "CommandIds.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr unsigned kInPlaceEditId = 1;

// How many InPlaceEditHold scopes live now, in every tree window.
int inPlaceEditHolds = 0;

// The name's frame stays above the branch line, the probability's below it, each a clear row away, and
// neither reaches the rows of the nodes above and below; the name's rows start at its editor's top, but below
// the branch line of the node above (an empty name's editor rises a line into that node's rows), and where
// they are too few for the frame and the clear row (at some zooms) the frame stands on the row above its line.
void KeepEditorInNodeRows(TreeWindow& tree, int field, InPlaceEdit& editor, TreeNode* node, float nameTop)
{
    TreePane& pane = *tree.Pane();
    Display& display = *pane.CurrentDisplay();
    const NodeGeometry& g = node->Geometry();
    const float gap = TreeLayout::kEndNodeGap;
    auto row = [&](float y) {
        return pane.DrawingToClient(LogicalRectToPixels(LogicalRect{g.X, y, g.X, y}, display)).top;
    };
    if (field != 1) {
        editor.KeepFrameWithin(row(g.BranchY()) + 2, row(g.YBottom + gap) - 1);
        return;
    }
    int top = row(nameTop - gap) + 1;
    const int line = row(g.BranchY());
    bool belowAbove = false;
    if (const TreeNode* above = FindSameDepthNeighbour(node, -1)) {
        const int aboveLine = row(above->Geometry().BranchY());
        belowAbove = aboveLine >= top - 1;
        top = std::max(top, aboveLine + 1);
    }
    // The frame's rows: the editor's and at least one of margin on each side.
    const int frameRows = editor.EditRect().bottom - editor.EditRect().top + 3;
    const int clear = belowAbove && line - 1 - top < frameRows ? 1 : 2;
    editor.KeepFrameWithin(top, line - clear);
}

// The editor keeps between its node's branch, from where it leaves the parent's symbol (past a roll-back box),
// and its node's symbol, which stands on the rows of both editors; a blank column stays beside each. A text
// longer than the branch scrolls in the editor rather than cover the symbols and texts beyond.
void KeepEditorOnBranch(TreeWindow& tree, InPlaceEdit& editor, const TreeNode* node)
{
    TreePane& pane = *tree.Pane();
    Display& display = *pane.CurrentDisplay();
    float start = 0.0f;
    if (const TreeNode* parent = node->parent)
        start = parent->Geometry().SymbolX + TreeLayout::BranchSplit(parent);
    const RECT branch = pane.DrawingToClient(
        LogicalRectToPixels(LogicalRect{start, 0, SymbolRect(node).left, 0}, display));
    editor.KeepRoomBetween(branch.left + 2, branch.right - 2);
}

} // namespace

TreeWindow::InPlaceEditHold::InPlaceEditHold()
{
    ++inPlaceEditHolds;
}

TreeWindow::InPlaceEditHold::~InPlaceEditHold()
{
    --inPlaceEditHolds;
}

bool TreeWindow::InPlaceEditHold::Active()
{
    return inPlaceEditHolds != 0;
}

TreePane* TreeWindow::Pane() const
{
    return static_cast<TreePane*>(DocChildWindow::Pane());
}

bool TreeWindow::MayOpenInPlaceEditor() const
{
    const int selected = Selection.Count();
    if (InPlaceEditHold::Active() || InPlaceEditor != nullptr || selected >= 2 ||
        document.SuspendVariablesSync != 0 || Pane() == nullptr || !IsActiveChild())
        return false;
    if (SelectedNote == nullptr && EditField != 3 &&
        (document.SuspendChildRefresh != 0 || selected != 1 || document.DisplayPrefs.Schematic != 0))
        return false;
    if (EditField == 3)
        return SelectedNote != nullptr;
    return !(EditField == 2 && document.DisplayPrefs.HideProbs != 0);
}

void TreeWindow::OpenInPlaceEditor(int selectionStart, int selectionEnd)
{
    if (!MayOpenInPlaceEditor())
        return;
    InPlaceEditHold opening;
    TreePane& pane = *Pane();
    ZoomPaneScale scale(pane);
    TreeNode* node = CurrentNode();
    LogicalRect rect{};
    const FontRecord* font = nullptr;
    zString text;
    switch (EditField) {
    case 1: {
        rect = NameRect(*this, node);
        font = node->fonts[0] != nullptr ? node->fonts[0].get() : &DefaultFont(TreeTextFont);
        text = node->text;
        // A name shorter than a line (an empty one) still opens a line high, rising from the name's bottom
        // so that the branch line below stays clear.
        const float line = MeasureLineHeight(*this, node->fonts[0].get(), TreeTextFont);
        rect.top = std::min(rect.top, rect.bottom - line);
        break;
    }
    case 2: {
        // At the text's size, where the text stands centred in the column; typing widens it to the right.
        rect = ProbRect(*this, node);
        const float width = node->Geometry().ProbWidth;
        rect.left = (rect.left + rect.right - width) / 2;
        rect.right = rect.left + width;
        font = node->fonts[1] != nullptr ? node->fonts[1].get() : &DefaultFont(ProbabilityFont);
        node->GetProbabilityText(text);
        break;
    }
    case 3:
        rect = SelectedNote->frame;
        font = &SelectedNote->font;
        text = SelectedNote->text;
        break;
    case 4:
        rect = SecondTextRect(*this, node, false);
        font = node->fonts[2] != nullptr ? node->fonts[2].get() : &DefaultFont(TreeTextFont);
        text = node->text2;
        break;
    default:
        return;
    }
    EditStartText = text;
    Display& display = *pane.CurrentDisplay();
    if (EditField != 3)
        rect.right += 0.03f;
    RECT pixels = pane.DrawingToClient(LogicalRectToPixels(rect, display));
    if (EditField == 3) {
        pixels.right += 2;
        pixels.bottom += 1;
    }
    // The frame around a name stops short of the node's symbol; a longer text still widens it below.
    if (EditField == 1) {
        const RECT symbol = pane.DrawingToClient(LogicalRectToPixels(SymbolRect(node), display));
        pixels.right = std::max(pixels.left + 1, std::min(pixels.right, symbol.left - InPlaceEdit::FrameMargin - 1));
    }
    // Enter types a line break into a text of several lines, also where the window handles dialog keys.
    const DWORD style =
        WS_CHILD | ES_AUTOHSCROLL | (EditField == 2 ? 0 : ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN);
    InPlaceEdit* editor = nullptr;
    if (EditField == 2)
        editor = new InPlaceLineEdit(&pane, pixels, 0, style, text.Text(), kInPlaceEditId);
    else
        editor = new InPlaceMultiLineEdit(&pane, pixels, 0, style, text.Text(), kInPlaceEditId);
    if (EditField == 1 || EditField == 2) {
        KeepEditorInNodeRows(*this, EditField, *editor, node, rect.top);
        KeepEditorOnBranch(*this, *editor, node);
    }
    InPlaceEditor = editor;
    // The pane leaves the text open in the editor undrawn (where the editor keeps clear of the symbol, the
    // drawn text's end would show beside it).
    if (EditField == 1 || EditField == 2)
        ::InvalidateNode(*this, node, false);
    // A node's text is open whenever one node is selected: Ctrl+A there adds branches, as the menu says.
    if (EditField != 3)
        SetPropA(editor->Handle(), kFrameKeysFirst, reinterpret_cast<HANDLE>(1));
    SetEditFont(*font);
    // The whole text shows from its start, also where the node's box wraps or cuts it; the room kept for
    // typing comes with the typing, so that the editor opens over the text alone.
    if (EditField != 3)
        editor->FitText(false);
    pane.HookInPlaceEditor(*editor);
    if (selectionStart >= 0) {
        editor->SetSelection(selectionStart, selectionEnd);
        PostKeyDown(editor->Handle(), VK_SNAPSHOT);
    } else {
        PostKeyDown(editor->Handle(), VK_END);
    }
    ::ShowWindow(editor->Handle(), SW_SHOW);
    SetFocus(editor->Handle());
    RefreshFrameCommands();
}

void TreeWindow::SetEditFont(const FontRecord& font)
{
    if (InPlaceEditor == nullptr)
        return;
    EditFont = CreateRecordFont(font, Pane()->CurrentDisplay());
    SendMessageA(InPlaceEditor->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(EditFont->Handle()), TRUE);
    InPlaceEditor->SetMeasuringFont(EditFont.get());
}

void TreeWindow::CommitInPlaceEdit(bool check)
{
    if (InPlaceEditor == nullptr)
        return;
    EditText = InPlaceEditor->GetText();
    if (EditText == EditStartText)
        return;
    // The field's setters may select and redraw: meanwhile no editor is open, though the pane still shows it.
    InPlaceEdit* editor = InPlaceEditor;
    InPlaceEditor = nullptr;
    editorAside_ = editor;
    SetFieldText(EditField, EditText, check);
    editorAside_ = nullptr;
    InPlaceEditor = editor;
}

void TreeWindow::InPlaceTextChanged()
{
    if (InPlaceEditor == nullptr)
        return;
    // A line taken out (Backspace, Delete, Cut) gives its height back.
    if (EditField != 3)
        InPlaceEditor->FitText();
    EditText = InPlaceEditor->GetText();
    if (EditText == EditStartText)
        return;
    const UndoAction* current = CurrentUndoAction();
    if (current != nullptr && current->open)
        return;
    TreeNode* node = EditField == 3 ? nullptr : CurrentNode();
    AddUndoAction(new TreeTextTypingAction(this, node, EditField, EditStartText.Text()));
}

void TreeWindow::CloseInPlaceEdit()
{
    TreePane* pane = Pane();
    if (InPlaceEditor != nullptr) {
        CommitInPlaceEdit(true);
        auto* typing = dynamic_cast<TreeTextTypingAction*>(CurrentUndoAction());
        if (typing != nullptr && typing->open) {
            typing->newText = EditText;
            typing->Close();
        }
        const bool changed = !(EditText == EditStartText);
        InPlaceEdit* editor = InPlaceEditor;
        InPlaceEditor = nullptr;
        delete editor;
        EditFont.reset();
        if (TreeNode* node = CurrentNode()) {
            if (changed)
                RedrawNode(node, 0);
            ::InvalidateNode(*this, node, false);
        }
        RefreshFrameCommands();
    }
    // The pane takes the keys back, unless the person works in another window of the frame (a tool window
    // such as Find/Replace, which selects and changes nodes of this tree).
    const HWND client = handle_ != nullptr ? GetParent(handle_) : nullptr;
    const HWND active = client != nullptr ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    if (pane != nullptr && IsWindow(pane->Handle()) && (active == nullptr || active == handle_))
        SetFocus(pane->Handle());
}

void TreeWindow::CancelInPlaceEdit()
{
    if (InPlaceEditor == nullptr)
        return;
    auto* typing = dynamic_cast<TreeTextTypingAction*>(CurrentUndoAction());
    if (typing != nullptr && typing->open)
        DropCurrentUndoAction();
    // Its change notice finds the text it started with and opens no step.
    InPlaceEditor->SetText(EditStartText.Text());
    CloseInPlaceEdit();
}

void TreeWindow::EditInPlaceText(int command)
{
    InPlaceEdit* editor = InPlaceEditor;
    if (editor == nullptr)
        return;
    if (command == Cmd::EditCopy) {
        editor->Copy();
        return;
    }
    std::string pasted;
    if (command == Cmd::EditPaste) {
        Clipboard clipboard(this);
        const std::unique_ptr<char[]> text(clipboard.GetText());
        if (!text)
            return;
        pasted = text.get();
        // Typed, a line break is one carriage return; only the note and second texts keep tabs.
        pasted.erase(std::remove(pasted.begin(), pasted.end(), '\r'), pasted.end());
        std::replace(pasted.begin(), pasted.end(), '\n', '\r');
        if (EditField != 3 && EditField != 4)
            pasted.erase(std::remove(pasted.begin(), pasted.end(), '\t'), pasted.end());
    }
    const zString before = editor->GetText();
    // A typing step still open ends with what was typed so far.
    auto* typing = dynamic_cast<TreeTextTypingAction*>(CurrentUndoAction());
    if (typing != nullptr && typing->open) {
        typing->newText = before;
        typing->Close();
    }
    // The change is this command's own step: meanwhile the edit's change notices open no typing step.
    InPlaceEditor = nullptr;
    if (command == Cmd::EditCut)
        editor->Cut();
    else if (command == Cmd::EditPaste)
        editor->TypeText(zString(pasted.c_str()));
    else
        editor->ReplaceSelection("");
    InPlaceEditor = editor;
    if (EditField != 3)
        editor->FitText();
    const zString after = editor->GetText();
    if (after == before)
        return;
    TreeNode* node = EditField == 3 ? nullptr : CurrentNode();
    if (command == Cmd::EditCut)
        AddUndoAction(new TreeCutTextAction(this, node, EditField, before.Text(), after.Text()));
    else if (command == Cmd::EditPaste)
        AddUndoAction(new TreePasteTextAction(this, node, EditField, before.Text(), after.Text()));
    else
        AddUndoAction(new TreeClearTextAction(this, node, EditField, before.Text(), after.Text()));
}

InPlaceEditState::InPlaceEditState(TreeWindow& tree) : tree_(tree), wasOpen_(tree.InPlaceEditor != nullptr)
{
    if (!wasOpen_)
        return;
    const EditCtrl::Selection selection = tree.InPlaceEditor->GetSelection();
    start_ = selection.low;
    end_ = selection.high;
    tree.CloseInPlaceEdit();
}

void InPlaceEditState::Restore()
{
    if (wasOpen_)
        tree_.OpenInPlaceEditor(start_, end_);
}

bool TreeWindow::SuspendInPlaceEdit()
{
    if (InPlaceEditor == nullptr || suspendedEdit != nullptr)
        return false;
    suspendedEdit = std::make_unique<InPlaceEditState>(*this);
    return true;
}

void TreeWindow::ResumeInPlaceEdit()
{
    if (std::unique_ptr<InPlaceEditState> state = std::move(suspendedEdit))
        state->Restore();
}
