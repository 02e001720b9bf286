// The rows of a tree window's Display menu in its command table (TreeCommandTable.h), with the commands of
// the pane and the node popup and the keys that select a child.

#include "treewin/TreeCommandTable.h"

#include "widgets/DocChildWindow.h"
#include "widgets/ZoomPane.h"
#include "model/TreeNode.h"
#include "treewin/TreeCommandHandlers.h"

#include "CommandIds.h"

#include <iterator>

using CommandHandlers = TreeWindow::CommandHandlers;

namespace {

using MenuFacts = TreeMenuFacts;

const TreeWindow::CommandRow rows[] = {
    // The Display and Options menus, and the commands of the pane and the node popup.
    {Cmd::FileSnapshot, &CommandHandlers::Snapshot, NoCustomInterface, nullptr},
    {Cmd::InPlaceTextChanged, &CommandHandlers::InPlaceTextChanged, Always, nullptr},
    // The node popup's variables menu, "New..." and the variables' names.
    {Cmd::NodeDefineNewVariable, &CommandHandlers::DefineNewVariable,
     [](const MenuFacts& f) { return !f.locked && f.one; }, nullptr},
    {Cmd::NodeHideRollBackBox, &CommandHandlers::HideRollBackBox,
     [](const MenuFacts& f) { return f.one && f.rolledBack; }, nullptr},
    {Cmd::DisplayCreateNote, &CommandHandlers::CreateNote,
     [](const MenuFacts& f) { return !f.snapshot && !f.customInterface; }, nullptr},
    {Cmd::DisplayCreateArrow, &CommandHandlers::CreateArrow,
     [](const MenuFacts& f) { return !f.snapshot && !f.customInterface; }, nullptr},
    {Cmd::DisplayBindNote, &CommandHandlers::BindNote,
     [](const MenuFacts& f) {
         return !f.customInterface && ((f.noteSelected && f.editField == 0) || f.unbind);
     }, nullptr},
    // The font of the selected text part, or with nothing selected the tree's.
    {Cmd::DisplayFont, &CommandHandlers::Font,
     [](const MenuFacts& f) { return f.window->EditField != 0 || (!f.any && !f.noteSelected); }, nullptr},
    {Cmd::DisplaySkipGeneration, &CommandHandlers::SkipGeneration,
     [](const MenuFacts& f) { return f.editable; }, "Skip Generation"},
    {Cmd::DisplayUnskipGeneration, &CommandHandlers::UnskipGeneration,
     [](const MenuFacts& f) { return f.editable && f.allSkipped; }, "Unskip Generation"},
    {Cmd::DisplayCollapseSubtree, &CommandHandlers::CollapseSubtree,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.allCollapsible; }, "Collapse Subtree"},
    {Cmd::DisplayExpandSubtreeOnce, &CommandHandlers::ExpandSubtreeOnce,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.allCollapsed; }, "Expand Subtree Once"},
    {Cmd::DisplayExpandEntireSubtree, &CommandHandlers::ExpandEntireSubtree,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.allCollapsed; }, nullptr},
    {Cmd::DisplayShowVariablesWindow, &CommandHandlers::ShowOrHideVariablesWindow, NoCustomInterface, nullptr},
    {Cmd::DisplayPreferences, &CommandHandlers::Preferences, NoCustomInterface, nullptr},
    {Cmd::DisplayNumericFormatting, &CommandHandlers::NumericFormatting, Always, nullptr},
    // A step while the pane has room for it.
    {Cmd::DisplayZoomIn, &CommandHandlers::ZoomIn,
     [](const MenuFacts& f) {
         const ZoomPane* pane = static_cast<const DocChildWindow*>(f.window)->Pane();
         return !f.customInterface && pane != nullptr && pane->CanZoomIn();
     },
     nullptr},
    {Cmd::DisplayZoomOut, &CommandHandlers::ZoomOut,
     [](const MenuFacts& f) {
         const ZoomPane* pane = static_cast<const DocChildWindow*>(f.window)->Pane();
         return !f.customInterface && pane != nullptr && pane->CanZoomOut();
     },
     nullptr},
    // Ctrl+1 to Ctrl+9 select a child of the one selected node.
    {Cmd::SelectChild1, &CommandHandlers::SelectChild<0>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild2, &CommandHandlers::SelectChild<1>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild3, &CommandHandlers::SelectChild<2>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild4, &CommandHandlers::SelectChild<3>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild5, &CommandHandlers::SelectChild<4>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild6, &CommandHandlers::SelectChild<5>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild7, &CommandHandlers::SelectChild<6>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild8, &CommandHandlers::SelectChild<7>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild9, &CommandHandlers::SelectChild<8>, [](const MenuFacts& f) { return f.one; }, nullptr},
};

} // namespace

TreeCommandRows DisplayCommandRows()
{
    return {rows, std::size(rows)};
}
