#include "treewin/NodeCommentWindow.h"

#include "widgets/TextPane.h"
#include "widgets/TextPaneEdit.h"
#include "widgets/MainToolbar.h"
#include "widgets/ProgramDialog.h"
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

// Row i of count sharing the area's height equally: the label at its top, the text below.
void RowRects(const RECT& area, int count, int i, RECT& label, RECT& text)
{
    const int top = area.top + (area.bottom - area.top) * i / count;
    const int bottom = area.top + (area.bottom - area.top) * (i + 1) / count;
    label = RECT{area.left + kRowMargin, top + kRowMargin, area.right - kRowMargin, top + kRowMargin + kLabelHeight};
    text = RECT{label.left, label.bottom, label.right, std::max<int>(bottom - kRowMargin, label.bottom)};
}

void MoveTo(HWND window, const RECT& rect)
{
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// The label of a row: the branch's name and ":".
StaticCtrl* MakeRowLabel(WindowCL* parent, const BranchName& record, unsigned id)
{
    const std::string name = std::string(record.name.Text()) + ":";
    auto* label = new StaticCtrl(parent, RECT{0, 0, 0, 0}, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, name.c_str(), id);
    if (const HFONT font = reinterpret_cast<HFONT>(SendMessageA(parent->Handle(), WM_GETFONT, 0, 0)))
        label->Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

const NodeChildList& OneNode(NodeChildList&& list, TreeNode* node)
{
    list.Add(node);
    return list;
}

// The radio buttons on the screen; OK ends with the one checked.
int ShowOnScreen(InvalidCommentDialog& question)
{
    ProgramDialog dialog(DialogRes::InvalidComment);
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
    for (int i = 0; i < records.Count(); ++i) {
        BranchName* record = records.At(i);
        StaticCtrl* label = MakeRowLabel(owner, *record, FirstLabelId + static_cast<unsigned>(i));
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
    for (int i = 0; i < Count(); ++i) {
        RECT label, text;
        RowRects(area, Count(), i, label, text);
        MoveTo(labels_[i]->Handle(), label);
        MoveTo(panes_[i]->Handle(), text);
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
    : NodeValueWindow(tree, DialogRes::NodeComment, true, OneNode(NodeChildList(1, Ownership::Borrows), node),
                      "***node comment"),
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
    OnTreeTitleChanged(tree->Document().Title().Text());
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
        // A window the client maximised (the maximised one above it closed) and not yet restored keeps its
        // restored rectangle.
        RECT rect{};
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if ((IsZoomed(handle_) || IsIconic(handle_)) && GetWindowPlacement(handle_, &placement)) {
            rect = placement.rcNormalPosition;
        } else {
            GetWindowRect(handle_, &rect);
            MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&rect), 2);
        }
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
    const bool wasEmpty = comment->AllEmpty();
    rows_->StoreTexts(comment->branches);
    MarkTreeModified();
    // The node's comment flag comes or goes with the first text written or the last one cleared.
    if (comment->AllEmpty() != wasEmpty && Tree() != nullptr)
        Tree()->InvalidateAll();
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

NodeCommentDialog::NodeCommentDialog(TreeNode* node) : node_(node) {}

NodeCommentDialog::~NodeCommentDialog()
{
    Retire();
}

int NodeCommentDialog::Run()
{
    BranchNameList& records = node_->GetExtraList()->branches;
    // A list that no longer matches the branches is extended without asking; there is always one row.
    records.ExtendToChildren(node_);
    if (records.Count() == 0) {
        auto* record = new BranchName;
        if (!records.Add(record))
            delete record;
    }
    ProgramDialog dialog(DialogRes::NodeCommentModal);
    dialog.ShowItem(Ctl::NodeCommentModal::Prompts, false);
    RECT area{};
    if (const HWND placeholder = dialog.Control(Ctl::NodeCommentModal::RowArea)) {
        GetWindowRect(placeholder, &area);
        MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&area), 2);
        ::ShowWindow(placeholder, SW_HIDE);
    }
    rows_.clear();
    for (int i = 0; i < records.Count(); ++i) {
        RECT labelRect, textRect;
        RowRects(area, records.Count(), i, labelRect, textRect);
        MoveTo(MakeRowLabel(&dialog, *records.At(i), CommentRowSet::FirstLabelId + i)->Handle(), labelRect);
        auto* row = new EditCtrl(&dialog, textRect,
                                 WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                                     ES_AUTOVSCROLL | ES_WANTRETURN,
                                 records.At(i)->comment.Text(), FirstRowId + i);
        row->Send(WM_SETFONT, SendMessageA(dialog.Handle(), WM_GETFONT, 0, 0), FALSE);
        row->AddMessageHandler(this, &NodeCommentDialog::OnRowKey, WM_KEYDOWN);
        row->AddMessageHandler(this, &NodeCommentDialog::OnRowKey, WM_CHAR);
        rows_.push_back(row);
    }
    dialog.OnButton(IDOK, [&] {
        for (size_t i = 0; i < rows_.size(); ++i)
            records.At(static_cast<int>(i))->comment = rows_[i]->GetText();
        dialog.Accept();
    });
    SetFocus(rows_.front()->Handle());
    const int answer = dialog.Run();
    rows_.clear();
    return answer == IDOK ? 1 : 0;
}

long NodeCommentDialog::OnRowKey(WindowEvent* event)
{
    if (event->Key() != VK_TAB || GetKeyState(VK_CONTROL) < 0)
        return 0;
    if (event->message == WM_CHAR)
        return 1;
    const int count = static_cast<int>(rows_.size());
    int current = 0;
    for (int i = 0; i < count; ++i)
        if (rows_[i]->Handle() == event->window)
            current = i;
    const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    SetFocus(rows_[(current + step) % count]->Handle());
    return 1;
}
