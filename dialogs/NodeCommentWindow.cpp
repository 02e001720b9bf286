#include "dialogs/NodeCommentWindow.h"

#include "app/TextPane.h"
#include "app/TextPaneEdit.h"
#include "app/MainToolbar.h"
#include "dialogs/ProgramDialog.h"
#include "framework/dialog/StaticCtrl.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/Clipboard.h"
#include "framework/window/WindowEvent.h"
#include "model/NodeComment.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kLabelHeight = 16;
constexpr int kRowMargin = 3;

const char* const kCopyAllText = "&Copy All\tCtrl+C";

const NodeChildList& OneNode(NodeChildList&& list, TreeNode* node)
{
    list.Add(node);
    return list;
}

// The radio buttons on the screen; OK ends with the one checked.
int ShowOnScreen(InvalidCommentDialog& question)
{
    ProgramDialog dialog(InvalidCommentDialog::TemplateId);
    CheckRadioButton(dialog.Handle(), InvalidCommentDialog::Adjust, InvalidCommentDialog::Keep, question.choice);
    for (int id : {InvalidCommentDialog::Adjust, InvalidCommentDialog::ThrowOut, InvalidCommentDialog::Keep})
        dialog.OnButton(id, [&question, &dialog, id] {
            question.choice = id;
            CheckRadioButton(dialog.Handle(), InvalidCommentDialog::Adjust, InvalidCommentDialog::Keep, id);
        });
    return dialog.Run();
}

} // namespace

int InvalidCommentDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && choice >= Adjust && choice <= Keep ? choice : 0;
}

bool ValidateNodeComment(TreeNode* node)
{
    BranchNameList& records = node->GetExtraList()->branches;
    if (records.MatchesChildren(node)) {
        records.ExtendToChildren(node);
    } else {
        InvalidCommentDialog question;
        switch (question.Run()) {
        case InvalidCommentDialog::Adjust:
            records.ExtendToChildren(node);
            break;
        case InvalidCommentDialog::ThrowOut:
            records.Clear();
            records.ExtendToChildren(node);
            break;
        case InvalidCommentDialog::Keep:
            break;
        default:
            return false;
        }
    }
    if (records.Count() == 0) {
        auto* record = new BranchName;
        if (!records.Add(record))
            delete record;
    }
    return true;
}

CommentRowSet::CommentRowSet(DocChildWindow* owner, BranchNameList& records, const FontRecord& font)
{
    const HFONT labelFont = reinterpret_cast<HFONT>(SendMessageA(owner->Handle(), WM_GETFONT, 0, 0));
    for (int i = 0; i < records.Count(); ++i) {
        BranchName* record = records.At(i);
        const std::string name = std::string(record->name.Text()) + ":";
        auto* label = new StaticCtrl(owner, RECT{0, 0, 0, 0}, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, name.c_str(),
                                     FirstLabelId + static_cast<unsigned>(i));
        if (labelFont != nullptr)
            label->Send(WM_SETFONT, reinterpret_cast<WPARAM>(labelFont), FALSE);
        auto* pane = new TextPane(owner, new ChildLayout(0, 0, 0, 0, nullptr), WS_CHILD | WS_VISIBLE, true, false);
        pane->SetFont(&font);
        pane->Edit().SetText(record->comment.Text());
        labels_.push_back(label);
        panes_.push_back(pane);
    }
}

CommentRowSet::~CommentRowSet()
{
    for (TextPane* pane : panes_)
        delete pane;
    for (StaticCtrl* label : labels_)
        delete label;
}

void CommentRowSet::Arrange(const RECT& area)
{
    const int count = Count();
    if (count == 0)
        return;
    const int width = area.right - area.left;
    for (int i = 0; i < count; ++i) {
        const int top = area.top + (area.bottom - area.top) * i / count;
        const int bottom = area.top + (area.bottom - area.top) * (i + 1) / count;
        MoveWindow(labels_[i]->Handle(), area.left + kRowMargin, top + kRowMargin, width - 2 * kRowMargin,
                   kLabelHeight, TRUE);
        const int paneTop = top + kRowMargin + kLabelHeight;
        MoveWindow(panes_[i]->Handle(), area.left + kRowMargin, paneTop, width - 2 * kRowMargin,
                   std::max(bottom - kRowMargin - paneTop, 0), TRUE);
    }
}

