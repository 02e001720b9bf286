#include "framework/dialog/ButtonCtrl.h"

ButtonCtrl::ButtonCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, rect, style, text, id)
{
    className_ = "button";
    kind_ = KindButton;
    style_ |= WS_CHILD | WS_VISIBLE;
    TakeParentColours();
}

ButtonCtrl::ButtonCtrl(WindowCL* parent, unsigned id, BindTag tag) : CtrlWindowCL(parent, id, tag) {}

long ButtonCtrl::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    if (event.message != BM_SETSTYLE)
        return CtrlWindowCL::HandleMessage(event, answeredAtOnce, answer);
    const std::shared_ptr<const bool> alive = LifeToken();
    const LRESULT result = DefaultProcessing(&event);
    if (*alive && parent_)
        parent_->OnChildFocusChange();
    return AnswerNow{answeredAtOnce, answer}(result);
}

ButtonCtrl* ButtonCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new ButtonCtrl(parent, id, BindTag{});
}

void ButtonCtrl::TakeParentColours()
{
    if (parent_ && LOBYTE(LOWORD(GetVersion())) >= 4)
        SetBackgroundColour(SplitColour(parent_->BackgroundColour()));
}

StyledButtonCtrl::StyledButtonCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : ButtonCtrl(parent, rect, style, text, id)
{
    Create();
}

DefPushButtonCtrl::DefPushButtonCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text,
                                     unsigned id)
    : ButtonCtrl(parent, rect, style | BS_DEFPUSHBUTTON, text, id)
{
    Create();
}

DefPushButtonCtrl* DefPushButtonCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new DefPushButtonCtrl(parent, id, BindTag{});
}

CheckBoxCtrl::CheckBoxCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : ButtonCtrl(parent, rect, style | BS_AUTOCHECKBOX, text, id)
{
    Create();
}

CheckBoxCtrl::CheckBoxCtrl(WindowCL* parent, unsigned id, int* state) : ButtonCtrl(parent, id, BindTag{})
{
    buffer_ = state;
    bufferKind_ = 1;
    Load();
}

CheckBoxCtrl* CheckBoxCtrl::FromTemplate(WindowCL* parent, unsigned id, int* state)
{
    return new CheckBoxCtrl(parent, id, state);
}

long CheckBoxCtrl::Store()
{
    if (buffer_ && bufferKind_ == 1)
        *static_cast<int*>(buffer_) = GetCheck();
    return 1;
}

long CheckBoxCtrl::Load()
{
    if (!buffer_)
        return 0;
    if (bufferKind_ == 1)
        SetCheck(*static_cast<int*>(buffer_));
    return 1;
}

RadioButtonCtrl* RadioButtonCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new RadioButtonCtrl(parent, id, BindTag{});
}
