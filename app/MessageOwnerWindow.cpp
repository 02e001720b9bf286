#include "app/MessageOwnerWindow.h"

HWND MessageOwnerWindow()
{
    // No dialog chain, MDI client or main frame exists yet; boxes are owned by the desktop.
    return nullptr;
}
