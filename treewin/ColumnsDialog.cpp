#include "treewin/ColumnsDialog.h"

#include "widgets/FontSampleControl.h"
#include "widgets/MenuButton.h"
#include "treewin/FormulaEditorDialog.h"
#include "treewin/FormulaMenus.h"
#include "dialogs/NumericFormatDialog.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/Menu.h"
#include "model/TreeDocument.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>

namespace Ids = Ctl::Columns;

namespace {

constexpr const char* kNewHeader = "New Header";

// The calculations' names by kind; the first and the sixth differ under the cost-effectiveness method.
const char* const kKindNames[] = {"Expected Value", "Path Probability", "Scenario Number", "Cost", "Effectiveness",
                                  "Marginal Value", "Marginal Cost", "Marginal Eff", "Custom"};

const char* KindName(int kind, bool costEffectiveness)
{
    if (costEffectiveness && kind == DisplayColumn::kExpectedValue)
        return "C/E Ratio";
    if (costEffectiveness && kind == DisplayColumn::kMarginalValue)
        return "Marginal C/E";
    return kind >= 0 && kind <= DisplayColumn::kCustomCalculation ? kKindNames[kind] : "";
}

DisplayColumn* NewColumn(const char* header)
{
    auto* column = new DisplayColumn;
    column->header = header;
    return column;
}

} // namespace

zString ColumnsDialog::ColumnLabel(const DisplayColumn& column, bool costEffectiveness)
{
    zString line(column.header);
    line += "\t";
    if (column.header.IsEmpty())
        return line;
    if (column.kind == DisplayColumn::kCustomCalculation) {
        line += column.formula;
    } else {
        line += "[ ";
        line += KindName(column.kind, costEffectiveness);
        line += " ]";
    }
    return line;
}

ColumnsDialog::ColumnsDialog(TreeWindow& window)
    : AppDialog(DialogRes::Columns), window(window),
      costEffectiveness(window.Document().CalcPrefs.CalcMethod == CostEffectivenessMethod)
{
    working.Copy(window.Document().RollBackColumns, true);
    if (working.Count() == 0)
        working.Add(NewColumn(""));
    formulaField = EditCtrl::FromTemplate(this, Ids::FormulaField);
    BuildMenus();
    FillList(0);
    OnSelect();
}

ColumnsDialog::~ColumnsDialog() = default;

void ColumnsDialog::BuildMenus()
{
    auto format = std::make_unique<Menu>();
    format->AppendItem(kFirstFormatCommand + DisplayColumn::kStandardFormat, costEffectiveness ? "C/E Ratio" : "Standard");
    if (costEffectiveness) {
        format->AppendItem(kFirstFormatCommand + DisplayColumn::kCostFormat, "Cost");
        format->AppendItem(kFirstFormatCommand + DisplayColumn::kEffectivenessFormat, "Effectiveness");
    }
    format->AppendItem(kFirstFormatCommand + DisplayColumn::kProbabilityFormat, "Probability");
    format->AppendSeparator();
    format->AppendItem(kFirstFormatCommand + DisplayColumn::kNoFormat, "None");
    format->AppendItem(kFirstFormatCommand + DisplayColumn::kCustomFormat, "Custom");
    formatButton = MakeOwningMenuButton(std::move(format), this, Ids::NumericFormatText);

    auto calculation = std::make_unique<Menu>();
    const auto add = [&](int kind) {
        calculation->AppendItem(kFirstKindCommand + kind, KindName(kind, costEffectiveness));
    };
    add(DisplayColumn::kExpectedValue);
    if (costEffectiveness) {
        add(DisplayColumn::kCost);
        add(DisplayColumn::kEffectiveness);
        calculation->AppendSeparator();
        add(DisplayColumn::kMarginalValue);
        add(DisplayColumn::kMarginalCost);
        add(DisplayColumn::kMarginalEffectiveness);
    } else {
        add(DisplayColumn::kMarginalValue);
    }
    calculation->AppendSeparator();
    add(DisplayColumn::kPathProbability);
    add(DisplayColumn::kScenarioNumber);
    calculation->AppendSeparator();
    add(DisplayColumn::kCustomCalculation);
    calculationButton = MakeOwningMenuButton(std::move(calculation), this, Ids::CalculationText);
}

