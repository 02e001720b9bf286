// Editing an influence diagram in its shown window: commands and tool buttons sent to the window, presses,
// moves and releases sent to its pane, then the diagram, the Edit menu and the undo history read back.

#include "app/MainFrame.h"
#include "influence/DiagramBayesDialog.h"
#include "widgets/MainToolbar.h"
#include "widgets/MenuButton.h"
#include "app/StartProgram.h"
#include "widgets/StatusMessage.h"
#include "widgets/InPlaceEdit.h"
#include "framework/dialog/Menu.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/window/FrameworkApp.h"
#include "foundation/RecentFileList.h"
#include "framework/dialog/FontDialog.h"
#include "framework/draw/DrawingScale.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "influence/ArcDialogs.h"
#include "influence/DiagramPane.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/SampleDiagram.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/ThreadWindow.h"
#include "tests/support/EditShowsWhole.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<std::string> menuItems;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD)
{
    if (auto* popup = dynamic_cast<Menu*>(TheApp->TrackedPopupMenu())) {
        HMENU menu = popup->Handle();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            const bool grayed = (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) != 0;
            if (text[0] != 0)
                menuItems.push_back(std::string(grayed ? "-" : "") + text);
        }
    }
    EndMenu();
}

TEST_F(ShownDiagram, ToolButtonsToggleAndPlaceOneNodeWithItsLabelEditorOpen)
{
    VisualToggleSet* modes = ModeButtonSet();
    ASSERT_NE(modes, nullptr);
    const struct {
        unsigned command;
        int tool;
        unsigned pressed;
    } steps[] = {
        {Cmd::ModeDecision, InfluenceDiagramWindow::NodeTool, Cmd::ModeDecision},
        {Cmd::ModeDecision, InfluenceDiagramWindow::SelectTool, Cmd::ModeNone},
        {Cmd::ModeDecision, InfluenceDiagramWindow::NodeTool, Cmd::ModeDecision},
        {Cmd::ModeChance, InfluenceDiagramWindow::NodeTool, Cmd::ModeChance},
        {Cmd::ModeArc, InfluenceDiagramWindow::ArcTool, Cmd::ModeArc},
        {Cmd::ModeArc, InfluenceDiagramWindow::SelectTool, Cmd::ModeNone},
        {Cmd::ModeValue, InfluenceDiagramWindow::NodeTool, Cmd::ModeValue},
        // Any other command ends the tool.
        {Cmd::DisplayCreateNote, InfluenceDiagramWindow::NoteTool, Cmd::ModeNone},
        {Cmd::DiagramFlipArc, InfluenceDiagramWindow::SelectTool, Cmd::ModeNone},
        {Cmd::ModeValue, InfluenceDiagramWindow::NodeTool, Cmd::ModeValue},
    };
    // As the tool bar sends them: to the frame, which hands them to the active window.
    for (const auto& step : steps) {
        PostMessageA(frame->Handle(), WM_COMMAND, step.command, 0);
        const HWND button = GetDlgItem(MainToolbarPane()->Handle(), static_cast<int>(step.pressed));
        PumpMessagesUntil([&] {
            return window->toolMode == step.tool && modes->Current() == step.pressed &&
                   SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
        });
        EXPECT_EQ(window->toolMode, step.tool) << step.command;
        EXPECT_EQ(modes->Current(), step.pressed) << step.command;
        EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), BST_CHECKED) << step.command;
    }
    // The value tool places a value node centred where the press was, and ends: a tool acts once.
    Click(At(DiagramPoint{2, 1.5f}));
    ASSERT_EQ(Nodes().size(), 1u);
    InfluenceNodeRecord* value = Nodes()[0];
    EXPECT_EQ(value->kind, InfluenceKind::Value);
    EXPECT_NEAR(value->NodeCentre().x, 2, 0.02);
    EXPECT_NEAR(value->NodeCentre().y, 1.5, 0.02);
    EXPECT_EQ(window->toolMode, InfluenceDiagramWindow::SelectTool);
    EXPECT_EQ(modes->Current(), Cmd::ModeNone);
    ASSERT_NE(window->LabelEditor(), nullptr);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Create Node\tCtrl+Z");

    // The context menu's commands make their kinds at the last press; typing is one more step.
    const struct {
        unsigned command;
        int kind;
    } kinds[] = {{Cmd::RightClickNewDecision, InfluenceKind::Decision},
                 {Cmd::RightClickNewChance, InfluenceKind::Chance},
                 {Cmd::RightClickNewDeterm, InfluenceKind::Deterministic},
                 {Cmd::RightClickNewValue, InfluenceKind::Value}};
    float x = 1;
    for (const auto& kind : kinds) {
        InfluenceNodeRecord* node = NewNode(kind.command, DiagramPoint{x, 3}, "Risk");
        EXPECT_EQ(node->kind, kind.kind);
        EXPECT_STREQ(node->name.Text(), "Risk");
        // Centred there before the label widened it to the right.
        EXPECT_LT(node->left, x);
        EXPECT_NEAR(node->NodeCentre().y, 3, 0.02);
        x += 1.5f;
    }
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Typing\tCtrl+Z");
    Undo();
    EXPECT_STREQ(Nodes().back()->name.Text(), "");
    EXPECT_EQ(MenuText(Cmd::EditRedo), "Re&do Typing\tCtrl+Shift+Z");
    Undo();
    EXPECT_EQ(Nodes().size(), 4u);
    Redo();
    ASSERT_EQ(Nodes().size(), 5u);
    EXPECT_EQ(Nodes().back()->kind, InfluenceKind::Value);
    EXPECT_TRUE(window->IsModified());
}

