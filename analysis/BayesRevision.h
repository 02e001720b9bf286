#pragma once
// Bayes' revision: the probabilities of a test-and-condition subtree rewritten from what is known of the
// test. The Bayes node has one child per test result; every test-result node has the same conditions in the
// same order. From the priors of the conditions and the likelihoods of the results given each condition the
// joint, result and posterior probabilities are formed (numbers where constant, formulas otherwise), each
// bound at the Bayes node to a new variable "_p<n>", and every result and condition node takes its variable
// as probability. The entries are gathered one prompt at a time by the program's dialogs.

#include "formula/RunOutcome.h"
#include "foundation/zString.h"

#include <cstdint>
#include <vector>

class TextField;
class TreeDocument;
struct TreeNode;

// The work record of one run. Likelihood, joint and posterior lists are indexed c * T + t (condition c, test
// result t); prior lists by c, test probabilities by t.
struct BayesRevision {
    // Fills the names and counts and checks the structure (failed when it is not usable).
    explicit BayesRevision(TreeNode* node);

    TreeNode* node;
    TreeDocument* document;
    std::vector<zString> testNames;
    std::vector<zString> conditionNames;
    std::vector<zString> priorValues;
    std::vector<zString> priorExpressions;
    std::vector<zString> likelihoodValues;
    std::vector<zString> likelihoodExpressions;
    std::vector<zString> joints;
    std::vector<zString> testProbabilities;
    std::vector<zString> posteriors;
    int32_t testCount = 0;
    int32_t conditionCount = 0;
    bool failed = false;
    // What the structure check reported (reported on as the record is made).
    RunOutcome outcome;
};

// True when the subtree is usable; otherwise the fault is reported ("Bayes Structure Error") with the node at
// fault to be selected.
bool CheckBayesStructure(BayesRevision& record);

// One prompt of the probabilities dialog: test -1 asks the prior of the condition, else the likelihood of the
// test result given the condition. Every prompt but the last of its kind proposes 0 and no expression; the
// last prior proposes 1 minus the entered priors, the last likelihood 1 minus the condition's entered ones
// (sum: the entered values so far). A proposal that is not constant leaves the value empty.
struct BayesPrompt {
    zString text;
    zString value;
    zString expression;
};
BayesPrompt MakeBayesPrompt(const BayesRevision& record, int test, int condition, double sum);

// Checks that the expression parses at the Bayes node; false (the error shown, focus to field) otherwise.
bool ParseBayesEntry(const BayesRevision& record, const zString& expression, TextField* field);

// The sensitivity-and-specificity route (two results, two conditions): the entry of a step (0 the prior of
// the presence condition, 1 the sensitivity, 2 the specificity) goes into the lists with its complement.
void StoreSensSpecEntry(BayesRevision& record, int step, int positiveTest, int presenceCondition,
                        double value, const zString& valueText, const zString& expression);

// The route's defaults: the positive result is the first unless the first test text reads "NEG" and not
// "POS" while the second reads "POS" and not "NEG"; presence is the first condition unless its text reads
// "NO" and the second's does not (case ignored).
void ChooseBayesTestDefaults(const BayesRevision& record, int& positiveTest, int& presenceCondition);

// Binds an entered variable name at the Bayes node to its entered value when the node binds no such name;
// true when the expression is a document variable.
bool BindBayesEntry(const BayesRevision& record, const zString& expression, const zString& valueText);

// Forms the joint, result and posterior texts and rewrites the subtree's probabilities.
void BuildBayesRevision(BayesRevision& record);

// The next free "_p<n>" name after counter (which it advances), made a document variable.
zString MakeBayesVariableName(int& counter, TreeDocument* document);
