#pragma once
// The system "static" control: a dialog label, or with SS_ICON an icon of the program named by the text.

#include "framework/dialog/CtrlWindowCL.h"

class StaticCtrl : public CtrlWindowCL {
public:
    // Create form: made at once; never a tab stop. A fill kind or a frame kind (0 black, 1 gray, 2 white; -1
    // none) makes it a filled rectangle or a frame of that colour in place of the style's kind; the frame wins.
    StaticCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id, int fillKind = -1,
               int frameKind = -1);
    static StaticCtrl* FromTemplate(WindowCL* parent, unsigned id);

    // 1: paints the icon on WM_PAINT; everything else goes to the system control.
    LRESULT DefaultProcessing(WindowEvent* event) override;

private:
    StaticCtrl(WindowCL* parent, unsigned id, BindTag tag) : CtrlWindowCL(parent, id, tag) {}
};
