// The in-place editor of a diagram window: over the selected node's label or the selected note, its typing
// kept as one undo step, its text taken into the node or the note when it closes.

#include "influence/InfluenceDiagramWindow.h"

#include "widgets/FrameCommands.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/InputHelpers.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/zFont.h"
#include "influence/DiagramActions.h"
#include "influence/DiagramPane.h"
#include "model/NoteBox.h"

namespace {

constexpr unsigned kLabelEditorId = 1;

} // namespace

void InfluenceDiagramWindow::StartInPlaceEdit()
{
    DiagramPane* pane = Pane();
    InfluenceNodeRecord* node = FirstSelected();
    if (pane == nullptr || editor_ != nullptr || !IsActiveChild())
        return;
    if (selectedNote_ == nullptr && (selectedNodes_.size() != 1 || node->isClone != 0))
        return;
    ZoomPaneScale scale(*pane);
    Display& display = *pane->CurrentDisplay();
    const LogicalRect area = selectedNote_ != nullptr ? selectedNote_->frame : node->NodeTextRect();
    const RECT pixels = pane->DrawingToClient(LogicalRectToPixels(area, display));
    editStart_ = selectedNote_ != nullptr ? selectedNote_->text : node->name;
    const DWORD style = WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | (node != nullptr ? ES_CENTER : 0);
    auto* editor = new InPlaceMultiLineEdit(pane, pixels, 0, style, editStart_.Text(), kLabelEditorId);
    editor_ = editor;
    const FontRecord& font = selectedNote_ != nullptr ? selectedNote_->font
                             : node->font                ? *node->font
                                                         : document.prefs.nodeFont;
    editorFont_ = CreateRecordFont(font, &display);
    SendMessageA(editor->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(editorFont_->Handle()), TRUE);
    editor->SetMeasuringFont(editorFont_.get());
    // A node's whole name shows from its start, also where the node's box wraps it.
    if (node != nullptr && selectedNote_ == nullptr)
        editor->FitText();
    pane->HookLabelEditor(*editor);
    PostKeyDown(editor->Handle(), VK_END);
    ::ShowWindow(editor->Handle(), SW_SHOW);
    SetFocus(editor->Handle());
    RefreshFrameCommands();
}

void InfluenceDiagramWindow::InPlaceTextChanged()
{
    InfluenceNodeRecord* node = FirstSelected();
    // A node widens to the right as its name does (its left edge stays), and its name is drawn centred on
    // it: the editor's text stands where the name will be drawn.
    DiagramPane* pane = Pane();
    if (editor_ != nullptr && node != nullptr && selectedNote_ == nullptr && pane != nullptr) {
        ZoomPaneScale scale(*pane);
        const LogicalRect rect = node->LaidOutRect(editor_->GetText().Text());
        const POINT centre =
            LogicalPointToPixels(LogicalPoint{(rect.left + rect.right) / 2, rect.top}, *pane->CurrentDisplay());
        editor_->CentreOn(pane->DrawingToClient(RECT{centre.x, centre.y, centre.x, centre.y}).left);
    }
    if (editor_ == nullptr || (node == nullptr && selectedNote_ == nullptr) || editor_->GetText() == editStart_)
        return;
    const UndoAction* current = CurrentUndoAction();
    if (current != nullptr && current->open)
        return;
    AddUndoAction(new DiagramTypingAction(this, node, selectedNote_, editStart_.Text()));
}

void InfluenceDiagramWindow::CancelInPlaceEdit()
{
    if (editor_ == nullptr)
        return;
    auto* typing = dynamic_cast<DiagramTypingAction*>(CurrentUndoAction());
    if (typing != nullptr && typing->open)
        DropCurrentUndoAction();
    // Its change notice finds the text it started with and opens no step.
    editor_->SetText(editStart_.Text());
    EndInPlaceEdit();
}

void InfluenceDiagramWindow::EndInPlaceEdit()
{
    if (editor_ == nullptr)
        return;
    InPlaceEdit* editor = editor_;
    editor_ = nullptr;
    const zString text = editor->GetText();
    InfluenceNodeRecord* node = FirstSelected();
    auto* typing = dynamic_cast<DiagramTypingAction*>(CurrentUndoAction());
    if (typing != nullptr && !typing->open)
        typing = nullptr;
    if (typing != nullptr) {
        typing->newText = text;
        typing->Close();
    }
    delete editor;
    editorFont_.reset();
    if (selectedNote_ != nullptr && !(text == editStart_)) {
        selectedNote_->text = text;
        UpdateExtent();
    } else if (node != nullptr && !(text == editStart_)) {
        node->name = text;
        node->NameChanged();
        node->Layout();
        node->SyncClones();
        UpdateExtent();
        RetitleSubModel(node);
        if (typing != nullptr)
            typing->newVariable = node->variableName;
    }
    InvalidateAll();
    RefreshFrameCommands();
    // The pane takes the keys back, unless the edit ended from another window (a save of the document).
    if (ZoomPane* pane = DocChildWindow::Pane(); pane != nullptr && IsWindow(pane->Handle()) && IsActiveChild())
        SetFocus(pane->Handle());
}
