#pragma once
// The custom interface of a tree window: a pane in the button-face colour laid over the tree pane, filling
// it, with a framed block of large buttons in its middle (Options, Change Values, Comments, Show Tree,
// Analyze). Each button hands its command to the tree window's command handler.

#include "framework/window/PaneWindowCL.h"

class TreeWindow;

class CustomInterfacePanel : public PaneWindowCL {
public:
    // The button block's size and the buttons' place in it, in dialog units of the dialog font.
    static constexpr int BlockWidth = 141;
    static constexpr int BlockHeight = 130;  // not a resource id: a height
    static constexpr int ButtonLeft = 38;
    static constexpr int ButtonWidth = 65;
    static constexpr int ButtonHeight = 14;

    // Made over the tree pane (its child), with the buttons the tree's custom interface offers.
    CustomInterfacePanel(TreeWindow& tree, WindowCL* treePane);

    // The pane that carries the buttons.
    PaneWindowCL& ButtonBlock() const { return *block_; }

private:
    PaneWindowCL* block_;
};
