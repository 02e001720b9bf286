// The rows of a tree window's File and Edit menus in its command table (TreeCommandTable.h): saving, the
// tree clipboard, clones and links.

#include "treewin/TreeCommandTable.h"

#include "model/CustomInterfaceSettings.h"
#include "model/TreeNode.h"
#include "treewin/TreeCommandHandlers.h"
#include "treewin/TreeLinkCommands.h"

#include "CommandIds.h"

#include <iterator>

using CommandHandlers = TreeWindow::CommandHandlers;

namespace {

using MenuFacts = TreeMenuFacts;

// Save and Save As: never over an opened roll-back snapshot, nor from a custom interface that does not let
// its user save.
bool MaySave(const MenuFacts& f)
{
    const CustomInterfaceSettings* settings = f.window->Document().CustomInterface.get();
    return !f.snapshot && !(f.customInterface && (settings == nullptr || settings->options.allowSaveTree == 0));
}

bool PasteText(const MenuFacts& f) { return (f.window->ComputeEditMasks().paste & (1u << TreeWindow::ScopeText)) != 0; }
bool PasteNodes(const MenuFacts& f)
{
    const unsigned nodes = (1u << TreeWindow::ScopeNode) | (1u << TreeWindow::ScopeSubtree);
    return (f.window->ComputeEditMasks().paste & nodes) != 0;
}

const TreeWindow::CommandRow rows[] = {
    // The document window saves (OnCommandId) what the rule lets it.
    {Cmd::FileSave, nullptr, MaySave, nullptr},
    {Cmd::FileSaveAs, nullptr, MaySave, nullptr},
    // The Edit menu and the node popup's paste items.
    {Cmd::NodePasteText, &CommandHandlers::PasteText, PasteText, nullptr},
    {Cmd::NodePasteNode, &CommandHandlers::PasteNode, PasteNodes, nullptr},
    {Cmd::EditCut, &CommandHandlers::Cut,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().cut != 0; }, nullptr},
    {Cmd::EditCopy, &CommandHandlers::Copy,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().copy != 0; }, nullptr},
    {Cmd::EditPaste, &CommandHandlers::Paste,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().paste != 0; }, nullptr},
    {Cmd::EditClear, &CommandHandlers::Clear,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().clear != 0; }, nullptr},
    {Cmd::EditCreateClone, &CommandHandlers::CreateClone,
     [](const MenuFacts& f) { return f.editable1 && !f.copy1 && f.subtreeHighlighted && !f.root1; }, nullptr},
    {Cmd::EditAttachClone, &CommandHandlers::AttachClone,
     [](const MenuFacts& f) { return f.editable && f.masters > 0 && (f.copy1 || !f.someNotPlain); }, nullptr},
    {Cmd::EditTreeClipboard1, &CommandHandlers::TreeClipboardSlot<0>, NoCustomInterface, nullptr},
    {Cmd::EditTreeClipboard2, &CommandHandlers::TreeClipboardSlot<1>, NoCustomInterface, nullptr},
    {Cmd::EditTreeClipboard3, &CommandHandlers::TreeClipboardSlot<2>, NoCustomInterface, nullptr},
    {Cmd::EditTreeClipboard4, &CommandHandlers::TreeClipboardSlot<3>, NoCustomInterface, nullptr},
    {Cmd::EditLinks, &CommandHandlers::Links, NoCustomInterface, nullptr},
    {Cmd::EditCopySpecial, &CommandHandlers::CopySpecial,
     [](const MenuFacts& f) { return TreeLinks::CanCopySpecial(*f.window); }, nullptr},
    {Cmd::EditPasteLink, &CommandHandlers::PasteLink,
     [](const MenuFacts& f) { return TreeLinks::CanPasteLinkHere(*f.window); }, nullptr},
    {Cmd::EditBreakLink, &CommandHandlers::BreakLink,
     [](const MenuFacts& f) { return TreeLinks::CanBreakLink(*f.window); }, nullptr},
    {Cmd::EditClones, &CommandHandlers::Clones, [](const MenuFacts& f) { return f.masters > 0; }, nullptr},
};

} // namespace

TreeCommandRows FileEditCommandRows()
{
    return {rows, std::size(rows)};
}