void CommentRowSet::SetFont(const FontRecord* font)
{
    for (TextPane* pane : panes_)
        pane->SetFont(font);
}

void CommentRowSet::StoreTexts(BranchNameList& records) const
{
    for (int i = 0; i < Count() && i < records.Count(); ++i)
        records.At(i)->comment = panes_[i]->Edit().GetText();
}

NodeCommentWindow::NodeCommentWindow(TreeWindow* tree, TreeNode* node)
    : NodeValueWindow(tree, TemplateId, true, OneNode(NodeChildList(1, false), node), "***node comment"),
      node_(node)
{
    SetIconId(32023);
    NodeComment& comment = *node->GetExtraList();
    rows_ = std::make_unique<CommentRowSet>(this, comment.branches, comment.font);
    for (int i = 0; i < rows_->Count(); ++i) {
        TextPane& row = rows_->Row(i);
        TrackFocus(&row.Edit());
        row.Edit().AddHandler(this, &NodeCommentWindow::OnRowKey, WM_KEYDOWN);
        row.Edit().AddHandler(this, &NodeCommentWindow::OnRowKey, WM_CHAR);
        row.AddHandler(this, &NodeCommentWindow::OnRowCommand, WM_COMMAND);
    }
    // The whole comment, never shown: what the window prints and copies.
    auto* whole = new TextPane(this, new ChildLayout(0, 0, 0, 0, nullptr), WS_CHILD, true, true);
    whole->SetFont(&comment.font);
    SetPane(whole);
    OnTreeTitleChanged(tree->Title().Text());
    if (!handle_)
        return;
    float saved[4];
    if (comment.WindowRect(saved) && whole->OwnDisplay() != nullptr) {
        const int perInchX = whole->OwnDisplay()->LogPixelsX();
        const int perInchY = whole->OwnDisplay()->LogPixelsY();
        MoveWindow(handle_, static_cast<int>(saved[0] * perInchX), static_cast<int>(saved[1] * perInchY),
                   static_cast<int>((saved[2] - saved[0]) * perInchX),
                   static_cast<int>((saved[3] - saved[1]) * perInchY), FALSE);
        FitToFrame();
    } else {
        RECT rect{};
        GetWindowRect(handle_, &rect);
        // The template holds no rows: room for a few lines of each.
        const int height = std::max<int>(rect.bottom - rect.top, 80 * rows_->Count() + 40);
        SetWindowPos(handle_, nullptr, 0, 0, rect.right - rect.left, height, SWP_NOMOVE | SWP_NOZORDER);
        FitToFrame();
        PlaceAt(0.6, 0.5);
    }
    RECT client{};
    GetClientRect(handle_, &client);
    rows_->Arrange(client);
    if (rows_->Count() > 0)
        FocusRow(0);
}

NodeCommentWindow::~NodeCommentWindow()
{
    NodeComment* comment = Comment();
    if (comment != nullptr && handle_ && GetParent(handle_) != nullptr && Pane() != nullptr &&
        Pane()->OwnDisplay() != nullptr) {
        RECT rect{};
        GetWindowRect(handle_, &rect);
        MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&rect), 2);
        const float perInchX = static_cast<float>(Pane()->OwnDisplay()->LogPixelsX());
        const float perInchY = static_cast<float>(Pane()->OwnDisplay()->LogPixelsY());
        const float logical[4] = {rect.left / perInchX, rect.top / perInchY, rect.right / perInchX,
                                  rect.bottom / perInchY};
        comment->SetWindowRect(logical);
    }
    rows_.reset();
}

NodeComment* NodeCommentWindow::Comment() const
{
    // The node may have been cut or deleted while the window stayed open: only its address is compared.
    bool inTree = false;
    if (Tree() != nullptr && Tree()->Document().Root != nullptr)
        ForEachInSubtree(Tree()->Document().Root,
                         [this, &inTree](TreeNode* node) { inTree = inTree || node == node_; });
    return inTree ? node_->GetExtraList() : nullptr;
}

TextPane& NodeCommentWindow::Text() const
{
    return *static_cast<TextPane*>(Pane());
}

void NodeCommentWindow::CollectTexts()
{
    NodeComment* comment = Comment();
    if (comment == nullptr)
        return;
    rows_->StoreTexts(comment->branches);
    std::string whole;
    for (int i = 0; i < comment->branches.Count(); ++i) {
        const BranchName* record = comment->branches.At(i);
        whole += std::string(record->name.Text()) + ":\r\n" + record->comment.Text() + "\r\n\r\n";
    }
    Text().Edit().SetText(whole.c_str());
}

