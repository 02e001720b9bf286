#pragma once
// The host windows of windowless items: VisualCtrl is a child window of the program's "VisualCtrl" class with
// a display its items draw on; VisualItemHost adds the root item group and drives it from the window's
// messages.

#include "framework/dialog/CtrlWindowCL.h"

#include <memory>

class Display;
class VisualItemGroup;
class WindowDisplay;

class VisualCtrl : public CtrlWindowCL {
public:
    // Makes the window at once.
    VisualCtrl(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id);
    ~VisualCtrl() override;

    std::unique_ptr<WNDCLASSA> ClassRecord() override;      // 2
    void Create() override;                                 // 18
    virtual long Paint() = 0;                               // 23

    Display* GetDisplay() const { return display_; }

protected:
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

    // Not owned by a smart pointer: items reach it through a pointer to this field.
    Display* display_ = nullptr;
};

class VisualItemHost : public VisualCtrl {
public:
    VisualItemHost(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text = nullptr, unsigned id = 0);
    ~VisualItemHost() override;

    long OnSize(WindowEvent* event) override;         // 5
    long OnMouseMove(WindowEvent* event) override;    // 10
    long OnButtonUp(WindowEvent* event) override;     // 11
    long OnButtonDown(WindowEvent* event) override;   // 12
    long OnChar(WindowEvent* event) override;         // 19
    long Paint() override;                            // 23

    VisualItemGroup* Root() const { return root_.get(); }

protected:
    bool RootWantsInput() const;
    // The event's point moved by the display's window origin.
    void ToItemPoint(WindowEvent& event) const;

    std::unique_ptr<VisualItemGroup> root_;
};
