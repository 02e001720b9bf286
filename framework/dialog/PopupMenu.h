#pragma once
// A context menu: the first sub-menu of a menu resource, shown at a point of its owner window. While it is
// tracked it is the current pop-up menu, which the owner's procedure offers WM_COMMAND before anything else.

#include "framework/dialog/Menu.h"

class PopupMenu : public Menu {
public:
    // The point is in the owner's client coordinates.
    PopupMenu(int x, int y, WindowCL* owner, const ResourceId& id);
    // Stops being the current pop-up menu and destroys the whole loaded menu.
    ~PopupMenu() override;

    // Shows the menu at its point; the chosen command arrives as WM_COMMAND at the owner.
    void Track();
    POINT ScreenPoint() const { return point_; }

private:
    POINT point_;
    HMENU whole_;
};
