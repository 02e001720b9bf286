// Document windows in the main frame as a person opens, switches and closes them through the program's
// commands: the menu bar carries each menu once with Window and Help last, a new window's pane fills it, and
// the screen shows what the windows paint.

#include "analysis/LineGraphData.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "app/ZoomPane.h"
#include "dialogs/NewDocumentDialog.h"
#include "graph/LineGraph.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

const Texts FrameMenus{"&File", "&Edit", "&Window", "&Help"};
const Texts TreeMenus{"&File", "&Edit", "&Display", "&Options", "&Values", "&Analysis", "&Window", "&Help"};

class FrameWindows : public ::testing::Test {
protected:
    FrameWindows()
    {
        frame = new MainFrame;
        frame->EndStartup();
        MoveWindow(frame->Handle(), 0, 0, 800, 600, TRUE);
        frame->Show(SW_SHOWNOACTIVATE);
        const char* temp = std::getenv("TEMP");
        for (int i = 0; i < 2; ++i) {
            paths[i] = std::string(temp ? temp : ".") + "\\kivo_frame_windows" + std::to_string(i) + ".tre";
            TreeWindow saved;
            saved.Document().AddChild(saved.Document().Root, TerminalNode, "Only");
            zString message;
            EXPECT_TRUE(saved.SaveAs(paths[i].c_str(), message)) << message.Text();
        }
        previousGraphs = SetLineGraphPresenter(nullptr);
        InstallLineGraphWindows();
        previousNew = NewDocumentDialog::SetPresenter([](NewDocumentDialog& dialog) {
            dialog.Choice = NewDocumentDialog::Tree;
            return true;
        });
    }
    ~FrameWindows() override
    {
        NewDocumentDialog::SetPresenter(previousNew);
        SetLineGraphPresenter(previousGraphs);
        delete frame;
        for (const std::string& path : paths)
            std::remove(path.c_str());
    }
    // The command as a menu or key sends it, taken by the frame with what it posts in turn.
    void Post(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        Settle();
    }
    void Settle()
    {
        MSG pending;
        PumpMessagesUntil([&] { return !PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE); });
    }
    Texts BarTexts() const
    {
        Texts texts;
        HMENU bar = GetMenu(frame->Handle());
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            char text[100] = {};
            // The system menu and buttons of a maximised child carry no text.
            if (GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) > 0)
                texts.push_back(text);
        }
        return texts;
    }
    // The active window's pane covers its client area.
    void ExpectPaneFillsActiveWindow() const
    {
        auto* window = dynamic_cast<DocChildWindow*>(frame->ActiveChild());
        if (!window || !window->Pane())
            return;
        RECT client{}, pane{};
        GetClientRect(window->Handle(), &client);
        MapWindowPoints(window->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        GetWindowRect(window->Pane()->Handle(), &pane);
        EXPECT_TRUE(EqualRect(&client, &pane)) << window->Text();
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    std::string paths[2];
    LineGraphPresenter previousGraphs;
    NewDocumentDialog::Presenter previousNew;
};

TEST_F(FrameWindows, MenuBarHoldsTheActiveWindowsMenusOnceBeforeWindowAndHelp)
{
    auto restoreActive = [this] {
        SendMessageA(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(frame->ActiveChild()->Handle()),
                     0);
        Settle();
    };
    auto graph = [this] {
        LineGraphData data;
        data.title = "Cohort";
        data.horizontal.bottom = 0;
        data.horizontal.top = 2;
        data.vertical.top = 1;
        data.lines.push_back(GraphLineData{"State", {0.0, 0.5, 1.0}});
        ShowLineGraph(data);
        Settle();
    };
    const struct {
        const char* step;
        std::function<void()> act;
        bool maximised;
        const Texts& bar;
    } steps[] = {
        {"start", [] {}, false, FrameMenus},
        {"open with no window", [this] { OpenFileByName(paths[0].c_str()); Settle(); }, true, TreeMenus},
        {"new tree", [this] { Post(1101); }, true, TreeMenus},
        {"Window menu", [this] { Post(MainFrame::FirstChildId); }, true, TreeMenus},
        {"New dialog", [this] { Post(1115); }, true, TreeMenus},
        {"open another file", [this] { OpenFileByName(paths[1].c_str()); Settle(); }, true, TreeMenus},
        {"restore", restoreActive, false, TreeMenus},
        {"new tree restored", [this] { Post(1101); }, false, TreeMenus},
        {"Window menu restored", [this] { Post(MainFrame::FirstChildId + 1); }, false, TreeMenus},
        {"graph", graph, false, FrameMenus},
        {"close the graph", [this] { Post(1107); }, false, TreeMenus},
        {"close all", [this] { Post(1904); }, false, FrameMenus},
    };
    boxes.Answer(IDNO);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        EXPECT_EQ(BarTexts(), step.bar);
        MDIchildCL* active = frame->ActiveChild();
        EXPECT_EQ(active && IsZoomed(active->Handle()), step.maximised);
        ExpectPaneFillsActiveWindow();
        ExpectScreenEqualsRepaint(frame->Handle());
    }
}

} // namespace
