#include "widgets/ProgressBar.h"

#include <commctrl.h>

ProgressBar::ProgressBar(WindowCL* parent, const RECT& rect, double low, double high)
    : CtrlWindowCL(parent, rect, 0x50800000 /* WS_CHILD | WS_VISIBLE | WS_BORDER */, "", 0), low_(low),
      high_(high), value_(low), scale_(high > low ? Range / (high - low) : 0.0)
{
    className_ = PROGRESS_CLASSA;
    Create();
    Send(PBM_SETRANGE, 0, MAKELPARAM(0, Range));
    Send(PBM_SETPOS, 0);
}

void ProgressBar::SetValue(double value)
{
    value_ = value > high_ ? high_ : value;
    int position;
    if (high_ > low_)
        position = static_cast<int>((value_ - low_) * scale_);
    else
        position = value_ >= high_ ? Range : 0;
    Send(PBM_SETPOS, static_cast<WPARAM>(position));
}
