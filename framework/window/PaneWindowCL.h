#pragma once
// The framework's drawing child window: its procedure keeps the scroll-bar states up to date, hands scroll
// events to the attached scroller, characters to OnChar and painting to Paint.

#include "framework/window/ChildWindow.h"

class PaneWindowCL : public ChildWindow {
public:
    // Builds the pane and creates its window at once.
    PaneWindowCL(WindowCL* parent, LayoutManager* layout, DWORD style);

    std::unique_ptr<WNDCLASSA> ClassRecord() override;  // 2
    long Forward(WindowEvent* event) override;          // 9
    void Show(int showCommand) override;                // 17

    virtual long Paint(WindowEvent* event);                    // 23
    virtual void OnZoomChanged();                              // 24
    virtual long PrintOnDisplay(void* display, void* rect);    // 25
    virtual long PrintPageSetup(void* display, void* rect);    // 26
    virtual long NextPrintPage();                              // 27
    virtual void Scroll(int dx, int dy, const RECT* rect);     // 28

    // The pane window procedure.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The device context while Paint runs inside WM_PAINT, else null.
    HDC PaintContext() const { return paintContext_; }

private:
    // Moves the scroll-bar state named by the event (the control's, or the pane's own bar) by its scroll code.
    void ApplyScrollCode(WindowEvent& event, bool& dispatchEnds);
    long PaintSequence(WindowEvent& event);

    HDC paintContext_ = nullptr;
};
