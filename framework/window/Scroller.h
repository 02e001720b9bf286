#pragma once
// The objects that turn a pane's scroll messages (and, for keyboard scrollers, its scrolling keys) into
// movements of its contents. The pane moves its scroll-bar state's position first; the scroller compares
// the position with the previous one (the position the contents are drawn at) and moves the contents.
//
// The base moves nothing: its line, page and end operations fall through to the thumb operations, which
// answer 0, so a class that overrides only the thumb operations handles every code by the difference.

#include "framework/window/EventTarget.h"

class ScrollBarState;
class WindowCL;

class Scroller : public EventTarget {
public:
    explicit Scroller(WindowCL* window) : window_(window) {}

    virtual long Update(WindowEvent* event);  // 2 refit after a size change
    // 3 Guarded dispatch: any code but SB_ENDSCROLL first calls BeforeScroll; an axis the pane lacks answers
    // 0; an unchanged position answers 1; a pane without an attached scroller answers 0; then by code.
    virtual long OnScroll(WindowEvent* event);
    virtual long VertLine(WindowEvent* event);   // 4
    virtual long VertPage(WindowEvent* event);   // 5
    virtual long VertTop(WindowEvent* event);    // 6
    virtual long VertBottom(WindowEvent* event); // 7
    virtual long VertThumb(WindowEvent* event);  // 8
    virtual long VertTrack(WindowEvent* event);  // 9
    virtual long HorzLine(WindowEvent* event);   // 10
    virtual long HorzPage(WindowEvent* event);   // 11
    virtual long HorzLeft(WindowEvent* event);   // 12
    virtual long HorzRight(WindowEvent* event);  // 13
    virtual long HorzThumb(WindowEvent* event);  // 14
    virtual long HorzTrack(WindowEvent* event);  // 15
    virtual long BeforeScroll(WindowEvent* event); // 16 hook before every move
    virtual long OnKeyDown(WindowEvent* event);  // 17 keyboard scrollers only

    WindowCL* Window() const { return window_; }
    bool HasVertBar() const;
    bool HasHorzBar() const;

protected:
    // The dispatch by scroll code, with or without the unchanged-position and attachment tests.
    long Dispatch(WindowEvent* event, bool guarded);
    ScrollBarState* VerticalState() const;
    ScrollBarState* HorizontalState() const;

    WindowCL* window_;
};

// Dispatches every code, moved or not, attached or not.
class PlainScroller : public Scroller {
public:
    explicit PlainScroller(WindowCL* window) : Scroller(window) {}
    long OnScroll(WindowEvent* event) override;
};

// Scrolls with Page Up and Page Down (vertical), Ctrl+Home and Ctrl+End (vertical ends), Ctrl+Page Up and
// Ctrl+Page Down (horizontal), through a WM_KEYDOWN handler on the pane while attached.
class KeyboardScroller : public Scroller {
public:
    // Attaches at once.
    explicit KeyboardScroller(WindowCL* window);
    ~KeyboardScroller() override;

    void Attach();
    void Detach();
    long OnKeyDown(WindowEvent* event) override;

private:
    long KeyHandler(WindowEvent* event) { return OnKeyDown(event); }

    unsigned registered_ = 0;
};
