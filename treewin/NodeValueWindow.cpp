#include "treewin/NodeValueWindow.h"

#include "widgets/HelpContext.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "widgets/MenuButton.h"
#include "widgets/OnlineHelp.h"
#include "widgets/SaveQuestions.h"
#include "treewin/FormulaMenus.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/window/ResourceId.h"
#include "framework/window/WindowEvent.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <cctype>
#include <string>

namespace Ids = Ctl::EnterPayoff;

namespace {

std::string Upper(const char* text)
{
    std::string out(text != nullptr ? text : "");
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

constexpr int kShortTextLength = 30;
// The formula menus' controls, which every node value window's template places alike.
constexpr FormulaMenuControls kMenus{Ctl::DefineVariable31109::OperatorsText, Ctl::DefineVariable31109::FunctionsText,
                                     Ctl::DefineVariable31109::VariablesText, Ctl::DefineVariable31109::KeywordsText,
                                     Ctl::DefineVariable31109::TablesText};
constexpr unsigned kHelpButton = 111;
constexpr int kHelpContext = 30016;

// The Markov keywords mean something only where every node is a Markov node or lies inside a Markov process.
bool AllInMarkovProcesses(const NodeChildList& nodes)
{
    for (int i = 0; i < nodes.Count(); ++i) {
        const TreeNode* node = nodes.At(i);
        if (node == nullptr || (node->kind != MarkovNode && !node->IsInMarkovSubtree()))
            return false;
    }
    return nodes.Count() > 0;
}

} // namespace

NodeValueWindow::NodeValueWindow(TreeWindow* tree, unsigned templateId, bool counted, const NodeChildList& nodes,
                                 const char* key)
    : TreeChildWindow(tree, ResourceId(templateId, nullptr), counted), key(key)
{
    this->nodes.AssignShallow(nodes);
    if (Handle() == nullptr)
        return;
    // Shown greyed where the keywords mean nothing.
    if (MenuButton* keywords = MakeFormulaMenuButtons(this, kMenus, tree))
        EnableWindow(keywords->Handle(), AllInMarkovProcesses(this->nodes) ? TRUE : FALSE);
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
    case Ids::ShowNodes:
        if (Tree() != nullptr)
            Tree()->SelectNodes(nodes);
        return 1;
    case Ids::Distribution: {
        zString call;
        if (Tree() == nullptr)
            ShowInfoBox(nullptr, "Distributions are allowed only for windows associated with a particular tree.", 0);
        else if (ChooseDistributionCall(Tree(), call))
            InsertText(call.Text(), false);
        return 1;
    }
    case IDOK:
        if (Apply(true))
            Close();
        return 1;
    case IDCANCEL:
        Close();
        return 1;
    case kHelpButton: {
        HelpContextScope help(kHelpContext);
        ShowHelpForContext();
        return 1;
    }
    default:
        return TreeChildWindow::OnCommandId(id, code, control);
    }
}

void NodeValueWindow::Close()
{
    closing_ = true;
    // A window that closed is deleted: only one that stayed is touched again.
    if (AskSaveChanges(TheShell().Frame(), this, false) == 0)
        closing_ = false;
}

bool NodeValueWindow::Edited() const
{
    for (HWND edit : boundEdits_)
        if (IsWindow(edit) && SendMessageA(edit, EM_GETMODIFY, 0, 0) != 0)
            return true;
    return false;
}

bool NodeValueWindow::EndEdit()
{
    if (!Edited())
        return true;
    if (!Apply(true))
        return false;
    for (HWND edit : boundEdits_)
        if (IsWindow(edit))
            SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    return true;
}

int NodeValueWindow::QueryClose(const char* question)
{
    if (!TreeChildWindow::QueryClose(question))
        return 0;
    return closing_ || EndEdit() ? 1 : 0;
}

void NodeValueWindow::HookFormulaKeys(EditCtrl* edit)
{
    if (edit == nullptr)
        return;
    for (UINT message : {WM_KEYDOWN, WM_KEYUP, WM_CHAR})
        edit->AddMessageHandler(this, &NodeValueWindow::OnFormulaKey, message);
}

long NodeValueWindow::OnFormulaKey(WindowEvent* event)
{
    const unsigned key = event->Key();
    const bool enter = key == '\r' || key == '\n';
    if (!enter && key != VK_ESCAPE)
        return 0;
    // The characters the two keys type are dropped, and so is the release of Enter.
    if (event->message != WM_KEYDOWN)
        return 1;
    if (!enter || Apply(true))
        Close();
    return 1;
}

void NodeValueWindow::RenameInEdit(EditCtrl* edit, const char* oldName, const char* newName)
{
    if (edit == nullptr)
        return;
    zString text = edit->GetText();
    if (ReplaceAll(text, oldName, newName, true, false, 0, true) > 0)
        edit->SetText(text);
}

EditCtrl* NodeValueWindow::BindEdit(unsigned id)
{
    EditCtrl* edit = EditCtrl::FromTemplate(this, id);
    if (edit != nullptr) {
        TrackFocus(edit);
        boundEdits_.push_back(edit->Handle());
    }
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
    SetItemText(Ids::NodeText, text.Text());
    if (defaultDefinition)
        EnableItem(Ids::ShowNodes, false);
}

bool NodeValueWindow::Parses(const zString& text, EditCtrl* edit, const char* formulaName)
{
    return text.IsEmpty() || FormulaSyntaxOk(text, edit, formulaName);
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
    const bool all = nodes.Count() <= 1 || prefs.CalcMethod == MultiAttributeMethod;
    for (int i = 0; i < 4; ++i)
        active[i] = all;
    if (all)
        return;
    if (prefs.CalcMethod == CostEffectivenessMethod || prefs.CalcMethod == BenefitCostMethod) {
        active[document.CostPayoffIndex()] = true;
        active[prefs.CalcMethod == CostEffectivenessMethod ? prefs.CEEffPayoff : prefs.BCBenefitPayoff] = true;
    } else {
        active[prefs.CurrentPayoff] = true;
    }
}
