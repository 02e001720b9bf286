#include "framework/dialog/PaintedArea.h"

#include "framework/draw/GdiScopes.h"

PaintedArea* PaintedArea::FromTemplate(WindowCL* parent, unsigned id, Painter paint)
{
    return new PaintedArea(parent, id, std::move(paint));
}

long PaintedArea::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    if (mouse_ && event.message == WM_NCHITTEST) {
        answeredAtOnce = true;
        answer = HTCLIENT;
        return 0;
    }
    if (mouse_ && (event.message == WM_LBUTTONDOWN || event.message == WM_MOUSEMOVE ||
                   event.message == WM_LBUTTONUP)) {
        mouse_(event.message, event.Point());
        answeredAtOnce = true;
        answer = 0;
        return 0;
    }
    if (event.message == WM_PRINTCLIENT) {
        // Drawn into the caller's context, as on the screen.
        const auto dc = reinterpret_cast<HDC>(event.wParam);
        RECT client;
        GetClientRect(handle_, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        paint_(dc, client);
        answeredAtOnce = true;
        answer = 0;
        return 0;
    }
    if (event.message != WM_PAINT)
        return CtrlWindowCL::HandleMessage(event, answeredAtOnce, answer);
    {
        ScopedPaint paint(handle_);
        RECT client;
        GetClientRect(handle_, &client);
        FillRect(paint.Get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        paint_(paint.Get(), client);
    }
    answeredAtOnce = true;
    answer = 0;
    return 0;
}