// What the tool bar shows as the user goes from a rolled-back tree to the diagram and takes its chance tool,
// all through the frame: the pressed look reaches the screen on the button that is pressed, and only there.
TEST_F(ShownDiagram, ToolBarShowsThePressedButtonsOfTheActiveWindow)
{
    auto* tree = new TreeWindow();
    tree->Document().AddChild(tree->Document().Root, TerminalNode, "Only", "1")->Payoff(0).SetText("2");
    tree->Show(SW_SHOWMAXIMIZED);
    WaitForMenusOf(tree);
    // A button sunk on the screen has the shadow at its top left corner; at rest the picture's face colour.
    auto sunk = [](unsigned id) {
        RECT r{};
        GetWindowRect(GetDlgItem(MainToolbarPane()->Handle(), static_cast<int>(id)), &r);
        HDC screen = GetDC(nullptr);
        const COLORREF corner = GetPixel(screen, r.left, r.top);
        ReleaseDC(nullptr, screen);
        return corner == RGB(128, 128, 128);
    };
    const struct {
        const char* step;
        unsigned command;
        bool rollBack;
        bool chance;
    } steps[] = {
        {"roll back the tree", Cmd::AnalysisRollBack, true, false},
        {"the diagram from the Window menu", MainFrame::FirstChildId, false, false},
        {"its chance tool", Cmd::ModeChance, false, true},
        {"the tree again", MainFrame::FirstChildId + 1, true, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        SendMessageA(frame->Handle(), WM_COMMAND, step.command, 0);
        const HWND rollBack = GetDlgItem(MainToolbarPane()->Handle(), Cmd::AnalysisRollBack);
        {
            // The buttons reach the screen once their paints are done and the display has taken them.
            ScreenOnTop onTop(frame->Handle());
            PumpMessagesUntil([&] {
                return sunk(Cmd::AnalysisRollBack) == step.rollBack && sunk(Cmd::ModeChance) == step.chance &&
                       !sunk(Cmd::ModeArc);
            });
            EXPECT_EQ(SendMessageA(rollBack, BM_GETCHECK, 0, 0) == BST_CHECKED, step.rollBack);
            EXPECT_EQ(sunk(Cmd::AnalysisRollBack), step.rollBack);
            EXPECT_EQ(sunk(Cmd::ModeChance), step.chance);
            EXPECT_FALSE(sunk(Cmd::ModeArc));
        }
        ExpectScreenEqualsRepaint(frame->Handle());
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ShownDiagram, InfluencesFollowTheRulesAndTheFirstFailingOneIsShown)
{
    InfluenceNodeRecord* decision = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Decision, "Treat", 0.5f, 0.5f);
    InfluenceNodeRecord* chance = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Cure", 2.5f, 0.5f, {"Yes", "No"});
    InfluenceNodeRecord* clone = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Cure", 2.5f, 2.5f);
    clone->isClone = 1;
    clone->cloneMaster = chance;
    chance->clones.push_back(clone);
    InfluenceNodeRecord* cost = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Deterministic, "Cost", 4.5f, 0.5f);
    InfluenceNodeRecord* model = AddDiagramNode(Document(), Document().diagram, InfluenceKind::SubModel, "Model", 4.5f, 2.5f);
    window->UpdateExtent();
    const std::string refused = "That influence is not allowed. ";
    const struct {
        InfluenceNodeRecord* tail;
        InfluenceNodeRecord* head;
        WPARAM keys;
        std::string box;
    } cases[] = {
        {decision, chance, MK_CONTROL, ""},
        {decision, chance, MK_CONTROL, refused + "It already exists. "},
        {chance, decision, MK_CONTROL, refused + "There is already an influence in the other direction."},
        // The clone stands for its master.
        {clone, decision, MK_CONTROL, refused + "There is already an influence in the other direction."},
        {chance, clone, MK_CONTROL, refused + "An event may not influence itself."},
        {chance, cost, MK_CONTROL, refused + "Deterministic events may not be influenced."},
        {model, decision, MK_CONTROL,
         refused + "To create an influence to or from a node in a sub-model, you must make a clone of the node which "
                   "is OUTSIDE the sub-model, and direct the clone to the sub-model. Then create the influence while "
                   "within the sub-model."},
        // The arc tool draws the same way, moving no node; onto its own node it draws nothing, without a word.
        {cost, cost, 0, ""},
        {cost, chance, 0, ""},
        {decision, cost, 0, refused + "Deterministic events may not be influenced."},
        {cost, decision, 0, ""},
    };
    size_t arcs = 0;
    for (const auto& c : cases) {
        boxes.Clear();
        if (c.keys == 0)
            Command(Cmd::ModeArc);
        const float tailLeft = c.tail->left;
        Drag(At(c.tail, 0.05f, 0.05f), At(c.head, 0.05f, 0.05f), c.keys);
        const bool made = c.box.empty() && c.tail != c.head;
        arcs += made ? 1 : 0;
        ASSERT_EQ(Document().diagram.arcs.size(), arcs) << c.box;
        EXPECT_EQ(c.tail->left, tailLeft) << c.box;
        EXPECT_EQ(boxes.Count(), c.box.empty() ? 0u : 1u) << c.box;
        if (!c.box.empty() && boxes.Count() == 1) {
            EXPECT_EQ(boxes.Last().text, c.box);
        }
        if (made) {
            EXPECT_EQ(window->SelectedArc(), Document().diagram.arcs.back());
            EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Create Arc\tCtrl+Z");
        }
    }
    // The tool acted once; Escape with it taken puts it down too.
    EXPECT_EQ(window->toolMode, InfluenceDiagramWindow::SelectTool);
    Command(Cmd::ModeArc);
    PressAtPane(VK_ESCAPE);
    EXPECT_EQ(window->toolMode, InfluenceDiagramWindow::SelectTool);
    // One arc selected: Clear names it, Cut and Copy are grayed; Delete clears it, undone where it was.
    InfluenceArc* first = Document().diagram.arcs[0];
    window->SelectArc(first);
    EXPECT_EQ(MenuText(Cmd::EditClear), "Clea&r Arc\tDel");
    EXPECT_TRUE(Grayed(Cmd::EditCut));
    EXPECT_TRUE(Grayed(Cmd::EditCopy));
    EXPECT_FALSE(Grayed(Cmd::EditClear));
    PressAtPane(VK_DELETE);
    EXPECT_EQ(Document().diagram.arcs.size(), arcs - 1);
    EXPECT_TRUE(decision->arcsOut.empty());
    Undo();
    ASSERT_EQ(Document().diagram.arcs.size(), arcs);
    EXPECT_EQ(Document().diagram.arcs[0], first);
    EXPECT_EQ(decision->arcsOut.size(), 1u);
    window->SelectNode(chance, false);
    EXPECT_EQ(MenuText(Cmd::EditClear), "Clea&r Node\tDel");
    EXPECT_FALSE(Grayed(Cmd::EditClear));
    // Delete clears every selected node in one step.
    const size_t nodes = Nodes().size();
    window->SelectNode(cost, false);
    window->AddToSelection(decision);
    PressAtPane(VK_DELETE);
    EXPECT_EQ(Nodes().size(), nodes - 2);
    Undo();
    EXPECT_EQ(Nodes().size(), nodes);
    EXPECT_EQ(boxes.Count(), 0u);
}

