#include "dialogs/TornadoDialog.h"

#include "analysis/SensitivityResultGrid.h"
#include "analysis/VariableSubstitution.h"
#include "widgets/PromptDialog.h"
#include "dialogs/CorrelationsDialog.h"
#include "dialogs/SensitivityDialogs.h"
#include "formula/CorrelationList.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NameList.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/window/HandlerDescriptor.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <windows.h>

namespace Ids = Ctl::TornadoDiagram;

namespace {

// The intervals of the last tornado set-up, for the process.
int rememberedIntervals = 3;

zString ListText(HWND list, LRESULT index)
{
    char text[256] = {};
    if (index >= 0 && SendMessageA(list, LB_GETTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return zString(text);
}

LRESULT FindLine(HWND list, const zString& text)
{
    return SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.Text()));
}

// The table entry dialog, its index field taking the low value and its value field the high.
namespace Entry = Ctl::AddTableEntry;

class VariableRangeDialog : public AppDialog {
public:
    VariableRangeDialog(const zString& name, FormattedValue& low, FormattedValue& high)
        : AppDialog(DialogRes::AddTableEntry), low(low), high(high), lowValue(low.value), highValue(high.value)
    {
        zString caption("Range for Variable: ");
        caption += name;
        SetText(caption);
        if (WindowCL* label = FindChild(Entry::IndexText))
            label->SetText("&Low:");
        if (WindowCL* label = FindChild(Entry::ValueText))
            label->SetText("H&igh:");
        if (WindowCL* more = FindChild(Entry::More))
            ::ShowWindow(more->Handle(), SW_HIDE);
        AddRealFieldUnbounded(Entry::IndexEdit, &lowValue);
        AddRealFieldUnbounded(Entry::ValueEdit, &highValue);
        if (!low.text.IsEmpty())
            SetItemText(Entry::IndexEdit, low.text.Text());
        if (!high.text.IsEmpty())
            SetItemText(Entry::ValueEdit, high.text.Text());
        RunModal();
    }

private:
    int OkResult() override
    {
        if (!(lowValue < highValue)) {
            ShowErrorBox(nullptr, "The high value must be greater than the low value.", -1);
            SetFocus(Control(Entry::ValueEdit));
            return 0;
        }
        low = FormattedValue{ItemText(Entry::IndexEdit), lowValue};
        high = FormattedValue{ItemText(Entry::ValueEdit), highValue};
        return 1;
    }

    FormattedValue& low;
    FormattedValue& high;
    double lowValue;
    double highValue;
};

}  // namespace

bool RunVariableRangeDialog(const zString& name, FormattedValue& low, FormattedValue& high)
{
    return VariableRangeDialog(name, low, high).Result() != 0;
}

bool ValidateVariableRanges(SensitivityRangeSet& bar, TreeDocument* document, TreeNode* node)
{
    return CollectAndCheckDefinitions(bar, node, document);
}

int TornadoDialog::Run()
{
    NameList names;
    FillVariableChoices(*request.document, names, 3);
    if (names.Count() == 0) {
        ShowErrorBox(nullptr, "No available variable-definitions were found.", -1);
        return result;
    }
    for (unsigned id : {Ids::VariablesToAnalyzeList, Ids::AnalyzeList, Ids::Add, Ids::Remove, Ids::Range})
        AddHandlerDescriptor(
            std::make_unique<HandlerDescriptor>(id, AsEventHandler(&TornadoDialog::OnControl), this, WM_COMMAND));
    const HWND available = Control(Ids::VariablesToAnalyzeList);
    for (int i = 0; i < names.Count(); ++i)
        SendMessageA(available, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names.At(i)->Text()));
    SendMessageA(available, LB_SETCURSEL, 0, 0);
    intervals = rememberedIntervals;
    AddIntegerField(Ids::IntervalsEdit, &intervals, 1, 10);
    TreeNode* node = request.node;
    const bool offered = node->IsDecision() && node->parent != nullptr && node->parent->IsDecision();
    for (unsigned id :
         {Ids::DrawOneSensitivityLineForText, Ids::EachBranchOfThisDecisionNode, Ids::ThisNodeOnlyAsABranchOfItsParent})
        ShowItem(id, offered);
    CheckItem(node->IsDecision() ? Ids::EachBranchOfThisDecisionNode : Ids::ThisNodeOnlyAsABranchOfItsParent, true);
    CheckItem(Ids::CheckCoherence, request.checking != 0);
    RefreshInformation();
    RunModal();
    if (!Result())
        return result;
    result = 1;
    rememberedIntervals = intervals;
    for (int b = 0; b < chosen.Count(); ++b)
        request.bars->Add(chosen.At(b));
    chosen.RemoveAll();
    return result;
}

