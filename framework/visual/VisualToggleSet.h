#pragma once
// Buttons of a row addressed by command id (their window id), and toggle sets: a range of consecutive ids
// of which exactly one button is checked; a click on another member moves the check and the tab stop.

#include "framework/dialog/CommandTarget.h"

class VisualListPane;

class VisualCtrlKit {
public:
    // The first child window object of the window with the id; null when none.
    static WindowCL* FindChildById(WindowCL* window, unsigned id);
    static void SetItemEnabled(WindowCL* window, unsigned id, bool enable);
    static bool IsItemEnabled(WindowCL* window, unsigned id);
    static LRESULT GetCheck(WindowCL* child);
    // Checking a checked button sends nothing (0); otherwise BM_SETCHECK goes straight to the child's
    // window procedure.
    static LRESULT SetCheck(WindowCL* child, int state);
    // Through the first toggle set of the window whose range holds the id: checked selects the id, unchecked
    // the next id of the range (wrapping); 1. Without one, the child's check.
    static LRESULT SetItemChecked(WindowCL* window, unsigned id, bool checked);
};

class VisualToggleSet : public CommandTarget {
public:
    // Checks the first member when none is checked, and listens to the members' commands on the host.
    VisualToggleSet(WindowCL* host, unsigned first, unsigned last);
    // Also registers the set with the pane, which then owns it.
    VisualToggleSet(VisualListPane* host, unsigned first, unsigned last);
    ~VisualToggleSet() override;

    // Unchecks the current member and checks the id; only the checked member is a tab stop.
    void Select(unsigned id);
    // A member's click (notification code 0) selects it and tells the listener; 0, so the command goes on.
    long OnCommand(WindowEvent* event);
    void EnableAll(bool enable);
    template <class T>
    void SetListener(T* target, long (T::*method)(WindowEvent*))
    {
        listener_ = target;
        listenerMethod_ = AsEventHandler(method);
    }

    bool Holds(unsigned id) const { return first_ <= id && id <= last_; }
    unsigned First() const { return first_; }
    unsigned Last() const { return last_; }
    unsigned Current() const { return current_; }

private:
    void Initialise(WindowCL* host, unsigned first, unsigned last);
    void SetTabStop(unsigned id, bool on);

    WindowCL* host_ = nullptr;
    unsigned first_ = 0;
    unsigned last_ = 0;
    unsigned current_ = 0;
    EventTarget* listener_ = nullptr;
    EventHandler listenerMethod_ = nullptr;
};
