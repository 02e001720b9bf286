#include "widgets/SpreadsheetLinksDialog.h"

#include "widgets/CursorStack.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/ProgramDialog.h"
#include "formula/SpreadsheetAutomation.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

#include <algorithm>
#include <string>

namespace Ids = Ctl::BiDirectionalLinks;

namespace {

const char* const kNoVariable = "(None)";
const char* const kMarks[] = {" ", "<--", "-->>"};

// A row taken apart: a mark other than those of the two directions ties nothing.
struct CellLink {
    std::string cell;
    int action = SpreadsheetLinksDialog::NoAction;
    std::string variable;
};

CellLink SplitRow(const zString& row)
{
    CellLink link;
    const std::string text = row.Text();
    const size_t tab = text.find('\t');
    link.cell = text.substr(0, tab);
    if (tab == std::string::npos || tab + 1 >= text.size())
        return link;
    const char mark = text[tab + 1];
    link.action = mark == '<' ? SpreadsheetLinksDialog::WriteAction
                  : mark == '-' ? SpreadsheetLinksDialog::ReadAction
                                : SpreadsheetLinksDialog::NoAction;
    const size_t second = text.find('\t', tab + 1);
    if (second != std::string::npos)
        link.variable = text.substr(second + 1);
    return link;
}

std::string Upper(const std::string& text)
{
    zString upper(text.c_str());
    upper.MakeUpper();
    return upper.Text();
}

std::string ItemText(ProgramDialog& dialog, unsigned id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog.Handle(), static_cast<int>(id), text, sizeof text);
    return text;
}

// The dialog on the screen: the workbook's cells in a list, and the editors of the row shown (its direction and
// variable), which take effect in the row when another row is shown or at OK.
class LinksScreen {
public:
    LinksScreen(SpreadsheetLinksDialog& links, const DocVariableList& variables);
    void Run();

private:
    void FillVariableChoice(const DocVariableList& variables);
    void BindControls();
    void EnableEditors(bool on);
    void ShowVariable(const std::string& variable);
    void KeepShownRow();
    void ShowRow(int row);
    void FillList();
    void Browse();
    void Connect();
    void ChooseVariable();

    SpreadsheetLinksDialog& links_;
    ProgramDialog dialog_{DialogRes::BiDirectionalLinks};
    HWND list_ = nullptr;
    HWND choice_ = nullptr;
    int shownRow_ = -1;
    bool selecting_ = false;
};

LinksScreen::LinksScreen(SpreadsheetLinksDialog& links, const DocVariableList& variables) : links_(links)
{
    EditCtrl::FromTemplate(&dialog_, Ids::SelectAnExcel97WorkbookFileEdit, &links.path, CtrlWindowCL::MayBeEmpty);
    CheckBoxCtrl::FromTemplate(&dialog_, Ids::RefreshAllExternalDataOnOpen, &links.refresh);
    list_ = dialog_.Control(Ids::SelectAnExcel97WorkbookFileList);
    choice_ = dialog_.Control(Ids::VariableChoice);
    const int tabStops[] = {90, 110};  // not a resource id: tab stops
    SendMessageA(list_, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabStops));
    FillVariableChoice(variables);
    EnableEditors(false);
    BindControls();
}

void LinksScreen::FillVariableChoice(const DocVariableList& variables)
{
    SendMessageA(choice_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoVariable));
    for (int i = 0; i < variables.Count(); ++i)
        SendMessageA(choice_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(variables.At(i)->name.Text()));
}

void LinksScreen::BindControls()
{
    dialog_.OnButton(Ids::Browse, [this] { Browse(); });
    dialog_.OnButton(Ids::Connect, [this] { Connect(); });
    dialog_.OnNotification(Ids::SelectAnExcel97WorkbookFileList, LBN_SELCHANGE,
                           [this] { ShowRow(static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0))); });
    dialog_.OnButton(Ids::None, [this] {
        CheckRadioButton(dialog_.Handle(), Ids::None, Ids::SpreadsheetTree, Ids::None);
        ShowVariable("");
    });
    dialog_.OnNotification(Ids::VariableChoice, CBN_SELCHANGE, [this] { ChooseVariable(); });
    dialog_.OnButton(IDOK, [this] {
        KeepShownRow();
        if (dialog_.ValidateAndStore() && links_.Store())
            dialog_.EndModal();
    });
}

