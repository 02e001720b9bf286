#pragma once
// Variables Report (dialog 4370): check boxes choose the report's columns. The range box governs both
// range columns.

#include "model/VariablesReport.h"

#include <functional>

class VariablesReportDialog {
public:

    // The person's side: edits the settings as the check boxes would and returns IDOK or IDCANCEL. Without a
    // presenter the dialog shows on the screen.
    using Presenter = std::function<int(VariablesReportSettings&)>;
    static Presenter SetPresenter(Presenter presenter);
};

// Runs the dialog on a copy of the settings; on OK the settings take the choices, include-high following
// include-low. Nonzero for OK.
int RunVariablesReportDialog(VariablesReportSettings& settings);
