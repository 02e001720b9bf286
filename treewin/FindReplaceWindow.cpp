#include "treewin/FindReplaceWindow.h"

#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "widgets/SaveQuestions.h"
#include "widgets/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/window/ResourceId.h"
#include "framework/window/WindowEvent.h"
#include "model/NameRules.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeAction.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"
#include "widgets/WindowPlacement.h"

#include "CommandIds.h"

namespace FindReplaceIds = Ctl::FindReplace;

namespace {

const char* const kFieldNames[] = {"(None)", "Node Event", "Node Probability", "Variable Name", "Variable Definition",
                                   "Node Payoff"};

// Room kept between the window and the node it found, in pixels.
constexpr int kClearance = 8;

int OverlapArea(const RECT& a, const RECT& b)
{
    RECT overlap{};
    return IntersectRect(&overlap, &a, &b) ? (overlap.right - overlap.left) * (overlap.bottom - overlap.top) : 0;
}

} // namespace

bool FindOptionsDialog::Run()
{
    if (HasPresenter())
        return Present() == IDOK;
    ProgramDialog dialog(DialogRes::FindOptions);
    for (unsigned i = 0; i < 5; ++i)
        CheckBoxCtrl::FromTemplate(&dialog, Ctl::FindOptions::NodeNames + i, &searchIn[i]);
    return dialog.Run() == IDOK;
}

FindReplaceWindow::FindReplaceWindow(TreeWindow* tree)
    : TreeChildWindow(tree, ResourceId(DialogRes::FindReplace, nullptr), false)
{
    FitToFrame();
    OnTreeTitleChanged(tree->Document().Title().Text());
    ResetSearch();
    if (Handle() != nullptr)
        SetFocus(Control(FindReplaceIds::FindWhatEdit));
}

FindReplaceWindow::~FindReplaceWindow()
{
    if (Tree() != nullptr && Tree()->FindReplace == this)
        Tree()->FindReplace = nullptr;
}

void FindReplaceWindow::OnTreeTitleChanged(const char*)
{
    SetCaption(": Find/Replace");
}

void FindReplaceWindow::RefreshFromTree()
{
    ResetSearch();
}

void FindReplaceWindow::ResetSearch()
{
    nodePath.Clear();
    field = None;
    index = 0;
    replacingAll = false;
    restart = true;
}

void FindReplaceWindow::StoreControls()
{
    if (Handle() == nullptr)
        return;
    findText = ItemText(FindReplaceIds::FindWhatEdit);
    replaceText = ItemText(FindReplaceIds::ReplaceWithEdit);
    wholeWord = IsItemChecked(FindReplaceIds::MatchWholeWordOnly);
    matchCase = IsItemChecked(FindReplaceIds::MatchCase);
}

bool FindReplaceWindow::InputValid(bool replacing)
{
    const bool noFind = findText.IsEmpty();
    if (!noFind && !(replacing && replaceText.IsEmpty()))
        return true;
    ShowInfoBox(nullptr, noFind ? "Please enter the text to find." : "Please enter the text to replace.", 0);
    if (Handle() != nullptr)
        SetFocus(Control(noFind ? FindReplaceIds::FindWhatEdit : FindReplaceIds::ReplaceWithEdit));
    return false;
}

TreeNode* FindReplaceWindow::CurrentNode() const
{
    TreeNode* root = Tree()->Document().Root;
    TreeNode* node = nodePath.IsEmpty() ? nullptr : FindNodeByPath(root, nodePath.Text());
    return node != nullptr ? node : root;
}

void FindReplaceWindow::NextField(const TreeNode* node)
{
    if ((field == VariableName || field == VariableDefinition) && ++index < node->BindingCount())
        return;
    if (field == NodePayoff && node->kind == TerminalNode && ++index <= 3)
        return;
    index = 0;
    do
        ++field;
    while (field <= NodePayoff && searchIn[field - NodeName] == 0);
    if (field > NodePayoff)
        field = None;
}

