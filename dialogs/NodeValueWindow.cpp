#include "dialogs/NodeValueWindow.h"

#include "app/MainFrame.h"
#include "app/SaveQuestions.h"
#include "formula/FormulaRef.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/window/ResourceId.h"
#include "framework/window/WindowEvent.h"
#include "formula/ParseOnlyContext.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <cctype>
#include <string>

namespace {

std::string Upper(const char* text)
{
    std::string out(text != nullptr ? text : "");
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

constexpr int kShortTextLength = 30;

} // namespace

NodeValueWindow::NodeValueWindow(TreeWindow* tree, unsigned templateId, bool counted, const NodeChildList& nodes,
                                 const char* key)
    : TreeChildWindow(tree, ResourceId(templateId, nullptr), counted), key(key)
{
    this->nodes.AssignShallow(nodes);
}

bool NodeValueWindow::MatchesKey(const char* text) const
{
    return Upper(key.Text()) == Upper(text);
}

bool NodeValueWindow::Matches(const TreeNode* node, const char* text) const
{
    if (!MatchesKey(text))
        return false;
    return node == nullptr ? nodes.Count() == 0 : nodes.Contains(node);
}

bool NodeValueWindow::DependsOn(const void* object) const
{
    return nodes.Contains(object) || IsVariableNamed(object, key.Text());
}

long NodeValueWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case kShowNodesButton:
        if (Tree() != nullptr)
            Tree()->SelectNodes(nodes);
        return 1;
    case IDOK:
        if (Apply(true))
            AskSaveChanges(MainFrame::Program(), this, false);
        return 1;
    case IDCANCEL:
        AskSaveChanges(MainFrame::Program(), this, false);
        return 1;
    default:
        return TreeChildWindow::OnCommandId(id, code, control);
    }
}

EditCtrl* NodeValueWindow::BindEdit(unsigned id)
{
    EditCtrl* edit = EditCtrl::FromTemplate(this, id);
    if (edit != nullptr)
        TrackFocus(edit);
    return edit;
}

void NodeValueWindow::ShowNodeLabel()
{
    zString text;
    const bool defaultDefinition =
        nodes.Count() == 1 && (nodes.At(0) == nullptr || nodes.At(0)->parent == nullptr);
    if (nodes.Count() > 1)
        text = "(multiple)";
    else if (defaultDefinition)
        text = "(none) Default Definition for Document";
    else if (nodes.Count() == 1)
        nodes.At(0)->GetShortText(text, kShortTextLength);
    if (Handle() == nullptr)
        return;
    SetItemText(kNodeLabel, text.Text());
    if (defaultDefinition)
        EnableItem(kShowNodesButton, false);
}

bool NodeValueWindow::Parses(const zString& text, EditCtrl* edit, const char* formulaName)
{
    if (text.IsEmpty())
        return true;
    // Names need not resolve: only the syntax is checked.
    FormulaRef formula(new ParseOnlyContext(), 0, formulaName);
    formula.EvaluateText(text.Text());
    if (!formula.HasError())
        return true;
    formula.ShowError(edit, 0);
    return false;
}

void NodeValueWindow::SetCaption(const char* suffix)
{
    zString title(Tree()->Title());
    title += suffix;
    SetText(title);
}

void NodeValueWindow::Store(UndoAction* action)
{
    Tree()->SetModified(1);
    Tree()->AddUndoAction(action);
}

void NodeValueWindow::FocusWhole(EditCtrl* edit)
{
    if (edit == nullptr)
        return;
    edit->SetSelection(0, 10000);
    SetFocus(edit->Handle());
}

void NodeValueWindow::ActivePayoffs(bool active[4]) const
{
    const TreeDocument& document = Tree()->Document();
    const TreeCalcPrefs& prefs = document.CalcPrefs;
    const bool all = nodes.Count() <= 1 || prefs.CalcMethod == 3;
    for (int i = 0; i < 4; ++i)
        active[i] = all;
    if (all)
        return;
    if (prefs.CalcMethod == 1 || prefs.CalcMethod == 2) {
        active[document.CostPayoffIndex()] = true;
        active[prefs.CalcMethod == 1 ? prefs.CEEffPayoff : prefs.BCBenefitPayoff] = true;
    } else {
        active[prefs.CurrentPayoff] = true;
    }
}