int TornadoDialog::OkResult()
{
    request.intervals = intervals;
    request.checking = IsItemChecked(Ids::CheckCoherence) ? 1 : 0;
    request.thisNodeOnly = IsItemChecked(Ids::ThisNodeOnlyAsABranchOfItsParent) ? 1 : 0;
    return 1;
}

zString TornadoDialog::SelectedText(unsigned listId) const
{
    const HWND list = Control(listId);
    return ListText(list, SendMessageA(list, LB_GETCURSEL, 0, 0));
}

int TornadoDialog::BarOfLine(const zString& line) const
{
    for (int b = 0; b < chosen.Count(); ++b) {
        if (chosen.At(b)->barName == line)
            return b;
    }
    for (int b = 0; b < chosen.Count(); ++b) {
        if (chosen.At(b)->ranges.Count() > 0 && chosen.At(b)->ranges.RangeAt(0)->name == line)
            return b;
    }
    return -1;
}

long TornadoDialog::OnControl(WindowEvent* event)
{
    const unsigned id = event->CommandId();
    const unsigned code = event->NotifyCode();
    const bool full = SendMessageA(Control(Ids::AnalyzeList), LB_GETCOUNT, 0, 0) >= kMaximumBars;
    if (id == Ids::Add || (id == Ids::VariablesToAnalyzeList && code == LBN_DBLCLK && !full))
        Add();
    else if (id == Ids::Remove)
        Remove();
    else if (id == Ids::Range || (id == Ids::AnalyzeList && code == LBN_DBLCLK))
        EditRange();
    else if (code == LBN_SELCHANGE)
        RefreshInformation();
    return id == Ids::VariablesToAnalyzeList || id == Ids::AnalyzeList ? 0 : 1;
}

void TornadoDialog::Add()
{
    const HWND available = Control(Ids::VariablesToAnalyzeList);
    const HWND analyze = Control(Ids::AnalyzeList);
    const LRESULT position = SendMessageA(available, LB_GETCURSEL, 0, 0);
    const zString name = ListText(available, position);
    DocVariable* variable = request.document->FindVariable(name.Text(), false);
    if (name.IsEmpty() || variable == nullptr || SendMessageA(analyze, LB_GETCOUNT, 0, 0) >= kMaximumBars)
        return;
    FormattedValue low;
    FormattedValue high;
    ReadStoredRange(name.Text(), request.node, request.document, low.value, high.value, &low, &high);
    if (!RunVariableRangeDialog(name, low, high))
        return;
    StoreSetUpRange(*request.document, name.Text(), low, high);
    std::vector<CorrelationItem*> correlated;
    if (ShowCorrelationRanges(*request.document, *variable, low.text.Text(), high.text.Text(), correlated) == 0)
        return;
    auto bar = std::make_unique<TornadoSetup>();
    bar->ranges.Add(new VariableRange(variable->name, low, high));
    BuildVariableRanges(correlated, bar->ranges, *request.document);
    zString line = name;
    if (bar->ranges.Count() == 1) {
        variable->GetLabel(bar->barName);
    } else {
        line = "Correlated variables";
        for (;;) {
            if (PromptForText(line, nullptr, 0, "Bar Name", "Enter a name for the bar grouping the variables:", -1,
                              false) != 1)
                return;
            if (line.IsEmpty())
                ShowErrorBox(nullptr, "The name cannot be empty.", -1);
            else if (FindLine(available, line) != LB_ERR || FindLine(analyze, line) != LB_ERR)
                ShowErrorBox(nullptr, "That name is either a variable name or the name of another correlated group.",
                             -1);
            else
                break;
        }
        bar->barName = line;
    }
    if (!ValidateVariableRanges(bar->ranges, request.document, request.node))
        return;
    for (int r = 0; r < bar->ranges.Count(); ++r) {
        const LRESULT at = FindLine(available, bar->ranges.RangeAt(r)->name);
        if (at != LB_ERR)
            SendMessageA(available, LB_DELETESTRING, at, 0);
    }
    chosen.Add(bar.release());
    const LRESULT added = SendMessageA(analyze, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text()));
    SendMessageA(analyze, LB_SETCURSEL, added, 0);
    const LRESULT remaining = SendMessageA(available, LB_GETCOUNT, 0, 0);
    SendMessageA(available, LB_SETCURSEL, position < remaining ? position : remaining - 1, 0);
    SetFocus(available);
    RefreshInformation();
}

