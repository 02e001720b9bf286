#include "framework/window/Caret.h"

#include "framework/draw/Bitmap.h"
#include "framework/window/WindowCL.h"

Caret::Caret(WindowCL* owner, int width, int height, int shape, Bitmap* bitmap)
    : owner_(owner), bitmap_(bitmap), shape_(shape), width_(width), height_(height)
{
}

void Caret::Show(bool on)
{
    HWND window = owner_ ? owner_->Handle() : nullptr;
    if (!on) {
        active_ = 0;
        SetCaretBlinkTime(savedBlinkTime_);
        DestroyCaret();
        return;
    }
    HBITMAP shape = bitmap_ ? bitmap_->Handle() : reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(shape_));
    CreateCaret(window, shape, width_, height_);
    SetCaretPos(x_, y_);
    savedBlinkTime_ = static_cast<unsigned short>(GetCaretBlinkTime());
    SetCaretBlinkTime(blinkTime_);
    if (showCount_ > 0)
        ShowCaret(window);
    active_ = 1;
}

void Caret::MoveTo(int x, int y)
{
    x_ = x;
    y_ = y;
    if (active_)
        SetCaretPos(x, y);
}

void Caret::Reveal()
{
    if (++showCount_ == 1 && active_)
        ShowCaret(owner_ ? owner_->Handle() : nullptr);
}

void Caret::Conceal()
{
    if (showCount_-- == 1 && active_)
        HideCaret(owner_ ? owner_->Handle() : nullptr);
}
