#pragma once
// Variable Properties (dialog 4300): a document variable made, renamed, or given its description, comment,
// display in the tree, numeric definition at the root, sensitivity range, correlations and Monte Carlo
// tracker setting. OK (and "&More", which then empties the dialog for the next new variable) applies the
// fields once every test passes; a rename goes through the document's rename, so formulas, bound windows
// and menus follow.

#include "widgets/AppDialog.h"
#include "formula/CorrelationList.h"
#include "foundation/zString.h"

class DocVariable;
class RealEdit;
class TreeWindow;

class VariablePropertiesDialog : public AppDialog {
public:

    // An existing variable's properties.
    VariablePropertiesDialog(TreeWindow& window, DocVariable& variable);
    // A new variable: of that name when one is given (the name is then fixed), else typed in.
    VariablePropertiesDialog(TreeWindow& window, const char* name);

    // The name of the last variable applied; empty when none was.
    const zString& AppliedName() const { return appliedName; }

    long OnCommandId(unsigned id, unsigned code, HWND control) override;

private:
    void BindFields();
    void FillFromRecord();
    void LoadControls();
    void StoreTexts();
    // The refusals, in order; the first shows its message and focuses its field.
    bool FieldsPass();
    bool TrackerChangeAllowed() const;
    void Apply();
    void ClearForNext();
    void OnDefineClicked();
    void OnTrackerClicked();
    void EditCorrelations();
    void RefreshCorrelationText();
    void MapNameCharacters();
    int OkResult() override;

    TreeWindow& window;
    DocVariable* record = nullptr;
    zString name;
    zString formerName;
    zString description;
    zString comment;
    zString appliedName;
    int showInTree = 1;
    int defined = 0;
    int tracker = 0;
    int initialTracker = 0;
    double value = 0.0;
    double low = 0.0;
    double high = 0.0;
    double initialValue = 0.0;
    bool renaming = false;
    bool correlationsChanged = false;
    CorrelationList correlations{4, true};
    // Value and initial value.
    RealEdit* numberFields[2] = {};
};