// Escape closes the label editor with the name as it was before the typing, as one key through the program:
// the window stays whole, its nodes drawn and pressed as before.
TEST_F(ShownDiagram, EscapeLeavesTheNameAsItWasAndTheWindowWhole)
{
    const auto press = [&](UINT key) {
        for (const auto& [message, flags] : {std::pair<UINT, LPARAM>{WM_KEYDOWN, 1}, {WM_KEYUP, 0xC0000001}}) {
            PostMessageA(GetFocus(), message, key, flags);
            MSG queued;
            while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE))
                app->ProcessMessage(queued);
        }
    };
    // Typed into at once, or after a press on the label; the tool that placed the node ends with the key.
    const struct {
        const char* typed;
        const char* name;
        const char* undo;
    } cases[] = {
        {"Disease", "", "&Undo Create Node\tCtrl+Z"},
        {"", "Disease", "&Undo Typing\tCtrl+Z"},
        {" risk", "Disease", "&Undo Typing\tCtrl+Z"},
        {"Disease", "", "&Undo Create Node\tCtrl+Z"},
    };
    InfluenceNodeRecord* named = nullptr;
    float x = 1;
    for (const auto& c : cases) {
        if (c.name[0] == 0 || named == nullptr) {
            Command(Cmd::ModeChance);
            Click(At(DiagramPoint{x, 2}));
            x += 2;
        }
        if (c.name[0] != 0) {
            if (named == nullptr) {
                // The node named by typing, taken by a press on the paper once the tool is put down.
                named = Nodes().back();
                window->LabelEditor()->TypeText(zString(c.name));
                Command(Cmd::ModeNone);
                Click(At(DiagramPoint{5, 4}));
                ASSERT_STREQ(named->name.Text(), c.name);
            }
            Click(At(named));
        }
        InfluenceNodeRecord* node = c.name[0] == 0 ? Nodes().back() : named;
        ASSERT_NE(window->LabelEditor(), nullptr) << c.typed;
        window->LabelEditor()->TypeText(zString(c.typed));
        press(VK_ESCAPE);
        EXPECT_EQ(window->LabelEditor(), nullptr) << c.typed;
        EXPECT_STREQ(node->name.Text(), c.name) << c.typed;
        ASSERT_TRUE(IsWindow(pane->Handle())) << c.typed;
        EXPECT_EQ(window->toolMode, InfluenceDiagramWindow::SelectTool) << c.typed;
        EXPECT_EQ(MenuText(Cmd::EditUndo), c.undo) << c.typed;
        // A press selects the node again.
        Click(At(node));
        EXPECT_EQ(window->SelectedNodes(), std::vector<InfluenceNodeRecord*>{node}) << c.typed;
        window->ClearSelection();
    }
    EXPECT_EQ(Nodes().size(), 3u);
}

// The editor of a name longer than its node is wide shows the whole name from its start.
TEST_F(ShownDiagram, TheLabelEditorShowsALongNameWhole)
{
    InfluenceNodeRecord* node = NewNode(Cmd::RightClickNewChance, DiagramPoint{2, 2}, "Severe reaction to the second dose");
    Click(At(node));
    ASSERT_NE(window->LabelEditor(), nullptr);
    PumpMessagesFor(20);
    ExpectEditShowsItsTextWhole(window->LabelEditor()->Handle());
}

TEST_F(ShownDiagram, BandsSelectDragsMoveAndArcShapesUndoExactly)
{
    InfluenceNodeRecord* a = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Decision, "A", 0.5f, 0.5f, {"x", "y"});
    InfluenceNodeRecord* b = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "B", 2.5f, 0.5f, {"p", "q", "r"});
    InfluenceNodeRecord* c = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Value, "C", 2.5f, 2.5f);
    InfluenceArc* arc = AddDiagramArc(Document().diagram, a, b);
    window->UpdateExtent();
    // A band from empty paper over A and B; with Shift a band over B and C inverts them.
    Drag(At(DiagramPoint{0.3f, 0.3f}), At(DiagramPoint{4, 1.6f}));
    EXPECT_EQ(window->SelectedNodes(), (std::vector<InfluenceNodeRecord*>{a, b}));
    Drag(At(DiagramPoint{4, 0.3f}), At(DiagramPoint{2.2f, 3.9f}), MK_SHIFT);
    EXPECT_EQ(window->SelectedNodes(), (std::vector<InfluenceNodeRecord*>{a, c}));

    // Dragging one selected node off its label moves both; undo and redo move them exactly back and forth.
    const LogicalRect aBefore = a->NodeRect();
    const LogicalRect cBefore = c->NodeRect();
    Drag(At(c, 0, -0.18f), At(c, 1, 0.32f));
    const float dx = a->left - aBefore.left;
    EXPECT_NEAR(dx, 1, 0.02);
    EXPECT_NEAR(c->top - cBefore.top, 0.5, 0.02);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Drag\tCtrl+Z");
    Undo();
    EXPECT_EQ(a->left, aBefore.left);
    EXPECT_EQ(c->top, cBefore.top);
    Redo();
    EXPECT_FLOAT_EQ(a->left, aBefore.left + dx);

    // The arc's middle dragged off the line curves it; Straighten and both undos give the middles back.
    window->ClearSelection();
    const DiagramPoint straight = arc->middle;
    Click(At(straight));
    EXPECT_EQ(window->SelectedArc(), arc);
    EXPECT_TRUE(Grayed(Cmd::DiagramStraightenArc));
    Drag(At(straight), At(DiagramPoint{straight.x, straight.y + 0.8f}));
    EXPECT_EQ(arc->curved, 1);
    const DiagramPoint bent = arc->middle;
    EXPECT_NEAR(bent.y, straight.y + 0.8f, 0.02);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Curve Arc\tCtrl+Z");
    EXPECT_FALSE(Grayed(Cmd::DiagramStraightenArc));
    Command(Cmd::DiagramStraightenArc);
    EXPECT_EQ(arc->curved, 0);
    Undo();
    EXPECT_EQ(arc->curved, 1);
    EXPECT_FLOAT_EQ(arc->middle.y, bent.y);
    Undo();
    EXPECT_EQ(arc->curved, 0);
    EXPECT_FLOAT_EQ(arc->middle.y, straight.y);
    Redo();
    EXPECT_FLOAT_EQ(arc->middle.y, bent.y);

    // Flipped, the arc has a row per state of B and keeps its curve; undone, A's rows as they were.
    arc->settings.rows[1].influenceType = ArcInfluenceRow::Skip;
    window->SelectArc(arc);
    Command(Cmd::DiagramFlipArc);
    EXPECT_EQ(arc->tail, b);
    EXPECT_EQ(arc->settings.rows.size(), 3u);
    EXPECT_FLOAT_EQ(arc->middle.y, bent.y);
    Undo();
    EXPECT_EQ(arc->tail, a);
    ASSERT_EQ(arc->settings.rows.size(), 2u);
    EXPECT_EQ(arc->settings.rows[1].influenceType, ArcInfluenceRow::Skip);
    Redo();
    EXPECT_EQ(arc->head, a);
}

// Keys typed one at a time into the open menu; once they are all typed, the menu's highlighted item is read
// ("" when no menu is open) and the menu closed.
// A table editor that a key opened is cancelled and counted.
HWND menuOwner = nullptr;
const char* menuKeys = "";
std::string highlighted;
bool menuRead = false;
int editorsOpened = 0;
void CALLBACK TypeIntoMenu(HWND, UINT, UINT_PTR, DWORD)
{
    if (const HWND editor = ThreadWindow(nullptr, "Assign Values"); editor != nullptr) {
        ++editorsOpened;
        PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
    }
    if (menuRead)
        return;
    const HWND popup = ThreadWindow("#32768");
    const bool open = popup != nullptr && IsWindowVisible(popup);
    if (*menuKeys != 0 && open) {
        const char key = *menuKeys++;
        if (key == '\r')
            PostMessageA(menuOwner, WM_KEYDOWN, VK_RETURN, 1);
        else
            PostMessageA(menuOwner, WM_CHAR, static_cast<WPARAM>(key), 1);
        return;
    }
    highlighted = "";
    if (open) {
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
                highlighted = text;
        }
        EndMenu();
    }
    menuRead = true;
}

