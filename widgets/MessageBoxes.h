#pragma once
// The program's side of the message boxes (foundation/MessageBoxes.h makes them): a box reaches the screen
// through one presenter, so that every box can be recorded in a test.

#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"

#include <functional>

// The single point where a box reaches the screen; it returns the Win32 button id (IDOK, IDYES...).
// The default presenter calls MessageBox owned by MessageOwnerWindow; tests install their own to record
// every box and answer it, so nothing ever waits for a person.
using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;
// Installs a presenter (an empty one restores the default) and returns the one it replaces.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);
// Presents the box through the presenter with the arrow cursor, the box's help context current and, when it
// has one, "Press F1 for help" in the status line while it is shown; the status line is empty afterwards.
int PresentMessageBox(const MessageBoxRequest& request);
// The number of boxes being presented now (boxes shown from inside a box count too).
int MessageBoxesShowing();