void LinksScreen::Run()
{
    if (dialog_.Run() == IDOK)
        links_.rows.clear();
}

void LinksScreen::EnableEditors(bool on)
{
    const unsigned editors[] = {Ids::SelectAnExcel97WorkbookFileList, Ids::None, Ids::TreeSpreadsheet,
                                Ids::SpreadsheetTree, Ids::VariableChoice};
    for (unsigned id : editors)
        dialog_.EnableItem(id, on);
}

void LinksScreen::ShowVariable(const std::string& variable)
{
    const char* shown = variable.empty() ? kNoVariable : variable.c_str();
    dialog_.SetItemText(Ids::VariableText, shown);
    SendMessageA(choice_, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(shown));
}

// The row left behind takes what the controls show.
void LinksScreen::KeepShownRow()
{
    if (shownRow_ < 0 || shownRow_ >= static_cast<int>(links_.rows.size()))
        return;
    std::string variable = ItemText(dialog_, Ids::VariableText);
    int action = dialog_.IsChecked(Ids::TreeSpreadsheet) ? SpreadsheetLinksDialog::WriteAction
        : dialog_.IsChecked(Ids::SpreadsheetTree)        ? SpreadsheetLinksDialog::ReadAction
                                                         : SpreadsheetLinksDialog::NoAction;
    if (variable == kNoVariable) {
        variable.clear();
        action = SpreadsheetLinksDialog::NoAction;
    }
    const std::string cell = SplitRow(links_.rows[shownRow_]).cell;
    links_.rows[shownRow_] = SpreadsheetLinksDialog::MakeRow(cell.c_str(), action, variable.c_str());
    SendMessageA(list_, LB_DELETESTRING, shownRow_, 0);
    SendMessageA(list_, LB_INSERTSTRING, shownRow_, reinterpret_cast<LPARAM>(links_.rows[shownRow_].Text()));
}

void LinksScreen::ShowRow(int row)
{
    if (selecting_)
        return;
    selecting_ = true;
    KeepShownRow();
    shownRow_ = row;
    SendMessageA(list_, LB_SETCURSEL, row, 0);
    const CellLink link = row >= 0 && row < static_cast<int>(links_.rows.size()) ? SplitRow(links_.rows[row])
                                                                                   : CellLink();
    CheckRadioButton(dialog_.Handle(), Ids::None, Ids::SpreadsheetTree, static_cast<int>(Ids::None) + link.action);
    dialog_.SetItemText(Ids::CellText, link.cell.c_str());
    ShowVariable(link.variable);
    selecting_ = false;
}

void LinksScreen::FillList()
{
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    shownRow_ = -1;
    for (const zString& row : links_.rows)
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.Text()));
}

void LinksScreen::Browse()
{
    const char* const filters[] = {"Excel Workbooks (*.xls)", "*.xls", nullptr};
    FilePath chosen;
    if (!ChooseOpenPath(dialog_.Handle(), filters, "Select Workbook File", nullptr, chosen))
        return;
    dialog_.SetItemText(Ids::SelectAnExcel97WorkbookFileEdit, chosen.FullPath().Text());
    links_.rows.clear();
    FillList();
    EnableEditors(false);
    dialog_.EnableItem(Ids::Connect, true);
}

void LinksScreen::Connect()
{
    links_.path = ItemText(dialog_, Ids::SelectAnExcel97WorkbookFileEdit).c_str();
    links_.refresh = dialog_.IsChecked(Ids::RefreshAllExternalDataOnOpen) ? 1 : 0;
    const bool listed = links_.Connect();
    FillList();
    if (!listed)
        return;
    dialog_.ComeToFront();
    EnableEditors(true);
    SetFocus(list_);
    ShowRow(0);
}

void LinksScreen::ChooseVariable()
{
    char chosen[256] = {};
    const LRESULT index = SendMessageA(choice_, CB_GETCURSEL, 0, 0);
    if (index >= 0)
        SendMessageA(choice_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(chosen));
    dialog_.SetItemText(Ids::VariableText, chosen[0] != '\0' ? chosen : kNoVariable);
}

} // namespace

SpreadsheetLinksDialog::SpreadsheetLinksDialog(TreeDocument& document)
    : path(document.Links.WorkbookPath()),
      refresh((document.Links.Flags() & LinkSettings::RefreshOnOpen) != 0 ? 1 : 0), document_(document)
{
}

