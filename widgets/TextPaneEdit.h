#pragma once
// The multi-line edit control of text panes, without a text limit.

#include "framework/dialog/EditCtrl.h"

class TextPaneEdit : public EditCtrl {
public:
    // With wrap, lines break at the border and Enter inserts a line break; without, the text scrolls
    // sideways. Read only keeps the user from changing the text.
    TextPaneEdit(WindowCL* parent, unsigned id, bool wrap, bool readOnly);
    // The same placed by a layout rule of the caller's.
    TextPaneEdit(WindowCL* parent, LayoutManager* layout, unsigned id, bool wrap, bool readOnly);

    static DWORD StyleFor(bool wrap, bool readOnly);
};
