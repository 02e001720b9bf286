// The frame's windows, menus and tool bar as a person works them with real keys and clicks: the Markov
// Analysis window stays reachable, listed and single, and Escape closes it; the Window menu of many windows
// lists and checks the active one, a tool window too; the tool bar follows the selection; a grey item's status
// text; Help's index picks the entry typed, the help window stays over the frame and Close All closes it.

#include "tests/app/FrameByHand.h"

#include "analysis/LineGraphData.h"
#include "app/StartProgram.h"
#include "foundation/FilePath.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "tests/support/ClipboardTestText.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "widgets/HelpWindow.h"
#include "widgets/ZoomPane.h"

#include <algorithm>

namespace {

std::string TitleOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK Collect(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// The visible windows of this thread, top-level or inside them, whose titles end with the text.
std::vector<HWND> WindowsTitled(const std::string& ending)
{
    std::vector<HWND> tops, all, found;
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&tops));
    all = tops;
    for (HWND top : tops)
        EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        const std::string title = TitleOf(window);
        if (IsWindowVisible(window) && title.size() >= ending.size() &&
            title.compare(title.size() - ending.size(), ending.size(), ending) == 0)
            found.push_back(window);
    }
    return found;
}

TEST_F(FrameByHand, MarkovWindowStaysReachableListedOnceAndEscapeClosesIt)
{
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    TreeNode* cohort = AddCohort(tree->Document());
    tree->SelectNode(cohort, 1, nullptr, false);
    Press("shift+F6");
    ASSERT_EQ(WindowsTitled("Markov Analysis").size(), 1u);
    const HWND markov = WindowsTitled("Markov Analysis")[0];
    // A click in the tree leaves it in the frame, above the tree's canvas and in the Window menu.
    Click(EmptyCanvas(*tree));
    EXPECT_TRUE(IsWindowVisible(markov));
    EXPECT_TRUE(IsChild(frame->ClientHandle(), markov));
    std::vector<std::string> listed = ListedWindows();
    EXPECT_NE(std::find(listed.begin(), listed.end(), TitleOf(markov)), listed.end());
    // Asked again, the tree keeps one such window.
    tree->SelectNode(cohort, 1, nullptr, false);
    Press("shift+F6");
    EXPECT_EQ(WindowsTitled("Markov Analysis").size(), 1u);
    ExpectScreenEqualsRepaint(frame->Handle());
    // Escape in it closes it.
    ASSERT_FALSE(WindowsTitled("Markov Analysis").empty());
    const HWND again = WindowsTitled("Markov Analysis")[0];
    RECT place{};
    GetWindowRect(again, &place);
    Click(POINT{place.left + 40, place.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2});
    Press("Escape");
    EXPECT_TRUE(WindowsTitled("Markov Analysis").empty());
    ExpectScreenEqualsRepaint(frame->Handle());
}