bool SpreadsheetLinksDialog::Run()
{
    stored_ = false;
    if (HasPresenter()) {
        if (Present() == IDOK)
            Store();
    } else {
        LinksScreen screen(*this, document_.Variables);
        screen.Run();
    }
    return stored_;
}

zString SpreadsheetLinksDialog::MakeRow(const char* cell, int action, const char* variable)
{
    const bool tied = action != NoAction && variable != nullptr && *variable != '\0';
    const std::string row = std::string(cell) + "\t" + kMarks[tied ? action : NoAction] + "\t" + (tied ? variable : "");
    return zString(row.c_str());
}

bool SpreadsheetLinksDialog::Connect()
{
    rows.clear();
    connected_ = false;
    if (GetFileAttributesA(path.Text()) == INVALID_FILE_ATTRIBUTES &&
        AskYesNo(nullptr, "The file you have selected can not be found. Use it anyway?", 0) != 1)
        return false;
    WaitCursorScope busy;
    SpreadsheetAutomation& spreadsheet = document_.CalcStateRecord.Automation();
    if (spreadsheet.Connect(true) == 0) {
        ShowErrorBox(nullptr, "Unable to start Excel.", 0);
        return false;
    }
    if (spreadsheet.OpenWorkbook(path.Text(), false, refresh != 0 ? LinkSettings::RefreshOnOpen : 0) == 0) {
        zString message("Unable to load workbook \"$1\".");
        SubstituteArgs(message, path.Text());
        ShowErrorBox(nullptr, message.Text(), 0);
        return false;
    }
    std::vector<zString> names;
    spreadsheet.ListNames(names);
    connected_ = true;
    if (names.empty()) {
        ShowErrorBox(nullptr,
                     "No cells in the worksheet are named. To use bi-directional links, you must use named cells.", 0);
        return false;
    }
    const DocVariableList& variables = document_.Variables;
    for (const zString& name : names) {
        const std::string cell = Upper(name.Text());
        const DocVariable* tied = nullptr;
        int action = NoAction;
        for (int pass = WriteAction; pass <= ReadAction && tied == nullptr; ++pass)
            for (int i = 0; i < variables.Count() && tied == nullptr; ++i) {
                const DocVariable* variable = variables.At(i);
                const zString& linked = pass == WriteAction ? variable->WriteCell() : variable->ReadCell();
                if (!linked.IsEmpty() && Upper(linked.Text()) == cell) {
                    tied = variable;
                    action = pass;
                }
            }
        rows.push_back(MakeRow(name.Text(), action, tied != nullptr ? tied->name.Text() : ""));
    }
    return true;
}

bool SpreadsheetLinksDialog::Store()
{
    std::vector<CellLink> records;
    for (const zString& row : rows) {
        CellLink link = SplitRow(row);
        if (link.action == NoAction || link.variable.empty())
            continue;
        link.variable = Upper(link.variable);
        records.insert(std::upper_bound(records.begin(), records.end(), link,
                                        [](const CellLink& a, const CellLink& b) { return a.variable < b.variable; }),
                       link);
    }
    for (size_t i = 1; i < records.size(); ++i)
        if (records[i].variable == records[i - 1].variable) {
            zString message("More than one cell is linked to the variable \"$1\".");
            SubstituteArgs(message, records[i].variable.c_str());
            ShowErrorBox(nullptr, message.Text(), 0);
            return false;
        }
    document_.Links.WorkbookPath() = path;
    document_.Links.Flags() = static_cast<int16_t>((document_.Links.Flags() & ~LinkSettings::RefreshOnOpen) |
                                                   (refresh != 0 ? LinkSettings::RefreshOnOpen : 0));
    // Without a connection the dialog never showed the workbook's cells: the variables keep theirs.
    if (connected_) {
        for (int i = 0; i < document_.Variables.Count(); ++i) {
            DocVariable* variable = document_.Variables.At(i);
            auto record = std::find_if(records.begin(), records.end(), [variable](const CellLink& link) {
                return link.variable == variable->upperName.Text();
            });
            const bool found = record != records.end();
            variable->WriteCell() = found && record->action == WriteAction ? record->cell.c_str() : "";
            variable->ReadCell() = found && record->action == ReadAction ? record->cell.c_str() : "";
        }
    }
    document_.SetModified(1);
    stored_ = true;
    return true;
}
