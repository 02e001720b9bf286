#pragma once
// The set-up dialogs of the one-way sensitivity analysis (template 2090) and the threshold analysis (2390):
// which variable to vary, over which range and in how many steps. Each is built and run by its constructor;
// the analysis reads the result and the fields. A confirmed range is remembered in the variable's record,
// and the interval count (the threshold's degree of nonlinearity too) and the tolerance for the process.

#include "analysis/ThresholdAnalysis.h"
#include "app/AppDialog.h"

class TreeDocument;
struct TreeNode;

class SensitivityRangeDialog : public AppDialog {
public:
    enum : unsigned {
        kIntervalsField = 2091,
        kVariableList = 2092,
        kLowField = 2093,
        kHighField = 2094,
        kDefinitionsButton = 2095,
        kCoherenceCheck = 2100,
        kDescriptionText = 2110,
        kCorrelationsText = 2111,
    };

    // The settings chosen; empty variable after Cancel.
    OneWaySettings settings;
    // Nonzero after OK with a variable.
    int result = 0;

protected:
    SensitivityRangeDialog(unsigned templateId, TreeDocument* window, TreeNode* node);
    // Fills the variable list and loads the first one's range.
    void Prepare();
    // Low below high, else the message with the high field selected; then the fields and texts are kept.
    int OkResult() override;
    // After the run: an empty name is a Cancel; a confirmed range goes into the variable's record.
    void Conclude();

    TreeDocument* window;
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
    enum : unsigned { kTemplateId = 2090, kLinesCaption = 2107, kEachBranchRadio = 2108, kThisNodeRadio = 2109 };
    SensitivityDialog(TreeDocument* window, TreeNode* node);

private:
    int OkResult() override;
    int intervals = 4;
};

class ThresholdDialog : public SensitivityRangeDialog {
public:
    enum : unsigned { kTemplateId = 2390, kToleranceField = 2091, kLowRadio = 2391, kHighRadio = 2393 };
    ThresholdDialog(TreeDocument* window, TreeNode* node);

    ThresholdSettings Threshold() const;

private:
    int OkResult() override;
    double tolerance = 0.1;
    int degree = 4;
};
