#pragma once
// Asks the main frame to bring its menus and tool bar up to date after a change of state that enables or
// disables commands (an analysis starting or ending, a document changing).

// Redraws the main window's menu bar when there is one; counts every request.
void RefreshFrameCommands();
// The number of requests made so far.
long FrameCommandRefreshCount();
