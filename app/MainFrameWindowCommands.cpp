// The main frame's Window commands: close all, arrange, the bars shown, keyboard navigation.

#include "app/BarLayoutRule.h"
#include "widgets/DocChildWindow.h"
#include "app/MainFrame.h"
#include "widgets/OnlineHelp.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/SaveQuestions.h"
#include "foundation/PreferencesStore.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/MDIchildCL.h"

#include "CommandIds.h"

#include <vector>

long MainFrame::CloseAll()
{
    // The active window is asked first, then the next active one; while the client names no active window
    // (between a close and the next activation) the last window opened is asked, so that none is skipped.
    for (;;) {
        WindowCL* window = MDIframeCL::ActiveChild();
        if (!window) {
            std::vector<WindowCL*> windows;
            CollectWindows(windows);
            if (windows.empty())
                break;
            window = windows.back();
        }
        if (!AskSaveChanges(this, window, false))
            return 1;
    }
    // Every window closed: the help window beside them goes too.
    QuitHelp();
    return 1;
}

long MainFrame::CloseAllExceptTrees()
{
    std::vector<WindowCL*> windows;
    CollectWindows(windows);
    for (WindowCL* window : windows) {
        auto* child = dynamic_cast<DocChildWindow*>(window);
        if (child && child->IsTree())
            continue;
        if (!AskSaveChanges(this, window, false))
            break;
    }
    return 1;
}

long MainFrame::RelayoutWindows()
{
    std::vector<WindowCL*> windows;
    CollectWindows(windows);
    for (WindowCL* window : windows) {
        if (window->Layout())
            window->Layout()->Arrange(nullptr);
    }
    return 1;
}

long MainFrame::ToggleToolBar()
{
    return ToggleBar(toolBarRule_);
}

long MainFrame::ToggleStatusBar()
{
    return ToggleBar(statusBarRule_);
}

long MainFrame::ToggleBar(BarLayoutRule* rule)
{
    rule->Visible = rule->Visible ? 0 : 1;
    Relayout();
    PostMessageA(handle_, WM_COMMAND, Cmd::RelayoutWindows, 0);
    return 1;
}

long MainFrame::ToggleNavigating()
{
    bool& navigating = ThePreferences().navigating;
    navigating = !navigating;
    WriteProfileInt("General", "Navigating", navigating ? 1 : 0);
    RefreshCommands();
    if (MDIchildCL* child = MDIframeCL::ActiveChild())
        SetFocus(child->Handle());
    return 1;
}

long MainFrame::CascadeWindows()
{
    MDIframeCL::Cascade();
    return 1;
}

long MainFrame::TileWindows()
{
    MDIframeCL::Tile();
    return 1;
}

long MainFrame::ArrangeWindowIcons()
{
    MDIframeCL::ArrangeIcons();
    return 1;
}