void ColumnsDialog::FillList(int select)
{
    const HWND list = Control(Ids::List);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // The calculations stand in a column just right of the widest header; a line wider than the list scrolls.
    HDC dc = GetDC(list);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    int widestHeader = 0;
    for (int i = 0; i < working.Count(); ++i) {
        const zString& header = working.At(i)->header;
        SIZE size{};
        GetTextExtentPoint32A(dc, header.Text(), static_cast<int>(header.Length()), &size);
        widestHeader = std::max(widestHeader, static_cast<int>(size.cx));
    }
    RECT unit{0, 0, 4, 8};
    MapDialogRect(Handle(), &unit);
    const int spacing = std::max(static_cast<int>(unit.right), 1);
    int tabPixels = std::max(widestHeader + 2 * spacing, 40 * spacing / 4);
    const int tabStop = tabPixels * 4 / spacing + 1;
    tabPixels = tabStop * spacing / 4;
    SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    int widestLine = 0;
    for (int i = 0; i < working.Count(); ++i) {
        const zString line = ColumnLabel(*working.At(i), costEffectiveness);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text()));
        const DWORD extent = GetTabbedTextExtentA(dc, line.Text(), static_cast<int>(line.Length()), 1, &tabPixels);
        widestLine = std::max(widestLine, static_cast<int>(LOWORD(extent)) + 4);
    }
    SelectObject(dc, font);
    ReleaseDC(list, dc);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widestLine), 0);
    SendMessageA(list, LB_SETCURSEL, select, 0);
}

void ColumnsDialog::ShowFormatSample()
{
    zString text;
    const DisplayColumn* column = Current();
    if (column != nullptr && column->format)
        FormatNumber(*column->format, 1234567.8901234, text, true, true, DigitsOfFormat);
    SetItemText(Ids::N1234Text, text.Text());
    EnableItem(Ids::Set, column != nullptr && column->format != nullptr);
}

void ColumnsDialog::LoadColumn()
{
    fontSample.reset();
    const DisplayColumn* column = Current();
    if (column == nullptr)
        return;
    SetItemText(Ids::HeaderEdit, column->header.Text());
    if (calculationButton != nullptr)
        calculationButton->ShowPickedItem(kFirstKindCommand + column->kind);
    const bool custom = column->kind == DisplayColumn::kCustomCalculation;
    SetItemText(Ids::FormulaField, custom ? column->formula.Text() : "");
    EnableItem(Ids::FormulaField, custom);
    EnableItem(Ids::FormulaEditorButton, custom);
    if (formatButton != nullptr)
        formatButton->ShowPickedItem(kFirstFormatCommand + column->formatSource);
    ShowFormatSample();
    CheckItem(Ids::CustomFont, column->font != nullptr);
    EnableItem(Ids::FontButton, column->font != nullptr);
    if (column->font)
        fontSample =
            std::make_unique<FontSampleControl>(this, Ids::FontButton, column->font.get(), Ids::SampleText, nullptr);
    SetItemText(Ids::SampleText, column->font ? "Sample" : "");
}

ColumnsDialog::Stored ColumnsDialog::StoreColumn(bool silent, bool mayDiscard)
{
    DisplayColumn* column = Current();
    if (column == nullptr)
        return Stored::Kept;
    column->header = ItemText(Ids::HeaderEdit);
    const char* failure = nullptr;
    unsigned failed = 0;
    if (column->header.IsEmpty() || column->header == kNewHeader) {
        if (mayDiscard)
            return AskYesNo(nullptr, "You have left this column empty. Discard it?", -1) == 1 ? Stored::Discard
                                                                                                : Stored::Failed;
        failure = "You must assign a header to this column.";
        failed = Ids::HeaderEdit;
    }
    if (column->kind == DisplayColumn::kCustomCalculation) {
        const zString formula = ItemText(Ids::FormulaField);
        if (formula.IsEmpty()) {
            if (failure == nullptr) {
                failure = "You must assign a formula for calculations.";
                failed = Ids::FormulaField;
            }
        } else if (failure == nullptr && !silent && !FormulaSyntaxOk(formula, formulaField, "custom calculation string")) {
            SetFocus(Control(Ids::FormulaField));
            return Stored::Failed;
        } else {
            column->formula = formula;
        }
    }
    if (failure == nullptr)
        return Stored::Kept;
    SetFocus(Control(failed));
    if (!silent)
        ShowErrorBox(nullptr, failure, -1);
    return Stored::Failed;
}

// The list's selection moved: the column left is checked first, and the selection goes back to it when it
// does not pass.
void ColumnsDialog::OnSelect()
{
    const int selected = static_cast<int>(SendMessageA(Control(Ids::List), LB_GETCURSEL, 0, 0));
    if (working.Count() == 0 || selected < 0) {
        SendMessageA(Control(Ids::List), LB_SETCURSEL, current, 0);
    } else {
        if (selected != current && Current() != nullptr && StoreColumn(false, false) == Stored::Failed) {
            SendMessageA(Control(Ids::List), LB_SETCURSEL, current, 0);
            return;
        }
        if (selected != current)
            FillList(selected);
        current = selected;
        LoadColumn();
        SendMessageA(Control(Ids::HeaderEdit), EM_SETSEL, 0, -1);
    }
    EnableItem(Ids::MoveUp, current > 0);
    EnableItem(Ids::MoveDown, current >= 0 && current < working.Count() - 1);
    EnableItem(Ids::Delete, working.Count() > 0);
}

