#pragma once
// A dialog item of a window class that a resource library supplies: the window is made only when the
// class is the file name of a loaded resource library. A typed control that binds to it becomes its partner
// and lives as long as the window.

#include "framework/dialog/CtrlWindowCL.h"

class GenericCtrl : public CtrlWindowCL {
public:
    GenericCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id,
                const char* className, LPVOID creationParameter);
    ~GenericCtrl() override;

    void Create() override;                                 // 18

    void SetPartner(CtrlWindowCL* partner) { partner_ = partner; }
    CtrlWindowCL* Partner() const { return partner_; }

private:
    CtrlWindowCL* partner_ = nullptr;
    LPVOID creationParameter_;
};
