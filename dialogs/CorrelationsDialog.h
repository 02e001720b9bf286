#pragma once
// Correlations (dialog 2920): before a sensitivity analysis varies a variable, the person picks which of
// its correlated variables move with it and may give a missing range. This class holds the dialog's lines,
// selection and fields and its rules; without a presenter the dialog is shown on the screen from its
// template.

#include "foundation/FormattedValue.h"
#include "foundation/zString.h"

#include <functional>
#include <vector>

class DocVariable;
class SensitivityRangeSet;
class TreeDocument;
struct CorrelationItem;

class CorrelationsDialog {
public:

    CorrelationsDialog(TreeDocument& document, DocVariable& variable, const char* lowText, const char* highText);

    // Runs until OK or "Select All + OK" passes its check (1, with Chosen() filled) or the person
    // cancels (0).
    int RunModal();

    // One line per correlated variable that the document still defines: its name, a TAB and, when it has
    // a range, "low .. high" (high first for a negative correlation).
    const std::vector<zString>& Lines() const { return lines; }
    const zString& RangeText() const { return rangeText; }
    // The selection changed: with one line selected the fields show its range and are enabled.
    void SetSelection(const std::vector<int>& selectedLines);
    const std::vector<int>& Selection() const { return selection; }
    bool FieldsEnabled() const { return fieldsEnabled; }
    // "<< Change": the selected variable takes the fields' range; refused (message shown) unless high is
    // above low.
    bool OnChange();
    // OK, or "Select All + OK" with all: the chosen lines must all have ranges; otherwise the message is
    // shown, the first line without one is selected alone and false returned.
    bool OnOk(bool all);
    const std::vector<CorrelationItem*>& Chosen() const { return chosen; }

    // The fields, as validated numeric fields keep them: the typed text and its value.
    FormattedValue lowField;
    FormattedValue highField;

    // The person's side: given the open dialog, returns IDOK, IDCANCEL or kSelectAllOkButton; without one
    // the dialog runs on the screen.
    using Presenter = std::function<int(CorrelationsDialog&)>;
    static Presenter SetPresenter(Presenter presenter);

private:
    void BuildLines();
    DocVariable* LineVariable(int line) const;

    TreeDocument& document;
    DocVariable& variable;
    zString rangeText;
    std::vector<zString> lines;
    std::vector<CorrelationItem*> lineItems;
    std::vector<int> selection;
    std::vector<CorrelationItem*> chosen;
    bool fieldsEnabled = false;
};

// Runs the Correlations dialog for a variable with correlations and gives the chosen entries (not owned)
// on OK; 1 at once, with nothing chosen, for a variable without correlations. 0 when cancelled.
int ShowCorrelationRanges(TreeDocument& document, DocVariable& variable, const char* lowText, const char* highText,
                          std::vector<CorrelationItem*>& chosen);

// The set's main variable (range 0) takes the correlated variables the person chooses for it: false when the
// chooser was cancelled, true at once for a variable without correlations.
bool GatherCorrelatedRanges(TreeDocument& document, SensitivityRangeSet& set);

// Appends to the set a range for each chosen correlation that names a variable of the document with a
// range: that variable's low and high, swapped for a negative correlation so that it moves against the main
// variable. A bound without its own text gets its value's text with nine significant digits.
void BuildVariableRanges(const std::vector<CorrelationItem*>& chosen, SensitivityRangeSet& set,
                         const TreeDocument& document);
