#pragma once
// The cursor stack: long operations push the wait cursor and pop it in nested pairs, so that the cursor
// of the enclosing operation comes back. One instance, made at start-up; without it pushes and pops do
// nothing. While a cursor other than the arrow is on top, every mouse move in the application that reaches
// the application's handlers shows it again, over the cursors of the windows themselves.

#include "framework/window/EventTarget.h"

#include <cstdint>

class CursorStack : public EventTarget {
public:
    static constexpr int kCapacity = 19;
    static constexpr uint32_t kArrow = 32512;  // IDC_ARROW
    static constexpr uint32_t kWait = 32514;   // IDC_WAIT

    static void Create();
    static void Destroy();
    static CursorStack* Instance();
    ~CursorStack() override;

    // Pushes a system cursor id and shows it; a push beyond the capacity is ignored.
    void Push(uint32_t id);
    // Drops the top entry (nothing on an empty stack) and shows the new top.
    void Pop();
    // The top cursor id; the arrow when the stack is empty.
    uint32_t Top() const { return count > 0 ? ids[count - 1] : kArrow; }
    int Count() const { return count; }
    // Shows the top cursor; without force nothing happens while it is the arrow. True when set.
    bool Apply(bool force);

private:
    // Joins the application's WM_MOUSEMOVE handlers.
    CursorStack();
    // Shows the top cursor; the move goes on to the window.
    long OnMouseMove(WindowEvent* event);

    uint32_t ids[kCapacity] = {};
    int count = 0;
};

void PushCursor(uint32_t id);
void PushWaitCursor();
void PopCursor();

// Pushes a cursor for its lifetime.
class WaitCursorScope {
public:
    explicit WaitCursorScope(uint32_t id = CursorStack::kWait) { PushCursor(id); }
    ~WaitCursorScope() { PopCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};