bool FindReplaceWindow::FieldText(TreeNode* node, zString& text) const
{
    switch (field) {
    case NodeName: text = node->text; return true;
    case NodeProbability: node->GetProbabilityText(text); return true;
    case VariableName:
    case VariableDefinition: {
        if (index >= node->BindingCount())
            return false;
        const ::VariableDefinition* binding = node->GetBinding(index);
        text = field == VariableName ? binding->name : binding->definition.Text();
        return true;
    }
    case NodePayoff: node->GetPayoffText(text, index); return true;
    default: return false;
    }
}

void FindReplaceWindow::SetFieldText(TreeNode* node, const zString& text)
{
    switch (field) {
    case NodeName: node->SetText(text.Text(), true); return;
    case NodeProbability: node->SetProbabilityText(text.Text(), true); return;
    case VariableName: {
        const ::VariableDefinition* binding = node->GetBinding(index);
        const zString oldName(binding->name);
        const zString definition(binding->definition.Text());
        node->RemoveBinding(oldName.Text(), false, true);
        node->SetBinding(text.Text(), definition.Text(), true);
        return;
    }
    case VariableDefinition: {
        const zString name(node->GetBinding(index)->name);
        node->SetBinding(name.Text(), text.Text(), true);
        return;
    }
    case NodePayoff: node->SetPayoffText(text.Text(), index, true); return;
    default: return;
    }
}

bool FindReplaceWindow::FindInNode(TreeNode* node)
{
    for (;;) {
        NextField(node);
        if (field == None)
            return false;
        zString text;
        if (FieldText(node, text) && FindInText(text, findText.Text(), wholeWord, matchCase, 0) > 0)
            return true;
    }
}

bool FindReplaceWindow::FindNext()
{
    if (!replacingAll && !InputValid(false))
        return false;
    if (Handle() != nullptr)
        SetItemText(FindReplaceIds::LastFindText, "");
    TreeNode* root = Tree()->Document().Root;
    TreeNode* node = CurrentNode();
    // Searching from the root goes round the tree once, back to the root; after a reset the root comes last.
    const bool rootFirst = node == root && !restart;
    TreeNode* found = nullptr;
    for (;;) {
        if (!restart) {
            if (FindInNode(node)) {
                found = node;
                break;
            }
            if (node == root && !rootFirst)
                break;
        }
        restart = false;
        node = node->NextNode(1);
        field = None;
        index = 0;
        if (node == root && rootFirst)
            break;
    }
    if (found != nullptr) {
        RecordPath(found, nodePath);
        if (!replacingAll) {
            Tree()->SelectNode(found, 1, nullptr, false);
            Tree()->ScrollSelectionIntoView();
            MoveClearOf(found);
        }
    } else {
        if (!replacingAll)
            ResetSearch();
        MessageBeep(0);
    }
    restart = false;
    ShowLastFind();
    return found != nullptr;
}

