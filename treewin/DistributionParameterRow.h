#pragma once
// One parameter row of the Distribution Picker: a label, a bordered field bound to the parameter's text
// (at most 256 characters) and a button that edits the text in a larger editor. The three controls come
// from the dialog's template by their ids and are shown and hidden together.

#include "framework/dialog/EditCtrl.h"

#include <functional>

class DistributionParameterRow : public EventTarget {
public:
    // What the button does with the row's field (the Formula Editor on its current text).
    using EditorOpener = std::function<void(EditCtrl& field)>;

    DistributionParameterRow(WindowCL* dialog, unsigned labelId, unsigned fieldId, unsigned buttonId, zString* text,
                             EditorOpener openEditor);

    // Shows (SW_SHOWNA) or hides all three controls.
    void Show(bool shown);
    void SetLabel(const char* label);
    EditCtrl* Field() const { return field_; }

private:
    long OnButton(WindowEvent* event);

    WindowCL* dialog_;
    unsigned labelId_;
    unsigned buttonId_;
    BorderedEditCtrl* field_;
    EditorOpener openEditor_;
};
