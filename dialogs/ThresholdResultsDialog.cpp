#include "dialogs/ThresholdResultsDialog.h"

#include "widgets/ProgramDialog.h"
#include "framework/window/Clipboard.h"

#include "CommandIds.h"

#include <windows.h>

#include <string>

namespace Ids = Ctl::ThresholdAnalysisResults;

void ThresholdResultsDialog::Run()
{
    ProgramDialog dialog(DialogRes::ThresholdAnalysisResults);
    int shown = 0;
    auto show = [&] {
        zString text;
        results.IntervalText(shown, true, text);
        if (WindowCL* interval = dialog.FindChild(Ids::IntervalText))
            interval->SetText(text);
        results.ThresholdText(shown, text);
        if (WindowCL* value = dialog.FindChild(Ids::ValueText))
            value->SetText(text);
        dialog.EnableItem(Ids::Prev, shown > 0);
        dialog.EnableItem(Ids::Next, shown < results.Count());
    };
    if (WindowCL* count = dialog.FindChild(Ids::ThresholdValuesFoundText))
        count->SetText(zString(std::to_string(results.Count()).c_str()));
    show();
    dialog.OnButton(Ids::Prev, [&] {
        if (shown > 0)
            --shown;
        show();
    });
    dialog.OnButton(Ids::Next, [&] {
        if (shown < results.Count())
            ++shown;
        show();
    });
    dialog.OnButton(Ids::ToClipboard, [&] {
        zString report;
        results.ReportText(report);
        Clipboard clipboard(&dialog);
        clipboard.Empty();
        clipboard.PutText(report.Text());
        dialog.EnableItem(Ids::ToClipboard, false);
    });
    dialog.Run();
}

void InstallThresholdResultsDialog()
{
    SetThresholdResultsPresenter([](const ThresholdResults& results) { ThresholdResultsDialog(results).Run(); });
}
