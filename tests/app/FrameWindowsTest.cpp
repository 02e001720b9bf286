// Document windows in the main frame as a person opens, switches and closes them through the program's
// commands: the menu bar carries each menu once with Window and Help last, the Window menu names each window
// by its title, a new window's pane fills it, the status bar speaks of the active window only, and the screen
// shows what the windows paint.

#include "analysis/LineGraphData.h"
#include "widgets/DocumentWindow.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "widgets/ZoomPane.h"
#include "CommandIds.h"
#include "analysis/MarkovAnalysis.h"
#include "treewin/MarkovAnalysisWindow.h"
#include "dialogs/NewDocumentDialog.h"
#include "dialogs/TextReportDialog.h"
#include "framework/dialog/Menu.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/dialog/DialogFrameCL.h"
#include "graph/LineGraph.h"
#include "model/TreeNode.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

const Texts FrameMenus{"&File", "&Edit", "&Window", "&Help"};
const Texts GraphMenus{"&File", "&Edit", "&Graph", "&Window", "&Help"};
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
        paths[2] = paths[1] + ".damaged.tre";
        std::ofstream(paths[2], std::ios::binary) << std::string("\x22\x00\x03\x05\x00\x01\x00\x03", 8);
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
    // The texts of the menu's items (the system items of a maximised child have none); from the first child
    // id on, the Window menu's entries of the children without their "&1 ", sorted.
    static Texts MenuTexts(HMENU menu, UINT firstId = 0)
    {
        Texts texts;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[100] = {};
            if (GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) > 0 &&
                (firstId == 0 || (GetMenuItemID(menu, i) >= firstId && GetMenuItemID(menu, i) < firstId + 9)))
                texts.push_back(firstId ? text + 3 : text);
        }
        if (firstId)
            std::sort(texts.begin(), texts.end());
        return texts;
    }
    Texts BarTexts() const { return MenuTexts(GetMenu(frame->Handle())); }
    Texts ChildTitles() const
    {
        std::vector<WindowCL*> windows;
        frame->CollectWindows(windows);
        Texts titles;
        for (WindowCL* window : windows)
            titles.push_back(window->Text());
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    std::string StatusText(int key) const
    {
        auto* field = dynamic_cast<VisualFieldItem*>(frame->StatusPane()->FindItem(key));
        return field ? field->Text() : "?";
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
    std::string paths[3];
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
    auto saveAs = [this] {
        static_cast<DocumentWindow*>(frame->ActiveChild())->SaveAs(paths[1].c_str());
        Settle();
    };
    // Quiet: the status line is empty after the step; the "Opened" line of a file stays until another
    // window is activated.
    const struct {
        const char* step;
        std::function<void()> act;
        bool maximised;
        const Texts& bar;
        bool quiet;
    } steps[] = {
        {"start", [] {}, false, FrameMenus, false},
        {"open with no window", [this] { OpenFileByName(paths[0].c_str()); Settle(); }, true, TreeMenus, false},
        {"new tree", [this] { Post(1101); }, true, TreeMenus, true},
        {"Window menu", [this] { Post(MainFrame::FirstChildId); }, true, TreeMenus, true},
        {"New dialog", [this] { Post(1115); }, true, TreeMenus, true},
        {"save as", saveAs, true, TreeMenus, false},
        {"open another file", [this] { OpenFileByName(paths[0].c_str()); Settle(); }, true, TreeMenus, false},
        {"restore", restoreActive, false, TreeMenus, false},
        {"new tree restored", [this] { Post(1101); }, false, TreeMenus, true},
        {"open a damaged file", [this] { OpenFileByName(paths[2].c_str()); Settle(); }, false, TreeMenus, false},
        {"Window menu restored", [this] { Post(MainFrame::FirstChildId + 1); }, false, TreeMenus, true},
        {"graph", graph, false, GraphMenus, true},
        {"close the graph", [this] { Post(1107); }, false, TreeMenus, true},
        {"close all", [this] { Post(1904); }, false, FrameMenus, true},
        {"show the tree clipboard", [this] { Post(Cmd::EditShowTreeClipboard); }, false, FrameMenus, true},
        {"hide the tree clipboard", [this] { Post(Cmd::EditShowTreeClipboard); }, false, FrameMenus, true},
    };
    // A new graph is unsaved: closing it asks, and No closes it.
    boxes.Answer(IDNO);
    boxes.Answer(IDNO);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        EXPECT_EQ(BarTexts(), step.bar);
        EXPECT_EQ(MenuTexts(frame->WindowMenu()->Handle(), MainFrame::FirstChildId), ChildTitles());
        MDIchildCL* active = frame->ActiveChild();
        EXPECT_EQ(active && IsZoomed(active->Handle()), step.maximised);
        if (step.quiet) {
            EXPECT_EQ(StatusText(0), "");
        }
        // The payoff indicator belongs to the active tree.
        EXPECT_EQ(StatusText(3), dynamic_cast<TreeWindow*>(active) ? "Payoff 1" : "");
        ExpectPaneFillsActiveWindow();
        ExpectScreenEqualsRepaint(frame->Handle());
    }
}

