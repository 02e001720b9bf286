#include "CommandIds.h"
#include "dialogs/ThresholdResultsDialog.h"

#include "dialogs/ProgramDialog.h"
#include "framework/window/Clipboard.h"

#include <windows.h>

#include <string>

void ThresholdResultsDialog::Run()
{
    ProgramDialog dialog(DialogRes::ThresholdAnalysisResults);
    int shown = 0;
    auto show = [&] {
        zString text;
        results.IntervalText(shown, true, text);
        if (WindowCL* interval = dialog.FindChild(Ctl::ThresholdAnalysisResults::IntervalText))
            interval->SetText(text);
        results.ThresholdText(shown, text);
        if (WindowCL* value = dialog.FindChild(Ctl::ThresholdAnalysisResults::ValueText))
            value->SetText(text);
        dialog.EnableItem(Ctl::ThresholdAnalysisResults::Prev, shown > 0);
        dialog.EnableItem(Ctl::ThresholdAnalysisResults::Next, shown < results.Count());
    };
    if (WindowCL* count = dialog.FindChild(Ctl::ThresholdAnalysisResults::ThresholdValuesFoundText))
        count->SetText(zString(std::to_string(results.Count()).c_str()));
    show();
    dialog.OnButton(Ctl::ThresholdAnalysisResults::Prev, [&] {
        if (shown > 0)
            --shown;
        show();
    });
    dialog.OnButton(Ctl::ThresholdAnalysisResults::Next, [&] {
        if (shown < results.Count())
            ++shown;
        show();
    });
    dialog.OnButton(Ctl::ThresholdAnalysisResults::ToClipboard, [&] {
        zString report;
        results.ReportText(report);
        Clipboard clipboard(&dialog);
        clipboard.Empty();
        clipboard.PutText(report.Text());
        dialog.EnableItem(Ctl::ThresholdAnalysisResults::ToClipboard, false);
    });
    dialog.Run();
}

void InstallThresholdResultsDialog()
{
    SetThresholdResultsPresenter([](const ThresholdResults& results) { ThresholdResultsDialog(results).Run(); });
}
