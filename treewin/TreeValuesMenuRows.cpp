// The rows of a tree window's Values menu in its command table (TreeCommandTable.h), with the Variables
// window's commands.

#include "treewin/TreeCommandTable.h"

#include "model/TreeNode.h"
#include "treewin/TreeCommandHandlers.h"

#include "CommandIds.h"

#include <iterator>

using CommandHandlers = TreeWindow::CommandHandlers;

namespace {

using MenuFacts = TreeMenuFacts;

const TreeWindow::CommandRow rows[] = {
    // The Values menu.
    {Cmd::ValuesDefineValues, &CommandHandlers::DefineValues, [](const MenuFacts& f) { return !f.busy; }, nullptr},
    {Cmd::ValuesInsertVariable, &CommandHandlers::InsertVariable,
     [](const MenuFacts& f) { return f.editField == 2; }, nullptr},
    {Cmd::ValuesChangePayoff, &CommandHandlers::ChangePayoff,
     [](const MenuFacts& f) {
         return !f.rolledBack && f.any && !f.someInMarkov && f.allTerminal && !f.customInterface;
     }, nullptr},
    {Cmd::ValuesMarkovStateInformation, &CommandHandlers::MarkovStateInformation,
     [](const MenuFacts& f) { return !f.customInterface && f.any && !f.locked && f.allMarkovStates; }, nullptr},
    {Cmd::ValuesMarkovTermination, &CommandHandlers::MarkovTermination,
     [](const MenuFacts& f) { return f.markov1 && !f.busy; }, nullptr},
    {Cmd::ValuesOpenEvaluator, &CommandHandlers::OpenOrCloseEvaluator, NoCustomInterface, nullptr},
    {Cmd::ValuesCreateSlider, &CommandHandlers::CreateSlider,
     [](const MenuFacts& f) { return f.any && !f.busy; }, nullptr},
    {Cmd::ValuesMarkovTransitionRewards, &CommandHandlers::MarkovTransitionRewards,
     [](const MenuFacts& f) { return !f.customInterface && f.any && !f.locked && f.allInMarkovNotState; }, nullptr},
    {Cmd::ValuesProbabilityWheel, &CommandHandlers::ProbabilityWheel,
     [](const MenuFacts& f) {
         return f.one && !f.busy && !f.copy1 && f.first->kind == ChanceNode && f.kids >= 1;
     }, nullptr},
    {Cmd::ValuesMultiAttributeWeights, &CommandHandlers::MultiAttributeWeights,
     [](const MenuFacts& f) { return !f.busy && f.calcMethod == MultiAttributeMethod; }, nullptr},
    {Cmd::ValuesDistributions, &CommandHandlers::Distributions,
     [](const MenuFacts& f) { return !f.busy && f.free; }, nullptr},
    {Cmd::ReportTablesUsed, &CommandHandlers::TablesUsed, Always, nullptr},
    {Cmd::ReportVariables, &CommandHandlers::VariablesReport, Always, nullptr},
    {Cmd::ShowVariables, &CommandHandlers::ShowVariablesWindow, NoCustomInterface, nullptr},
    {Cmd::ShowVariableBindings, &CommandHandlers::ShowVariablesWindow, NoCustomInterface, nullptr},
};

} // namespace

TreeCommandRows ValuesCommandRows()
{
    return {rows, std::size(rows)};
}