// The Diagram menu opened by its letter: "V&alues..." and the grayed "&Align..." share a letter, which then
// only moves the highlight from one to the next; Enter on the grayed one does nothing.
TEST_F(ShownDiagram, AMenuLetterThatItemsShareOnlyMovesTheHighlight)
{
    InfluenceNodeRecord* node = NewNode(Cmd::RightClickNewDecision, DiagramPoint{2, 2}, "Treat");
    window->SelectNode(node, false);
    ASSERT_FALSE(Grayed(Cmd::DiagramValues));
    ASSERT_TRUE(Grayed(Cmd::DiagramAlign));
    const struct {
        const char* keys;
        const char* highlighted;
    } cases[] = {{"a", "V&alues..."}, {"aa", "&Align..."}, {"aaa", "V&alues..."}, {"aa\r", ""}};
    menuOwner = frame->Handle();
    for (const auto& c : cases) {
        menuKeys = c.keys;
        menuRead = false;
        editorsOpened = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 150, TypeIntoMenu);
        PostMessageA(frame->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'i');
        PumpMessagesUntil([] { return menuRead; });
        KillTimer(nullptr, timer);
        PumpMessagesFor(50);
        EXPECT_TRUE(menuRead) << c.keys;
        EXPECT_EQ(highlighted, c.highlighted) << c.keys;
        EXPECT_EQ(editorsOpened, 0) << c.keys;
        EXPECT_EQ(boxes.Count(), 0u) << c.keys;
        EXPECT_EQ(window->History().Count(), 2) << c.keys;
    }
}

TEST_F(ShownDiagram, FontChangeOfANodeWithoutItsOwnFontUndoesToTheDiagramFont)
{
    InfluenceNodeRecord* node = NewNode(Cmd::RightClickNewChance, DiagramPoint{2, 2}, "Weather");
    const float width = node->right - node->left;
    FontDialogPresenter previous = SetFontDialogPresenter([](CHOOSEFONTA& dialog) {
        dialog.lpLogFont->lfHeight = -48;
        dialog.iPointSize = 360;
        return 1;
    });
    Click(At(node));
    ASSERT_NE(window->LabelEditor(), nullptr);
    Command(Cmd::DisplayFont);
    SetFontDialogPresenter(previous);
    ASSERT_NE(node->font, nullptr);
    EXPECT_EQ(node->font->pointSize, Document().prefs.nodeFont.pointSize * 3);
    EXPECT_GT(node->right - node->left, width * 2);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Font Change\tCtrl+Z");
    Undo();
    ASSERT_NE(node->font, nullptr);
    EXPECT_EQ(*node->font, Document().prefs.nodeFont);
    EXPECT_NEAR(node->right - node->left, width, 1e-4);
}

TEST_F(ShownDiagram, ContextMenusFollowWhatWasPressedAndClonesAreMadeAndDestroyed)
{
    InfluenceNodeRecord* chance = NewNode(Cmd::RightClickNewChance, DiagramPoint{1.5f, 1}, "Rain");
    InfluenceNodeRecord* value = NewNode(Cmd::RightClickNewValue, DiagramPoint{1.5f, 3}, "Picnic");
    Drag(At(chance), At(value), MK_CONTROL);
    const InfluenceArc* arc = Document().diagram.arcs.at(0);
    const auto rightPress = [&](POINT point) {
        menuItems.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenu);
        Send(WM_RBUTTONDOWN, MK_RBUTTON, point);
        KillTimer(nullptr, timer);
        return menuItems;
    };
    EXPECT_EQ(rightPress(At(DiagramPoint{4, 4})),
              (std::vector<std::string>{"New Decision", "New Chance", "New Determ", "New Value"}));
    EXPECT_EQ(rightPress(At(chance)), (std::vector<std::string>{"&Variable...", "Ou&tcomes...", "&Probabilities...",
                                                                "V&alues...", "Draw New Arc"}));
    EXPECT_EQ(window->SelectedNodes(), std::vector<InfluenceNodeRecord*>{chance});
    EXPECT_EQ(rightPress(At(arc->middle)), (std::vector<std::string>{"Edit Arc...", "-Straighten Arc", "Flip Arc",
                                                                      "Align Joined...", "Clear Arc"}));
    EXPECT_EQ(window->SelectedArc(), arc);

    // A clone beside its master; the master then offers to destroy it, which empties the history on Yes only.
    window->SelectNode(chance, false);
    EXPECT_EQ(MenuText(Cmd::EditCreateClone), "Create Clo&ne");
    Command(Cmd::EditCreateClone);
    ASSERT_EQ(Nodes().size(), 3u);
    InfluenceNodeRecord* clone = Nodes()[2];
    EXPECT_EQ(clone->cloneMaster, chance);
    EXPECT_FLOAT_EQ(clone->left, chance->left + 0.8f);
    EXPECT_EQ(window->SelectedNodes(), std::vector<InfluenceNodeRecord*>{clone});
    Drag(At(clone), At(value, 0.3f, 0), MK_CONTROL);
    EXPECT_EQ(Document().diagram.arcs.size(), 1u);
    EXPECT_EQ(boxes.Last().text, "That influence is not allowed. It already exists. ");

    // The clone moved onto the arc: a person's click where the arc crosses it, far from the arc's middle, takes
    // the arc, drawn on top, which then shows wide there; Delete clears the arc and leaves the clone.
    Drag(At(clone), At(DiagramPoint{arc->middle.x + 0.25f, arc->middle.y - 0.4f}));
    const float y = clone->NodeCentre().y;
    const float along = (y - arc->start.y) / (arc->end.y - arc->start.y);
    const DiagramPoint crossing{arc->start.x + (arc->end.x - arc->start.x) * along, y};
    ASSERT_NE(clone->HitNodePart(crossing), 0);
    window->ClearSelection();
    {
        ScreenOnTop raised(frame->Handle());
        const POINT click = RealInput::OnScreen(pane->Handle(), At(crossing));
        const auto darkAcross = [&] {
            PumpMessagesFor(0);
            const ScreenCapture row = CaptureScreen(RECT{click.x - 8, click.y, click.x + 9, click.y + 1});
            int dark = 0;
            for (int x = row.place.left; x < row.place.right; ++x)
                dark += row.Dark(x, click.y) ? 1 : 0;
            return dark;
        };
        const int plain = darkAcross();
        RealInput::Click(click);
        ASSERT_TRUE(PumpMessagesUntil([&] { return window->SelectedArc() == arc && GetCapture() == nullptr; }));
        SetCursorPos(2000, 2000);
        EXPECT_GE(darkAcross(), plain + 2) << "the selection does not show where the arc was clicked";
        ExpectScreenEqualsRepaint(frame->Handle());
        RealInput::Keys("Delete");
        EXPECT_TRUE(PumpProgramUntil([&] { return Document().diagram.arcs.empty(); }));
    }
    EXPECT_TRUE(Document().diagram.arcs.empty());
    EXPECT_EQ(Nodes().size(), 3u);
    window->SelectNode(chance, false);
    EXPECT_EQ(MenuText(Cmd::EditCreateClone), "Destroy Clo&nes...");
    boxes.Answer(IDNO);
    Command(Cmd::EditCreateClone);
    EXPECT_EQ(boxes.Last().text, "Destroying a node's clones is not undoable. Do you wish to proceed?");
    EXPECT_EQ(Nodes().size(), 3u);
    EXPECT_GT(window->History().Count(), 0);
    boxes.Answer(IDYES);
    Command(Cmd::EditCreateClone);
    EXPECT_EQ(Nodes().size(), 2u);
    EXPECT_TRUE(chance->clones.empty());
    EXPECT_EQ(window->History().Count(), 0);

    // A window closed in the middle of a band gives the mouse back.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(DiagramPoint{4, 4}));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(DiagramPoint{5, 5}));
    EXPECT_EQ(GetCapture(), pane->Handle());
    delete window;
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ShownDiagram, NotesAreDrawnWithTheirToolAndSmallLabelsShowInTheStatusLine)
{
    // A note smaller than a tenth of a square inch is refused; a larger one is made, selected and moved.
    Command(Cmd::DisplayCreateNote);
    Drag(At(DiagramPoint{1, 1}), At(DiagramPoint{1.2f, 1.2f}));
    EXPECT_EQ(Document().diagram.notes.Count(), 0);
    EXPECT_EQ(window->toolMode, InfluenceDiagramWindow::SelectTool);
    Command(Cmd::DisplayCreateNote);
    Drag(At(DiagramPoint{1, 1}), At(DiagramPoint{2.5f, 2}));
    ASSERT_EQ(Document().diagram.notes.Count(), 1);
    NoteBox* note = Document().diagram.notes.At(0);
    EXPECT_EQ(window->SelectedNote(), note);
    EXPECT_NEAR(note->GetTextRect().right, 2.5, 0.02);
    EXPECT_TRUE(window->IsModified());
    // Its text is typed in place as one step.
    ASSERT_NE(window->LabelEditor(), nullptr);
    window->LabelEditor()->TypeText(zString("Ask the team"));
    Click(At(DiagramPoint{4, 4}));
    EXPECT_STREQ(note->text.Text(), "Ask the team");
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Typing\tCtrl+Z");
    Undo();
    EXPECT_STREQ(note->text.Text(), "");
    Redo();
    EXPECT_STREQ(note->text.Text(), "Ask the team");
    const float left = note->frame.left;
    Drag(At(DiagramPoint{1.75f, note->frame.top + 0.01f}), At(DiagramPoint{2.75f, note->frame.top + 0.01f}));
    EXPECT_NEAR(note->frame.left, left + 1, 0.02);

    // Over a node whose label is too small to read at the zoom, the status line shows it.
    InfluenceNodeRecord* node = NewNode(Cmd::RightClickNewChance, DiagramPoint{4, 4}, "A rather long label for one");
    pane->SetZoom(0.5);
    Send(WM_MOUSEMOVE, 0, At(node));
    EXPECT_STREQ(CurrentStatusMessage().Text(), "Node: A rather long label for one");
    pane->SetZoom(1);
    Send(WM_MOUSEMOVE, 0, At(node));
    EXPECT_STREQ(CurrentStatusMessage().Text(), "");
}

