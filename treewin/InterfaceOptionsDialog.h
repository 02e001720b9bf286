#pragma once
// Set Options (dialog 3570) of a custom interface: the end user switches the risk preference function on
// or off (3571, when the designer allows it) and picks a calculation method from the designer's list
// (3573, when the designer allows a change).

#include "widgets/PresentedDialog.h"

class CustomInterfaceOptions;
class TreeDocument;

class InterfaceOptionsDialog : public PresentedDialog<InterfaceOptionsDialog> {
public:

    // The fields start from the tree: its utility switch and the designer's choice of its method.
    InterfaceOptionsDialog(TreeDocument& tree, const CustomInterfaceOptions& options);
    // After OK the tree takes what the designer lets the user set, and is marked modified; true after OK.
    // Without a presenter the dialog runs on the screen.
    bool Run();

    const CustomInterfaceOptions& options;
    int useUtility;
    // Position in the designer's list of calculation methods, -1 for none.
    int choice = -1;

private:
    void Apply();

    TreeDocument& tree_;
};
