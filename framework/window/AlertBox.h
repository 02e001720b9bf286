#pragma once
// A plain message box (command-line messages and other boxes of the framework): shown when made, its answer
// kept.

class WindowCL;

class AlertBox {
public:
    // MessageBoxA owned by the window (none when null) with the low 16 bits of the flags.
    AlertBox(WindowCL* owner, const char* text, const char* caption, unsigned flags);

    // The button that closed the box (IDOK, IDYES...), 0 when the box could not be shown.
    int Answer() const { return answer_; }

private:
    int answer_;
};