// Runs a step on the innermost modal dialog once it shows, from a thread timer that is gone by then, so that
// the step may wait for the thread to be idle.
class WhenModalShows {
public:
    explicit WhenModalShows(std::function<void(DialogFrameCL&)> step)
    {
        Step() = std::move(step);
        SetTimer(nullptr, 0, 30, &WhenModalShows::Tick);
    }
    ~WhenModalShows() { Step() = nullptr; }

private:
    static std::function<void(DialogFrameCL&)>& Step()
    {
        static std::function<void(DialogFrameCL&)> step;
        return step;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD)
    {
        const auto& stack = DialogFrameCL::ModalStack();
        if (Step() && (stack.empty() || !IsWindowVisible(stack.back()->Handle())))
            return;
        KillTimer(nullptr, timer);
        if (Step())
            Step()(*stack.back());
    }
};

// The window the user worked in is active again when a modal dialog it opened ends, and its look is whole
// while the dialog is open and after.
TEST_F(FrameWindows, AModalDialogGivesTheActivationBackToTheWindowThatOpenedIt)
{
    auto* tree = static_cast<TreeWindow*>(OpenFileByName(paths[0].c_str()));
    Settle();
    tree->SelectNode(tree->Document().Root, 1, nullptr, false);
    RECT dialogPlace{};
    {
        WhenModalShows changeNodeType([&](DialogFrameCL& dialog) {
            GetWindowRect(dialog.Handle(), &dialogPlace);
            ExpectScreenEqualsRepaint(tree->Handle());
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        Post(1405);
    }
    // Over the tree inside the frame, not at the screen's corner.
    RECT client{}, frameClient{};
    GetClientRect(tree->Handle(), &client);
    MapWindowPoints(tree->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetClientRect(frame->Handle(), &frameClient);
    MapWindowPoints(frame->Handle(), nullptr, reinterpret_cast<POINT*>(&frameClient), 2);
    EXPECT_NEAR((dialogPlace.left + dialogPlace.right) / 2, (client.left + client.right) / 2, 8);
    EXPECT_GE(dialogPlace.top, frameClient.top);
    EXPECT_EQ(frame->ActiveChild(), tree);
    EXPECT_TRUE(IsZoomed(tree->Handle()));
    EXPECT_TRUE(IsChild(tree->Handle(), GetFocus()));
    EXPECT_EQ(BarTexts(), TreeMenus);
    ExpectScreenEqualsRepaint(frame->Handle());

    // The report of a Markov analysis, asked for in its results window: OK leaves that window active.
    MarkovTestTree model("_stage >= 2");
    model.WellDead("0.5", "0.5", "2");
    auto analysis = std::make_unique<MarkovAnalysis>(&model.Document(), model.markov, 1);
    ASSERT_TRUE(analysis->Run());
    InstallTextReportDialog();
    MarkovAnalysisWindow* results = MarkovAnalysisWindow::Open(*tree, std::move(analysis));
    const HWND resultsWindow = results->Handle();
    Settle();
    {
        WhenModalShows report([](DialogFrameCL& dialog) {
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        PostMessageA(results->FindChild(Ctl::MarkovAnalysis::TextReport)->Handle(), BM_CLICK, 0, 0);
        Settle();
        PumpMessagesUntil([] { return DialogFrameCL::ModalStack().empty(); });
        Settle();
    }
    EXPECT_EQ(frame->ActiveChild(), results);
    EXPECT_TRUE(IsWindowVisible(resultsWindow));
    SendMessageA(resultsWindow, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// Cascaded windows behind the active one show what they hold wherever an activation or a move uncovers them,
// and nothing of another window.
TEST_F(FrameWindows, WindowsUncoveredByActivationOrAMoveShowWhatTheyHold)
{
    OpenFileByName(paths[0].c_str());
    Settle();
    SendMessageA(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(frame->ActiveChild()->Handle()), 0);
    for (const char* title : {"Cohort", "Survival"}) {
        LineGraphData data;
        data.title = title;
        data.horizontal.top = 2;
        data.vertical.top = 1;
        data.lines.push_back(GraphLineData{"State", {0.0, 0.5, 1.0}});
        ShowLineGraph(data);
        Settle();
    }
    Post(Cmd::WindowCascade);
    ExpectScreenEqualsRepaint(frame->Handle());
    for (unsigned i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        Post(MainFrame::FirstChildId + i);
        ExpectScreenEqualsRepaint(frame->Handle());
        RECT place{};
        HWND active = frame->ActiveChild()->Handle();
        GetWindowRect(active, &place);
        MapWindowPoints(nullptr, frame->ClientHandle(), reinterpret_cast<POINT*>(&place), 2);
        MoveWindow(active, place.left + 60, place.top + 40, place.right - place.left, place.bottom - place.top, TRUE);
        Settle();
        ExpectScreenEqualsRepaint(frame->Handle());
    }
}

// A tool window opens restored over the maximised trees and leaves them maximised, also when the person
// switches to another tree meanwhile.
TEST_F(FrameWindows, AToolWindowLeavesTheDocumentsMaximised)
{
    auto* other = static_cast<TreeWindow*>(OpenFileByName(paths[1].c_str()));
    auto* tree = static_cast<TreeWindow*>(OpenFileByName(paths[0].c_str()));
    Settle();
    ASSERT_TRUE(IsZoomed(tree->Handle()));
    tree->SelectNode(tree->Document().Root, 1, nullptr, false);
    Post(1414);
    MDIchildCL* comment = frame->ActiveChild();
    ASSERT_NE(comment, tree);
    EXPECT_FALSE(IsZoomed(comment->Handle()));
    EXPECT_TRUE(IsZoomed(tree->Handle()));
    EXPECT_TRUE(IsWindowVisible(comment->Handle()));
    ExpectScreenEqualsRepaint(frame->Handle());
    const unsigned otherItem = static_cast<unsigned>(GetDlgCtrlID(other->Handle()));
    Post(otherItem);
    EXPECT_EQ(frame->ActiveChild(), other);
    EXPECT_TRUE(IsZoomed(other->Handle()));
    Post(static_cast<unsigned>(GetDlgCtrlID(comment->Handle())));
    EXPECT_EQ(frame->ActiveChild(), comment);
    EXPECT_TRUE(IsZoomed(other->Handle()));
    PostMessageA(comment->Handle(), WM_CLOSE, 0, 0);
    Settle();
    EXPECT_EQ(frame->ActiveChild(), other);
    EXPECT_TRUE(IsZoomed(other->Handle()));
    ExpectPaneFillsActiveWindow();
    ExpectScreenEqualsRepaint(frame->Handle());
}

// Every place a Markov Analysis window is seen at while it is visible, on the screen.
std::vector<RECT>& MarkovWindowPlaces()
{
    static std::vector<RECT> places;
    return places;
}

LRESULT CALLBACK NoteMarkovWindowPlaces(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && (message->message == WM_WINDOWPOSCHANGED || message->message == WM_SHOWWINDOW ||
                              message->message == WM_NCPAINT || message->message == WM_PAINT)) {
        char title[64] = {};
        GetWindowTextA(message->hwnd, title, sizeof title);
        const std::string suffix = ": Markov Analysis";
        const std::string text = title;
        if (text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            IsWindowVisible(message->hwnd)) {
            RECT place{};
            GetWindowRect(message->hwnd, &place);
            MarkovWindowPlaces().push_back(place);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Markov Analysis on the selected Markov node opens its results window over the tree, and shows it nowhere
// else on the way.
TEST_F(FrameWindows, MarkovAnalysisShowsItsWindowOnlyOverTheTree)
{
    Post(1101);
    auto* tree = dynamic_cast<TreeWindow*>(frame->ActiveChild());
    ASSERT_NE(tree, nullptr);
    TreeDocument& document = tree->Document();
    TreeNode* cohort = AddCohort(document);
    tree->SelectNode(cohort, 1, nullptr, false);

    MarkovWindowPlaces().clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, NoteMarkovWindowPlaces, nullptr, GetCurrentThreadId());
    Post(Cmd::AnalysisMarkovAnalysis);
    UnhookWindowsHookEx(hook);
    ASSERT_NE(dynamic_cast<MarkovAnalysisWindow*>(frame->ActiveChild()), nullptr);
    const HWND results = frame->ActiveChild()->Handle();
    // Within the frame's client area, clear of its title and menus.
    RECT final{}, clientArea{}, inside{};
    GetWindowRect(results, &final);
    GetClientRect(frame->ClientHandle(), &clientArea);
    MapWindowPoints(frame->ClientHandle(), nullptr, reinterpret_cast<POINT*>(&clientArea), 2);
    IntersectRect(&inside, &final, &clientArea);
    EXPECT_TRUE(EqualRect(&inside, &final));
    ASSERT_FALSE(MarkovWindowPlaces().empty());
    for (const RECT& place : MarkovWindowPlaces())
        EXPECT_TRUE(EqualRect(&place, &final)) << place.left << "," << place.top << " " << place.right - place.left
                                               << "x" << place.bottom - place.top;
    ExpectScreenEqualsRepaint(results);
    SendMessageA(results, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

} // namespace
