#include "dialogs/ZoomDialog.h"

#include "widgets/ZoomPane.h"

#include "CommandIds.h"

#include <string>

namespace Ids = Ctl::Zoom;

namespace {

// Binary fractions make 0.29 x 100 come out as 28.999...: a hair more keeps the percent that was set.
constexpr double PercentTolerance = 1e-9;

} // namespace

int ZoomDialog::Percent(double zoom)
{
    return static_cast<int>(zoom * 100.0 + PercentTolerance);
}

ZoomDialog::ZoomDialog(ZoomPane* pane) : AppDialog(DialogRes::Zoom), pane_(pane)
{
    double minimum = 0.0;
    double maximum = 0.0;
    pane->ZoomRange(minimum, maximum);
    const int low = Percent(minimum);
    const int high = Percent(maximum);
    percent_ = Percent(pane->Zoom());
    const std::string prompt = "Enter the &zoom factor in percent, from " + std::to_string(low) + "% to " +
                               std::to_string(high) + "%.";
    SetItemText(Ids::PromptText, prompt.c_str());
    AddIntegerField(Ids::PercentField, &percent_, low, high);
    SelectField(Ids::PercentField);
}

int ZoomDialog::OkResult()
{
    pane_->SetZoom(percent_ / 100.0);
    return 1;
}
