#pragma once
// The base of the application's dialogs: built from a dialog template of the program's resources with the
// main window as parent, in the application's dialog font, and linked into the chain of open dialogs, which
// document windows consult before they close. While a dialog lives the arrow cursor is on the cursor stack
// and, when it has a Help button (111), its id is the help context. Dialogs are destroyed in the reverse
// order of their construction.
// OK runs OkCancelDialog's protocol: OkPreCheck (0 validate and store, 1 stay open, 2 skip validating and
// storing, 3 end at once), then OkResult, whose 0 keeps the dialog open.

#include "framework/dialog/OkCancelDialog.h"

#include <memory>
#include <vector>

class FormattedEdit;
class HelpContextScope;
class IntegerEdit;
class Menu;
class RealEdit;
class ValidatedEdit;

// The Help button of the application's dialogs.
constexpr unsigned HelpButtonId = 111;

// Sets the application's dialog font on a window and each of its child controls.
void ApplyDialogFont(WindowCL& window);

class AppDialog : public OkCancelDialog {
public:
    explicit AppDialog(unsigned dialogId);
    ~AppDialog() override;

    // The innermost open application dialog; null when none is open.
    static AppDialog* OpenDialogs() { return chainHead_; }
    // Empties the chain (at start-up).
    static void ResetOpenDialogs() { chainHead_ = nullptr; }
    // Replaces the chain head (a dialog of the system that must not count as open) and returns the old one.
    static AppDialog* SwapOpenDialogs(AppDialog* head);

    // Placed in the frame, shown and run modally; the result word (nonzero for OK).
    int RunModal();
    // Where every dialog opens (PlaceDialogInFrame): over the active document window, or the frame.
    void PlaceInFrame();
    // The modal run, then the windows behind the dialog are repainted before the caller goes on.
    void DoModal();
    // A client area of width x height dialog units; a value of 0 or less keeps that dimension.
    void ResizeInDialogUnits(int width, int height);

    // The pop-up menu of one of the dialog's menu buttons: its picked items insert their text in the
    // tracked control.
    void AddMenuButton(Menu* buttonMenu);
    // Follows the focus of an edit control; the first one tracked, then the one focused last, receives
    // picked menu texts.
    void TrackFocus(WindowCL* control);
    WindowCL* TrackedControl() const { return tracked_; }

    // Number fields on the template's edit controls: they show the variable (0 for null) at once, are
    // checked on OK and store into the variable. Range fields take low..high inclusive; the bound form
    // takes a range kind of RangeValidator with its bound.
    RealEdit* AddRealField(unsigned id, double* variable, double low, double high);
    RealEdit* AddRealFieldUnbounded(unsigned id, double* variable);
    ValidatedEdit* AddValidatedEdit(unsigned id, double* variable);
    IntegerEdit* AddIntegerField(unsigned id, int* variable, int low, int high);
    IntegerEdit* AddIntegerFieldBound(unsigned id, int* variable, int mode, int bound);

    // A menu command: the text of the first menu button's item with that id goes into the tracked control;
    // 1 when it was inserted (the command is taken).
    virtual int OnMenuItemPicked(unsigned commandId); // 24
    virtual void InsertPickedText(const char* text, unsigned commandId); // 25

private:
    long OnCommandHook(WindowEvent* event);
    long OnTrackedFocus(WindowEvent* event);
    void PushHelpContext(unsigned dialogId);

    AppDialog* previousOpen_;
    std::unique_ptr<HelpContextScope> helpContext_;
    std::unique_ptr<std::vector<Menu*>> menuButtons_;
    WindowCL* tracked_ = nullptr;
    static AppDialog* chainHead_;
};
