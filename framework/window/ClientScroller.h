#pragma once
// A keyboard scroller that moves a pane's contents by pixels: a line unit and a page unit per axis, and a
// scroll rectangle per axis (the pane's client rectangle). SB_THUMBTRACK moves nothing; the contents move
// on SB_THUMBPOSITION. A positive distance moves the contents down (or right), towards the start.

#include "framework/window/Scroller.h"

#include <windows.h>

class PaneWindowCL;
class ScrollBarState;

class ClientScroller : public KeyboardScroller {
public:
    // Both scroll rectangles are the pane's client rectangle (all 0 while the window does not exist); line
    // units 1, page units 10.
    explicit ClientScroller(PaneWindowCL* pane);

    // Both rectangles become the client rectangle and the whole display is invalidated with erasing.
    long Update(WindowEvent* event) override;
    long VertLine(WindowEvent* event) override;
    long VertPage(WindowEvent* event) override;
    long VertTop(WindowEvent* event) override;
    long VertBottom(WindowEvent* event) override;
    long VertThumb(WindowEvent* event) override;
    long HorzLine(WindowEvent* event) override;
    long HorzPage(WindowEvent* event) override;
    long HorzLeft(WindowEvent* event) override;
    long HorzRight(WindowEvent* event) override;
    long HorzThumb(WindowEvent* event) override;

    void SetHorzScrollRect(int left, int top, int right, int bottom) { horzRect_ = RECT{left, top, right, bottom}; }
    void SetVertScrollRect(int left, int top, int right, int bottom) { vertRect_ = RECT{left, top, right, bottom}; }
    RECT HorzScrollRect() const { return horzRect_; }
    RECT VertScrollRect() const { return vertRect_; }
    void SetHorzLineUnit(int pixels) { horzLineUnit_ = pixels; }
    void SetVertLineUnit(int pixels) { vertLineUnit_ = pixels; }
    void SetHorzPageUnit(int pixels) { horzPageUnit_ = pixels; }
    void SetVertPageUnit(int pixels) { vertPageUnit_ = pixels; }
    int HorzLineUnit() const { return horzLineUnit_; }
    int VertLineUnit() const { return vertLineUnit_; }
    int HorzPageUnit() const { return horzPageUnit_; }
    int VertPageUnit() const { return vertPageUnit_; }

protected:
    // How a move set the contents: by a distance, to the start, or to the state's position.
    enum class Move { ByDistance, ToStart, ToPosition };
    // Called after the contents were scrolled by the distance and before the move is committed.
    virtual void Moved(bool vertical, int distance, Move move);
    PaneWindowCL* Pane() const { return pane_; }
    void ClientRectangle(RECT& rect) const;

private:
    long Line(WindowEvent* event, bool vertical);
    long Page(WindowEvent* event, bool vertical);
    long ToStart(WindowEvent* event, bool vertical);
    long ToEnd(WindowEvent* event, bool vertical);
    long Thumb(WindowEvent* event, bool vertical);
    // Scrolls the contents by the distance on the axis, lets the hook follow and commits.
    long ScrollAndCommit(ScrollBarState& state, bool vertical, int distance, Move move);
    ScrollBarState* State(bool vertical) const;

    PaneWindowCL* pane_;
    RECT horzRect_{0, 0, 0, 0};
    RECT vertRect_{0, 0, 0, 0};
    int horzLineUnit_ = 1;
    int vertLineUnit_ = 1;
    int horzPageUnit_ = 10;
    int vertPageUnit_ = 10;
};
