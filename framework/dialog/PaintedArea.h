#pragma once
// A dialog template's control whose face its owner draws: white, then the owner's drawing over the whole
// client area, on every WM_PAINT (and into the given context for WM_PRINTCLIENT).

#include "framework/dialog/CtrlWindowCL.h"

#include <functional>

class PaintedArea : public CtrlWindowCL {
public:
    using Painter = std::function<void(HDC dc, const RECT& client)>;
    // Mouse button and move messages with the client point; with one the area answers the mouse itself
    // instead of letting it through to the dialog as a static does.
    using MouseHandler = std::function<void(UINT message, POINT point)>;

    // Bind form: adopts the parent's control with this id; the parent deletes it with its other children.
    static PaintedArea* FromTemplate(WindowCL* parent, unsigned id, Painter paint);

    void OnMouse(MouseHandler handler) { mouse_ = std::move(handler); }

protected:
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    PaintedArea(WindowCL* parent, unsigned id, Painter paint)
        : CtrlWindowCL(parent, id, BindTag{}), paint_(std::move(paint))
    {
    }

    Painter paint_;
    MouseHandler mouse_;
};
