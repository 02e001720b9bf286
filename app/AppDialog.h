#pragma once
// The base of the application's dialogs: built from a dialog template of the program's resources with the
// main window as parent, and linked into the chain of open dialogs, which document windows consult before
// they close. Dialogs are destroyed in the reverse order of their construction.

#include "framework/dialog/OkCancelDialog.h"

class AppDialog : public OkCancelDialog {
public:
    explicit AppDialog(unsigned dialogId);
    ~AppDialog() override;

    // The innermost open application dialog; null when none is open.
    static AppDialog* OpenDialogs() { return chainHead_; }
    // Empties the chain (at start-up).
    static void ResetOpenDialogs() { chainHead_ = nullptr; }

private:
    AppDialog* previousOpen_;
    static AppDialog* chainHead_;
};
