#pragma once
// The system "static" control: a dialog label, or with SS_ICON an icon of the program named by the text.

#include "framework/dialog/CtrlWindowCL.h"

class StaticCtrl : public CtrlWindowCL {
public:
    // Create form: made at once; never a tab stop.
    StaticCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    static StaticCtrl* FromTemplate(WindowCL* parent, unsigned id);

    // 1: paints the icon on WM_PAINT; everything else goes to the system control.
    LRESULT DefaultProcessing(WindowEvent* event) override;

private:
    StaticCtrl(WindowCL* parent, unsigned id, BindTag tag) : CtrlWindowCL(parent, id, tag) {}
};