TEST_F(ShownDiagram, BayesRevisionNamesTheRevisedEventsAfterTheChecks)
{
    InfluenceNodeRecord* state = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "State of the world", 1, 3, {"s1", "s2"});
    InfluenceNodeRecord* test = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "A", 1, 1, {"a1", "a2"});
    InfluenceNodeRecord* act = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Decision, "D", 3, 1, {"Act", "Wait"});
    InfluenceNodeRecord* value = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Value, "V", 5, 2);
    AddDiagramArc(Document().diagram, test, act);
    AddDiagramArc(Document().diagram, state, value);
    AddDiagramArc(Document().diagram, act, value);
    window->UpdateExtent();
    Command(Cmd::DiagramBayesRevision);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "This influence diagram does not require the use of Bayes' revision.");

    AddDiagramArc(Document().diagram, state, test);
    std::vector<std::string> shown;
    auto previous = DiagramBayesDialog::SetPresenter([&shown](DiagramBayesDialog& dialog) {
        shown = dialog.lines;
        return IDOK;
    });
    Command(Cmd::DiagramBayesRevision);
    DiagramBayesDialog::SetPresenter(previous);
    EXPECT_EQ(shown, (std::vector<std::string>{"\"State of the...\" is predicted by", "    \"A\""}));

    // A failing check selects its node and says why.
    test->outcomeNames.Clear();
    Command(Cmd::DiagramBayesRevision);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Last().text, "You have not defined outcomes or alternatives for the selected node.");
    EXPECT_EQ(window->SelectedNodes(), std::vector<InfluenceNodeRecord*>{test});
}

TEST_F(ShownDiagram, ADrawnDiagramSavesAndReopensAsDrawn)
{
    InfluenceNodeRecord* decision = NewNode(Cmd::RightClickNewDecision, DiagramPoint{1, 1}, "Treat");
    InfluenceNodeRecord* chance = NewNode(Cmd::RightClickNewChance, DiagramPoint{3, 1}, "Cure");
    Command(Cmd::ModeArc);
    Drag(At(decision), At(chance));
    const DiagramPoint middle = Document().diagram.arcs.at(0)->middle;
    Drag(At(middle), At(DiagramPoint{middle.x, middle.y + 0.6f}));
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp ? temp : ".") + "\\kivo_drawn.ind";
    ASSERT_EQ(window->SaveAs(path.c_str()), 1);
    // Opened as a second window of the same file.
    auto* opened = new InfluenceDiagramWindow(path.c_str());
    std::remove(path.c_str());
    const InfluenceDiagram& again = opened->document.diagram;
    ASSERT_EQ(again.nodes.size(), 2u);
    ASSERT_EQ(again.arcs.size(), 1u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_STREQ(again.nodes[i]->name.Text(), Nodes()[i]->name.Text());
        EXPECT_EQ(again.nodes[i]->kind, Nodes()[i]->kind);
        EXPECT_FLOAT_EQ(again.nodes[i]->left, Nodes()[i]->left);
        EXPECT_FLOAT_EQ(again.nodes[i]->right, Nodes()[i]->right);
    }
    EXPECT_EQ(again.arcs[0]->curved, 1);
    // The opened window measures its labels' heights a little apart (below a pixel), and the middle follows.
    EXPECT_NEAR(again.arcs[0]->middle.y, Document().diagram.arcs[0]->middle.y, 1e-3);
    EXPECT_EQ(again.arcs[0]->tail, again.nodes[0]);

    // A step whose node has gone does nothing, and still marks the document modified.
    window->ClearSelection();
    for (InfluenceNodeRecord* node : Nodes())
        delete node;
    for (InfluenceArc* arc : Document().diagram.arcs)
        delete arc;
    Nodes().clear();
    Document().diagram.arcs.clear();
    window->SetModified(0);
    Undo();
    Undo();
    EXPECT_TRUE(Nodes().empty());
    EXPECT_TRUE(window->IsModified());
}