void ColumnsDialog::PickFormatSource(int source)
{
    DisplayColumn* column = Current();
    if (column == nullptr || column->formatSource == source)
        return;
    formatButton->ShowPickedItem(kFirstFormatCommand + source);
    column->format.reset();
    // A custom format starts from the tree's current one.
    if (source == DisplayColumn::kCustomFormat)
        column->format = std::make_unique<NumericFormat>(window.Document().CalcPrefs.CurrentNumericFormat());
    column->formatSource = source;
    ShowFormatSample();
}

void ColumnsDialog::PickKind(int kind)
{
    DisplayColumn* column = Current();
    if (column == nullptr || column->kind == kind)
        return;
    calculationButton->ShowPickedItem(kFirstKindCommand + kind);
    const bool custom = kind == DisplayColumn::kCustomCalculation;
    SetItemText(Ids::FormulaField, custom ? column->formula.Text() : "");
    EnableItem(Ids::FormulaField, custom);
    EnableItem(Ids::FormulaEditorButton, custom);
    column->kind = kind;
    // A probability is no amount: a path probability left in an amount's format takes the probability one.
    const int source = column->formatSource;
    if (kind == DisplayColumn::kPathProbability &&
        (source == DisplayColumn::kStandardFormat || source == DisplayColumn::kCostFormat ||
         source == DisplayColumn::kEffectivenessFormat))
        PickFormatSource(DisplayColumn::kProbabilityFormat);
}

void ColumnsDialog::ToggleFont()
{
    DisplayColumn* column = Current();
    if (column == nullptr)
        return;
    fontSample.reset();
    const bool custom = IsItemChecked(Ids::CustomFont);
    column->font.reset();
    if (custom) {
        column->font = std::make_unique<FontRecord>(window.Document().DisplayPrefs.EVFont);
        fontSample =
            std::make_unique<FontSampleControl>(this, Ids::FontButton, column->font.get(), Ids::SampleText, nullptr);
    }
    SetItemText(Ids::SampleText, custom ? "Sample" : "");
    EnableItem(Ids::FontButton, custom);
}

void ColumnsDialog::Move(int by)
{
    const int target = current + by;
    if (Current() == nullptr || target < 0 || target >= working.Count())
        return;
    StoreColumn(true, false);
    void* moved = working.At(current);
    working.RemoveAt(current);
    working.InsertAt(target, moved);
    current = target;
    FillList(target);
    OnSelect();
}

void ColumnsDialog::Add()
{
    if (StoreColumn(false, false) == Stored::Failed)
        return;
    working.Add(NewColumn(kNewHeader));
    current = working.Count() - 1;
    FillList(current);
    OnSelect();
    SetFocus(Control(Ids::HeaderEdit));
}

void ColumnsDialog::Delete()
{
    if (Current() == nullptr)
        return;
    fontSample.reset();
    working.DeleteAt(current);
    if (current >= working.Count())
        --current;
    FillList(current);
    OnSelect();
}

long ColumnsDialog::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (id >= kFirstFormatCommand && id <= kFirstFormatCommand + DisplayColumn::kNoFormat) {
        PickFormatSource(static_cast<int>(id - kFirstFormatCommand));
        return 1;
    }
    if (id >= kFirstKindCommand && id <= kFirstKindCommand + DisplayColumn::kCustomCalculation) {
        PickKind(static_cast<int>(id - kFirstKindCommand));
        return 1;
    }
    switch (id) {
    case Ids::List:
        if (code == LBN_SELCHANGE)
            OnSelect();
        return 0;
    case Ids::CustomFont:
        ToggleFont();
        return 1;
    case Ids::Set:
        if (Current() != nullptr && Current()->format && RunNumericFormatDialog(*Current()->format, -1, -1))
            ShowFormatSample();
        return 1;
    case Ids::MoveUp:
        Move(-1);
        return 1;
    case Ids::MoveDown:
        Move(1);
        return 1;
    case Ids::Add:
        Add();
        return 1;
    case Ids::Delete:
        Delete();
        return 1;
    case Ids::FormulaEditorButton:
        RunFormulaEditor(&window, *formulaField, "Custom calculation:", nullptr, nullptr, nullptr);
        return 1;
    default:
        return AppDialog::OnCommandId(id, code, control);
    }
}

int ColumnsDialog::OkResult()
{
    switch (StoreColumn(false, true)) {
    case Stored::Failed:
        return 0;
    case Stored::Discard:
        fontSample.reset();
        working.DeleteAt(current);
        break;
    case Stored::Kept:
        break;
    }
    DisplayColumnList& columns = window.Document().RollBackColumns;
    columns.DeleteAll();
    columns.Copy(working, true);
    return 1;
}

bool RunColumnsDialog(TreeWindow& window)
{
    ColumnsDialog dialog(window);
    if (!dialog.RunModal())
        return false;
    window.SetModified(1);
    return true;
}
