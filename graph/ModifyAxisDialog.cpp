#include "graph/ModifyAxisDialog.h"

#include "widgets/AppDialog.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/FrameworkApp.h"
#include "graph/AxisElement.h"

#include "CommandIds.h"

#include <cmath>

namespace {

namespace Fields = Ctl::Axis;

class ModifyAxisDialog : public AppDialog {
public:
    explicit ModifyAxisDialog(AxisElement& axis)
        : AppDialog(DialogRes::Axis), axis_(axis), top_(axis.valueTop), bottom_(axis.valueBottom),
          interval_(axis.interval)
    {
        SetText(axis.isVertical ? "Vertical Axis" : "Horizontal Axis");
        AddRealFieldUnbounded(Fields::TopEdit, &top_);
        AddRealFieldUnbounded(Fields::BottomEdit, &bottom_);
        AddRealFieldUnbounded(Fields::IntervalEdit, &interval_);
        for (unsigned id : {Fields::TopEdit, Fields::BottomEdit, Fields::IntervalEdit})
            EnableItem(id, axis.isLocked == 0);
        if (!axis.isLocked)
            SendMessageA(Control(Fields::TopEdit), EM_SETSEL, 0, -1);
    }

private:
    int OkResult() override
    {
        if (bottom_ >= top_) {
            ShowErrorBox(nullptr, "The axis top must be higher than the axis bottom.", 0);
            return 0;
        }
        if (!(interval_ > 0.0)) {
            ShowErrorBox(nullptr, "The interval must be positive.", 0);
            return 0;
        }
        const double remainder = std::fmod(top_ - bottom_, interval_);
        if (remainder > 0.0001)
            top_ += interval_ - remainder;
        if (!AxisElement::ScaleFits(bottom_, top_, interval_)) {
            ShowErrorBox(nullptr,
                         "An axis can have at most 10,000 intervals. Please enter a larger interval or a smaller "
                         "range.",
                         0);
            return 0;
        }
        axis_.valueBottom = bottom_;
        axis_.valueTop = top_;
        axis_.interval = interval_;
        return 1;
    }

    AxisElement& axis_;
    double top_;
    double bottom_;
    double interval_;
};

}  // namespace

bool RunModifyAxisDialog(AxisElement& axis)
{
    if (!TheApp)
        return false;
    ModifyAxisDialog dialog(axis);
    return dialog.Handle() != nullptr && dialog.RunModal() != 0;
}
