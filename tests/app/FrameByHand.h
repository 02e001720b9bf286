#pragma once
// The program's frame as a person works it with real keys and clicks: the fixture of the frame tests by hand
// (a frame with its tool bar, new documents of the kind chosen, keys and clicks held on top) and the trees
// they work on.

#include "app/MainFrame.h"
#include "dialogs/NewDocumentDialog.h"
#include "model/MarkovInfo.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"
#include "widgets/MainToolbar.h"
#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Runs the look from a timer once the system's menu or a system dialog of this thread is up (its loop
// dispatches the timer), then ends it: the menu closes, the dialog is cancelled.
inline std::function<bool()>& Look()
{
    static std::function<bool()> look;
    return look;
}

inline void CALLBACK LookWhileUp(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!Look() || !Look()())
        return;
    KillTimer(nullptr, timer);
    Look() = nullptr;
}

class FrameByHand : public ::testing::Test, private HoldsThePointerAway {
protected:
    FrameByHand()
    {
        frame->EndStartup();
        BuildMainToolbar(frame->ToolBar());
        MoveWindow(frame->Handle(), 0, 0, 800, 600, TRUE);
        frame->Show(SW_SHOW);
        previousNew = NewDocumentDialog::SetPresenter([this](NewDocumentDialog& dialog) {
            dialog.Choice = newKind;
            return true;
        });
    }
    ~FrameByHand() override
    {
        NewDocumentDialog::SetPresenter(previousNew);
        DestroyMainToolbar();
        delete frame;
    }
    // Everything queued, through the program's own processing (its keys, the MDI keys, dialog keys).
    static void Settle()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TheApp->ProcessMessage(message);
        }
    }
    // Keys to the frame (or the window given), held on top meanwhile; a look runs while a menu is up.
    void Press(const std::string& keys, HWND window = nullptr, std::function<bool()> look = nullptr)
    {
        ScreenOnTop top(frame->Handle());
        SetForegroundWindow(window != nullptr ? window : frame->Handle());
        Settle();
        Look() = std::move(look);
        const UINT_PTR timer = Look() ? SetTimer(nullptr, 0, 50, LookWhileUp) : 0;
        RealInput::Keys(keys);
        Settle();
        if (timer != 0 && Look()) {
            KillTimer(nullptr, timer);
            ADD_FAILURE() << "nothing came up for " << keys;
        }
        Look() = nullptr;
    }
    void Click(POINT screen)
    {
        ScreenOnTop top(frame->Handle());
        RealInput::Click(screen);
        Settle();
    }
    void Command(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        Settle();
    }
    TreeWindow* NewTree()
    {
        Command(Cmd::NewTree);
        return dynamic_cast<TreeWindow*>(frame->ActiveChild());
    }
    // The Window menu's entries of windows (no "&n "), and the one checked.
    std::vector<std::string> ListedWindows(std::string* checked = nullptr) const
    {
        HMENU menu = frame->WindowMenu()->Handle();
        std::vector<std::string> listed;
        for (UINT id = MainFrame::FirstChildId; id < MainFrame::FirstChildId + 9; ++id) {
            char text[256] = {};
            if (GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND) <= 3)
                continue;
            listed.push_back(text + 3);
            if (checked != nullptr && (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED))
                *checked = text + 3;
        }
        return listed;
    }

    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    MessageBoxRecorder boxes;
    NewDocumentDialog::Kind newKind = NewDocumentDialog::Tree;
    NewDocumentDialog::Presenter previousNew;
};

// An empty point of the tree's canvas on the screen: near its bottom right corner.
inline POINT EmptyCanvas(TreeWindow& tree)
{
    RECT pane{};
    GetClientRect(tree.Pane()->Handle(), &pane);
    return RealInput::OnScreen(tree.Pane()->Handle(), POINT{pane.right - 30, pane.bottom - 30});
}
