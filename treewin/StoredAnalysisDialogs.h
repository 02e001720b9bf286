#pragma once
// The stored-analysis dialogs of the Analysis menu: Save Analysis (template 2510) gives the last analysis a
// name and comment and adds it to the tree's list; Run Analysis (2520, or 2523 with the comment shown)
// chooses stored analyses to run; Maintain Stored Analyses (2700) works on the list; Graph Risk Preference
// Function (2585) chooses which of two entered functions to graph. Each is built, then shown by Run().

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <memory>
#include <vector>

class GraphTemplate;
class StoredAnalysisList;
class TreeDocument;
struct StoredAnalysis;

class SaveAnalysisDialog : public PresentedDialog<SaveAnalysisDialog> {
public:
    // On OK with a name the record takes the name and comment and belongs to the list from then on, and the
    // document is modified; otherwise nothing changes.
    SaveAnalysisDialog(TreeDocument* document, StoredAnalysis* record, StoredAnalysisList& list);
    ~SaveAnalysisDialog();
    // Shows the dialog; true when the record was added.
    bool Run();

    zString name;
    zString comment;
    // A template chosen ("&None" leaves it null) replaces the record's copy on OK.
    bool templateChosen = false;
    std::unique_ptr<GraphTemplate> graphTemplate;
    // The record's description, shown as the summary.
    zString summary;
    bool accepted = false;

private:
    TreeDocument* document;
    StoredAnalysis* record;
    StoredAnalysisList& list;
};

class RunStoredAnalysisDialog : public PresentedDialog<RunStoredAnalysisDialog> {
public:
    RunStoredAnalysisDialog(TreeDocument* document, StoredAnalysisList& list, bool commentForm);
    // Shows the dialog; true after OK.
    bool Run();

    // After Run: the entries chosen, in list order.
    int SelectedCount() const { return static_cast<int>(chosen.size()); }
    StoredAnalysis* Selected(int i) const;

    TreeDocument* document;
    StoredAnalysisList& analyses;
    const bool commentForm;
    // The list positions the person selected; on OK they are put in list order, each once.
    std::vector<int> chosen;
    bool accepted = false;
};

class StoredAnalysesDialog : public PresentedDialog<StoredAnalysesDialog> {
public:
    StoredAnalysesDialog(TreeDocument* document, StoredAnalysisList& list);
    // Runs until Close; the document is modified when the list was changed.
    void Run();

    // Each works on the entry at the index and answers the entry to select afterwards.
    // Moves the entry one place earlier (by -1) or later (by 1) when there is room.
    int Move(int index, int by);
    // A name replaces the entry's; an empty one asks whether to delete the entry.
    int Rename(int index, const zString& name);
    // Deletes without asking; the entry now at the index is selected, or the new last one.
    int Delete(int index);
    // The editing Comment dialog on the entry's comment.
    void EditComment(int index);

    TreeDocument* document;
    StoredAnalysisList& analyses;
    // Set by an order, name, comment or template change, or a deletion.
    bool changed = false;
};

class RiskPrefGraphDialog : public PresentedDialog<RiskPrefGraphDialog> {
public:
    // Opens with constant risk aversion chosen.
    RiskPrefGraphDialog() = default;
    // Shows the dialog; true after OK.
    bool Run();
    bool IsConstantRiskAversion() const { return constant; }

    bool constant = true;
    bool accepted = false;
};
