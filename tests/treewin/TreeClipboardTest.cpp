// The tree clipboard's slots and their Edit-menu items, and the paste, cut and clear actions: each done,
// undone and redone twice, with the tree's outline and the slot's item compared each time.

#include "treewin/TreeClipboard.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeClipboardWindow.h"
#include "treewin/TreeWindow.h"

#include "app/MainFrame.h"
#include "framework/dialog/Menu.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/window/MDIframeCL.h"
#include "model/CloneCopies.h"
#include "model/TreeNode.h"
#include "model/TreeOutline.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

std::string Outline(TreeWindow& window)
{
    zString out;
    WriteTreeOutline(window.Document().Root, out);
    return out.Text();
}

// The frame's menu bar for the clipboard to retitle, and empty slots before and after.
struct MenuBar {
    ScopedApplication app;
    std::unique_ptr<Menu> bar{Menu::FromResource(ResourceId(116u, nullptr))};
    MenuBar()
    {
        TheTreeClipboard().ShowInMenu(bar.get());
        Empty();
    }
    ~MenuBar()
    {
        Empty();
        TheTreeClipboard().ShowInMenu(nullptr);
    }
    std::string ItemText(unsigned id) const
    {
        char text[64] = {};
        GetMenuStringA(bar->Handle(), id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    static void Empty()
    {
        for (int slot = 0; slot < TreeClipboard::kSlots; ++slot)
            TheTreeClipboard().Store(nullptr, slot);
        TheTreeClipboard().SelectSlot(0);
    }
};

// Root "R" with chance "A" (children "A1", "A2") and terminal "B".
struct Tree {
    TreeWindow window;
    TreeNode* a;
    Tree()
    {
        TreeDocument& tree = window.Document();
        tree.Root->SetText("R", false);
        a = tree.AddChild(tree.Root, ChanceNode, "A");
        tree.AddChild(a, TerminalNode, "A1", "0.3", "1");
        tree.AddChild(a, TerminalNode, "A2", "0.7", "2");
        tree.AddChild(tree.Root, TerminalNode, "B", "", "5");
    }
};

} // namespace

TEST(TreeClipboard, SlotsNameWhatTheyHold)
{
    MenuBar menus;
    Tree t;
    TreeClipboard& clipboard = TheTreeClipboard();
    clipboard.Store(t.a->GetChild(0), 1);
    EXPECT_EQ(menus.ItemText(1209), "Tree Clipboard &2 (Node)");
    EXPECT_STREQ(clipboard.Get(1)->text.Text(), "A1");

    // A node with children is stored as a subtree: a root of no kind and no texts.
    clipboard.Store(t.a, 1);
    EXPECT_EQ(menus.ItemText(1209), "Tree Clipboard &2 (Subtree)");
    const TreeNode* stored = clipboard.Get(1);
    EXPECT_EQ(stored->kind, 0);
    EXPECT_TRUE(stored->text.IsEmpty());
    EXPECT_TRUE(stored->IsProbabilityEmpty());
    EXPECT_EQ(stored->childCount, 2);
    EXPECT_EQ(stored->document, nullptr);

    clipboard.Store(nullptr, 1);
    EXPECT_EQ(menus.ItemText(1209), "Tree Clipboard &2");
    EXPECT_EQ(clipboard.Get(1), nullptr);

    // Slots outside 0 to 3 mean the current one; selecting checks its item alone.
    clipboard.SelectSlot(2);
    clipboard.Store(t.a->GetChild(1), 7);
    EXPECT_EQ(menus.ItemText(1210), "Tree Clipboard &3 (Node)");
    EXPECT_NE(clipboard.Get(-1), nullptr);
    EXPECT_TRUE(MenuItemChecked(menus.bar->Handle(), 1210));
    EXPECT_FALSE(MenuItemChecked(menus.bar->Handle(), 1208));

    // A clone copy's contents stay out of the stored copy.
    t.window.Document().AddCloneMaster(t.a, "Master");
    TreeNode* copy = t.window.Document().AddChild(t.window.Document().Root->GetChild(1), ChanceNode, "C");
    CopyCloneMaster(copy, t.a, nullptr);
    ASSERT_EQ(copy->childCount, 2);
    clipboard.Store(t.window.Document().Root, 0);
    std::unique_ptr<TreeNode> fetched(clipboard.Fetch(0));
    EXPECT_EQ(fetched->GetChild(1)->GetChild(0)->childCount, 0);
}

// The window shows a copy of the current slot under the slot's number; an empty slot shows nothing.
TEST(TreeClipboardWindow, ShowsTheCurrentSlotAndNothingForAnEmptyOne)
{
    MenuBar menus;
    MDIframeCL frame{nullptr, 0, "frame"};
    Tree t;
    TreeClipboard& clipboard = TheTreeClipboard();
    clipboard.Store(t.a, 0);
    clipboard.ToggleWindow();
    TreeClipboardWindow* window = clipboard.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(std::string(window->Text()), "Tree Clipboard 1");
    const TreeNode* shown = window->Document().Root;
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, clipboard.Get(0));
    EXPECT_EQ(shown->childCount, 2);
    LogicalRect bounds{};
    window->Bounds(bounds);
    EXPECT_GT(bounds.right, bounds.left);

