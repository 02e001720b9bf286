#pragma once
// A run of radio buttons, given by a range of control ids, bound to one int of the caller that holds the
// control id of the checked member. Exactly one member is checked, and only it is a tab stop, so Tab enters
// the group at its checked button. The group object itself stands for the member with the first id.

#include "framework/dialog/ButtonCtrl.h"

class RadioGroup : public RadioButtonCtrl {
public:
    // Adopts the first id's button, registers the click handler over the range and loads the buffer.
    RadioGroup(WindowCL* parent, unsigned firstId, unsigned lastId, int* checkedId, unsigned flags);
    ~RadioGroup() override;

    void SetBackgroundColour(const Colour& colour) override; // 16: every member takes the colour
    long Store() override;                                   // 20
    long Validate() override;                                // 21: a member is checked
    long Load() override;                                    // 22

    // Called after every click on a member.
    template <class T>
    void SetNotification(T* target, long (T::*method)(WindowEvent*))
    {
        notifyTarget_ = target;
        notifyMethod_ = AsEventHandler(method);
    }
    CtrlWindowCL* CheckedMember() const { return checked_; }

private:
    long OnMemberCommand(WindowEvent* event);
    // Unchecks the checked member (or the first id's button) and takes its tab stop.
    void UncheckCurrent();
    // Makes the parent's child with the id the checked member; false when there is none.
    bool CheckMember(unsigned id);

    unsigned firstId_;
    unsigned lastId_;
    CtrlWindowCL* checked_ = nullptr;
    EventTarget* notifyTarget_ = nullptr;
    EventHandler notifyMethod_ = nullptr;
    const HandlerDescriptor* rangeHandler_ = nullptr;
};
