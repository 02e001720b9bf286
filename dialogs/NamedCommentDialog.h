#pragma once
// The read-only Comment dialog (3537): a text shown in its edit (3536) with "O&K"; what is typed there is
// not kept.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

class NamedCommentDialog : public PresentedDialog<NamedCommentDialog> {
public:
    enum : unsigned { TemplateId = 3537, TextId = 3536 };

    NamedCommentDialog(const zString& text, const char* caption) : text(text), caption(caption ? caption : "") {}
    // Without a presenter the dialog runs on the screen.
    void Run();

    const zString& text;
    // The title; empty keeps the template's.
    zString caption;
};

// Shows the text in the read-only Comment dialog, titled with the caption when one is given.
void RunNamedCommentDialog(const zString& text, const char* caption);
