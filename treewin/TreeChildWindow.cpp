#include "treewin/TreeChildWindow.h"

#include "widgets/NamePopupMenu.h"
#include "widgets/Shell.h"
#include "widgets/TablesMenu.h"
#include "treewin/FormulaMenus.h"
#include "treewin/FunctionHelper.h"
#include "treewin/InsertVariableDialog.h"
#include "treewin/ProbabilityWheel.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/window/WindowEvent.h"
#include "model/DocumentVariableOps.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>

namespace {

// The Options and Analysis commands are grayed while a bound window is active, and so is the Probability
// Wheel unless the window offers a probability (it is not the tree's command then).
bool GrayedInBoundWindows(unsigned command)
{
    return (command >= Cmd::OptionsSelectSubtree && command <= Cmd::OptionsMarkovTransitionNode) ||
           (command >= Cmd::AnalysisProbabilityDistribution && command <= Cmd::AnalysisCostEffectiveness) ||
           (command >= Cmd::AnalysisOneWay && command <= Cmd::AnalysisTornadoDiagram) ||
           command == Cmd::ValuesProbabilityWheel;
}

} // namespace

TreeChildWindow::TreeChildWindow(TreeWindow* tree, const ResourceId& templateId, bool counted)
    : DocChildWindow(templateId), tree_(tree), counted_(counted)
{
    if (tree_ == nullptr)
        return;
    tree_->AddChildWindow(this);
    if (counted_)
        ++tree_->Document().ChildWindowCount;
}

TreeChildWindow::~TreeChildWindow()
{
    if (tree_ == nullptr)
        return;
    if (counted_)
        --tree_->Document().ChildWindowCount;
    tree_->RemoveChildWindow(this);
}

long TreeChildWindow::OnCommandId(unsigned command, unsigned code, HWND control)
{
    if (DocChildWindow::OnCommandId(command, code, control) != 0)
        return 1;
    if (command == Cmd::ValuesInsertVariable && tree_ != nullptr && FocusEdit() != nullptr) {
        InsertVariableName(tree_, FocusEdit());
        return 1;
    }
    if (command == Cmd::EditPasteLink && tree_ != nullptr && FocusEdit() != nullptr) {
        zString formula;
        if (tree_->PasteLink(formula))
            InsertText(formula.Text(), false);
        return 1;
    }
    if (command == Cmd::ValuesProbabilityWheel && tree_ != nullptr && FocusEdit() != nullptr &&
        tree_->ChildMayUseWheel(*this)) {
        AssessWithWheel();
        return 1;
    }
    if (InsertMenuPick(command))
        return 1;
    // Menu and key commands go on to the tree's command handler (a key may send one that is grayed here);
    // the notifications of the window's own controls do not.
    if (tree_ == nullptr || control != nullptr)
        return 0;
    return GrayedInBoundWindows(command) ? 1 : tree_->OnCommand(static_cast<int>(command));
}

void TreeChildWindow::SetDefaultCommandStates()
{
    DocChildWindow::SetDefaultCommandStates();
    if (tree_ != nullptr)
        tree_->UpdateChildCommands(tree_->ChildMayUseWheel(*this));
}

void TreeChildWindow::UpdateMenus(HMENU bar)
{
    if (tree_ != nullptr)
        tree_->UpdateChildMenus(bar, FocusEdit() != nullptr, tree_->ChildMayUseWheel(*this));
}

void TreeChildWindow::InsertText(const char* text, bool withParentheses)
{
    EditCtrl* edit = FocusEdit();
    if (edit == nullptr || text == nullptr || *text == '\0')
        return;
    edit->ReplaceSelection(text);
    if (withParentheses) {
        edit->ReplaceSelection("()");
        PostMessageA(edit->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    }
    SetFocus(edit->Handle());
}

bool TreeChildWindow::InsertMenuPick(unsigned command)
{
    const HWND edit = FocusEdit() != nullptr ? FocusEdit()->Handle() : nullptr;
    if (InsertFunctionFromMenu(command, tree_, edit) || (edit != nullptr && InsertMenuItemText(command, edit)))
        return true;
    zString text;
    if (!PlainMenuItemText(command, tree_, text))
        return false;
    InsertText(text.Text(), false);
    return true;
}

void TreeChildWindow::OnTreeTitleChanged(const char*) {}

void TreeChildWindow::SetCaption(const char* suffix)
{
    zString title(Tree()->Document().Title());
    title += suffix;
    SetText(title);
}

bool TreeChildWindow::DependsOn(const void*) const
{
    return false;
}

bool TreeChildWindow::IsVariableNamed(const void* object, const char* name) const
{
    zString text(name);
    return object != nullptr && tree_ != nullptr && FindVariableTrimmed(tree_->Document(), text) &&
           tree_->Document().FindVariable(text.Text(), false) == object;
}

double TreeChildWindow::CurrentProbability()
{
    return 0.0;
}

void TreeChildWindow::AssessWithWheel()
{
    double value = CurrentProbability();
    zString label;
    CurrentProbabilityText(label);
    if (!RunProbabilityWheelAt(value, label.Text()))
        return;
    zString text;
    RoundAsDisplayed(value, &text, &tree_->Document().NumberFormat(), 2);
    // Taken as typed: the tree takes a modified field when it is written or closed.
    FocusEdit()->SetTypedText(text.Text());
    SetFocus(FocusEdit()->Handle());
}

void TreeChildWindow::CurrentProbabilityText(zString&) const {}

void TreeChildWindow::RefreshFromTree()
{
    delete this;
}

std::optional<POINT> TreeChildWindow::CloseReplaced(TreeChildWindow* shown)
{
    if (shown == nullptr)
        return std::nullopt;
    RECT place{};
    GetWindowRect(shown->Handle(), &place);
    MapWindowPoints(nullptr, GetParent(shown->Handle()), reinterpret_cast<POINT*>(&place), 2);
    delete shown;
    return POINT{place.left, place.top};
}

void TreeChildWindow::ShowWhereReplaced(const std::optional<POINT>& place)
{
    if (place)
        SetWindowPos(Handle(), nullptr, place->x, place->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Show(-1);
}
