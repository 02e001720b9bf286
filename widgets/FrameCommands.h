#pragma once
// Asks the main frame to bring its menus and tool bar up to date after a change of state that enables or
// disables commands (an analysis starting or ending, a document changing).

// The main frame's RefreshCommands; nothing while there is no frame.
void RefreshFrameCommands();
