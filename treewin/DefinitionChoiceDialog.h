#pragma once
// Sensitivity Analysis on <variable> (template 2150): walks through the definitions a sweep would overwrite
// and lets the person keep the original expression of some. "&This Definition" and "&Remaining Definitions"
// under "Accept range for:" keep entries for the sweep; the two under "Keep original expression for:" take
// them off the list. Passing the last entry ends the dialog with OK.

#include "analysis/VariableRange.h"
#include "widgets/AppDialog.h"

class TreeDocument;

class DefinitionChoiceDialog : public AppDialog {
public:

    DefinitionChoiceDialog(RangeBindingList& list, TreeDocument* document, const zString& variable,
                           const zString& rangeText);
    // The list keeps only the accepted entries; nonzero (and in result) unless cancelled.
    int Run();

    int result = 0;

private:
    long OnChoice(WindowEvent* event);
    void ShowEntry();
    void Finish();

    RangeBindingList& list;
    TreeDocument* document;
    int index = 0;
};

// Lets every sweep's several definitions be chosen in this dialog.
void InstallDefinitionChoiceDialog();
