#pragma once
// A common-controls progress bar ("msctls_progress32") over the range Low to High, shown as 0 to 65535.

#include "framework/dialog/CtrlWindowCL.h"

class ProgressBar : public CtrlWindowCL {
public:
    static constexpr int Range = 65535;  // not a resource id: the bar's range

    // A visible bordered child of the parent at the rectangle, its value at low.
    ProgressBar(WindowCL* parent, const RECT& rect, double low, double high);

    // Values above High show a full bar; values below Low are passed on unclamped. With High not above Low
    // the bar is full from High on and empty below it.
    void SetValue(double value);
    double Value() const { return value_; }

private:
    double low_;
    double high_;
    double value_;
    double scale_;
};
