#pragma once
// The menu of an MDI child: loaded for the window without becoming its menu bar, because the frame merges
// it into its own bar while the child is active.

#include "framework/dialog/Menu.h"

class WindowMenuBar : public Menu {
public:
    // When the window is the active MDI child, the frame is asked to merge the new menu at once.
    WindowMenuBar(WindowCL* window, const ResourceId& id);
};
