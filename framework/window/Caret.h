#pragma once
// A pane's text cursor. Its record survives focus changes: the system caret is created when the pane gets
// the focus (Show(true)) and destroyed when it loses it (Show(false)).

#include <windows.h>

class Bitmap;
class WindowCL;

class Caret {
public:
    // Shape 0 is a solid caret, 1 a grey one; a bitmap (not owned) replaces the shape.
    Caret(WindowCL* owner, int width, int height, int shape = 0, Bitmap* bitmap = nullptr);

    // On: creates the caret at its position with its blink time (saving the system's) and shows it while
    // the show count is above 0. Off: restores the system's blink time and destroys the caret.
    void Show(bool on);
    void MoveTo(int x, int y);
    // The show count: visible while above 0.
    void Reveal();
    void Conceal();
    void SetBlinkTime(unsigned milliseconds) { blinkTime_ = static_cast<unsigned short>(milliseconds); }

    bool IsActive() const { return active_ != 0; }
    int ShowCount() const { return showCount_; }
    POINT Position() const { return POINT{x_, y_}; }

private:
    WindowCL* owner_;
    Bitmap* bitmap_;
    int shape_;
    int width_;
    int height_;
    int x_ = 0;
    int y_ = 0;
    int showCount_ = 1;
    unsigned short blinkTime_ = 500;
    unsigned short savedBlinkTime_ = 0;
    int active_ = 0;
};
