#pragma once
// Jump To (the list chooser 2125 captioned "Jump To", help context 4341): the state a transition node of a
// Markov model jumps to, among the states of its Markov node and the "=" names of the Markov bindings met
// on the way up to it.

#include "widgets/PresentedDialog.h"
#include "foundation/NameList.h"

struct TreeNode;

class JumpToDialog : public PresentedDialog<JumpToDialog> {
public:

    // The chosen row, or -1 when cancelled.
    int Run();

    // Each state's whole text (shown cut to 30 characters), then each "=" name once.
    NameList rows;
    // The row of the current target, else the first.
    int choice = 0;
};

// The target the node is to jump to, starting from its own: 1 with the target (emptied when no state of the
// Markov node above has a text), 0 when cancelled. Unless forced, a target that already names a state is
// kept without asking.
int RunJumpToDialog(TreeNode* node, zString& target, bool force);
