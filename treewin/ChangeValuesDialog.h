#pragma once
// Change Values (dialog 3580) of a custom interface, for the whole tree (Basic) or for one node (Extended):
// one row per parameter, each with a working value and text while the dialog is open (a switch's working
// value is its check, 0 or 1). OK writes every row into its variable's definition: at the node when it
// binds the variable, else at the root.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <memory>

class CustomInterfaceSettings;
class NodeChildList;
class TreeDocument;
struct TreeNode;

class ChangeValuesDialog : public PresentedDialog<ChangeValuesDialog> {
    // The Extended form's own parameters, made from the node's editable variables.
    std::unique_ptr<CustomInterfaceSettings> own_;

public:

    // With markModified, OK marks the tree modified.
    ChangeValuesDialog(TreeDocument& tree, CustomInterfaceSettings& settings, bool markModified);
    // The Extended form for the node: a parameter for each variable the node binds that may be edited there
    // (default 0, the wheel for ranges within 0 to 1); no defaults offered.
    ChangeValuesDialog(TreeDocument& tree, TreeNode* node, bool markModified);
    ~ChangeValuesDialog();
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
    TreeNode* node_ = nullptr;
    bool markModified_;
};

// Whether some variable bound at the node may be edited through the Extended interface: its definition is a
// number and its variable is shown in the tree, no Monte Carlo tracker, has a range and a description.
// Otherwise says so (with Mimic Run-Time on, with a note for the designer) and answers false.
bool CheckCustomInterfaceEditable(TreeDocument& tree, TreeNode* node);
