// Mouse presses, moves and releases sent to the pane of a shown tree select nodes and draw rubber bands.

#include "treewin/TreePane.h"

#include "widgets/InPlaceEdit.h"
#include "widgets/UndoHistory.h"
#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDIframeCL.h"
#include "model/CloneCopies.h"
#include "model/NodeLinkBlock.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "framework/window/Clipboard.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/PressClock.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/EditShowsWhole.h"
#include "treewin/NodeMeasure.h"
#include "treewin/NoteBoxClipboard.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// The commands a window's handlers see.
struct CommandRecorder : EventTarget {
    long Record(WindowEvent* event)
    {
        commands.push_back(LOWORD(event->wParam));
        return 1;
    }
    std::vector<unsigned> commands;
};

struct ShownTree {
    ShownTree()
    {
        frame.Show(SW_SHOW);
        TreeDocument& document = window.Document();
        chance = document.AddChild(document.Root, ChanceNode, "Chance");
        decision = document.AddChild(document.Root, DecisionNode, "Decision");
        first = document.AddChild(chance, TerminalNode, "First", "0.5");
        second = document.AddChild(chance, TerminalNode, "Second", "#");
        window.Redraw();
        pane = static_cast<TreePane*>(window.Pane());
        window.Show(SW_MAXIMIZE);
        PumpMessagesFor(50);
    }
    // Whatever the test did, the screen shows what a repaint draws.
    ~ShownTree() { ExpectScreenEqualsRepaint(frame.Handle()); }
    // The client point of the middle of the node's symbol (and, with dx/dy, beside it).
    POINT At(const TreeNode* node, int dx = 0, int dy = 0) { return Middle(SymbolRect(node), dx, dy); }
    POINT Middle(const LogicalRect& rect, int dx = 0, int dy = 0)
    {
        pane->PushDrawingScale();
        const RECT drawing = LogicalRectToPixels(rect, *pane->CurrentDisplay());
        pane->PopDrawingScale();
        const RECT client = pane->DrawingToClient(drawing);
        return POINT{(client.left + client.right) / 2 + dx, (client.top + client.bottom) / 2 + dy};
    }
    // The client point of a logical point.
    POINT Client(float x, float y) { return Middle(LogicalRect{x, y, x, y}); }
    void Click(POINT point, WPARAM keys = 0)
    {
        Send(WM_LBUTTONDOWN, keys | MK_LBUTTON, point);
        Send(WM_LBUTTONUP, keys, point);
    }
    void Command(int id) { SendMessageA(window.Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void Send(UINT message, WPARAM keys, POINT point)
    {
        SendMessageA(pane->Handle(), message, keys, MAKELPARAM(point.x, point.y));
    }
    void Drag(POINT from, POINT to, WPARAM keys)
    {
        Send(WM_LBUTTONDOWN, keys | MK_LBUTTON, from);
        Send(WM_MOUSEMOVE, keys | MK_LBUTTON, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
        Send(WM_MOUSEMOVE, keys | MK_LBUTTON, to);
        Send(WM_LBUTTONUP, keys, to);
    }
    std::set<TreeNode*> Selected()
    {
        std::set<TreeNode*> nodes;
        const NodeChildList& selection = window.Selection;
        for (int i = 0; i < selection.Count(); ++i)
            nodes.insert(selection.At(i));
        return nodes;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    TreeWindow window;
    TreeNode *chance, *decision, *first, *second;
    TreePane* pane;
};

TEST(TreePane, PressOnASymbolSelectsItsNodeText)
{
    ShownTree t;
    t.Send(WM_LBUTTONDOWN, MK_LBUTTON, t.At(t.decision));
    t.Send(WM_LBUTTONUP, 0, t.At(t.decision));
    EXPECT_EQ(t.Selected(), std::set<TreeNode*>{t.decision});
    EXPECT_EQ(t.window.EditField, 1);
    // With Ctrl the whole subtree shows selected, until the selection changes.
    t.Click(t.At(t.chance), MK_CONTROL);
    EXPECT_EQ(t.Selected(), std::set<TreeNode*>{t.chance});
    EXPECT_TRUE(t.window.IsSelectedOrUnderSelection(t.second));
    // A press on empty space without a drag leaves nothing selected.
    const POINT empty = t.At(t.second, 0, 60);
    t.Send(WM_LBUTTONDOWN, MK_LBUTTON, empty);
    t.Send(WM_LBUTTONUP, 0, empty);
    EXPECT_TRUE(t.Selected().empty());
    EXPECT_FALSE(t.window.IsSelectedOrUnderSelection(t.second));
}

TEST(TreePane, RubberBandSelectsTheNodesInItAndShiftInverts)
{
    ShownTree t;
    // From the empty right of the first leaf to left of the second's symbol: exactly the two leaves.
    const POINT from = t.At(t.first, 30, -8);
    const POINT to = t.At(t.second, -3, 8);
    t.Drag(from, to, 0);
    EXPECT_EQ(t.Selected(), (std::set<TreeNode*>{t.first, t.second}));
    // With Shift the band inverts what it passes over: the chance node joins, the first leaf leaves.
    t.Drag(t.At(t.first, 30, -8), t.At(t.chance, -3, 3), MK_SHIFT);
    EXPECT_EQ(t.Selected(), (std::set<TreeNode*>{t.chance, t.second}));
    // A move without the button abandons the band.
    t.Send(WM_LBUTTONDOWN, MK_LBUTTON, from);
    t.Send(WM_MOUSEMOVE, 0, to);
    t.Send(WM_LBUTTONUP, 0, to);
    EXPECT_TRUE(t.Selected().empty());
}

// While the band runs, each node it passes shows highlighted at once, as the selection it makes shows it after
// the release, and plain again once the band leaves it.
TEST(TreePane, TheBandHighlightsTheNodesItPassesWhileItRuns)
{
    ShownTree t;
    ScreenOnTop onTop(t.frame.Handle());
    const auto screen = [&](POINT client) { return RealInput::OnScreen(t.pane->Handle(), client); };
    // The symbol with a pixel around it; the band's outline keeps 6 pixels or more away.
    const auto symbol = [&](const TreeNode* node) {
        const LogicalRect s = SymbolRect(node);
        const POINT topLeft = screen(t.Client(s.left, s.top));
        const POINT bottomRight = screen(t.Client(s.right, s.bottom));
        return CaptureScreen(RECT{topLeft.x - 1, topLeft.y - 1, bottomRight.x + 2, bottomRight.y + 2}).pixels;
    };
    const auto plainFirst = symbol(t.first);
    const auto plainSecond = symbol(t.second);
    RealInput::Press(screen(t.At(t.first, 30, -12)));
    RealInput::Move(screen(t.At(t.second, -12, 12)));
    EXPECT_TRUE(PumpMessagesUntil([&] { return symbol(t.first) != plainFirst && symbol(t.second) != plainSecond; },
                                  3000));
    const auto bandFirst = symbol(t.first);
    const auto bandSecond = symbol(t.second);
    RealInput::Move(screen(t.At(t.first, -12, 12)));
    EXPECT_TRUE(PumpMessagesUntil([&] { return symbol(t.second) == plainSecond; }, 3000));
    EXPECT_EQ(symbol(t.first), bandFirst);
    RealInput::Move(screen(t.At(t.second, -12, 12)));
    EXPECT_TRUE(PumpMessagesUntil([&] { return symbol(t.second) == bandSecond; }, 3000));
    RealInput::Release();
    ASSERT_TRUE(PumpMessagesUntil([&] { return t.Selected() == std::set<TreeNode*>{t.first, t.second}; }));
    ExpectScreenEqualsRepaint(t.frame.Handle());
    EXPECT_EQ(symbol(t.first), bandFirst);
    EXPECT_EQ(symbol(t.second), bandSecond);
}

TEST(TreePane, TypingInPlaceIsOneUndoStep)
{
    ShownTree t;
    t.Click(t.At(t.decision));
    ASSERT_NE(t.window.InPlaceEditor, nullptr);
    EXPECT_STREQ(t.window.InPlaceEditor->GetText().Text(), "Decision");
    PumpMessagesFor(20);
    t.window.InPlaceEditor->SetSelection(0, -1);
    t.window.InPlaceEditor->TypeText(zString("Yes"));
    // A click on empty space commits and closes the edit.
    t.Click(t.At(t.second, 0, 60));
    EXPECT_EQ(t.window.InPlaceEditor, nullptr);
    EXPECT_STREQ(t.decision->text.Text(), "Yes");
    const UndoHistory& history = t.window.History();
    ASSERT_EQ(history.Count(), 1);
    EXPECT_STREQ(history.Current()->name.Text(), "Typing");
    t.window.Undo();
    EXPECT_STREQ(t.decision->text.Text(), "Decision");
    t.window.Redo();
    EXPECT_STREQ(t.decision->text.Text(), "Yes");
    // Tab under a chance node reopens the edit on the branch's probability.
    t.window.ClearSelection();
    t.Click(t.At(t.first));
    t.window.OnKey(VK_TAB, false);
    ASSERT_NE(t.window.InPlaceEditor, nullptr);
    EXPECT_EQ(t.window.EditField, 2);
    EXPECT_STREQ(t.window.InPlaceEditor->GetText().Text(), "0.5");
    // Another window made active takes what was typed in place into the tree first.
    t.window.InPlaceEditor->SetSelection(0, -1);
    t.window.InPlaceEditor->TypeText(zString("0.25"));
    TreeWindow other;
    other.Show(SW_SHOW);
    other.Activate();
    EXPECT_TRUE(PumpMessagesUntil([&] { return other.IsActiveChild(); }));
    EXPECT_EQ(t.window.InPlaceEditor, nullptr);
    zString probability;
    t.first->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "0.25");
}

// The editor of a name wider than its node's column shows the whole name from its start.
TEST(TreePane, TheInPlaceEditorShowsALongNameWhole)
{
    ShownTree t;
    TreeNode* root = t.window.Document().Root;
    root->SetText("Treatment choice between the three", false);
    t.window.Redraw();
    t.Click(t.At(root));
    ASSERT_NE(t.window.InPlaceEditor, nullptr);
    PumpMessagesFor(20);
    ExpectEditShowsItsTextWhole(t.window.InPlaceEditor->Handle());
}

TEST(TreePane, DragsMakeNotesAndArrowsAndRefuseSmallOnes)
{
    struct Case {
        const char* what;
        int clickMode;
        float width, height;  // inches dragged
        int notes, arrows;
        bool modified;
    } cases[] = {
        {"note", 2, 1.0f, 0.5f, 1, 0, true},
        {"note under 0.1 square inches", 2, 0.3f, 0.3f, 0, 0, false},
        {"arrow", 1, 0.6f, 0.0f, 0, 1, true},
        {"arrow under 0.1 inch", 1, 0.07f, 0.05f, 0, 0, false},
    };
    ShownTree t;
    const float x = t.second->Geometry().X;
    const float y = t.second->Geometry().YBottom + 0.5f;
    for (const Case& c : cases) {
        t.window.SetModified(0);
        t.Command(c.clickMode == 2 ? 1301 : 1314);
        EXPECT_EQ(t.window.ClickMode, c.clickMode) << c.what;
        t.Drag(t.Client(x, y), t.Client(x + c.width, y + c.height), 0);
        EXPECT_EQ(t.window.Document().NoteBoxes.Count(), c.notes) << c.what;
        EXPECT_EQ(t.window.Document().Arrows.Count(), c.arrows) << c.what;
        EXPECT_EQ(t.window.Document().Modified != 0, c.modified) << c.what;
        EXPECT_EQ(t.window.ClickMode, 0) << c.what;
        if (c.notes == 1) {
            EXPECT_STREQ(t.window.History().Current()->name.Text(), "Create Note");
            // Dragged by its frame the note moves by the drag, as one "Move Note" step.
            NoteBox* note = t.window.Document().NoteBoxes.At(0);
            const LogicalRect before = note->GetTextRect();
            const POINT frame = t.Client(note->frame.left + 0.01f, (note->frame.top + note->frame.bottom) / 2);
            t.Drag(frame, POINT{frame.x + 40, frame.y}, 0);
            EXPECT_STREQ(t.window.History().Current()->name.Text(), "Move Note");
            EXPECT_GT(note->GetTextRect().left, before.left + 0.2f);
            EXPECT_FLOAT_EQ(note->GetTextRect().top, before.top);
            t.window.Undo();
            EXPECT_FLOAT_EQ(note->GetTextRect().left, before.left);
            t.window.Undo();
        }
        if (c.arrows == 1) {
            TreeArrow* arrow = t.window.Document().Arrows.At(0);
            EXPECT_EQ(t.window.SelectedArrow, arrow);
            EXPECT_NEAR(arrow->headX - arrow->tailX, c.width, 0.02f);
            t.window.RemoveArrow(arrow);
            delete arrow;
        }
    }
}

TEST(TreePane, NoteCommandsResizeBindAndUnbindANote)
{
    ShownTree t;
    MessageBoxRecorder boxes;
    const UndoHistory& history = t.window.History();
    const float x = t.second->Geometry().X;
    const float y = t.second->Geometry().YBottom + 0.5f;
    t.Command(1301);
    t.Drag(t.Client(x, y), t.Client(x + 1.0f, y + 0.5f), 0);
    ASSERT_EQ(t.window.Document().NoteBoxes.Count(), 1);
    NoteBox* note = t.window.Document().NoteBoxes.At(0);
    t.window.SelectNoteBox(note, nullptr, true);
    ASSERT_NE(t.window.InPlaceEditor, nullptr);
    t.window.InPlaceEditor->TypeText(zString("remark"));
    t.window.ClearSelection();

    // The bottom right handle resizes the note from its top left corner, as one undoable step.
    const LogicalRect before = note->GetTextRect();
    const POINT corner = t.Client(before.right, before.bottom);
    t.Drag(corner, POINT{corner.x + 40, corner.y + 20}, 0);
    EXPECT_STREQ(history.Current()->name.Text(), "Resize Note");
    EXPECT_GT(note->GetTextRect().right, before.right + 0.2f);
    EXPECT_NEAR(note->GetTextRect().left, before.left, 0.02);
    t.window.Undo();
    EXPECT_FLOAT_EQ(note->GetTextRect().right, before.right);

    // Bind Note asks first; cancelled, the next click only selects.
    const std::string ask = "Your next click should be on the node to which you want the note box bound.";
    for (TreeNode* node : {t.second, t.first}) {
        t.window.SelectNoteBox(note, nullptr, false);
        boxes.Answer(node == t.second ? IDCANCEL : IDOK);
        t.Command(1319);
        ASSERT_EQ(boxes.Last().text, ask);
        EXPECT_NE(boxes.Last().style & MB_ICONINFORMATION, 0u);
        t.Click(t.At(node));
        EXPECT_EQ(t.Selected(), std::set<TreeNode*>{node});
    }
    EXPECT_STREQ(t.second->text2.Text(), "");
    EXPECT_STREQ(history.Current()->name.Text(), "Bind Note");
    EXPECT_STREQ(t.first->text2.Text(), "remark");
    EXPECT_EQ(t.window.Document().NoteBoxes.Count(), 0);

    // With the node selected the same command makes the note again.
    t.Command(1319);
    EXPECT_STREQ(history.Current()->name.Text(), "Unbind Note");
    EXPECT_STREQ(t.first->text2.Text(), "");
    ASSERT_EQ(t.window.Document().NoteBoxes.Count(), 1);
    EXPECT_STREQ(t.window.Document().NoteBoxes.At(0)->text.Text(), "remark");
    t.window.Undo();
    EXPECT_STREQ(t.first->text2.Text(), "remark");
    EXPECT_EQ(t.window.Document().NoteBoxes.Count(), 0);
}

TEST(TreePane, CutAndPasteOfNotesAndArrowsGoThroughTheirClipboards)
{
    ShownTree t;
    ClipboardTestLock clipboardLock;
    Clipboard clipboard = MainWindowClipboard();
    clipboard.Empty();
    TheTreeClipboard().SetArrow(nullptr);
    const float x = t.second->Geometry().X;
    const float y = t.second->Geometry().YBottom + 0.5f;
    t.Command(1314);
    t.Drag(t.Client(x, y), t.Client(x + 1.0f, y), 0);
    ASSERT_NE(t.window.SelectedArrow, nullptr);
    t.Command(1202);
    EXPECT_STREQ(t.window.History().Current()->name.Text(), "Cut Arrow");
    EXPECT_EQ(t.window.Document().Arrows.Count(), 0);
    ASSERT_NE(TheTreeClipboard().Arrow(), nullptr);
    t.Command(1204);
    ASSERT_EQ(t.window.Document().Arrows.Count(), 1);
    const TreeArrow* pasted = t.window.Document().Arrows.At(0);
    const LogicalRect view = t.window.VisibleArea();
    EXPECT_NEAR(pasted->tailX + pasted->headX, view.left + view.right, 0.02);
    EXPECT_NEAR(pasted->tailY + pasted->headY, view.top + view.bottom, 0.02);

    t.Command(1301);
    t.Drag(t.Client(x, y + 1.0f), t.Client(x + 1.0f, y + 1.5f), 0);
    ASSERT_NE(t.window.SelectedNote, nullptr);
    t.Command(1202);
    EXPECT_STREQ(t.window.History().Current()->name.Text(), "Cut Note");
    EXPECT_EQ(t.window.Document().NoteBoxes.Count(), 0);
    EXPECT_TRUE(IsNoteBoxOnClipboard());
    TheTreeClipboard().SetArrow(nullptr);
}

TEST(TreePane, ControlDragOfARollBackBoxStoresItsOffset)
{
    ShownTree t;
    // The decision node becomes a clone copy of the chance node: its first child follows the first leaf.
    t.window.Document().AddCloneMaster(t.chance, "Gamble");
    CopyCloneMaster(t.decision, t.chance, nullptr);
    t.window.Document().RolledBack = RolledBackValues::Computed;
    t.window.Redraw();
    const POINT box = t.Middle(RollBackBoxRect(t.window, t.first));
    t.Drag(box, POINT{box.x + 30, box.y + 20}, MK_CONTROL);
    ASSERT_NE(t.first->linkBlock, nullptr);
    EXPECT_GT(t.first->linkBlock->rollBackBoxOffset[0], 0.1f);
    EXPECT_GT(t.first->linkBlock->rollBackBoxOffset[1], 0.05f);
    const TreeNode* counterpart = t.decision->GetChild(0);
    ASSERT_NE(counterpart->linkBlock, nullptr);
    EXPECT_EQ(counterpart->linkBlock->rollBackBoxOffset[0], t.first->linkBlock->rollBackBoxOffset[0]);
    EXPECT_EQ(counterpart->linkBlock->rollBackBoxOffset[1], t.first->linkBlock->rollBackBoxOffset[1]);
}

TEST(TreePane, ReleasedKeysReachTheTreeOnlyWithControlOrARolledBackTree)
{
    ShownTree t;
    t.Click(t.At(t.first));
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE saved = keys[VK_CONTROL];
    for (const bool control : {false, true}) {
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageA(t.pane->Handle(), WM_KEYDOWN, VK_HOME, 1);
        SendMessageA(t.pane->Handle(), WM_KEYUP, VK_HOME, 0xC0000001);
        EXPECT_EQ(t.Selected(), std::set<TreeNode*>{control ? t.window.Document().Root : t.first}) << control;
    }
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
}

std::vector<std::string> menuItems;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD)
{
    if (auto* popup = dynamic_cast<Menu*>(TheApp->TrackedPopupMenu())) {
        HMENU menu = popup->Handle();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            if (text[0] != 0)
                menuItems.push_back(text);
        }
    }
    EndMenu();
}

TEST(TreePane, RightPressShowsTheContextMenuAndDoubleClicksSendCommands)
{
    ShownTree t;
    menuItems.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenu);
    t.Send(WM_RBUTTONDOWN, MK_RBUTTON, t.At(t.decision));
    KillTimer(nullptr, timer);
    ASSERT_FALSE(menuItems.empty());
    // Brought up to date before it shows: the edit items name what they take, and the variables follow.
    ASSERT_GT(menuItems.size(), 4u);
    EXPECT_EQ(menuItems.front(), "Cut Node");
    EXPECT_EQ(menuItems[4], "Define Variable");
    EXPECT_EQ(menuItems.back(), "Pre&ferences...");
    EXPECT_EQ(t.Selected(), std::set<TreeNode*>{t.decision});
    // Two presses on one node within the double-click time send its command to the tree's window.
    CommandRecorder recorder;
    t.window.AddHandler(&recorder, &CommandRecorder::Record, WM_COMMAND);
    // The same with the system's tick count about to wrap (after 49.7 days up).
    for (const uint32_t start : {uint32_t(GetTickCount()), 0u - PressClock::Apart() - 2 * PressClock::DoubleClickGap}) {
        recorder.commands.clear();
        PressClock presses(start);
        const TreeNode* previous = nullptr;
        for (const TreeNode* node : {t.first, t.first, t.decision, t.decision}) {
            presses.Press(node == previous ? PressClock::DoubleClickGap : PressClock::Apart(),
                          [&] { t.Click(t.At(node)); });
            previous = node;
        }
        EXPECT_EQ(recorder.commands, (std::vector<unsigned>{1506, 1403})) << start;
    }
    t.window.RemoveHandler(&recorder, &CommandRecorder::Record, WM_COMMAND);
}

