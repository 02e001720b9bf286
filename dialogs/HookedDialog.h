#pragma once
// A dialog that hosts pages: each page is a child dialog built from its own template and shown in the page
// rectangle of the dialog, one at a time. Leaving a page validates and stores its controls into the values
// they are bound to, so the values outlive the page; a page that refuses stays. The dialog's command handler
// also serves the commands of its pages, and its keyboard handling reaches the page's controls.

#include "widgets/AppDialog.h"

#include <memory>

class HookedDialog;
class IntegerEdit;

// A page: a child dialog of its template inside the hosting dialog, in the application's dialog font.
class DialogPage : public OkCancelDialog {
public:
    DialogPage(HookedDialog* host, unsigned pageId);
    // Commands of the page's controls go to the hosting dialog.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;

private:
    HookedDialog* host_;
};

class HookedDialog : public AppDialog {
public:
    explicit HookedDialog(unsigned templateId);
    ~HookedDialog() override;

    // Shows the page of the template id: 1 when it is shown now, 0 when it was shown already or the page
    // shown refused to be left.
    int ShowPage(int pageId);
    // Releases and destroys the page shown; no page afterwards.
    void ClosePage();
    DialogPage* Page() const { return page_.get(); }
    int PageId() const { return pageId_; }
    // A push button of the page shown reports its press while Enter is down: Enter acts on O&K from
    // anywhere in the page, its buttons included, so the command is taken as O&K's.
    bool IsEnterOnPageButton(unsigned id, unsigned code) const;
    // O&K pressed, once the message under way is done.
    long PressOk();

protected:
    // The page shown may be left (its fields stored already); 0 keeps it.
    virtual int ValidatePage() { return 1; }
    // Creates and binds the controls of the page just made (PageId() tells which).
    virtual void BuildPage() {}
    // Called before the page window is destroyed.
    virtual void ReleasePage() {}

    // OK stores the page shown too; a page that refuses keeps the dialog open.
    int OkResult() override;
    // OK or Cancel: the page goes before the run ends.
    void EndModal() override;

    // A number field on the page shown, bound to the value and refusing numbers outside low..high.
    IntegerEdit* AddPageIntegerField(unsigned id, int* value, int low, int high);

    // Pages are shown from (left, top) to (right, bottom) in the system's dialog units (not the dialog
    // font's: with the system's 8 x 16 bases against the dialog font's 6 x 13 the pages' templates fit).
    void PlacePages(int left, int top, int right, int bottom);

    // Where pages are shown, in pixels of the dialog's client area.
    RECT pageRect_{};

private:
    std::unique_ptr<DialogPage> page_;
    int pageId_ = -1;
};
