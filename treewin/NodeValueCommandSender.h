#pragma once
// The program's way for a re-run node-value record to send its command: the node value commands are shown
// at once, the graph and analysis commands go to the analysis dispatcher of the tree window that shows the
// document.

// Installs the sender for every stored node-value record run from now on.
void InstallNodeValueCommandSender();
