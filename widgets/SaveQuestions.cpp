#include "widgets/SaveQuestions.h"

#include "widgets/DocChildWindow.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"

#include <string>

int AgreesToClose(WindowCL* window, bool quitting)
{
    if (!window)
        return 0;
    const std::string question =
        std::string("Save changes to \"") + window->Text() + "\" " + (quitting ? "before quitting?" : "before closing?");
    // Windows that are no document child windows agree without asking.
    auto* child = dynamic_cast<DocChildWindow*>(window);
    return child == nullptr || child->QueryClose(question.c_str()) ? 1 : 0;
}

int AskSaveChanges(MDIframeCL* frame, WindowCL* window, bool quitting)
{
    if (!AgreesToClose(window, quitting))
        return 0;
    delete window;
    if (frame && !frame->MDIframeCL::ActiveChild())
        TheShell().RefreshCommands();
    return 1;
}
