#include "widgets/OnlineHelp.h"

#include "widgets/HelpWindow.h"
#include "widgets/Shell.h"
#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"

#include <string>

namespace {

HelpViewer& Viewer()
{
    static HelpViewer viewer = HelpWindow::View;
    return viewer;
}

HHOOK helpHook = nullptr;

HWND MainFrameWindow()
{
    return TheApp && TheApp->MainWindow() ? TheApp->MainWindow()->Handle() : nullptr;
}

// F1 was pressed inside a dialog or menu. The release of an F1 pressed outside one (the F1 whose help box is
// that dialog) is not a press for the dialog: taken as one, it put a second box behind the frame, which then
// took no key again.
bool helpKeyDown = false;

// A key for the help window while the loop of a box (or of another dialog) runs: the loop's own dialog
// keys are for the box alone, so the help window's Tab, Enter and Escape would do nothing.
bool TakenByHelpWindow(int code, const MSG* message)
{
    static bool taking = false;
    HelpWindow* help = HelpWindow::Open();
    if (code != MSGF_DIALOGBOX || taking || !message || !help || message->message < WM_KEYFIRST ||
        message->message > WM_KEYLAST)
        return false;
    const HWND window = help->Handle();
    if (message->hwnd != window && !IsChild(window, message->hwnd))
        return false;
    taking = true;
    const bool taken = IsDialogMessageA(window, const_cast<MSG*>(message)) != FALSE;
    taking = false;
    return taken;
}

LRESULT CALLBACK HelpKeyFilter(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (TakenByHelpWindow(code, message))
        return 1;
    if ((code == MSGF_DIALOGBOX || code == MSGF_MENU) && message && message->wParam == VK_F1) {
        if (message->message == WM_KEYDOWN) {
            helpKeyDown = true;
        } else if (message->message == WM_KEYUP && helpKeyDown) {
            helpKeyDown = false;
            if (HWND frame = MainFrameWindow())
                PostMessageA(frame, WM_COMMAND, Cmd::HelpOnContext, 0);
        }
    }
    return CallNextHookEx(helpHook, code, wParam, lParam);
}

} // namespace

HelpViewer SetHelpViewer(HelpViewer viewer)
{
    HelpViewer previous = Viewer();
    Viewer() = viewer ? std::move(viewer) : HelpViewer(HelpWindow::View);
    return previous;
}

const char* HelpDirectory()
{
    static zString directory;
    directory = TheShell().Directory();
    AppendDirectory(directory, "Help");
    return directory.Text();
}

void ShowHelpFile(const char* fileName, UINT command, ULONG_PTR value, HWND window)
{
    if (!window)
        window = MainFrameWindow();
    const FilePath path(HelpDirectory(), fileName);
    if (path.Exists())
        Viewer()(window, path.FullPath().Text(), command, value);
    else
        // The path on a line of its own, so that the box does not break it.
        ShowInfoBox(nullptr, ("The help file is not available. It belongs in the folder Help beside the program:\n" +
                              std::string(path.FullPath().Text())).c_str(), 0);
}

void ShowHelp(UINT command, ULONG_PTR value)
{
    ShowHelpFile(HelpFileName, command, value, nullptr);
}

void ShowHelpForContext()
{
    if (CurrentHelpContext() > 0)
        ShowHelp(HELP_CONTEXT, static_cast<ULONG_PTR>(CurrentHelpContext()));
    else
        ShowHelpContents();
}

void ShowHelpContents()
{
    ShowHelp(HELP_CONTENTS, 0);
}

void ShowHelpIndex()
{
    static const char empty[] = "";
    ShowHelp(HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(empty));
}

void QuitHelp()
{
    Viewer()(MainFrameWindow(), HelpFileName, HELP_QUIT, 0);
}

void InstallHelpHook()
{
    if (!helpHook)
        helpHook = SetWindowsHookExA(WH_MSGFILTER, HelpKeyFilter, TheApp ? TheApp->Instance() : nullptr,
                                     GetCurrentThreadId());
}

void RemoveHelpHook()
{
    QuitHelp();
    if (helpHook)
        UnhookWindowsHookEx(helpHook);
    helpHook = nullptr;
}
