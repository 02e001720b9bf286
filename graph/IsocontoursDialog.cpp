#include "graph/IsocontoursDialog.h"

#include "widgets/RangeValidator.h"
#include "widgets/ProgramDialog.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/ListBoxCtrl.h"

#include "CommandIds.h"

#include <algorithm>

namespace Ids = Ctl::Isocontours;

bool RunIsocontoursDialog(std::vector<double>& values)
{
    std::vector<double> edited = values;
    ProgramDialog dialog(DialogRes::Isocontours);
    ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, Ids::MarginalValuesList);
    const NumericFormat plain;
    auto refill = [&](int select) {
        list->Clear();
        for (double value : edited) {
            zString text;
            FormatNumber(plain, value, text, false, false, -9);
            list->AddString(text);
        }
        list->SetCurSel(select);
        dialog.EnableItem(Ids::Delete, list->GetCurSel() >= 0);
    };
    refill(-1);
    dialog.OnNotification(Ids::MarginalValuesList, LBN_SELCHANGE,
                          [&] { dialog.EnableItem(Ids::Delete, list->GetCurSel() >= 0); });
    dialog.OnButton(Ids::Add, [&] {
        int last = -1;
        for (double value : RunAddIsocontourDialog()) {
            const auto at = std::upper_bound(edited.begin(), edited.end(), value);
            last = static_cast<int>(at - edited.begin());
            edited.insert(at, value);
        }
        if (last >= 0)
            refill(last);
    });
    dialog.OnButton(Ids::Delete, [&] {
        const int row = list->GetCurSel();
        if (row >= 0 && row < static_cast<int>(edited.size()))
            edited.erase(edited.begin() + row);
        refill(-1);
    });
    if (dialog.Run() != IDOK)
        return false;
    values = edited;
    return true;
}

std::vector<double> RunAddIsocontourDialog()
{
    namespace Add = Ctl::AddIsocontour;
    std::vector<double> collected;
    double typed = 0.0;
    ProgramDialog dialog(DialogRes::AddIsocontour);
    RealEdit* field = RealEdit::FromTemplate(&dialog, Add::EnterAMarginalValueAtWhichToDrawAnIsocontourIncludeANegativeSignIfNecessaryEdit,
                                             new RealRangeValidator(0.0, 0.0, 0), 0, &typed);
    auto selectAll = [&] {
        SetFocus(field->Handle());
        SendMessageA(field->Handle(), EM_SETSEL, 0, -1);
    };
    dialog.OnButton(Add::More, [&] {
        if (!dialog.ValidateAndStore())
            return;
        collected.push_back(typed);
        typed = 0.0;
        field->Load();
        selectAll();
    });
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        collected.push_back(typed);
        dialog.EndModal();
    });
    selectAll();
    if (dialog.Run() != IDOK)
        return {};
    return collected;
}
