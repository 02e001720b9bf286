#pragma once
// The dialogs of Bayes' revision: the probabilities one prompt at a time (template 2380), the choice of the
// positive test result and the present condition (3340), and the prompts of the sensitivity-and-specificity
// route on the same template as the probabilities. Each dialog runs modally from its constructor and writes
// the entries into the work record; Cancel on any prompt leaves the tree unchanged.

#include "analysis/BayesRevision.h"
#include "widgets/AppDialog.h"

class EditCtrl;

class BayesProbabilitiesDialog : public AppDialog {
public:
    enum : unsigned {
        // The Variables menu's items, one per document variable.
        kFirstVariableItem = 30000,
    };

    explicit BayesProbabilitiesDialog(BayesRevision& record);

protected:
    // Builds the dialog without its first prompt (for the sensitivity-and-specificity route).
    BayesProbabilitiesDialog(BayesRevision& record, bool);
    // OK: the entry is stored and the next prompt shown; the dialog ends after the last one.
    int OkResult() override;
    // Shows the first or the next prompt; past the last one builds the revision and binds the variables.
    virtual void NextStep(bool first);
    // Parses the entry and keeps it; false keeps the prompt.
    virtual bool StoreStep();
    virtual void BindVariables() {}
    void ShowPrompt(const BayesPrompt& prompt);
    void Finish();

    BayesRevision& record;
    double value = 0.0;
    zString expression;
    int16_t test = -1;
    int16_t condition = 0;
    double priorSum = 0.0;
    double likelihoodSum = 0.0;
    bool done = false;
    EditCtrl* valueField = nullptr;
    EditCtrl* expressionField = nullptr;
};

class BayesTestDialog : public AppDialog {
public:

    explicit BayesTestDialog(const BayesRevision& record);

    int positiveTest = 0;
    int presenceCondition = 0;

private:
    int OkResult() override;
};

class BayesSensSpecDialog : public BayesProbabilitiesDialog {
public:
    BayesSensSpecDialog(BayesRevision& record, int positiveTest, int presenceCondition);

private:
    void NextStep(bool first) override;
    bool StoreStep() override;
    void BindVariables() override;

    int positiveTest;
    int presenceCondition;
    int step = 0;
    zString sensitivityExpression;
    zString specificityExpression;
    zString sensitivityText;
    zString specificityText;
};

// The general route: every prior and likelihood asked in turn.
void RunBayesRevision(BayesRevision& record);
// The sensitivity-and-specificity route (two results, two conditions).
void RunBayesTestRevision(BayesRevision& record);
// The Bayes command of the tree window for the node: checks the structure and, with two results and two
// conditions, asks whether the sensitivity and specificity are known before taking a route.
void ReviseWithBayes(TreeNode* node);
