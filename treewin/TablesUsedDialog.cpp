#include "treewin/TablesUsedDialog.h"

#include "widgets/CursorStack.h"
#include "widgets/ProgramDialog.h"
#include "formula/Expression.h"
#include "formula/FormulaRef.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "model/EvalContext.h"
#include "model/ExpressionWalk.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <string>
#include <utility>

namespace {

// The names before each "[" of a formula that does not parse: blanks may stand between name and bracket,
// and a name begins with a letter or "_".
void ScanTableNames(const char* text, NameList& names)
{
    const std::string formula(text);
    for (size_t bracket = formula.find('['); bracket != std::string::npos; bracket = formula.find('[', bracket + 1)) {
        size_t end = bracket;
        while (end > 0 && formula[end - 1] == ' ')
            --end;
        if (end == 0 || !IsNameChar(formula[end - 1]))
            continue;
        size_t start = end;
        while (start > 0 && IsNameChar(formula[start - 1]))
            --start;
        if (!IsNameStartChar(formula[start]))
            continue;
        zString name(formula.substr(start, end - start).c_str());
        name.MakeUpper();
        if (!names.Contains(name))
            names.InsertSorted(new zString(name));
    }
}

void CollectFormulaTables(ExpressionVisitor&, TreeNode* node, Expression& formula, void* arg)
{
    auto& found = *static_cast<NameList*>(arg);
    if (!formula.HasParseTree() && !formula.IsEmpty()) {
        FormulaRef check(new EvalContext(node->document, node), 0, nullptr);
        check.Evaluate(formula);
        if (check.HasError()) {
            ScanTableNames(formula.Text().Text(), found);
            return;
        }
    }
    CollectTableNames(formula, found);
}

} // namespace

void TablesUsedDialog::Run()
{
    if (HasPresenter()) {
        Present();
        return;
    }
    ProgramDialog dialog(DialogRes::TablesUsed);
    for (const auto& [id, names] :
         {std::pair<unsigned, const NameList*>{Ctl::TablesUsed::TheFollowingTablesAreUsedInTheTreeList, &found},
          {Ctl::TablesUsed::TheseTablesWereReferencedButNotFoundOnThisComputerList, &missing}})
        if (ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, id))
            for (int i = 0; i < names->Count(); ++i)
                list->AddString(*names->At(i));
    dialog.Run();
}

void ShowTablesUsed(TreeNode* root)
{
    NameList found(4, true);
    NameList missing(4, true);
    {
        WaitCursorScope wait;
        HostSilence notices(Silence::Notices);
        HostSilence messages(Silence::FormulaMessages);
        ReparseTreeBindings(root, false, CollectFormulaTables, &found, nullptr);
    }
    // Missing names move to the front of their list, which so keeps the order they had.
    for (int i = found.Count() - 1; i >= 0; --i) {
        LookupTable* table = FindTable(found.At(i)->Text(), true);
        if (table != nullptr) {
            *found.At(i) = table->Name();
            continue;
        }
        missing.InsertAt(0, found.At(i));
        found.RemoveAt(i);
    }
    if (found.Count() + missing.Count() == 0) {
        ShowInfoBox(nullptr, "No tables are used in this tree.", 0);
        return;
    }
    TablesUsedDialog(found, missing).Run();
}
