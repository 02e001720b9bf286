#include "treewin/TableGraphWindow.h"

#include "widgets/CursorStack.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "graph/TableEntryDialog.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/LocaleChars.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/WindowMenuBar.h"
#include "framework/window/Clipboard.h"
#include "framework/window/ResourceId.h"
#include "graph/LineGraph.h"

#include <memory>
#include <vector>

namespace {

// Places shown in a row: the index with at most 3, the value with at most 9, trailing zeros dropped.
constexpr int16_t kIndexDigits = -3;
constexpr int16_t kValueDigits = -9;
// The rows' tab stops in dialog units: the index, then the value.
constexpr int kRowTabStops[] = {5, 45};
// A graphical editor of small tables; not offered.
constexpr unsigned kGraphicalEditCommand = 1360;

bool Always(TableGraphWindow&) { return true; }
bool RowSelected(TableGraphWindow& window) { return window.SelectedRow() >= 0; }
bool HasEntries(TableGraphWindow& window)
{
    LookupTable* table = window.Table();
    return table != nullptr && table->EntryCount() > 0;
}
bool ClipboardHoldsTable(TableGraphWindow& window)
{
    Clipboard clipboard(&window);
    std::unique_ptr<char[]> text(clipboard.HasText() ? clipboard.GetText() : nullptr);
    return text != nullptr && TableGraphWindow::IsTableText(text.get());
}

bool IsBlank(char c) { return c == ' '; }

// Skips one or more number characters; false when there is none.
bool SkipNumberChars(const char*& p)
{
    const char point = LocaleChars::Active().decimalChar;
    const char* start = p;
    while ((*p >= '0' && *p <= '9') || *p == point)
        ++p;
    return p != start;
}

} // namespace

const TableGraphWindow::CommandRow TableGraphWindow::Commands[] = {
    {Cmd::EditCopy, &TableGraphWindow::CopyTable, &Always},
    {Cmd::EditPaste, &TableGraphWindow::PasteTable, &ClipboardHoldsTable},
    {Cmd::TableAddEntry, &TableGraphWindow::AddEntries, &Always},
    {Cmd::TableEditEntry, &TableGraphWindow::EditSelectedEntry, &RowSelected},
    {Cmd::TableDeleteEntry, &TableGraphWindow::DeleteEntry, &RowSelected},
    {Cmd::TableProperties, &TableGraphWindow::EditProperties, &Always},
    {Cmd::TableGraphTable, &TableGraphWindow::GraphTableCommand, &HasEntries},
    {kGraphicalEditCommand, nullptr, nullptr},
};

TableGraphWindow::TableGraphWindow(LookupTable* table)
    : TreeChildWindow(nullptr, ResourceId(DialogRes::Table, nullptr), false), table_(table)
{
    SetMenuObject(new WindowMenuBar(this, ResourceId(MenuRes::TableMenu, nullptr)));
    SetIconId(32022);
    SetTitleFromName();
    PlaceAt(0.3, 0.5);
    FitToFrame();
    entryList_ = NotifyListCtrl::FromTemplate(this, Ctl::Table::ValueList);
    if (entryList_ != nullptr) {
        entryList_->SetTabStops(kRowTabStops, 2);
        entryList_->OnDoubleClick(this, &TableGraphWindow::OnEntryChosen);
        SetFocusChild(entryList_);
    }
    Refill();
    if (table_->EntryCount() == 0)
        PostMessageA(handle_, WM_COMMAND, Cmd::TableAddEntry, 0);
}

TableGraphWindow::~TableGraphWindow()
{
    TheShell().RemoveTableGraph(this);
}

bool TableGraphWindow::HasCommand(unsigned id)
{
    for (const CommandRow& row : Commands)
        if (row.id == id)
            return true;
    return false;
}

bool TableGraphWindow::CommandAllowed(unsigned id)
{
    for (const CommandRow& row : Commands)
        if (row.id == id)
            return row.rule != nullptr && Table() != nullptr && row.rule(*this);
    return false;
}

long TableGraphWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    // Enter in the list reaches the window as the dialog's OK.
    if (id == IDOK && control == nullptr) {
        EditSelectedEntry();
        return 1;
    }
    for (const CommandRow& row : Commands) {
        if (row.id != id || control != nullptr)
            continue;
        if (Table() == nullptr) {
            delete this;
            return 1;
        }
        if (CommandAllowed(id))
            (this->*row.handler)();
        return 1;
    }
    return TreeChildWindow::OnCommandId(id, code, control);
}

void TableGraphWindow::UpdateMenus(HMENU bar)
{
    ModifyMenuA(bar, Cmd::EditCopy, MF_BYCOMMAND | MF_STRING, Cmd::EditCopy, "&Copy Table\tCtrl+C");
    ModifyMenuA(bar, Cmd::EditPaste, MF_BYCOMMAND | MF_STRING, Cmd::EditPaste, "&Paste Table\tCtrl+V");
    for (const CommandRow& row : Commands)
        EnableMenuItem(bar, row.id, MF_BYCOMMAND | (CommandAllowed(row.id) ? MF_ENABLED : MF_GRAYED));
}

bool TableGraphWindow::ShowsTable(const char* name) const
{
    const LookupTable* table = Table();
    return table != nullptr && name != nullptr && _stricmp(table->Name().Text(), name) == 0;
}

