#pragma once
// The framework's drawing child window: its procedure keeps the scroll-bar states up to date, hands scroll
// events to the attached scroller, characters to OnChar and painting to Paint. Paint draws on the current
// display: the pane's own window display, or another display (a printer or a bitmap) that other code makes
// current for a while through the display stack; the screen is always painted through the own display.

#include "framework/window/ChildWindow.h"

#include <memory>
#include <vector>

class Caret;
class Display;
class WindowDisplay;

class PaneWindowCL : public ChildWindow {
public:
    // Builds the pane and creates its window at once.
    PaneWindowCL(WindowCL* parent, LayoutManager* layout, DWORD style);
    ~PaneWindowCL() override;

    std::unique_ptr<WNDCLASSA> ClassRecord() override;  // 2
    long Forward(WindowEvent* event) override;          // 9
    long OnFocusChange(bool gained) override;           // the caret follows the focus
    void Show(int showCommand) override;                // 17

    virtual long Paint(WindowEvent* event);                    // 23
    virtual void OnZoomChanged();                              // 24
    virtual long PrintOnDisplay(void* display, void* rect);    // 25
    virtual long PrintPageSetup(void* display, void* rect);    // 26
    virtual long NextPrintPage();                              // 27
    virtual void Scroll(int dx, int dy, const RECT* rect);     // 28

    // The device context while Paint runs inside WM_PAINT, else null.
    HDC PaintContext() const { return paintContext_; }

    Display* CurrentDisplay() const { return currentDisplay_; }
    // The field that holds the current display, for items that must find whichever display is current.
    Display** CurrentDisplaySlot() { return &currentDisplay_; }
    WindowDisplay* OwnDisplay() const { return ownDisplay_.get(); }
    // Makes another display current (not owned) until it is popped; popping makes the one below current.
    void PushDisplay(Display* display);
    void PopDisplay();
    // A caret (not owned) that follows the focus, or null.
    void SetCaret(Caret* caret) { caret_ = caret; }
    Caret* PaneCaret() const { return caret_; }

protected:
    // The pane's own rows: sizes refit the scroller, painting, characters, scroll codes, and system commands
    // routed like commands.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    long PaintSequence(WindowEvent& event);
    // Without a scroller, the end of a scroll moves the contents to the bars' positions.
    long ScrollToBarPositions();

    HDC paintContext_ = nullptr;
    Display* currentDisplay_ = nullptr;
    std::unique_ptr<WindowDisplay> ownDisplay_;
    std::vector<Display*> displayStack_; // front (current) at the back
    Caret* caret_ = nullptr;
};
