// The rows of a tree window's Options menu in its command table (TreeCommandTable.h), with the custom
// interface's panel buttons.

#include "treewin/TreeCommandTable.h"

#include "model/TreeNode.h"
#include "treewin/TreeCommandHandlers.h"

#include "CommandIds.h"

#include <iterator>

using CommandHandlers = TreeWindow::CommandHandlers;

namespace {

using MenuFacts = TreeMenuFacts;

bool LabelWithChild(const MenuFacts& f) { return f.first != nullptr && f.first->kind == LabelNode && f.kids > 0; }

const TreeWindow::CommandRow rows[] = {
    {Cmd::OptionsSelectSubtree, &CommandHandlers::SelectSubtree,
     [](const MenuFacts& f) {
         return f.one && !f.customInterface &&
                (f.subtreeHighlighted || (!f.copy1 && f.kids > 0 && !f.first->collapsed));
     },
     nullptr},
    {Cmd::OptionsFind, &CommandHandlers::Find, NoCustomInterface, nullptr},
    {Cmd::OptionsAddBranches, &CommandHandlers::AddBranches,
     [](const MenuFacts& f) {
         return f.editable1 && f.first->kind != TerminalNode && !f.subtreeHighlighted && !f.copy1 &&
                !f.first->collapsed && !LabelWithChild(f);
     },
     nullptr},
    {Cmd::OptionsInsertBranch, &CommandHandlers::InsertBranch,
     [](const MenuFacts& f) { return f.editable1; }, "Insert Branch"},
    {Cmd::OptionsChangeNodeType, &CommandHandlers::ChangeNodeType,
     [](const MenuFacts& f) { return f.editable && !f.locked; }, nullptr},
    {Cmd::OptionsForcePath, &CommandHandlers::ForcePath,
     [](const MenuFacts& f) { return f.editable1 && !f.copy1 && !f.subtreeHighlighted && !f.root1; }, "Force Path"},
    {Cmd::OptionsEnterRiskPreferences, &CommandHandlers::EnterRiskPreferences,
     [](const MenuFacts& f) { return !f.busy && !f.rolledBack && f.calcMethod == PayoffMethod; }, nullptr},
    {Cmd::OptionsDistributeChildren, &CommandHandlers::DistributeChildren,
     [](const MenuFacts& f) {
         return f.editable1 && !f.markov1 && f.kids == 0 && f.first->kind != TerminalNode;
     }, nullptr},
    {Cmd::OptionsBayesRevision, &CommandHandlers::BayesRevision,
     [](const MenuFacts& f) { return f.editable1 && f.first->kind == ChanceNode && !f.copy1; }, nullptr},
    {Cmd::OptionsChangeOptimalPath, &CommandHandlers::ChangeOptimalPath,
     [](const MenuFacts& f) {
         return f.editable && f.calcMethod != CostEffectivenessMethod && !f.locked && (f.allDecision || f.allReversed);
     },
     "Change Optimal Path"},
    {Cmd::OptionsDeleteBranch, &CommandHandlers::DeleteBranch,
     [](const MenuFacts& f) { return f.editable1 && !f.root1; }, nullptr},
    {Cmd::OptionsNodeComment, &CommandHandlers::NodeComment,
     [](const MenuFacts& f) { return !f.busy && f.one && f.kids >= 1; }, nullptr},
    {Cmd::OptionsSelectIf, &CommandHandlers::SelectIf, NoCustomInterface, nullptr},
    // Hiding is always possible; showing needs an interface to show.
    {Cmd::OptionsShowCustomInterface, &CommandHandlers::ShowCustomInterface,
     [](const MenuFacts& f) { return f.customInterface || f.window->CanShowCustomInterface(); }, nullptr},
    {Cmd::OptionsDesignCustomInterface, &CommandHandlers::DesignCustomInterface, NoCustomInterface, nullptr},
    {Cmd::OptionsReorderBranches, &CommandHandlers::ReorderBranches,
     [](const MenuFacts& f) { return f.editable1 && f.kids >= 2; },
     "Reorder Branches"},
    {Cmd::OptionsMimicRunTime, &CommandHandlers::MimicRunTime, Always, nullptr},
    {Cmd::OptionsMarkovBindings, &CommandHandlers::MarkovBindings,
     [](const MenuFacts& f) { return !f.busy && f.one && (f.markov1 || f.someInMarkov); }, nullptr},
    {Cmd::OptionsMarkovTransitionNode, &CommandHandlers::MarkovTransitionNode,
     [](const MenuFacts& f) { return !f.customInterface && f.any && !f.locked && f.allTerminalInMarkovNotState; },
     "Markov Transition Node"},
    // The custom interface's panel buttons; each needs the interface's settings.
    {Cmd::CustomInterfaceOptions, &CommandHandlers::InterfaceOptions,
     [](const MenuFacts& f) { return f.interfaceSettings; }, nullptr},
    {Cmd::CustomInterfaceChangeValues, &CommandHandlers::ChangeValues,
     [](const MenuFacts& f) { return f.interfaceSettings; }, nullptr},
    {Cmd::CustomInterfaceComments, &CommandHandlers::InterfaceComments,
     [](const MenuFacts& f) { return f.interfaceSettings; }, nullptr},
};

} // namespace

TreeCommandRows OptionsCommandRows()
{
    return {rows, std::size(rows)};
}
