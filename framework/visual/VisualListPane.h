#pragma once
// A pane that holds a row of small "VisualCtrl" windows (push and bitmap buttons) placed by their bar rules in
// order, with one dark line on the side that faces the rest of the window, or a bevelled border. It passes
// its buttons' commands and help on to the window that handles them (the tool bar: to the frame).

#include "framework/visual/VisualItemPane.h"

#include <list>
#include <memory>

class VisualBarArranger;
class VisualBevelFrame;
class VisualToggleSet;

class VisualListPane : public VisualItemPane {
public:
    static constexpr unsigned AutoEdge = 1;
    static constexpr unsigned EdgeRight = 2;
    static constexpr unsigned EdgeLeft = 4;
    static constexpr unsigned EdgeTop = 8;
    static constexpr unsigned EdgeBottom = 0x10;
    static constexpr unsigned Framed = 0x200;

    // Commands go to the parent. With AutoEdge the line goes on the side that faces the inside, chosen by
    // the dock kind of the pane's layout (a container).
    VisualListPane(WindowCL* parent, LayoutManager* layout, unsigned style);
    ~VisualListPane() override;

    LRESULT DefaultProcessing(WindowEvent* event) override; // 1
    long OnSize(WindowEvent* event) override;               // 5
    long Paint(WindowEvent* event) override;                // 23

    // The row's margins across and down (4 and 1 at first).
    void SetSpacing(POINT spacing);
    // Takes the set (registration order is search order).
    void RegisterToggleSet(VisualToggleSet* set);
    // Deletes a registered set.
    void DeleteToggleSet(VisualToggleSet* set);
    const std::list<std::unique_ptr<VisualToggleSet>>* ToggleSets() const { return toggleSets_.get(); }
    unsigned PaneStyle() const { return paneStyle_; }

protected:
    struct Forwarding {};
    // Commands and help go to the parent's parent (a tool bar inside a container pane of the frame).
    VisualListPane(WindowCL* parent, LayoutManager* layout, unsigned style, Forwarding);

private:
    VisualListPane(WindowCL* parent, LayoutManager* layout, unsigned style, int forwardToGrandparent);
    WindowCL* CommandWindow() const;

    std::unique_ptr<std::list<std::unique_ptr<VisualToggleSet>>> toggleSets_;
    int32_t forwardToGrandparent_;
    std::unique_ptr<VisualBarArranger> row_;
    std::unique_ptr<VisualBevelFrame> frame_;
    unsigned paneStyle_;
    std::unique_ptr<VisualItemGroup> itemGroup_;
};

// The list pane whose commands go to its grandparent.
class VisualForwardingListPane : public VisualListPane {
public:
    VisualForwardingListPane(WindowCL* parent, LayoutManager* layout, unsigned style)
        : VisualListPane(parent, layout, style, Forwarding{})
    {
    }
};
