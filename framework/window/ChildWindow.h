#pragma once
// A child window (controls, panes, visual control hosts): joins its parent's children and is created inside
// the parent's window.

#include "framework/window/WindowCL.h"

class ChildWindow : public WindowCL {
public:
    ChildWindow(WindowCL* parent, LayoutManager* layout, DWORD style);
    explicit ChildWindow(WindowCL* parent);

    // The first show fits the layout to the parent and lays out; later ones only show.
    void Show(int showCommand) override; // 17

    virtual void Create();                       // 18
    virtual long OnChar(WindowEvent* event);     // 19: calls OnCharacter
    virtual long Store();                        // 20
    virtual long Validate();                     // 21
    virtual long Load();                         // 22

    // A typed character (WM_CHAR, WM_SYSCHAR); nonzero when the window used it.
    virtual long OnCharacter(unsigned character);

private:
    void Initialise();
};