// The system's own double clicks (the window class asks for none, so two presses come): a terminal's symbol
// changes its payoff, a decision's adds branches, a definitions box shows the node's bindings; two single
// clicks on a node, apart, send nothing.
TEST(TreePane, RealDoubleClicksOnSymbolsAndDefinitionsSendTheirCommands)
{
    ShownTree t;
    t.window.Document().DisplayPrefs.MarkNodesWithVars = 2;
    t.window.Document().EnsureVariable("q", nullptr);
    t.decision->SetBinding("q", "1", false);
    t.window.Redraw();
    PumpMessagesFor(50);
    CommandRecorder recorder;
    t.window.AddHandler(&recorder, &CommandRecorder::Record, WM_COMMAND);
    const HWND pane = t.pane->Handle();
    const auto screen = [&](POINT client) { return RealInput::OnScreen(pane, client); };
    ScreenOnTop onTop(t.frame.Handle());
    const struct {
        POINT at;
        unsigned command;
    } rows[] = {{t.At(t.first), Cmd::ValuesChangePayoff},
                {t.At(t.decision), Cmd::OptionsAddBranches},
                {t.Middle(DefinitionsRect(t.window, t.decision, true)), Cmd::ShowVariableBindings}};
    for (const auto& row : rows) {
        recorder.commands.clear();
        RealInput::DoubleClick(screen(row.at));
        EXPECT_TRUE(PumpMessagesUntil([&] { return !recorder.commands.empty(); })) << row.command;
        EXPECT_EQ(recorder.commands, std::vector<unsigned>{row.command});
        PumpMessagesFor(GetDoubleClickTime() + 50);
    }
    recorder.commands.clear();
    RealInput::Click(screen(t.At(t.second)));
    PumpMessagesFor(GetDoubleClickTime() + 50);
    RealInput::Click(screen(t.At(t.second)));
    PumpMessagesFor(100);
    EXPECT_TRUE(recorder.commands.empty());
    t.window.RemoveHandler(&recorder, &CommandRecorder::Record, WM_COMMAND);
}

TEST(TreePane, HoverCursorFollowsWhatLiesUnderTheMouse)
{
    ShownTree t;
    const HCURSOR beam = LoadCursor(nullptr, IDC_IBEAM);
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    const HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    struct Case {
        POINT at;
        int clickMode;
        HCURSOR expected;
    } cases[] = {
        {t.Middle(NameRect(t.window, t.first)), 0, beam},
        {t.Middle(ProbRect(t.window, t.first)), 0, beam},
        {t.At(t.second, 0, 60), 0, arrow},
        {t.At(t.second, 0, 60), 1, cross},
    };
    for (const Case& c : cases) {
        t.window.ClickMode = c.clickMode;
        t.Send(WM_MOUSEMOVE, 0, c.at);
        EXPECT_EQ(t.pane->WindowCursor().Handle(), c.expected);
    }
    t.window.ClickMode = 0;
}

}  // namespace