TEST_F(FrameByHand, ManyWindowsListAndCheckTheActiveOneAndMoreWindowsPicksIt)
{
    // As every dialog opens: across the active window's client area, inside the frame's.
    const auto ExpectOpenedAsDialogsOpen = [this](HWND dialog) {
        RECT place{};
        GetWindowRect(dialog, &place);
        RECT over{};
        GetClientRect(frame->ActiveChild()->Handle(), &over);
        MapWindowPoints(frame->ActiveChild()->Handle(), nullptr, reinterpret_cast<POINT*>(&over), 2);
        RECT bounds{};
        GetClientRect(frame->Handle(), &bounds);
        MapWindowPoints(frame->Handle(), nullptr, reinterpret_cast<POINT*>(&bounds), 2);
        const LONG width = place.right - place.left;
        const LONG left = std::max(bounds.left, std::min((over.left + over.right - width) / 2, bounds.right - width));
        EXPECT_NEAR(place.left, left, 1);
        EXPECT_GT(place.top, bounds.top);
    };
    std::vector<std::string> listed;
    std::string checked;
    const auto lookAtWindowMenu = [&] {
        checked.clear();
        Press("alt+w", nullptr, [&] {
            if (!IsWindowVisible(FindWindowA("#32768", nullptr)))
                return false;
            listed = ListedWindows(&checked);
            EndMenu();
            return true;
        });
    };
    // The window More Windows... opens on; it is cancelled.
    const auto moreWindows = [&] {
        std::string picked;
        Press("alt+w m", nullptr, [&] {
            HWND dialog = GetActiveWindow();
            char className[16] = {};
            GetClassNameA(dialog, className, sizeof className);
            HWND list =
                std::string(className) == "#32770" ? FindWindowExA(dialog, nullptr, "ListBox", nullptr) : nullptr;
            if (list == nullptr)
                return false;
            char text[256] = {};
            SendMessageA(list, LB_GETTEXT, SendMessageA(list, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
            picked = text;
            ExpectOpenedAsDialogsOpen(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        });
        return picked;
    };
    // Nine windows, the ninth a tool window opened last: it is listed and checked.
    TreeWindow* first = NewTree();
    TreeWindow* tree = first;
    for (int i = 1; i < 8; ++i)
        tree = NewTree();
    TreeDocument& document = tree->Document();
    document.AddChild(document.Root, TerminalNode, "End");
    tree->SelectNode(document.Root, 1, nullptr, false);
    Press("ctrl+m");
    MDIchildCL* commentWindow = frame->ActiveChild();
    const std::string comment = commentWindow->Text();
    ASSERT_NE(comment, tree->Text());
    lookAtWindowMenu();
    EXPECT_EQ(listed.size(), 9u);
    EXPECT_EQ(checked, comment);

    TreeWindow* tenth = NewTree();
    NewTree();
    Press("ctrl+n");
    const std::string active = frame->ActiveChild()->Text();
    lookAtWindowMenu();
    EXPECT_EQ(listed.size(), 9u);
    EXPECT_NE(std::find(listed.begin(), listed.end(), active), listed.end());
    EXPECT_EQ(checked, active);
    // More Windows... opens on the active window.
    EXPECT_EQ(moreWindows(), active);
    // Back to the first tree, maximised, the list is written afresh: its ninth entry reaches the window it
    // names, which opens over the first tree, left maximised.
    Press("alt+w 1");
    ASSERT_EQ(frame->ActiveChild(), first);
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first->Handle()), 0);
    lookAtWindowMenu();
    ASSERT_EQ(listed.size(), 9u);
    EXPECT_EQ(listed.back(), comment);
    Press("alt+w 9");
    EXPECT_EQ(frame->ActiveChild(), commentWindow);
    EXPECT_TRUE(IsZoomed(first->Handle()));
    EXPECT_FALSE(IsZoomed(commentWindow->Handle()));
    // More Windows... over it, cancelled, leaves it active over the maximised tree: the tenth window, made
    // when nine were open, plays no part.
    EXPECT_EQ(moreWindows(), comment);
    EXPECT_EQ(frame->ActiveChild(), commentWindow);
    EXPECT_TRUE(IsZoomed(first->Handle()));
    EXPECT_FALSE(IsZoomed(tenth->Handle()));
    // With it closed, a comment on the first tree, past the ninth window, takes the ninth entry. Back at the
    // first tree the list names the tenth tree there again: its pick maximises it in the first tree's place.
    Press("ctrl+F4");
    ASSERT_EQ(frame->ActiveChild(), first);
    first->Document().AddChild(first->Document().Root, TerminalNode, "End");
    first->SelectNode(first->Document().Root, 1, nullptr, false);
    Press("ctrl+m");
    const std::string secondComment = frame->ActiveChild()->Text();
    ASSERT_NE(frame->ActiveChild(), first);
    lookAtWindowMenu();
    ASSERT_EQ(listed.size(), 9u);
    EXPECT_EQ(listed.back(), secondComment);
    Press("alt+w 1");
    lookAtWindowMenu();
    ASSERT_EQ(listed.size(), 9u);
    EXPECT_EQ(listed.back(), tenth->Text());
    Press("alt+w 9");
    EXPECT_EQ(frame->ActiveChild(), tenth);
    EXPECT_TRUE(IsZoomed(tenth->Handle()));
    EXPECT_FALSE(IsZoomed(first->Handle()));
    ScreenOnTop top(frame->Handle());
    ExpectScreenEqualsRepaint(frame->Handle());
}

TEST_F(FrameByHand, AnalysisButtonsFollowTheSelectionAtOnce)
{
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    tree->SelectNode(tree->Document().Root, 1, nullptr, false);
    Settle();
    // The buttons of commands on the selected node that the root allows.
    std::vector<unsigned> onTheNode;
    for (unsigned id : {Cmd::OptionsChangeNodeType, Cmd::AnalysisProbabilityDistribution, Cmd::AnalysisOneWay,
                        Cmd::AnalysisTwoWay})
        if (VisualCtrlKit::IsItemEnabled(frame->ToolBar(), id))
            onTheNode.push_back(id);
    ASSERT_FALSE(onTheNode.empty());
    Click(EmptyCanvas(*tree));
    EXPECT_EQ(tree->Selection.Count(), 0);
    for (unsigned id : onTheNode)
        EXPECT_FALSE(VisualCtrlKit::IsItemEnabled(frame->ToolBar(), id)) << id;
    ScreenOnTop top(frame->Handle());
    ExpectScreenEqualsRepaint(frame->Handle());
}

TEST_F(FrameByHand, TheDiagramsGreyAlignItemSaysWhatItAligns)
{
    newKind = NewDocumentDialog::InfluenceDiagram;
    Command(Cmd::FileNew);
    ASSERT_NE(frame->ActiveChild(), nullptr);
    std::string said;
    Press("alt+i Down Down Down Down Down Down Down Down Down", nullptr, [&] {
        HMENU bar = GetMenu(frame->Handle());
        if (!(GetMenuState(bar, Cmd::DiagramAlign, MF_BYCOMMAND) & MF_HILITE))
            return false;
        auto* field = dynamic_cast<VisualFieldItem*>(frame->StatusPane()->FindItem(0));
        said = field != nullptr ? field->Text() : "";
        EndMenu();
        return true;
    });
    EXPECT_EQ(said, "Align the selected nodes");
}

// A menu's mnemonic underline lies under its letter. "Hide Status Ba&r" (a text the frame sets) ends on its
// letter and has none below its line: the lowest dark row is the underline, and it starts under that letter.
TEST_F(FrameByHand, AMenuItemsUnderlineLiesUnderItsLetter)
{
    ASSERT_NE(NewTree(), nullptr);
    const HMENU bar = GetMenu(frame->Handle());
    HMENU menu = nullptr;
    int position = -1;
    for (int i = 0; i < GetMenuItemCount(bar) && menu == nullptr; ++i)
        for (int k = 0; GetSubMenu(bar, i) != nullptr && k < GetMenuItemCount(GetSubMenu(bar, i)); ++k)
            if (GetMenuItemID(GetSubMenu(bar, i), k) == Cmd::DisplayHideStatusBar) {
                menu = GetSubMenu(bar, i);
                position = k;
            }
    ASSERT_NE(menu, nullptr);
    int underlineLeft = -1, lastLetter = -1, looks = 0;
    std::vector<uint32_t> before;
    Press("alt+d", nullptr, [&] {
        RECT item{};
        if (!GetMenuItemRect(frame->Handle(), menu, static_cast<UINT>(position), &item))
            return false;
        const ScreenCapture shown = CaptureScreen(item);
        // Looked at once two ticks show the same (the menu drawn whole).
        if (shown.pixels != before && ++looks < 40) {
            before = shown.pixels;
            return false;
        }
        const auto dark = [&](int x, int y) { return shown.Dark(item.left + x, item.top + y); };
        const auto anyDark = [&](int y) {
            for (int x = 0; x < shown.Width(); ++x)
                if (dark(x, y))
                    return true;
            return false;
        };
        int row = shown.Height() - 1;
        while (row >= 0 && !anyDark(row))
            --row;
        for (int x = 0; x < shown.Width() && underlineLeft < 0; ++x)
            if (dark(x, row))
                underlineLeft = x;
        for (int y = 0; y < row; ++y)
            for (int x = 0; x < shown.Width(); ++x)
                if (dark(x, y))
                    lastLetter = std::max(lastLetter, x);
        EndMenu();
        return true;
    });
    ASSERT_GE(underlineLeft, 0);
    EXPECT_LT(underlineLeft, lastLetter);
}

// A tree dragged by its caption partly out of the document area gives the area a horizontal scroll bar, and a
// click on the bar's page to the right brings the tree back to the left.
TEST_F(FrameByHand, DocumentAreaScrollsToAWindowDraggedPartlyOut)
{
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    const HWND client = frame->ClientHandle();
    SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(tree->Handle()), 0);
    Settle();
    RECT area{};
    GetClientRect(client, &area);
    RECT place{};
    GetWindowRect(tree->Handle(), &place);
    const POINT grip{place.left + 60, place.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
    const LONG areaRight = RealInput::OnScreen(client, POINT{area.right, 0}).x;
    {
        ScreenOnTop top(frame->Handle());
        RealInput::Drag(grip, POINT{grip.x + areaRight - 150 - place.left, grip.y});
        Settle();
    }
    GetWindowRect(tree->Handle(), &place);
    ASSERT_GT(place.right, areaRight);
    EXPECT_TRUE(GetWindowLongA(client, GWL_STYLE) & WS_HSCROLL);
    EXPECT_FALSE(GetWindowLongA(client, GWL_STYLE) & WS_VSCROLL);
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(client, SB_HORZ, &info);
    EXPECT_GT(info.nMax - info.nMin + 1, static_cast<int>(info.nPage));
    GetClientRect(client, &area);
    Click(RealInput::OnScreen(client, POINT{area.right - GetSystemMetrics(SM_CXHSCROLL) - 4,
                                            area.bottom + GetSystemMetrics(SM_CYHSCROLL) / 2}));
    RECT scrolled{};
    GetWindowRect(tree->Handle(), &scrolled);
    EXPECT_LT(scrolled.left, place.left);
    EXPECT_LE(scrolled.right, areaRight);
    ScreenOnTop top(frame->Handle());
    ExpectScreenEqualsRepaint(frame->Handle());
}

// Whatever a person does in the frame or in the help window with F1's help window open, the help window stays
// over the frame on the screen; opened over a maximised frame it stays on the screen.
TEST_F(FrameByHand, HelpWindowStaysOverTheFrameWhateverTakesTheFocus)
{
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    TreeDocument& document = tree->Document();
    document.AddChild(document.Root, TerminalNode, "End");
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    zString directory;
    FilePath(path).GetDirectory(directory);
    TheProgram()->SetDirectory(directory);
    // Without holding the frame on top (that would hold the window it owns on top too).
    const auto openHelp = [&] {
        Command(Cmd::HelpSearchForHelpOn);
        EXPECT_TRUE(PumpMessagesUntil([] { return HelpWindow::Open() != nullptr; }));
        return HelpWindow::Open() != nullptr ? HelpWindow::Open()->Handle() : nullptr;
    };
    const struct {
        const char* name;
        std::function<void(HWND help)> act;
    } cases[] = {
        {"a click inside it",
         [&](HWND) {
             RealInput::Click(RealInput::Middle(HelpWindow::Open()->Control(Ctl::HelpWindow::TopicText)));
             Settle();
         }},
        {"the File menu clicked, then Escape",
         [&](HWND) {
             RECT item{};
             GetMenuItemRect(frame->Handle(), GetMenu(frame->Handle()), 0, &item);
             RealInput::KeysLater escape("Escape Escape", 400);
             RealInput::Click(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
             Settle();
         }},
        {"a click on the tree, then Show Variables Window",
         [&](HWND) { Command(Cmd::DisplayShowVariablesWindow); }},
        {"Ctrl+M on a node",
         [&](HWND) {
             Command(static_cast<unsigned>(GetDlgCtrlID(tree->Handle())));
             tree->SelectNode(document.Root, 1, nullptr, false);
             RealInput::Keys("ctrl+m");
             Settle();
         }},
        {"Ctrl+N",
         [&](HWND) {
             RealInput::Keys("ctrl+n");
             Settle();
         }},
        {"Ctrl+F4 on a document that closes without asking",
         [&](HWND) {
             RealInput::Keys("ctrl+F4");
             Settle();
         }},
    };
    for (const auto& step : cases) {
        SCOPED_TRACE(step.name);
        const HWND help = openHelp();
        ASSERT_NE(help, nullptr);
        EXPECT_FALSE(GetWindowLongA(help, GWL_EXSTYLE) & WS_EX_TOPMOST);
        // No other test's window is held over every other meanwhile.
        ProcessLock screen("KIVO-tests-screen-check", LockRank::ScreenCheck);
        // Keys go to the frame once a click on the tree has given it the focus.
        if (step.name != cases[0].name) {
            RealInput::Click(EmptyCanvas(*tree));
            Settle();
        }
        step.act(help);
        EXPECT_TRUE(IsWindowVisible(help));
        ExpectShownUncovered(help);
        DestroyWindow(help);
        Settle();
    }
    // Over a maximised frame, whose edges lie past the screen's, it opens on the screen.
    ShowWindow(frame->Handle(), SW_MAXIMIZE);
    Settle();
    const HWND help = openHelp();
    ASSERT_NE(help, nullptr);
    RECT place{};
    GetWindowRect(help, &place);
    EXPECT_LE(place.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(place.left, 0);
    DestroyWindow(help);
    TheProgram()->SetDirectory("");
}

// A click in the tree beside the help window leaves it over the frame on the screen; Help's index picks the entry
// typed; Close All closes the help window with the tree.
TEST_F(FrameByHand, HelpStaysOverTheFrameIndexPicksTheEntryTypedAndCloseAllClosesIt)
{
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    zString directory;
    FilePath(path).GetDirectory(directory);
    TheProgram()->SetDirectory(directory);
    PostMessageA(frame->Handle(), WM_COMMAND, Cmd::HelpSearchForHelpOn, 0);
    ASSERT_TRUE(PumpMessagesUntil([] { return HelpWindow::Open() != nullptr; }));
    HWND help = HelpWindow::Open()->Handle();
    // Checked before anything holds the help window on top: under Wine a window the frame owns stays on top once
    // held there, and the click would not lower the frame's other windows below it.
    RECT place{};
    GetWindowRect(help, &place);
    RECT pane{};
    GetClientRect(tree->Pane()->Handle(), &pane);
    const POINT onTree = RealInput::OnScreen(tree->Pane()->Handle(), POINT{20, pane.bottom - 20});
    ASSERT_FALSE(PtInRect(&place, onTree));
    RealInput::Click(onTree);
    Settle();
    EXPECT_EQ(GetForegroundWindow(), frame->Handle());
    ExpectShownUncovered(help);
    {
        ScreenOnTop top(help);
        SetForegroundWindow(help);
        Settle();
        RealInput::Type("roll");
        Settle();
        RealInput::Keys("Return");
        Settle();
    }
    ASSERT_NE(HelpWindow::Open(), nullptr);
    HWND list = HelpWindow::Open()->Control(Ctl::HelpWindow::TopicList);
    char line[128] = {};
    SendMessageA(list, LB_GETTEXT, SendMessageA(list, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(line));
    char title[128] = {};
    GetWindowTextA(HelpWindow::Open()->Control(Ctl::HelpWindow::TopicTitle), title, sizeof title);
    EXPECT_EQ(CharLowerA(line), std::string("roll back"));
    EXPECT_STREQ(title, "Roll Back");
    // Ctrl+C copies what is selected in the Find field and in the topic's text, not the tree's selection.
    {
        ClipboardTestLock clipboard;
        ScreenOnTop top(help);
        char text[32768] = {};
        for (unsigned field : {Ctl::HelpWindow::FindEdit, Ctl::HelpWindow::TopicText}) {
            HWND edit = HelpWindow::Open()->Control(field);
            GetWindowTextA(edit, text, sizeof text);
            PutClipboardText(help, "before");
            SetFocus(edit);
            RealInput::Keys("ctrl+a ctrl+c");
            Settle();
            EXPECT_EQ(ClipboardText(), text) << field;
        }
    }
    // The Find field's own edit keys stay in it, also those the frame has a key for (Undo, Redo): the tree's
    // branches are neither undone nor added again.
    tree->SelectNode(tree->Document().Root, 1, nullptr, false);
    Command(Cmd::OptionsAddBranches);
    ASSERT_EQ(tree->Document().Root->childCount, 2);
    const int applied = tree->History().Position();
    {
        ScreenOnTop top(help);
        HWND find = HelpWindow::Open()->Control(Ctl::HelpWindow::FindEdit);
        for (const char* keys : {"End s ctrl+z", "End s ctrl+shift+z"}) {
            SetWindowTextA(find, "roll");
            SetFocus(find);
            RealInput::Keys(keys);
            Settle();
            EXPECT_EQ(TitleOf(find), "roll") << keys;
            EXPECT_EQ(tree->Document().Root->childCount, 2) << keys;
            EXPECT_EQ(tree->History().Position(), applied) << keys;
        }
    }
    // Close All asks to save the branches: not saved.
    boxes.Answer(IDNO);
    {
        ScreenOnTop top(help);
        ExpectScreenEqualsRepaint(help);
    }
    Command(Cmd::WindowCloseAll);
    EXPECT_EQ(HelpWindow::Open(), nullptr);
    EXPECT_EQ(frame->ActiveChild(), nullptr);
    if (HelpWindow::Open() != nullptr)
        DestroyWindow(HelpWindow::Open()->Handle());
    TheProgram()->SetDirectory("");
}

} // namespace
