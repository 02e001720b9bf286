#include "widgets/TextPaneEdit.h"

DWORD TextPaneEdit::StyleFor(bool wrap, bool readOnly)
{
    const DWORD lines = wrap ? WS_BORDER | ES_WANTRETURN | ES_MULTILINE : WS_HSCROLL | ES_AUTOHSCROLL | ES_MULTILINE;
    const DWORD view = readOnly ? WS_VISIBLE | WS_VSCROLL | ES_READONLY | ES_AUTOVSCROLL
                                : WS_VISIBLE | WS_VSCROLL | ES_AUTOVSCROLL;
    return lines | view;
}

TextPaneEdit::TextPaneEdit(WindowCL* parent, unsigned id, bool wrap, bool readOnly)
    : EditCtrl(parent, RECT{0, 0, 0, 0}, StyleFor(wrap, readOnly), "", id)
{
    SetLimit(0);
}

TextPaneEdit::TextPaneEdit(WindowCL* parent, LayoutManager* layout, unsigned id, bool wrap, bool readOnly)
    : EditCtrl(parent, layout, StyleFor(wrap, readOnly), "", id)
{
    SetLimit(0);
}
