#include "treewin/NodeValueCommandSender.h"

#include "analysis/NodeValueRecord.h"
#include "treewin/TreeWindow.h"

void InstallNodeValueCommandSender()
{
    SetNodeValueCommandSender([](TreeDocument* window, int command, const NodeChildList& nodes, GraphTemplate*) {
        switch (command) {
        case ExpectedValueCommand:
        case PathProbabilityCommand:
        case StandardDeviationCommand:
        case EvpiCommand:
            DisplayAnyVal(window, command, nodes);
            return;
        default:
            break;
        }
        // Straight to the analysis: a chain run from the custom interface or after roll back starts
        // commands whose menu items are grayed meanwhile.
        for (TreeWindow* tree : TreeWindow::OpenWindows()) {
            if (&tree->Document() == window && tree->Pane() != nullptr)
                tree->DispatchAnalysis(command);
        }
    });
}
