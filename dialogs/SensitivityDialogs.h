#pragma once
// The set-up dialogs of the one-way sensitivity analysis (template 2090), the threshold analysis (2390) and
// the two- and three-way sensitivity analyses (2531, 3220): which variables to vary, over which ranges and in
// how many steps. Each is built by its constructor and run by Run();
// the analysis reads the result and the fields. A confirmed range is remembered in the variable's record,
// and the interval count (the threshold's degree of nonlinearity too) and the tolerance for the process.

#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/ThresholdAnalysis.h"
#include "widgets/AppDialog.h"

class DocVariable;
class TreeDocument;
struct TreeNode;

// A range accepted in a set-up dialog becomes the variable's range, proposed to the next analysis and saved
// with the tree, which running an analysis does not mark changed; with Mimic Run-Time on, as for the end user
// of a custom interface, the variable keeps its own.
void StoreSetUpRange(TreeDocument& tree, const char* name, const FormattedValue& low, const FormattedValue& high);

// Shared by the one-way dialogs and the axes of the two- and three-way ones (SensitivityAxesDialogs.cpp).
// The interval count last confirmed in a set-up dialog (4 at first), offered by the next one.
int RememberedIntervals();
void RememberIntervals(int count);
// A variable's block: its proposed range into low and high, its description and its correlations into the
// two statics.
void LoadVariableBlock(const DialogFrameCL& dialog, TreeDocument* document, TreeNode* node, const zString& name,
                       FormattedValue& low, FormattedValue& high, unsigned descriptionId, unsigned correlationsId);
// "Correlations: " and the names of the variable's partners as the document writes them, joined by ", ";
// empty without partners.
zString CorrelationsText(const TreeDocument& document, const DocVariable& variable);
// "View Definitions": the nodes defining the variable, or why there are none.
void ShowDefinitionsOf(TreeDocument* document, const zString& name);

class SensitivityRangeDialog : public AppDialog {
public:

    // The settings chosen; empty variable after Cancel.
    OneWaySettings settings;
    // Nonzero after OK with a variable.
    int result = 0;

protected:
    SensitivityRangeDialog(unsigned templateId, TreeDocument* document, TreeNode* node);
    // Fills the variable list and loads the first one's range.
    void Prepare();
    // Low below high, else the message with the high field selected; then the fields and texts are kept.
    int OkResult() override;
    // After the run: an empty name is a Cancel; a confirmed range goes into the variable's record.
    void Conclude();

    TreeDocument* document;
    TreeNode* node;
    RealEdit* lowField = nullptr;
    RealEdit* highField = nullptr;

private:
    long OnVariableCommand(WindowEvent* event);
    void LoadVariable();
    zString SelectedName() const;
};

class SensitivityDialog : public SensitivityRangeDialog {
public:
    SensitivityDialog(TreeDocument* document, TreeNode* node);
    // The modal run; nonzero after OK, when settings hold the choices.
    int Run();

private:
    int OkResult() override;
    int intervals = 4;
};

class ThresholdDialog : public SensitivityRangeDialog {
public:
    ThresholdDialog(TreeDocument* document, TreeNode* node);
    // The modal run; nonzero after OK, when Threshold() gives the choices.
    int Run();

    ThresholdSettings Threshold() const;

private:
    int OkResult() override;
    double tolerance = 0.1;
    int degree = 4;
};

// Two or three variable blocks (X, Y and the third): each block's variable, range and intervals; the
// variables must differ, ranges must not be empty, and correlated pairs are questioned.
class SensitivityAxesDialog : public AppDialog {
public:
    // The ids of block k's list, intervals, low, high and two describing statics.
    static const unsigned kBlockIds[3][6];

    SensitivityAxisSettings axes[3];
    bool checkCoherence = true;
    // Nonzero after OK.
    int result = 0;

    // Fills the blocks, runs the dialog and keeps a confirmed range in each variable's record; the result.
    int Run();

protected:
    SensitivityAxesDialog(unsigned templateId, TreeDocument* document, TreeNode* node, int axisCount);
    int OkResult() override;

private:
    long OnBlockCommand(WindowEvent* event);
    void LoadAxis(int k);
    zString SelectedName(int k) const;
    // The correlation questions of a pair of blocks; false when the person declined.
    bool AcceptCorrelations(int a, int b);

    TreeDocument* document;
    TreeNode* node;
    int axisCount;
    int focusedAxis = 0;
    RealEdit* lowFields[3] = {};
    RealEdit* highFields[3] = {};
};

class TwoWaySensitivityDialog : public SensitivityAxesDialog {
public:
    TwoWaySensitivityDialog(TreeDocument* document, TreeNode* node);
    TwoWaySettings Settings() const;
};

class ThreeWaySensitivityDialog : public SensitivityAxesDialog {
public:
    ThreeWaySensitivityDialog(TreeDocument* document, TreeNode* node);
    ThreeWaySettings Settings() const;
};