void NodeCommentWindow::OnTreeTitleChanged(const char*)
{
    SetCaption(": Node Comment");
}

bool NodeCommentWindow::FocusHasSelection() const
{
    const EditCtrl* edit = FocusEdit();
    if (edit == nullptr)
        return false;
    const EditCtrl::Selection selection = edit->GetSelection();
    return selection.low != selection.high;
}

void NodeCommentWindow::FocusRow(int index)
{
    current_ = index;
    TextPaneEdit& edit = rows_->Row(index).Edit();
    SetFocusChild(&edit);
    if (handle_ && IsWindowVisible(handle_))
        SetFocus(edit.Handle());
}

void NodeCommentWindow::MarkTreeModified()
{
    if (Tree() != nullptr)
        Tree()->SetModified(1);
}

long NodeCommentWindow::OnRowKey(WindowEvent* event)
{
    const unsigned key = event->Key();
    if (event->message == WM_CHAR)
        return key == '\t' || key == 0x1B ? 1 : 0; // the key-down handled them
    if (key == VK_ESCAPE)
        return 1;
    if (key != VK_TAB || GetKeyState(VK_CONTROL) < 0 || event->AltDown())
        return 0;
    const int count = rows_->Count();
    for (int i = 0; i < count; ++i)
        if (rows_->Row(i).Edit().Handle() == event->window)
            current_ = i;
    const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    FocusRow((current_ + step) % count);
    return 1;
}

long NodeCommentWindow::OnRowCommand(WindowEvent* event)
{
    NodeComment* comment = Comment();
    if (event->NotifyCode() != EN_CHANGE || comment == nullptr)
        return 0;
    rows_->StoreTexts(comment->branches);
    MarkTreeModified();
    return 0;
}

long NodeCommentWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case Cmd::EditCopy:
        if (FocusHasSelection())
            break;
        CollectTexts();
        {
            Clipboard clipboard(this);
            clipboard.Empty();
            clipboard.PutText(Text().Edit().GetText().Text());
        }
        return 1;
    case Cmd::DisplayFont:
        if (rows_->Count() > 0 && rows_->Row(0).ChooseFont()) {
            const FontRecord chosen = rows_->Row(0).Font();
            rows_->SetFont(&chosen);
            Text().SetFont(&chosen);
            if (NodeComment* comment = Comment())
                comment->font = chosen;
            MarkTreeModified();
        }
        return 1;
    case Cmd::FileSave:
    case Cmd::FileSaveAs:
        if (Tree() == nullptr)
            return 1;
        CollectTexts();
        if (id == Cmd::FileSave)
            Tree()->SaveToFile();
        else
            static_cast<DocumentWindow*>(Tree())->SaveAs(nullptr);
        return 1;
    case Ctl::NodeCommentModal::Prompts:
        return 1;
    default:
        break;
    }
    return NodeValueWindow::OnCommandId(id, code, control);
}

long NodeCommentWindow::OnResize(SIZE client, UINT kind)
{
    const long answer = NodeValueWindow::OnResize(client, kind);
    if (rows_ && kind != SIZE_MINIMIZED)
        rows_->Arrange(RECT{0, 0, client.cx, client.cy});
    return answer;
}

void NodeCommentWindow::SetDefaultCommandStates()
{
    NodeValueWindow::SetDefaultCommandStates();
    EnableFontCommand(1);
}

void NodeCommentWindow::UpdateMenus(HMENU bar)
{
    NodeValueWindow::UpdateMenus(bar);
    EnableMenuItem(bar, Cmd::FileSave, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(bar, Cmd::FileSaveAs, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(bar, Cmd::DisplayFont, MF_BYCOMMAND | MF_ENABLED);
    if (!FocusHasSelection())
        ModifyMenuA(bar, Cmd::EditCopy, MF_BYCOMMAND | MF_STRING | MF_ENABLED, Cmd::EditCopy, kCopyAllText);
}

void NodeCommentWindow::Bounds(LogicalRect& rect)
{
    const bool printing = Text().IsPrinting();
    if (!printing)
        CollectTexts();
    Text().Layout(rect, !printing);
}

void NodeCommentWindow::Draw(Display* display)
{
    if (display != nullptr)
        Text().Draw(*display);
}
