#pragma once
// Whether a window of the main frame may close: the window's close query with the question
// "Save changes to "<title>" before closing?" (or "... before quitting?" when the program ends).

class MDIframeCL;
class WindowCL;

// 1 when the window agreed and was deleted, 0 when it refused or there was none. When no document window is
// left, the frame's commands are refreshed.
int AskSaveChanges(MDIframeCL* frame, WindowCL* window, bool quitting);
// The same query, the window left for the caller to delete: 1 when it agreed.
int AgreesToClose(WindowCL* window, bool quitting);