void FindReplaceWindow::MoveClearOf(const TreeNode* node)
{
    TreePane* pane = Tree()->Pane();
    Display* display = pane != nullptr ? pane->CurrentDisplay() : nullptr;
    const HWND client = Handle() != nullptr ? GetParent(Handle()) : nullptr;
    if (pane == nullptr || display == nullptr || pane->Handle() == nullptr || client == nullptr)
        return;
    // The node's branch, text and symbol, where the pane shows them, in the frame's client area.
    const NodeGeometry& g = node->Geometry();
    RECT spot = LogicalRectToPixels(LogicalRect{g.X, g.Y, g.SymbolX + kSymbolSize, g.YBottom}, *display);
    const POINT scroll = pane->ScrollOrigin();
    OffsetRect(&spot, -scroll.x, -scroll.y);
    MapWindowPoints(pane->Handle(), client, reinterpret_cast<POINT*>(&spot), 2);
    InflateRect(&spot, kClearance, kClearance);
    RECT place{};
    GetWindowRect(Handle(), &place);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&place), 2);
    if (OverlapArea(place, spot) == 0)
        return;
    RECT area{};
    GetClientRect(client, &area);
    // Below the node, above it, to its right, to its left: the first place that leaves it clear, else the one
    // that hides least of it.
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const RECT candidates[] = {
        {place.left, spot.bottom, place.right, spot.bottom + height},
        {place.left, spot.top - height, place.right, spot.top},
        {spot.right, place.top, spot.right + width, place.bottom},
        {spot.left - width, place.top, spot.left, place.bottom},
    };
    RECT best = place;
    int bestOverlap = OverlapArea(place, spot);
    for (const RECT& candidate : candidates) {
        const RECT inside = MoveRectInside(candidate, area);
        const int overlap = OverlapArea(inside, spot);
        if (overlap < bestOverlap) {
            best = inside;
            bestOverlap = overlap;
        }
        if (overlap == 0)
            break;
    }
    SetWindowPos(Handle(), nullptr, best.left, best.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FindReplaceWindow::AgreedToReplace()
{
    if (replaceAgreed)
        return true;
    replaceAgreed = AskOkCancel(nullptr, "Replacing cannot be undone, and the undo history will be cleared. "
                                         "Do you want to continue?", 0, 3) == 1;
    return replaceAgreed;
}

bool FindReplaceWindow::Replace()
{
    if (!replacingAll && (!InputValid(true) || !AgreedToReplace()))
        return false;
    TreeWindow& tree = *Tree();
    tree.ClearSelection();
    TreeNode* node = CurrentNode();
    zString text;
    bool done = true;
    if (FieldText(node, text) &&
        ::ReplaceAll(text, findText.Text(), replaceText.Text(), wholeWord, matchCase, 0, true) > 0) {
        // A variable's new name must be one a variable may have; the rule's own message says why not.
        done = field != VariableName || CheckVariableName(text, true, false);
        if (done) {
            SetFieldText(node, text);
            // Replace All measures each changed node and lays the tree out once at the end.
            if (replacingAll)
                tree.NodeChanged(node, 0);
            else
                tree.RedrawNode(node, 0);
            tree.SetModified(1);
        }
    }
    tree.ClearUndoHistory();
    return done;
}

void FindReplaceWindow::ReplaceAll()
{
    if (!InputValid(true))
        return;
    replacingAll = true;
    // Looked for first: without a match there is nothing to agree to; Find Next's beep says so.
    if (!FindNext()) {
        ResetSearch();
        return;
    }
    if (!AgreedToReplace()) {
        ResetSearch();
        ShowLastFind();
        return;
    }
    TreeWindow& tree = *Tree();
    tree.NodeChangesBegin();
    // A refused replacement ends the run there, so its message shows once.
    int lastFound = None;
    do
        lastFound = field;
    while (Replace() && FindNext());
    tree.NodeChangesEnd();
    tree.Relayout();
    ResetSearch();
    // "Last Find" names the last field found rather than the search that found nothing more.
    field = lastFound;
    ShowLastFind();
    field = None;
}

void FindReplaceWindow::ShowLastFind()
{
    if (Handle() != nullptr)
        SetItemText(FindReplaceIds::LastFindText, kFieldNames[field - None]);
}

long FindReplaceWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case IDOK:
        StoreControls();
        FindNext();
        return 1;
    case FindReplaceIds::Replace:
        StoreControls();
        Replace();
        return 1;
    case FindReplaceIds::ReplaceAll:
        StoreControls();
        ReplaceAll();
        return 1;
    case FindReplaceIds::StartOver:
        ResetSearch();
        return 1;
    case FindReplaceIds::Where: {
        FindOptionsDialog options;
        for (int i = 0; i < 5; ++i)
            options.searchIn[i] = searchIn[i];
        if (options.Run())
            for (int i = 0; i < 5; ++i)
                searchIn[i] = options.searchIn[i];
        return 1;
    }
    case IDCANCEL:
        AskSaveChanges(TheShell().Frame(), this, false);
        return 1;
    default:
        return TreeChildWindow::OnCommandId(id, code, control);
    }
}
