#include "framework/dialog/RadioGroup.h"

RadioGroup::RadioGroup(WindowCL* parent, unsigned firstId, unsigned lastId, int* checkedId, unsigned flags)
    : RadioButtonCtrl(parent, firstId, BindTag{}), firstId_(firstId), lastId_(lastId)
{
    buffer_ = checkedId;
    bufferKind_ = 1;
    flags_ = flags;
    checked_ = this;
    if (parent_) {
        auto handler = std::make_unique<HandlerDescriptor>(firstId, lastId, AsEventHandler(&RadioGroup::OnMemberCommand),
                                                           this, WM_COMMAND);
        rangeHandler_ = handler.get();
        parent_->AddNotificationHandler(std::move(handler));
    }
    Load();
}

RadioGroup::~RadioGroup()
{
    if (parent_)
        parent_->RemoveNotificationHandler(rangeHandler_);
}

void RadioGroup::UncheckCurrent()
{
    CtrlWindowCL* member = checked_;
    if (!member) {
        if (WindowCL* first = parent_ ? parent_->FindChild(firstId_) : nullptr)
            SendMessageA(first->Handle(), BM_SETCHECK, 0, 0);
        return;
    }
    member->Send(BM_SETCHECK, 0);
    if (member->Style() & WS_TABSTOP) {
        member->SetStyle(member->Style() & ~WS_TABSTOP);
        member->ApplyStyle();
    }
}

bool RadioGroup::CheckMember(unsigned id)
{
    checked_ = parent_ ? dynamic_cast<CtrlWindowCL*>(parent_->FindChild(id)) : nullptr;
    if (!checked_)
        return false;
    checked_->Send(BM_SETCHECK, 1);
    if (!(checked_->Style() & WS_TABSTOP)) {
        checked_->SetStyle(checked_->Style() | WS_TABSTOP);
        checked_->ApplyStyle();
    }
    return true;
}

long RadioGroup::OnMemberCommand(WindowEvent* event)
{
    if (HIWORD(event->wParam) != BN_CLICKED)
        return 0;
    UncheckCurrent();
    CheckMember(LOWORD(event->wParam));
    if (notifyTarget_ && notifyMethod_)
        (notifyTarget_->*notifyMethod_)(event);
    // Other handlers of the same command still run.
    return 0;
}

void RadioGroup::SetBackgroundColour(const Colour& colour)
{
    CtrlWindowCL::SetBackgroundColour(colour);
    if (!parent_)
        return;
    for (WindowCL* child : parent_->Children()) {
        if (child != this && child->Id() >= firstId_ && child->Id() <= lastId_)
            child->SetBackgroundColour(colour);
    }
}

long RadioGroup::Store()
{
    if (!buffer_)
        return 1;
    if (!checked_)
        return 0;
    *static_cast<int*>(buffer_) = static_cast<int>(checked_->Id());
    return 1;
}

long RadioGroup::Validate()
{
    return checked_ ? 1 : 0;
}

long RadioGroup::Load()
{
    if (!buffer_)
        return 0;
    const int id = *static_cast<int*>(buffer_);
    if (id < static_cast<int>(firstId_) || id > static_cast<int>(lastId_))
        return 1;
    UncheckCurrent();
    CheckMember(static_cast<unsigned>(id));
    return 1;
}