LookupTable* TableGraphWindow::Table() const
{
    return FindEntryOfTable(table_) != nullptr ? table_ : nullptr;
}

int TableGraphWindow::SelectedRow() const
{
    return entryList_ != nullptr ? entryList_->GetCurSel() : -1;
}

void TableGraphWindow::Refill()
{
    if (entryList_ == nullptr)
        return;
    entryList_->Clear();
    const int count = table_->EntryCount();
    for (int i = 0; i < count; ++i) {
        double index = 0.0;
        double value = 0.0;
        table_->GetEntry(i, index, value);
        zString row("\t");
        AppendFormattedNumber(row, index, kIndexDigits);
        row += "\t";
        AppendFormattedNumber(row, value, kValueDigits);
        entryList_->AddString(row);
    }
}

void TableGraphWindow::Changed(int row)
{
    table_->ClearCaches();
    table_->Save();
    Refill();
    if (entryList_ != nullptr && row >= 0)
        entryList_->SetCurSel(row);
}

void TableGraphWindow::AddEntries()
{
    TableEntryDialog dialog(false);
    if (!dialog.RunModal() || Table() == nullptr)
        return;
    for (const TableEntryDialog::Pair& pair : dialog.Pairs())
        table_->SetEntry(pair.index, pair.value);
    Changed(table_->FindExact(dialog.Pairs().back().index));
}

void TableGraphWindow::EditSelectedEntry()
{
    const int row = SelectedRow();
    double index = 0.0;
    double value = 0.0;
    if (row < 0 || !table_->GetEntry(row, index, value))
        return;
    TableEntryDialog dialog(true, index, value);
    if (!dialog.RunModal() || Table() == nullptr || row >= table_->EntryCount())
        return;
    const TableEntryDialog::Pair pair = dialog.Pairs().back();
    table_->RemoveEntryAt(row);
    // A pair moved onto another entry's index replaces that entry: one entry per index.
    table_->SetEntry(pair.index, pair.value);
    Changed(table_->FindExact(pair.index));
}

void TableGraphWindow::DeleteEntry()
{
    const int row = SelectedRow();
    if (row < 0 || row >= table_->EntryCount())
        return;
    table_->RemoveEntryAt(row);
    const int count = table_->EntryCount();
    Changed(row < count ? row : count - 1);
}

void TableGraphWindow::CopyTable()
{
    zString text;
    table_->ToText(text);
    Clipboard clipboard(this);
    clipboard.Empty();
    clipboard.PutText(text.Text());
}

void TableGraphWindow::PasteTable()
{
    Clipboard clipboard(this);
    std::unique_ptr<char[]> text(clipboard.GetText());
    if (text == nullptr)
        return;
    // Parsed apart first: text that yields no pair, or a question cancelled, leaves the table as it was.
    LookupTable scratch;
    if (!scratch.PasteText(text.get(), true))
        return;
    if (scratch.EntryCount() == 0) {
        MessageBeep(0);
        return;
    }
    table_->ReplaceEntries(scratch);
    table_->SetLoaded(true);
    Changed(-1);
}

void TableGraphWindow::EditProperties()
{
    EditTableProperties(table_);
    SetTitleFromName();
}

void TableGraphWindow::GraphTableCommand()
{
    GraphTable(*table_);
}

void TableGraphWindow::SetTitleFromName()
{
    zString title("Table: ");
    title += table_->Name();
    SetText(title);
}

long TableGraphWindow::OnEntryChosen(WindowEvent*)
{
    EditSelectedEntry();
    return 1;
}

bool TableGraphWindow::IsTableText(const char* text)
{
    if (text == nullptr)
        return false;
    const char* p = text;
    // A number with blanks around it.
    const auto number = [&p] {
        while (IsBlank(*p))
            ++p;
        if (!SkipNumberChars(p))
            return false;
        while (IsBlank(*p))
            ++p;
        return true;
    };
    if (!number() || *p++ != '\t' || !number())
        return false;
    return *p == '\0' || *p == '\r' || *p == '\n';
}

TableGraphWindow* OpenTableGraph(const char* name)
{
    return TheShell().OpenTableGraph(name);
}

void CloseTableGraphs(const char* name)
{
    TheShell().CloseTableGraphsOf(name);
}

LineGraph* GraphTable(LookupTable& table)
{
    const int count = table.EntryCount();
    if (count == 0)
        return nullptr;
    WaitCursorScope wait;
    std::vector<double> indexes(count);
    std::vector<double> values(count);
    for (int i = 0; i < count; ++i)
        table.GetEntry(i, indexes[i], values[i]);
    auto* graph = new LineGraph(count - 1, 1);
    zString title("Graph of Table: ");
    title += table.Name();
    graph->title.text = title;
    // Plain numbers: a table's indexes and values carry no currency.
    NumericFormat format(true);
    format.unitsKind = NumericFormat::UnitsNone;
    format.unitsText = "";
    double lowest = values[0];
    double highest = values[0];
    table.GetValueRange(lowest, highest);
    graph->AutoScaleAxis(1, format, lowest, highest, "Value", 1, 0);
    graph->AutoScaleAxis(0, format, indexes.front(), indexes.back(), "Index", 0, 0);
    graph->AddLine(values.data(), indexes.data(), "Value");
    graph->Layout();
    graph->Show(SW_SHOWNORMAL);
    return graph;
}
