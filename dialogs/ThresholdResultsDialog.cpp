#include "dialogs/ThresholdResultsDialog.h"

#include "dialogs/ProgramDialog.h"
#include "framework/window/Clipboard.h"

#include <windows.h>

#include <string>

void ThresholdResultsDialog::Run()
{
    ProgramDialog dialog(kTemplateId);
    int shown = 0;
    auto show = [&] {
        zString text;
        results.IntervalText(shown, true, text);
        if (WindowCL* interval = dialog.FindChild(kIntervalText))
            interval->SetText(text);
        results.ThresholdText(shown, text);
        if (WindowCL* value = dialog.FindChild(kValueText))
            value->SetText(text);
        dialog.EnableItem(kPrevButton, shown > 0);
        dialog.EnableItem(kNextButton, shown < results.Count());
    };
    if (WindowCL* count = dialog.FindChild(kCountText))
        count->SetText(zString(std::to_string(results.Count()).c_str()));
    show();
    dialog.OnButton(kPrevButton, [&] {
        if (shown > 0)
            --shown;
        show();
    });
    dialog.OnButton(kNextButton, [&] {
        if (shown < results.Count())
            ++shown;
        show();
    });
    dialog.OnButton(kClipboardButton, [&] {
        zString report;
        results.ReportText(report);
        Clipboard clipboard(&dialog);
        clipboard.Empty();
        clipboard.PutText(report.Text());
        dialog.EnableItem(kClipboardButton, false);
    });
    dialog.Run();
}

void InstallThresholdResultsDialog()
{
    SetThresholdResultsPresenter([](const ThresholdResults& results) { ThresholdResultsDialog(results).Run(); });
}
