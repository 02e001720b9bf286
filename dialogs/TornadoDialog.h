#pragma once
// The set-up of a tornado diagram (template 3250): up to 20 bars, each a variable with its range or a named
// group of correlated variables, the number of intervals and the sensitivity-line choice; and the Range for
// Variable dialog (template 2500) that edits one variable's low and high ends.

#include "analysis/TornadoDiagram.h"
#include "widgets/AppDialog.h"

#include "CommandIds.h"

class TreeDocument;
struct TreeNode;

class TornadoDialog : public AppDialog {
public:
    static constexpr int kMaximumBars = 20;

    explicit TornadoDialog(TornadoSetupRequest& request) : AppDialog(DialogRes::TornadoDiagram), request(request) { }
    // Fills and runs the dialog (nothing without a usable variable: its message instead). On OK the chosen
    // bars pass to the request's list and the intervals, checking flag and line choice are written there;
    // nonzero (and in result) then.
    int Run();

    int result = 0;

private:
    int OkResult() override;
    long OnControl(WindowEvent* event);
    void Add();
    void Remove();
    void EditRange();
    void RefreshInformation();
    // The bar of an Analyze line: the bar with that label, else the one whose first range has that name.
    int BarOfLine(const zString& line) const;
    zString SelectedText(unsigned listId) const;

    TornadoSetupRequest& request;
    TornadoVariableList chosen{2};
    int intervals = 3;
};

// Runs the Range for Variable dialog on the two ends; true after OK (low below high), the ends written back.
bool RunVariableRangeDialog(const zString& name, FormattedValue& low, FormattedValue& high);
// Collects every range's definitions at the node and its subtree and checks them; false at the first range
// that cannot be swept (its message shown).
bool ValidateVariableRanges(SensitivityRangeSet& bar, TreeDocument* document, TreeNode* node);

// Runs this dialog whenever a new tornado diagram asks for its set-up.
void InstallTornadoSetupDialog();
