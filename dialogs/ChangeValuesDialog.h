#pragma once
// Change Values (dialog 3580) of a custom interface, for the whole tree: one row per parameter, each with a
// working value and text while the dialog is open (a switch's working value is its check, 0 or 1). OK
// writes every row into its variable's definition at the root.

#include "dialogs/PresentedDialog.h"

class CustomInterfaceSettings;
class NodeChildList;
class TreeDocument;

class ChangeValuesDialog : public PresentedDialog<ChangeValuesDialog> {
public:
    enum : unsigned { TemplateId = 3580 };

    // With markModified, OK marks the tree modified.
    ChangeValuesDialog(TreeDocument& tree, CustomInterfaceSettings& settings, bool markModified);
    // The rows start from the parameters' current values and texts. After OK the parameters take the rows
    // and the definitions are written; changed gets each node whose definition changed, once. Without a
    // presenter the dialog is cancelled.
    bool Run(NodeChildList& changed);

    CustomInterfaceSettings& parameters;

private:
    TreeDocument& tree_;
    bool markModified_;
};
