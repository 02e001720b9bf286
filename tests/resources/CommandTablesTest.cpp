// Every item of the menus a window kind shows, and every key of the frame, has a row in the command table of
// a window kind that shows it: a command without a row would be dropped, or run without an enable rule.

#include "app/MainFrame.h"
#include "graph/GraphWindow.h"
#include "treewin/TableGraphWindow.h"
#include "influence/InfluenceDiagramWindow.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

using HasRow = bool (*)(unsigned id);

void CollectIds(HMENU menu, std::vector<unsigned>& ids)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i))
            CollectIds(sub, ids);
        else if (GetMenuItemID(menu, i) != 0 && GetMenuItemID(menu, i) != static_cast<UINT>(-1))
            ids.push_back(GetMenuItemID(menu, i));
    }
}

TEST(CommandTables, EveryMenuItemAndKeyHasARowOfAWindowKindThatShowsIt)
{
    const std::vector<HasRow> frameAndTree = {&MainFrame::HasCommand, &TreeWindow::HasCommand};
    const struct {
        unsigned resource;
        bool keys;
        std::vector<HasRow> kinds;
    } shown[] = {
        {MenuRes::FrameMenu, false, frameAndTree},     {MenuRes::FrameMenuShort, false, frameAndTree},
        {MenuRes::TreeMenu, false, frameAndTree},      {MenuRes::TreeMenuShort, false, frameAndTree},
        {MenuRes::NodePopup, false, {&TreeWindow::HasCommand}},
        {MenuRes::WindowMenu, false, {&MainFrame::HasCommand}}, {MenuRes::HelpMenu, false, {&MainFrame::HasCommand}},
        {MenuRes::DiagramMenu, false, {&InfluenceDiagramWindow::HasCommand}},
        {MenuRes::GraphMenu, false, {&GraphWindow::HasCommand}},
        {MenuRes::TableMenu, false, {&TableGraphWindow::HasCommand}},
        {MenuRes::FrameKeys, true, frameAndTree},
    };
    HINSTANCE module = GetModuleHandleA(nullptr);
    for (const auto& menu : shown) {
        std::vector<unsigned> ids;
        if (menu.keys) {
            HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(menu.resource));
            std::vector<ACCEL> entries(CopyAcceleratorTableA(table, nullptr, 0));
            CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
            for (const ACCEL& entry : entries)
                ids.push_back(entry.cmd);
            DestroyAcceleratorTable(table);
        } else {
            HMENU loaded = LoadMenuA(module, MAKEINTRESOURCEA(menu.resource));
            ASSERT_NE(loaded, nullptr) << menu.resource;
            CollectIds(loaded, ids);
            DestroyMenu(loaded);
        }
        EXPECT_FALSE(ids.empty()) << menu.resource;
        for (unsigned id : ids) {
            bool found = false;
            for (HasRow hasRow : menu.kinds)
                found = found || hasRow(id);
            EXPECT_TRUE(found) << "command " << id << " of resource " << menu.resource;
        }
    }
}

} // namespace