// A node dragged towards the farthest place a diagram file may say stops there, and the diagram saves.
TEST_F(ShownDiagram, ADragStopsAtTheFarthestPlaceAFileMaySay)
{
    InfluenceNodeRecord* value = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Value, "C", 7997, 2);
    window->UpdateExtent();
    pane->ScrollIntoView(value->NodeRect());
    window->SelectNode(value, false);
    Drag(At(value, 0, -0.18f), At(value, 3, -0.18f));
    EXPECT_FLOAT_EQ(value->right, InfluenceDocument::kFarthestPlace);
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp ? temp : ".") + "\\kivo_farthest.ind";
    EXPECT_EQ(window->SaveAs(path.c_str()), 1);
    std::remove(path.c_str());
}

// Document windows opened and closed again, as many as may be: each gives back the window class of its
// own, and the program keeps no name of it.
TEST_F(ShownDiagram, ClosedDocumentWindowsGiveTheirWindowClassesBack)
{
    const size_t registered = TheApp->RegisteredClasses().size();
    for (int round = 0; round < 3; ++round) {
        for (DocumentWindow* opened : std::initializer_list<DocumentWindow*>{new TreeWindow(), new InfluenceDiagramWindow()}) {
            opened->Show(SW_SHOWNORMAL);
            const std::string name = opened->ClassName();
            const HWND handle = opened->Handle();
            SendMessageA(handle, WM_CLOSE, 0, 0);
            PumpMessagesUntil([&] { return !IsWindow(handle); });
            WNDCLASSA info{};
            EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), name.c_str(), &info)) << name;
        }
    }
    EXPECT_EQ(TheApp->RegisteredClasses().size(), registered);
}

} // namespace

namespace {

std::string ItemText(HWND window, unsigned id = 0)
{
    char text[200] = {};
    GetWindowTextA(id == 0 ? window : GetDlgItem(window, static_cast<int>(id)), text, sizeof text);
    return text;
}

} // namespace

// "Never define this variable" greys the value field and the Tools button; the button keeps its face.
TEST_F(ShownDiagram, NeverDefineGreysTheToolsButton)
{
    AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Wind", 0.5f, 0.5f);
    window->UpdateExtent();
    window->SelectNode(Nodes()[0], false);
    namespace Skip = Ctl::EditNodeVariable;
    const auto toolsShown = [](bool usable) {
        return [usable](DialogFrameCL& dialog) {
            MenuButton* tools = nullptr;
            for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
                if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)))
                    tools = button;
            ASSERT_NE(tools, nullptr);
            EXPECT_EQ(tools->Active(), usable);
            EXPECT_EQ(IsWindowEnabled(dialog.Control(Skip::ValueWhenSkippedEdit)) != 0, usable);
            // Its face and frame as a full repaint draws them, not the dialog's bare background.
            ExpectScreenEqualsRepaint(tools->Handle());
            RECT place{};
            GetWindowRect(tools->Handle(), &place);
            const ScreenCapture shot = CaptureScreen(place);
            EXPECT_NE(std::count(shot.pixels.begin(), shot.pixels.end(), shot.pixels.front()),
                      static_cast<std::ptrdiff_t>(shot.pixels.size()));
        };
    };
    ModalDialogDriver driver;
    driver.Then(toolsShown(true))
        .Then(ModalDialogDriver::Clicking(Skip::NeverDefineThisVariable))
        .Then(toolsShown(false))
        .Then(ModalDialogDriver::Clicking(Skip::NeverDefineThisVariable))
        .Then(toolsShown(true))
        .Press(IDCANCEL);
    Command(Cmd::DiagramVariable);
    EXPECT_TRUE(driver.Finished());
}

// The node dialogs by control id: a variable name another node uses (in any case) is refused and a new one
// is followed by every formula; a range needs high above low; outcomes are added through their prompt.
TEST_F(ShownDiagram, NodeDialogsRefuseWhatIsWrongAndEachEditIsOneUndoStep)
{
    InfluenceNodeRecord* rain = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Rain", 0.5f, 0.5f, {"Yes", "No"});
    InfluenceNodeRecord* wind = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Wind", 2.5f, 0.5f);
    InfluenceNodeRecord* cost = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Deterministic, "Cost", 0.5f, 2.5f);
    InfluenceNodeRecord* value = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Value, "Net", 2.5f, 2.5f);
    value->formula = "Wind*2+wind";
    value->noFormula = 0;
    window->UpdateExtent();
    namespace Skip = Ctl::EditNodeVariable;
    namespace Range = Ctl::EditNodeRange;

    window->SelectNode(wind, false);
    {
        ModalDialogDriver driver;
        driver.Type(Skip::VariableEdit, "RAIN").Press(IDOK).Type(Skip::VariableEdit, "Gust").Press(IDOK);
        Command(Cmd::DiagramVariable);
        EXPECT_TRUE(driver.Finished());
    }
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The variable you have assigned is being used by another node in the influence "
                                 "diagram. Each variable name must be unique.");
    EXPECT_STREQ(wind->variableName.Text(), "Gust");
    EXPECT_STREQ(value->formula.Text(), "Gust*2+Gust");
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Node Variable\tCtrl+Z");
    Undo();
    EXPECT_STREQ(wind->variableName.Text(), "Wind");
    EXPECT_STREQ(value->formula.Text(), "Wind*2+Wind");

    window->SelectNode(cost, false);
    {
        ModalDialogDriver driver;
        driver.Type(Range::LowValueEdit, "5").Type(Range::HighValueEdit, "5").Press(IDOK);
        driver.Type(Range::HighValueEdit, "6").Press(IDOK);
        Command(Cmd::DiagramVariable);
    }
    EXPECT_EQ(boxes.Last().text, "To assign a range, the high value must be greater than the low value.");
    EXPECT_EQ(cost->lowValue, 5);
    EXPECT_EQ(cost->highValue, 6);

    // A value node's formula must parse; the Tools menu's distribution goes into it.
    namespace Valued = Ctl::EditNodeFormula;
    window->SelectNode(value, false);
    {
        ModalDialogDriver driver;
        driver.Click(Valued::Formula).Type(Valued::FormulaEdit, "2*(").Press(IDOK);
        driver.Type(Valued::FormulaEdit, "").Then([](DialogFrameCL& dialog) {
            SendMessageA(dialog.Handle(), WM_COMMAND, Cmd::OptionsDistributeChildren, 0);
        });
        driver.Then([](DialogFrameCL& picker) { SendMessageA(picker.Handle(), WM_COMMAND, 2463, 0); })
            .Type(2484, "3")
            .Press(IDOK)
            .Press(IDOK);
        Command(Cmd::DiagramVariable);
        EXPECT_TRUE(driver.Finished());
    }
    EXPECT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(value->noFormula, 0);
    EXPECT_EQ(std::string(value->formula.Text()).rfind("Dist(", 0), 0u) << value->formula.Text();

    // "&More" with nothing typed adds nothing; "O&K" adds what is typed and closes.
    window->SelectNode(rain, false);
    std::string prompt;
    {
        namespace Add = Ctl::AddOutcomes;
        ModalDialogDriver driver;
        driver.Press(Ctl::EditNodeOutcomes::Add)
            .Then([&](DialogFrameCL& dialog) {
                prompt = ItemText(dialog.Handle(), Add::Prompt);
                // The "&" marks the field's key: it is drawn as an underline, not as itself.
                EXPECT_EQ(GetWindowLongA(dialog.Control(Add::Prompt), GWL_STYLE) & SS_NOPREFIX, 0);
            })
            .Type(Add::NameEdit, "Maybe")
            .Press(Add::More)
            .Press(Add::More)
            .Type(Add::NameEdit, "Hail")
            .Press(IDOK)
            .Press(IDOK);
        Command(Cmd::DiagramOutcomes);
    }
    EXPECT_EQ(prompt, "Enter a new ou&tcome at node \"Rain\":");
    ASSERT_EQ(rain->OutcomeCount(), 4);
    EXPECT_STREQ(rain->outcomeNames.At(2)->Text(), "Maybe");
    EXPECT_STREQ(rain->outcomeNames.At(3)->Text(), "Hail");
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Node Outcomes\tCtrl+Z");
    Undo();
    EXPECT_EQ(rain->OutcomeCount(), 2);
    Redo();
    EXPECT_EQ(rain->OutcomeCount(), 4);
}

