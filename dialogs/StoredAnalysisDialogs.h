#pragma once
// The stored-analysis dialogs of the Analysis menu: Save Analysis (template 2510) gives the last analysis a
// name and comment and adds it to the tree's list; Run Analysis (2520, or 2523 with the comment shown)
// chooses stored analyses to run; Maintain Stored Analyses (2700) works on the list; Graph Risk Preference
// Function (2585) chooses which of two entered functions to graph. Each runs in its constructor.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

#include <vector>

class StoredAnalysisList;
class TreeDocument;
struct StoredAnalysis;

class SaveAnalysisDialog : public PresentedDialog<SaveAnalysisDialog> {
public:
    enum : unsigned { kTemplateId = 2510 };
    // On OK with a name the record takes the name and comment and belongs to the list from then on, and the
    // document is modified; otherwise nothing changes.
    SaveAnalysisDialog(TreeDocument* window, StoredAnalysis* record, StoredAnalysisList& list);

    zString name;
    zString comment;
    // The record's description, shown as the summary.
    zString summary;
    bool accepted = false;
};

class RunStoredAnalysisDialog : public PresentedDialog<RunStoredAnalysisDialog> {
public:
    enum : unsigned { kTemplateId = 2520, kCommentTemplateId = 2523 };
    RunStoredAnalysisDialog(TreeDocument* window, StoredAnalysisList& list, bool commentForm);

    // After Run: the entries chosen, in list order.
    int SelectedCount() const { return static_cast<int>(chosen.size()); }
    StoredAnalysis* Selected(int i) const;

    StoredAnalysisList& analyses;
    const bool commentForm;
    // The list positions the person selected; on OK they are put in list order, each once.
    std::vector<int> chosen;
    bool accepted = false;
};

class StoredAnalysesDialog : public PresentedDialog<StoredAnalysesDialog> {
public:
    enum : unsigned { kTemplateId = 2700 };
    // Runs until Close; the document is modified when the list was changed.
    StoredAnalysesDialog(TreeDocument* window, StoredAnalysisList& list);

    StoredAnalysisList& analyses;
    // Set by an order, name, comment or template change, or a deletion.
    bool changed = false;
};

class RiskPrefGraphDialog : public PresentedDialog<RiskPrefGraphDialog> {
public:
    enum : unsigned { kTemplateId = 2585 };
    // Opens with constant risk aversion chosen.
    RiskPrefGraphDialog() { accepted = Present() == IDOK; }
    bool IsConstantRiskAversion() const { return constant; }

    bool constant = true;
    bool accepted = false;
};
