#include "treewin/NodeValueCommandSender.h"

#include "analysis/NodeValueRecord.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include <windows.h>

void InstallNodeValueCommandSender()
{
    SetNodeValueCommandSender([](TreeDocument* window, int command, GraphTemplate*) {
        switch (command) {
        case ExpectedValueCommand:
        case PathProbabilityCommand:
        case StandardDeviationCommand:
        case EvpiCommand:
            DisplayAnyVal(window, command);
            return;
        default:
            break;
        }
        for (TreeWindow* tree : TreeWindow::OpenWindows()) {
            if (&tree->Document() == window && tree->Pane() != nullptr)
                SendMessageA(tree->Pane()->Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
        }
    });
}
