#pragma once
// The Comment dialogs: the read-only form (3537) shows a text in its edit (3536) with "O&K", and what is
// typed there is not kept; the editing form (3535) writes the text back on OK.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

class NamedCommentDialog : public PresentedDialog<NamedCommentDialog> {
public:

    NamedCommentDialog(const zString& text, const char* caption, bool prompts = false)
        : text(text), caption(caption ? caption : ""), prompts(prompts)
    {
    }
    // Without a presenter the dialog runs on the screen.
    void Run();

    const zString& text;
    // The title; empty keeps the template's.
    zString caption;
    // The form that also carries the (hidden) prompts button.
    bool prompts;
};

// The editing Comment dialog (3535) on the text, titled with the caption when one is given; nonzero after OK,
// and only then is the text replaced.
int RunCommentDialog(zString& text, const char* caption);

// Shows the text in the read-only Comment dialog, titled with the caption when one is given; with prompts, in
// its form that carries the prompts button.
void RunNamedCommentDialog(const zString& text, const char* caption, bool prompts = false);
