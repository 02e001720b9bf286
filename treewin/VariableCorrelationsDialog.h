#pragma once
// Correlations of one variable (dialog 3970): the tree's other variables on the left, a working copy of the
// variable's correlations on the right. "&>>" correlates the chosen variable, after New Correlation (dialog
// 3990) has asked the sign and whether that variable's own correlations come along; "&<<" drops one. OK
// gives the caller's list the working entries; Cancel leaves it as it was.

#include "widgets/AppDialog.h"
#include "formula/CorrelationList.h"
#include "foundation/zString.h"

#include <vector>

class DocVariable;
class TreeDocument;

class NewCorrelationDialog : public AppDialog {
public:

    // "&Duplicate correlations from ..." is offered only when the second variable has correlations.
    NewCorrelationDialog(const char* firstName, const DocVariable& second);

    // After the run: -1 when cancelled, else 0 positive or 1 negative.
    int sign = -1;
    bool duplicate = false;

private:
    int OkResult() override;
};

class VariableCorrelationsDialog : public AppDialog {
public:

    // The correlations of the variable (null for a name the tree has no record of yet) called name; changed
    // is set by every addition or removal, also when the dialog is then cancelled.
    VariableCorrelationsDialog(TreeDocument& document, const DocVariable* variable, const char* name,
                               CorrelationList& list, bool& changed);

    long OnCommandId(unsigned id, unsigned code, HWND control) override;

private:
    int OkResult() override;
    void Fill(int selectedCorrelation);
    bool Excluded(const zString& upperName) const;
    void AddCorrelation();
    void RemoveCorrelation();
    void ShowPartnerDescription();

    TreeDocument& document;
    const DocVariable* variable;
    CorrelationList& list;
    bool& changed;
    zString ownName;
    CorrelationList working;
    // The working entry of each line of the correlations list.
    std::vector<int> lineEntries;
};
