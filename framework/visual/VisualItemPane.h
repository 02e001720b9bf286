#pragma once
// A pane window that hosts a tree of windowless items instead of child windows: the root group's bounds are
// the pane's own layout, so the items are laid out by the window's layout, painted when the window paints and
// handed its mouse and character events. The base of the status pane and of the button row pane.

#include "framework/window/PaneWindowCL.h"

#include <memory>

class VisualItemGroup;

class VisualItemPane : public PaneWindowCL {
public:
    // The layout must be a container: the items' rules join it.
    VisualItemPane(WindowCL* parent, LayoutManager* layout, DWORD style);
    ~VisualItemPane() override;

    long OnSize(WindowEvent* event) override;                 // 5
    long OnMouseMove(WindowEvent* event) override;            // 10
    long OnButtonUp(WindowEvent* event) override;             // 11
    long OnButtonDown(WindowEvent* event) override;           // 12
    long OnChar(WindowEvent* event) override;                 // 19
    long Paint(WindowEvent* event) override;                  // 23
    // Lays the items out for the current display's size for one paint, then puts the window's size back.
    long PrintPageSetup(void* display, void* rect) override;  // 26

    VisualItemGroup* Root() const { return root_.get(); }

protected:
    bool RootWantsInput() const;
    // The window that acts on the pane's commands and menu help: its parent, or the parent's parent.
    WindowCL* CommandWindow(bool grandparent) const;
    // Commands and menu help go on to that window; everything else is processed as usual.
    LRESULT ForwardCommands(WindowEvent* event, bool grandparent);

    std::unique_ptr<VisualItemGroup> root_;
};
