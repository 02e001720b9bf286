#include "treewin/NodeValueCommandSender.h"

#include "analysis/NodeValueRecord.h"
#include "treewin/TreeWindow.h"

void InstallNodeValueCommandSender()
{
    SetNodeValueCommandSender([](TreeDocument* document, int command, const NodeChildList& nodes, GraphTemplate*) {
        switch (command) {
        case ExpectedValueCommand:
        case PathProbabilityCommand:
        case StandardDeviationCommand:
        case EvpiCommand:
            DisplayAnyVal(document, command, nodes);
            return;
        default:
            break;
        }
        // Straight to the analysis: a chain run from the custom interface or after roll back starts
        // commands whose menu items are grayed meanwhile.
        for (TreeWindow* tree : TreeWindow::OpenWindows()) {
            if (&tree->Document() == document && tree->Pane() != nullptr)
                tree->RunCommandHandler(static_cast<unsigned>(command));
        }
    });
}