    // The slot items reach the window as commands; an empty slot lays out, measures and draws nothing.
    SendMessageA(window->Handle(), WM_COMMAND, 1209, 0);
    EXPECT_EQ(clipboard.Current(), 1);
    EXPECT_EQ(std::string(window->Text()), "Tree Clipboard 2");
    EXPECT_EQ(window->Document().Root, nullptr);
    window->Redraw();
    window->Bounds(bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0.0f);
    BitmapDisplay picture(window->PaneDisplay(), 40, 40);
    window->Draw(picture);

    // Storing into the shown slot shows the new tree; closing keeps every slot.
    clipboard.Store(t.a->GetChild(0), 1);
    ASSERT_NE(window->Document().Root, nullptr);
    EXPECT_STREQ(window->Document().Root->text.Text(), "A1");
    clipboard.ToggleWindow();
    EXPECT_EQ(clipboard.Window(), nullptr);
    EXPECT_NE(clipboard.Get(0), nullptr);
    EXPECT_NE(clipboard.Get(1), nullptr);
}

TEST(TreeClipboardAction, EachEditUndoesAndRedoesWithItsSlot)
{
    using Make = std::function<UndoAction*(Tree&)>;
    struct Case {
        const char* name;
        Make make;
        const char* itemAfter;  // slot 1 starts holding "B" ("Tree Clipboard &1 (Node)")
    } cases[] = {
        {"cut node", [](Tree& t) { return new TreeCutNodeAction(&t.window, t.a->GetChild(0), true); },
         "Tree Clipboard &1 (Node)"},
        {"clear node", [](Tree& t) { return new TreeCutNodeAction(&t.window, t.a, false); },
         "Tree Clipboard &1 (Node)"},
        {"cut subtree", [](Tree& t) { return new TreeCutSubtreeAction(&t.window, t.a, true); },
         "Tree Clipboard &1 (Subtree)"},
        {"clear subtree", [](Tree& t) { return new TreeCutSubtreeAction(&t.window, t.a, false); },
         "Tree Clipboard &1 (Node)"},
        {"paste node", [](Tree& t) {
             NodeChildList targets(4, Ownership::Borrows);
             targets.Add(t.a);
             targets.Add(t.a->GetChild(1));
             return new TreePasteAction(&t.window, targets); }, "Tree Clipboard &1 (Node)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MenuBar menus;
        Tree t;
        TheTreeClipboard().Store(t.window.Document().Root->GetChild(1), 0);
        const std::string before = Outline(t.window);
        t.window.AddUndoAction(c.make(t));
        const std::string after = Outline(t.window);
        EXPECT_NE(after, before);
        EXPECT_EQ(menus.ItemText(1208), c.itemAfter);
        for (int round = 0; round < 2; ++round) {
            t.window.Undo();
            EXPECT_EQ(Outline(t.window), before);
            EXPECT_EQ(menus.ItemText(1208), "Tree Clipboard &1 (Node)");
            t.window.Redo();
            EXPECT_EQ(Outline(t.window), after);
            EXPECT_EQ(menus.ItemText(1208), c.itemAfter);
        }
    }
}

// A pasted subtree gives its branches, on top when the window adds above; its name says so.
TEST(TreeClipboardAction, PasteSubtreeGivesItsBranches)
{
    MenuBar menus;
    Tree t;
    t.window.Document().DisplayPrefs.AddAbove = 1;
    TheTreeClipboard().Store(t.a, 0);
    NodeChildList targets(4, Ownership::Borrows);
    TreeNode* b = t.window.Document().Root->GetChild(1);
    targets.Add(b);
    auto* paste = new TreePasteAction(&t.window, targets);
    EXPECT_STREQ(paste->name.Text(), "Paste Subtree");
    const std::string before = Outline(t.window);
    t.window.AddUndoAction(paste);
    ASSERT_EQ(b->childCount, 2);
    EXPECT_STREQ(b->GetChild(0)->text.Text(), "A1");
    EXPECT_EQ(b->GetChild(1)->GetChild(0), nullptr);
    EXPECT_EQ(b->GetChild(1)->document, &t.window.Document());
    const std::string after = Outline(t.window);
    for (int round = 0; round < 2; ++round) {
        t.window.Undo();
        EXPECT_EQ(Outline(t.window), before);
        t.window.Redo();
        EXPECT_EQ(Outline(t.window), after);
    }
}
