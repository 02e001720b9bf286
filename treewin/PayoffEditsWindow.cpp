#include "treewin/PayoffEditsWindow.h"

#include "framework/dialog/EditCtrl.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace Ids = Ctl::EnterPayoff;

PayoffEditsWindow::PayoffEditsWindow(TreeWindow* tree, unsigned templateId, bool counted,
                                     const NodeChildList& nodes, const char* key)
    : NodeValueWindow(tree, templateId, counted, nodes, key)
{
}

void PayoffEditsWindow::BuildEdits(bool skipEmpty)
{
    ActivePayoffs(active);
    EditCtrl* first = nullptr;
    for (int payoff = 0; payoff < 4; ++payoff) {
        const HWND label = Control(Ids::Payoff1Text + payoff);
        if (!active[payoff]) {
            ::ShowWindow(label, SW_HIDE);
            ShowItem(Ids::Payoff1Edit + payoff, false);
            continue;
        }
        SetWindowTextA(label, Label(payoff).Text());
        edits[payoff] = BindEdit(Ids::Payoff1Edit + payoff);
        HookFormulaKeys(edits[payoff]);
        zString common;
        bool found = false;
        for (int i = 0; i < Nodes().Count(); ++i) {
            zString text;
            NodeText(Nodes().At(i), payoff, text);
            if (skipEmpty && text.IsEmpty())
                continue;
            if (found && !(common == text)) {
                common.Clear();
                mixed[payoff] = true;
                break;
            }
            common = text;
            found = true;
        }
        if (edits[payoff] != nullptr)
            edits[payoff]->SetText(common);
        if (first == nullptr)
            first = edits[payoff];
    }
    FocusWhole(first);
}

bool PayoffEditsWindow::Apply(bool)
{
    zString texts[4];
    const char* pointers[4];
    bool written[4];
    for (int payoff = 0; payoff < 4; ++payoff) {
        EditCtrl* edit = active[payoff] ? edits[payoff] : nullptr;
        if (edit != nullptr)
            texts[payoff] = edit->GetText();
        pointers[payoff] = texts[payoff].Text();
        if (active[payoff] && !Parses(texts[payoff], edits[payoff], FormulaName()))
            return false;
        const bool untouched = edit == nullptr || SendMessageA(edit->Handle(), EM_GETMODIFY, 0, 0) == 0;
        written[payoff] = active[payoff] && !(mixed[payoff] && untouched && texts[payoff].IsEmpty());
    }
    Store(MakeAction(pointers, written));
    return true;
}

void PayoffEditsWindow::RenameVariable(const char* oldName, const char* newName)
{
    for (EditCtrl* edit : edits)
        RenameInEdit(edit, oldName, newName);
}
