// Test entry: no test may ever wait for a person, so a message box shown without a MessageBoxRecorder fails
// the running test and is answered with its negative button.

#include "app/AppHost.h"
#include "app/MessageBoxes.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

int FailOnUnexpectedBox(const MessageBoxRequest& request)
{
    ADD_FAILURE() << "Unexpected message box \"" << request.caption << "\": " << request.text;
    switch (request.style & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // A crashing test must end its process, not wait in a system error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Tests see the core through the program's host, as the program does.
    static AppHost host;
    SetHost(&host);
    SetMessageBoxPresenter(FailOnUnexpectedBox);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
