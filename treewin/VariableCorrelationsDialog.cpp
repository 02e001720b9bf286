#include "treewin/VariableCorrelationsDialog.h"

#include "foundation/StringHelpers.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

namespace Correlations3970Ids = Ctl::Correlations3970;
namespace NewCorrelationIds = Ctl::NewCorrelation;

namespace {

// The description shown for a variable: its short description, else its comment.
const zString& DescriptionOf(const DocVariable* variable)
{
    static const zString none;
    if (variable == nullptr)
        return none;
    return variable->shortDescription.IsEmpty() ? variable->comment : variable->shortDescription;
}

zString ListLine(HWND list, int line)
{
    char text[256] = {};
    if (line >= 0 && SendMessageA(list, LB_GETTEXTLEN, line, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
    return zString(text);
}

} // namespace

NewCorrelationDialog::NewCorrelationDialog(const char* firstName, const DocVariable& second)
    : AppDialog(DialogRes::NewCorrelation)
{
    SetItemText(NewCorrelationIds::Variable1Text, firstName);
    SetItemText(NewCorrelationIds::Variable2Text, second.name.Text());
    CheckItem(NewCorrelationIds::Positive, true);
    if (second.correlations != nullptr && second.correlations->Count() > 0) {
        zString text("&Duplicate correlations from \"$1\"");
        SubstituteArgs(text, second.name.Text());
        SetItemText(NewCorrelationIds::DuplicateCorrelationsFrom1, text.Text());
        CheckItem(NewCorrelationIds::DuplicateCorrelationsFrom1, true);
    } else {
        ::ShowWindow(Control(NewCorrelationIds::DuplicateCorrelationsFrom1), SW_HIDE);
    }
}

int NewCorrelationDialog::OkResult()
{
    sign = IsItemChecked(NewCorrelationIds::Negative) ? 1 : 0;
    duplicate = IsWindowVisible(Control(NewCorrelationIds::DuplicateCorrelationsFrom1)) &&
        IsItemChecked(NewCorrelationIds::DuplicateCorrelationsFrom1);
    return 1;
}

VariableCorrelationsDialog::VariableCorrelationsDialog(TreeDocument& document, const DocVariable* variable,
                                                       const char* name, CorrelationList& list, bool& changed)
    : AppDialog(DialogRes::Correlations3970), document(document), variable(variable), list(list), changed(changed),
      ownName(variable != nullptr ? variable->name : zString(name))
{
    working.Copy(list, true);
    zString forText("For variable \"$1\"");
    SubstituteArgs(forText, ownName.Text());
    SetItemText(Correlations3970Ids::ForText, forText.Text());
    SetItemText(Correlations3970Ids::OwnDescription, DescriptionOf(variable).Text());
    const int tabStop = 95;
    SendMessageA(Control(Correlations3970Ids::CorrelationsList3975), LB_SETTABSTOPS, 1,
                 reinterpret_cast<LPARAM>(&tabStop));
    Fill(-1);
}

bool VariableCorrelationsDialog::Excluded(const zString& upperName) const
{
    return working.ContainsName(upperName) || (variable != nullptr && upperName == variable->upperName);
}

// Both lists again from the document and the working entries; the given correlation line is selected.
void VariableCorrelationsDialog::Fill(int selectedCorrelation)
{
    const HWND variables = Control(Correlations3970Ids::CorrelationsList);
    const HWND correlations = Control(Correlations3970Ids::CorrelationsList3975);
    SendMessageA(variables, LB_RESETCONTENT, 0, 0);
    SendMessageA(correlations, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < document.Variables.Count(); ++i) {
        const DocVariable* other = document.Variables.At(i);
        if (!Excluded(other->upperName))
            SendMessageA(variables, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(other->name.Text()));
    }
    lineEntries.clear();
    for (int i = 0; i < working.Count(); ++i) {
        const CorrelationItem* item = working.At(i);
        const DocVariable* partner = document.FindVariable(item->name.Text(), true);
        if (partner == nullptr)
            continue;
        zString line(partner->name);
        line += item->negative ? "\t-" : "\t+";
        SendMessageA(correlations, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text()));
        lineEntries.push_back(i);
    }
    SendMessageA(correlations, LB_SETCURSEL, selectedCorrelation, 0);
    EnableItem(Correlations3970Ids::AddButton, SendMessageA(variables, LB_GETCOUNT, 0, 0) > 0);
    EnableItem(Correlations3970Ids::RemoveButton, !lineEntries.empty());
    SetItemText(Correlations3970Ids::CorrelationsText, "");
}

void VariableCorrelationsDialog::ShowPartnerDescription()
{
    const HWND variables = Control(Correlations3970Ids::CorrelationsList);
    const zString name = ListLine(variables, static_cast<int>(SendMessageA(variables, LB_GETCURSEL, 0, 0)));
    SetItemText(Correlations3970Ids::CorrelationsText, DescriptionOf(document.FindVariable(name.Text(), false)).Text());
}

void VariableCorrelationsDialog::AddCorrelation()
{
    const HWND variables = Control(Correlations3970Ids::CorrelationsList);
    const zString name = ListLine(variables, static_cast<int>(SendMessageA(variables, LB_GETCURSEL, 0, 0)));
    const DocVariable* partner = name.IsEmpty() ? nullptr : document.FindVariable(name.Text(), false);
    if (partner == nullptr)
        return;
    NewCorrelationDialog ask(ownName.Text(), *partner);
    ask.RunModal();
    if (ask.sign < 0)
        return;
    auto* entry = new CorrelationItem;
    entry->name = partner->upperName;
    entry->negative = static_cast<int16_t>(ask.sign);
    working.Add(entry);
    if (ask.duplicate) {
        // The partner's own correlations follow it: the same sign for a positive correlation, the opposite
        // for a negative one.
        for (int i = 0; i < partner->correlations->Count(); ++i) {
            const CorrelationItem* own = partner->correlations->At(i);
            if (Excluded(own->name))
                continue;
            auto* carried = new CorrelationItem;
            carried->name = own->name;
            carried->negative = static_cast<int16_t>(ask.sign == 0 ? own->negative : !own->negative);
            working.Add(carried);
        }
    }
    changed = true;
    Fill(0);
    for (size_t line = 0; line < lineEntries.size(); ++line)
        if (working.At(lineEntries[line]) == entry)
            SendMessageA(Control(Correlations3970Ids::CorrelationsList3975), LB_SETCURSEL, line, 0);
    SetFocus(Control(Correlations3970Ids::CorrelationsList3975));
}

void VariableCorrelationsDialog::RemoveCorrelation()
{
    const int line =
        static_cast<int>(SendMessageA(Control(Correlations3970Ids::CorrelationsList3975), LB_GETCURSEL, 0, 0));
    if (line < 0 || line >= static_cast<int>(lineEntries.size()))
        return;
    working.DeleteAt(lineEntries[line]);
    changed = true;
    Fill(line - 1);
    SetFocus(Control(Correlations3970Ids::CorrelationsList3975));
}

long VariableCorrelationsDialog::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case Correlations3970Ids::AddButton:
        AddCorrelation();
        return 1;
    case Correlations3970Ids::RemoveButton:
        RemoveCorrelation();
        return 1;
    case Correlations3970Ids::CorrelationsList:
        if (code == LBN_SELCHANGE)
            ShowPartnerDescription();
        return 0;
    default:
        return AppDialog::OnCommandId(id, code, control);
    }
}

int VariableCorrelationsDialog::OkResult()
{
    list.DeleteAll();
    for (int i = 0; i < working.Count(); ++i)
        list.Add(working.At(i));
    working.RemoveAll();
    return 1;
}