void TornadoDialog::Remove()
{
    const HWND available = Control(Ids::VariablesToAnalyzeList);
    const HWND analyze = Control(Ids::AnalyzeList);
    const LRESULT selected = SendMessageA(analyze, LB_GETCURSEL, 0, 0);
    const zString line = ListText(analyze, selected);
    const int b = BarOfLine(line);
    if (selected == LB_ERR || b < 0)
        return;
    SendMessageA(analyze, LB_DELETESTRING, selected, 0);
    const TornadoSetup* bar = chosen.At(b);
    for (int r = 0; r < bar->ranges.Count(); ++r)
        SendMessageA(available, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bar->ranges.RangeAt(r)->name.Text()));
    const LRESULT back = FindLine(available, line);
    SendMessageA(available, LB_SETCURSEL, back == LB_ERR ? 0 : back, 0);
    SetFocus(available);
    chosen.DeleteAt(b);
    RefreshInformation();
}

void TornadoDialog::EditRange()
{
    const int b = BarOfLine(SelectedText(Ids::AnalyzeList));
    if (b < 0 || chosen.At(b)->ranges.Count() != 1)
        return;
    VariableRange* range = chosen.At(b)->ranges.RangeAt(0);
    if (!RunVariableRangeDialog(range->name, range->low, range->high))
        return;
    StoreSetUpRange(*request.document, range->name.Text(), range->low, range->high);
    RefreshInformation();
}

void TornadoDialog::RefreshInformation()
{
    const int b = BarOfLine(SelectedText(Ids::AnalyzeList));
    const bool single = b >= 0 && chosen.At(b)->ranges.Count() == 1;
    const VariableRange* range = single ? chosen.At(b)->ranges.RangeAt(0) : nullptr;
    SetItemText(Ids::LowText, range != nullptr ? range->low.text.Text() : "");
    SetItemText(Ids::HighText, range != nullptr ? range->high.text.Text() : "");
    EnableItem(Ids::Range, single);
    const zString name = SelectedText(Ids::VariablesToAnalyzeList);
    zString description;
    zString correlations;
    if (const DocVariable* variable = request.document->FindVariable(name.Text(), false)) {
        GetVariableDescription(*request.document, name.Text(), description);
        if (description.IsEmpty())
            description = variable->comment;
        correlations = CorrelationsText(*request.document, *variable);
    }
    SetItemText(Ids::VariablesToAnalyzeText, description.Text());
    SetItemText(Ids::CorrelationsText, correlations.Text());
}

void InstallTornadoSetupDialog()
{
    SetTornadoSetupDialog([](TornadoSetupRequest& request) { return TornadoDialog(request).Run() != 0; });
}