// "Arc Data" shows a row per state of the source; "Skip" clears and disables a row's boxes; an arc into a
// value node edits only its comment; flipping rebuilds the rows from the new source's states.
TEST_F(ShownDiagram, ArcDialogsEditTheRowsAndTheCommentAsOneStep)
{
    InfluenceNodeRecord* weather = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Weather",
                                                  0.5f, 0.5f, {"Sun", "Rain", "Snow"});
    InfluenceNodeRecord* crowd = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Crowd", 3, 0.5f, {"Big", "Small"});
    InfluenceNodeRecord* value = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Value, "Take", 3, 2.5f);
    InfluenceArc* data = AddDiagramArc(Document().diagram, weather, crowd);
    InfluenceArc* comment = AddDiagramArc(Document().diagram, crowd, value);
    window->UpdateExtent();
    window->SelectArc(data);
    std::string caption;
    int rows = 0;
    std::vector<bool> enabled;
    {
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& dialog) {
            caption = ItemText(dialog.Handle());
            auto* grid = dynamic_cast<ProbValueGrid*>(
                WindowCL::FromHandle(GetDlgItem(dialog.Handle(), Ctl::ArcData::Grid)));
            ASSERT_NE(grid, nullptr);
            rows = grid->RowCount();
            const HWND pane = grid->Handle();
            // Row 1 skipped, then back to "Symm"; row 2 loses its "Values".
            SendMessageA(pane, WM_COMMAND, ProbValueGrid::kFirstInstruction + 5 + ArcInfluenceRow::Skip, 0);
            enabled.push_back(IsWindowEnabled(GetDlgItem(pane, ProbValueGrid::kFirstBox + 2)) != 0);
            EXPECT_EQ(SendMessageA(GetDlgItem(pane, ProbValueGrid::kFirstBox + 3), BM_GETCHECK, 0, 0), 0);
            SendMessageA(pane, WM_COMMAND, ProbValueGrid::kFirstInstruction + 5 + ArcInfluenceRow::Symmetric, 0);
            enabled.push_back(IsWindowEnabled(GetDlgItem(pane, ProbValueGrid::kFirstBox + 2)) != 0);
            SendMessageA(pane, WM_COMMAND, ProbValueGrid::kFirstInstruction + 10 + ArcInfluenceRow::Force, 0);
            SendMessageA(pane, WM_COMMAND, ProbValueGrid::kFirstTargetState + 2 * 2 + 1, 0);
            SendMessageA(GetDlgItem(pane, ProbValueGrid::kFirstBox + 5), BM_SETCHECK, 0, 0);
        });
        driver.Then([](DialogFrameCL& dialog) { ExpectScreenEqualsRepaint(dialog.Handle()); });
        driver.Press(IDOK);
        Command(Cmd::ArcEditArc);
    }
    EXPECT_EQ(caption, "Arc Data");
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(enabled, (std::vector<bool>{false, true}));
    ASSERT_EQ(data->settings.rows.size(), 3u);
    const ArcInfluenceRow& skipped = data->settings.rows[1];
    EXPECT_EQ(std::make_tuple(skipped.affectsProbabilities, skipped.affectsValues, skipped.influenceType),
              std::make_tuple(uint8_t{0}, uint8_t{0}, int32_t{0}));
    const ArcInfluenceRow& forced = data->settings.rows[2];
    EXPECT_EQ(std::make_tuple(forced.affectsProbabilities, forced.affectsValues, forced.influenceType, forced.targetState),
              std::make_tuple(uint8_t{1}, uint8_t{0}, int32_t{ArcInfluenceRow::Force}, int32_t{1}));
    EXPECT_EQ(data->settings.hidden, 0);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Edit Arc\tCtrl+Z");
    Undo();
    EXPECT_EQ(data->settings.rows[2].influenceType, ArcInfluenceRow::Symmetric);

    // A double click on the arc opens its dialog.
    window->ClearSelection();
    const DiagramPoint onLine{(comment->start.x + comment->middle.x) / 2, (comment->start.y + comment->middle.y) / 2};
    {
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& dialog) { caption = ItemText(dialog.Handle()); })
            .Then([](DialogFrameCL& dialog) {
                SendDlgItemMessageA(dialog.Handle(), Ctl::EditArc::CommentEdit, EM_REPLACESEL, TRUE,
                                    reinterpret_cast<LPARAM>("Busy days"));
            })
            .Press(IDOK);
        DoubleClick(At(onLine), [&driver] { return driver.Finished(); });
    }
    EXPECT_EQ(caption, "Edit Arc");
    EXPECT_STREQ(comment->settings.comment.Text(), "Busy days");
    EXPECT_EQ(comment->settings.showComment, 1);

    window->SelectArc(data);
    Command(Cmd::DiagramFlipArc);
    EXPECT_EQ(data->tail, crowd);
    EXPECT_EQ(data->settings.rows.size(), 2u);
}

