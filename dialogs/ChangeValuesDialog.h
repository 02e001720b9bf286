#pragma once
// Change Values (dialog 3580) of a custom interface, for the whole tree: one row per parameter, each with a
// working value and text while the dialog is open (a switch's working value is its check, 0 or 1). OK
// writes every row into its variable's definition at the root.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

class CustomInterfaceSettings;
class NodeChildList;
class TreeDocument;

class ChangeValuesDialog : public PresentedDialog<ChangeValuesDialog> {
public:
    enum : unsigned { TemplateId = 3580 };

    // With markModified, OK marks the tree modified.
    ChangeValuesDialog(TreeDocument& tree, CustomInterfaceSettings& settings, bool markModified);
    // The rows start from the parameters' current values and texts. After OK the parameters take the rows
    // and the definitions are written; changed gets each node whose definition changed, once. Parameters
    // whose variable has no definition to write are named in one message. Without a presenter the dialog
    // shows on the screen.
    bool Run(NodeChildList& changed);

    CustomInterfaceSettings& parameters;
    // Above the rows: the node whose definitions are set, or nothing for the whole tree.
    zString nodeCaption;
    // "&Use Default" and "&All Defaults" are offered.
    bool defaultsShown = true;

private:
    int ShowOnScreen();

    TreeDocument& tree_;
    bool markModified_;
};
