#include "treewin/FormulaMenus.h"

#include "widgets/MenuButton.h"
#include "widgets/NamePopupMenu.h"
#include "widgets/Shell.h"
#include "widgets/TablesMenu.h"
#include "treewin/DistributionsDialog.h"
#include "treewin/FunctionHelper.h"
#include "formula/BuiltinRegistry.h"
#include "formula/DistributionRecord.h"
#include "formula/FormulaRef.h"
#include "formula/ParseOnlyContext.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/PopupMenu.h"
#include "treewin/TreeWindow.h"

#include <string>

MenuButton* MakeFormulaMenuButtons(WindowCL* window, const FormulaMenuControls& controls, TreeWindow* tree)
{
    const auto make = [window](unsigned id, Menu* menu) -> MenuButton* {
        if (id == 0 || menu == nullptr)
            return nullptr;
        return MakeMenuButton(menu, window->FindChild(id), window, nullptr, false);
    };
    const Shell& program = TheShell();
    make(controls.operators, program.OperatorsMenu());
    make(controls.functions, program.FunctionsMenu());
    make(controls.tables, TablesMenu() != nullptr ? &TablesMenu()->GetMenu() : nullptr);
    if (tree != nullptr) {
        // A new tree makes its variables menu with its first variable.
        if (!tree->VariablesMenu)
            tree->VariablesChanged();
        make(controls.variables, &tree->VariablesMenu->GetMenu());
    }
    else if (controls.variables != 0)
        window->SetItemText(controls.variables, "");
    return make(controls.keywords, program.KeywordsMenu());
}

bool InsertFormulaMenuPick(unsigned command, TreeWindow* tree, HWND edit)
{
    if (InsertFunctionFromMenu(command, tree, edit))
        return true;
    if (edit != nullptr && InsertMenuItemText(command, edit))
        return true;
    zString text;
    if (!PlainMenuItemText(command, tree, text))
        return false;
    if (edit != nullptr && !text.IsEmpty()) {
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.Text()));
        SetFocus(edit);
    }
    return true;
}

bool PlainMenuItemText(unsigned command, TreeWindow* tree, zString& text)
{
    const PopupMenu* operators = TheShell().OperatorsMenu();
    const PopupMenu* keywords = TheShell().KeywordsMenu();
    const bool found = (operators != nullptr && operators->ItemText(command, text)) ||
                       (keywords != nullptr && keywords->ItemText(command, text)) ||
                       (tree != nullptr && tree->VariablesMenu && tree->VariablesMenu->ItemText(command, text));
    if (found && text.Length() > 50)
        text.Truncate(50);
    return found;
}

bool FormulaSyntaxOk(const zString& text, TextField* field, const char* formulaName)
{
    // Names need not resolve: only the syntax is checked.
    FormulaRef formula(new ParseOnlyContext(), 0, formulaName);
    formula.EvaluateText(text.Text());
    if (!formula.HasError())
        return true;
    formula.ShowError(field, 0);
    return false;
}

bool ChooseDistributionCall(TreeWindow* tree, zString& call)
{
    DistributionsDialog dialog(tree, true);
    const DistributionRecord* record = dialog.Run() ? dialog.Selected() : nullptr;
    if (record == nullptr)
        return false;
    call = (std::string(kBuiltinFunctions[BuiltinDistSamp].name) + "(" + std::to_string(record->index) + ")").c_str();
    return true;
}

FormulaPicks::FormulaPicks(WindowCL* dialog, TreeWindow* tree, const FormulaMenuControls& controls) : tree_(tree)
{
    MakeFormulaMenuButtons(dialog, controls, tree);
    dialog->AddHandler(this, &FormulaPicks::OnCommand, WM_COMMAND);
}

FormulaPicks::~FormulaPicks()
{
    Retire();
}

void FormulaPicks::Track(EditCtrl* edit)
{
    if (edit == nullptr)
        return;
    edit->AddMessageHandler(this, &FormulaPicks::OnFocus, WM_SETFOCUS);
    if (edit_ == nullptr)
        edit_ = edit->Handle();
}

void FormulaPicks::Insert(const char* text)
{
    if (edit_ == nullptr || text == nullptr || *text == '\0')
        return;
    SendMessageA(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    SetFocus(edit_);
}

long FormulaPicks::OnCommand(WindowEvent* event)
{
    // The dialog's own controls notify with their handle; picks come without one.
    if (event->Control() != nullptr)
        return 0;
    return InsertFormulaMenuPick(event->CommandId(), tree_, edit_) ? 1 : 0;
}

long FormulaPicks::OnFocus(WindowEvent* event)
{
    edit_ = event->window;
    return 0;
}
