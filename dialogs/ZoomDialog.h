#pragma once
// Zoom (template 2800): the zoom factor of a pane as a whole percent within the pane's zoom range. OK sets
// the pane's zoom.

#include "widgets/AppDialog.h"

class ZoomPane;

class ZoomDialog : public AppDialog {
public:

    explicit ZoomDialog(ZoomPane* pane);

    // The whole percent of a zoom factor; a factor that a whole percent set reads back as that percent.
    static int Percent(double zoom);

private:
    int OkResult() override;

    ZoomPane* pane_;
    int percent_ = 100;
};