// Change Node Type offers "De&terministic" only without influences in; Align Joined and Align with "&Top"
// move only y; Make Clone lists the level's sub-models and puts the clone in the chosen one.
TEST_F(ShownDiagram, KindAlignmentAndClonesGoThroughTheirDialogs)
{
    InfluenceNodeRecord* low = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Deterministic, "Low", 0.5f, 2, {});
    InfluenceNodeRecord* high = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "High", 3, 0.5f, {"A", "B"});
    InfluenceNodeRecord* model = AddDiagramNode(Document(), Document().diagram, InfluenceKind::SubModel,
                                                "A model with a long name", 3, 3);
    model->subDiagram = std::make_unique<InfluenceDiagram>();
    InfluenceArc* arc = AddDiagramArc(Document().diagram, low, high);
    window->UpdateExtent();
    namespace Shape = Ctl::ChangeNodeType;

    window->SelectNode(high, false);
    bool deterministic = true;
    {
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& dialog) {
            deterministic = IsWindowEnabled(GetDlgItem(dialog.Handle(), Shape::Deterministic)) != 0;
        });
        driver.Click(Shape::Decision).Press(IDOK);
        Command(Cmd::OptionsChangeNodeType);
    }
    EXPECT_FALSE(deterministic);
    EXPECT_EQ(high->kind, InfluenceKind::Decision);
    Undo();
    EXPECT_EQ(high->kind, InfluenceKind::Chance);

    const float lowLeft = low->left;
    const float highLeft = high->left;
    window->SelectArc(arc);
    {
        ModalDialogDriver driver;
        driver.Click(Ctl::AlignNodes::Top)
            .Then([](DialogFrameCL& dialog) {
                ExpectScreenEqualsRepaint(GetDlgItem(dialog.Handle(), Ctl::AlignNodes::Area3749));
            })
            .Press(IDOK);
        Command(Cmd::ArcAlignJoined);
    }
    EXPECT_FLOAT_EQ(low->top, 0.5f);
    EXPECT_FLOAT_EQ(high->top, 0.5f);
    EXPECT_FLOAT_EQ(low->left, lowLeft);
    EXPECT_FLOAT_EQ(high->left, highLeft);
    Undo();
    EXPECT_FLOAT_EQ(low->top, 2);
    // The Diagram menu's Align takes two or more selected nodes.
    window->SelectNode(low, false);
    EXPECT_TRUE(Grayed(Cmd::DiagramAlign));
    window->AddToSelection(high);
    EXPECT_FALSE(Grayed(Cmd::DiagramAlign));
    {
        ModalDialogDriver driver;
        driver.Click(Ctl::AlignNodes::Top).Press(IDOK);
        Command(Cmd::DiagramAlign);
    }
    EXPECT_FLOAT_EQ(low->top, 0.5f);
    Undo();

    window->SelectNode(high, false);
    std::vector<std::string> models;
    {
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& dialog) {
            const HWND list = GetDlgItem(dialog.Handle(), Ctl::MakeClone::Models);
            for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
                char text[100] = {};
                SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                models.push_back(text);
            }
            SendMessageA(list, LB_SETCURSEL, 1, 0);
        });
        driver.Press(IDOK);
        Command(Cmd::EditCreateClone);
    }
    EXPECT_EQ(models, (std::vector<std::string>{"(Main Document Window)", "Sub-model: A model with a..."}));
    ASSERT_EQ(model->subDiagram->nodes.size(), 1u);
    InfluenceNodeRecord* clone = model->subDiagram->nodes[0];
    EXPECT_EQ(clone->cloneMaster, high);
    EXPECT_EQ(Nodes().size(), 3u);
    // The clone shows its master's new label.
    {
        ModalDialogDriver driver;
        driver.Type(Ctl::EditNodeDescription::NodeNameEdit, "Peak").Press(IDOK);
        Command(Cmd::DiagramDescription);
    }
    EXPECT_STREQ(clone->name.Text(), "Peak");
    Undo();
    EXPECT_STREQ(clone->name.Text(), "High");
    Undo();
    EXPECT_TRUE(model->subDiagram->nodes.empty());
    EXPECT_TRUE(high->clones.empty());
}

// Which boxes a row offers follows the target: a chance node both, or "Probs" alone when it is never to be
// defined; a decision node "Values", or none when it is never to be defined.
TEST_F(ShownDiagram, ArcRowsOfferTheBoxesTheirTargetTakes)
{
    InfluenceNodeRecord* weather = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Weather",
                                                  0.5f, 0.5f, {"Sun", "Rain"});
    InfluenceNodeRecord* target = AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, "Go", 3, 0.5f, {"Y", "N"});
    InfluenceArc* arc = AddDiagramArc(Document().diagram, weather, target);
    window->UpdateExtent();
    const struct {
        int kind;
        int16_t never;
        bool probs;
        bool values;
    } cases[] = {{InfluenceKind::Chance, 0, true, true},
                 {InfluenceKind::Chance, 1, true, false},
                 {InfluenceKind::Decision, 0, false, true},
                 {InfluenceKind::Decision, 1, false, false}};
    for (const auto& c : cases) {
        target->kind = c.kind;
        target->neverDefine = c.never;
        window->SelectArc(arc);
        bool probs = false;
        bool values = false;
        {
            ModalDialogDriver driver;
            driver.Then([&](DialogFrameCL& dialog) {
                const HWND grid = GetDlgItem(dialog.Handle(), Ctl::ArcData::Grid);
                probs = GetDlgItem(grid, ProbValueGrid::kFirstBox) != nullptr;
                values = GetDlgItem(grid, ProbValueGrid::kFirstBox + 1) != nullptr;
            });
            driver.Press(IDOK);
            Command(Cmd::ArcEditArc);
        }
        EXPECT_EQ(probs, c.probs) << c.kind << c.never;
        EXPECT_EQ(values, c.values) << c.kind << c.never;
        // Without a box the arc influences nothing and is hidden.
        EXPECT_EQ(arc->settings.hidden, c.probs || c.values ? 0 : 1) << c.kind << c.never;
    }
}

// The tool modes and the right-click items make their kinds; other commands make none.
TEST(DiagramEditing, NewNodeCommandsMakeTheirKinds)
{
    const std::pair<unsigned, int> commands[] = {{Cmd::ModeDecision, InfluenceKind::Decision},
                                                 {Cmd::RightClickNewDecision, InfluenceKind::Decision},
                                                 {Cmd::ModeChance, InfluenceKind::Chance},
                                                 {Cmd::RightClickNewChance, InfluenceKind::Chance},
                                                 {Cmd::ModeDeterministic, InfluenceKind::Deterministic},
                                                 {Cmd::RightClickNewDeterm, InfluenceKind::Deterministic},
                                                 {Cmd::ModeValue, InfluenceKind::Value},
                                                 {Cmd::RightClickNewValue, InfluenceKind::Value},
                                                 {Cmd::ModeArc, 0},
                                                 {Cmd::DiagramStraightenArc, 0}};
    for (const auto& [command, kind] : commands)
        EXPECT_EQ(CommandToNodeKind(command), kind) << command;
}
