#pragma once
// A text field a person typed into, as the computing core sees it: a formula error report selects the
// failing word in it and gives it the focus. The window framework's edit control is one.

#include "foundation/zString.h"

class TextField {
public:
    virtual ~TextField() = default;

    virtual zString FieldText() const = 0;
    virtual void SelectRange(int start, int end) = 0;
    // Gives the field the keyboard focus while its window still exists.
    virtual void TakeFocus() = 0;
};
