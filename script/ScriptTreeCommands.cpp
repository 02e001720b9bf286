// The script's commands on the tree of the top window: its results, its nodes' texts and values, its settings.
// The frame's files and windows are in ScriptFileCommands.cpp, the selection in ScriptSelectionCommands.cpp.

#include "script/ScriptManager.h"

#include "analysis/RollBack.h"
#include "analysis/TreeQueries.h"
#include "widgets/InputHelpers.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "widgets/SaveQuestions.h"
#include "treewin/SelectNodesDialog.h"
#include "formula/FormulaRef.h"
#include "foundation/FilePath.h"
#include "foundation/NumericFormatting.h"
#include "model/EvalContext.h"
#include "model/NameRules.h"
#include "model/DocVariable.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"
#include "script/ScriptCommandHandlers.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>

namespace {

// The value as a script result: decimals 0 gives the plain form with at most 9 places; otherwise a path
// probability takes the format's probability places, other values the full form with its value places.
std::string FormatResult(const NumericFormat& format, double value, bool probability, bool plain)
{
    zString text;
    if (plain)
        FormatNumber(format, value, text, !probability, false, -9);
    else if (probability)
        FormatNumber(format, value, text, false, false, DigitsOfFormat);
    else
        FormatNumber(format, value, text, true, true, DigitsOfFormat);
    return text.Text();
}

void CountTerminal(TreeNode* node, void* count)
{
    if (node->IsTerminal())
        ++*static_cast<int*>(count);
}

// The selection, or the root when nothing is selected.
void SelectionOrRoot(TreeWindow& tree, NodeChildList& nodes)
{
    for (int i = 0; i < tree.Selection.Count(); ++i)
        nodes.Add(tree.Selection.At(i));
    if (nodes.Count() == 0)
        nodes.Add(tree.Document().Root);
}

} // namespace

using Handlers = ScriptManager::Handlers;

void Handlers::TreeMenuCommand(ScriptManager& script, const Parameters&)
{
    TopTree()->OnCommand(script.currentCommand_);
}

// The form is read before the computation; a failed computation ends the script: its variable never keeps
// a stale value.
void ScriptManager::StoreComputed(const Parameters& parameters, size_t nameAt, bool probability,
                                  const std::function<double(bool& failed)>& compute)
{
    int formatted = 1;
    if (!OptionalFlag(parameters, nameAt + 1, 1, formatted))
        return;
    bool failed = false;
    const double value = compute(failed);
    if (failed) {
        ReportError(0, currentCommand_);
        return;
    }
    StoreResult(parameters[nameAt],
                FormatResult(TopTree()->Document().NumberFormat(), value, probability, formatted == 0));
}

void Handlers::ExpectedValue(ScriptManager& script, const Parameters& parameters)
{
    script.StoreComputed(parameters, 0, false, [](bool& failed) {
        RunFault error;
        const double value = RollBackTree(TopTree()->CurrentNode(), &error, RollBackPlain);
        failed = static_cast<bool>(error);
        return value;
    });
}

void Handlers::PathProb(ScriptManager& script, const Parameters& parameters)
{
    script.StoreComputed(parameters, 0, true, [](bool& failed) {
        RunFault error;
        const double value = PathProbability(TopTree()->CurrentNode(), &error, nullptr, false);
        failed = static_cast<bool>(error);
        return value;
    });
}

void Handlers::StdDev(ScriptManager& script, const Parameters& parameters)
{
    script.StoreComputed(parameters, 0, false, [](bool& failed) {
        RunFault error;
        const double value = NodeStandardDeviation(TopTree()->CurrentNode(), &error);
        failed = static_cast<bool>(error);
        return value;
    });
}

// Evaluate: the formula at the selected node.
void Handlers::Evaluate(ScriptManager& script, const Parameters& parameters)
{
    script.StoreComputed(parameters, 1, false, [&parameters](bool& failed) {
        TreeWindow& tree = *TopTree();
        FormulaRef formula(new EvalContext(&tree.Document(), tree.CurrentNode()), 1, nullptr);
        const double value = formula.EvaluateText(parameters[0].c_str());
        failed = formula.HasError();
        return value;
    });
}

void Handlers::NumKids(ScriptManager& script, const Parameters& parameters)
{
    int terminal = 0;
    if (!script.OptionalFlag(parameters, 1, 0, terminal))
        return;
    TreeNode* node = TopTree()->CurrentNode();
    int kids = node->childCount;
    if (terminal >= 1) {
        kids = 0;
        WalkTreeWithSkip(node, CountTerminal, &kids, false);
    }
    script.StoreResult(parameters[0], std::to_string(kids));
}

void Handlers::GetNodeName(ScriptManager& script, const Parameters& parameters)
{
    script.StoreResult(parameters[0], TopTree()->CurrentNode()->text.Text());
}

void Handlers::GetNodeProb(ScriptManager& script, const Parameters& parameters)
{
    zString text;
    TopTree()->CurrentNode()->GetProbabilityText(text);
    script.StoreResult(parameters[0], text.Text());
}

void Handlers::GetNodePayoff(ScriptManager& script, const Parameters& parameters)
{
    int payoff = 0;
    if (!script.IntegerParameter(parameters, 0, 1, 4, payoff))
        return;
    zString text;
    TopTree()->CurrentNode()->GetPayoffText(text, payoff - 1);
    script.StoreResult(parameters[1], text.Text());
}

namespace {

// The selected node, or the root when none is selected.
TreeNode* CurrentOrRoot(TreeWindow& tree)
{
    return tree.CurrentNode() != nullptr ? tree.CurrentNode() : tree.Document().Root;
}

} // namespace

void Handlers::GetNodeVar(ScriptManager& script, const Parameters& parameters)
{
    const VariableDefinition* binding =
        CurrentOrRoot(*TopTree())->FindBinding(ScriptManager::Upper(parameters[0]).c_str(), true);
    script.StoreResult(parameters[1], binding != nullptr ? binding->definition.Text().Text() : "");
}

void Handlers::CopyNodeVars(ScriptManager&, const Parameters&)
{
    const TreeNode* at = CurrentOrRoot(*TopTree());
    std::string text;
    for (int i = 0; i < at->BindingCount(); ++i) {
        const VariableDefinition* binding = at->GetBinding(i);
        text += std::string(binding->name.Text()) + "\t" + binding->definition.Text().Text() + "\r\n";
    }
    TheShell().PutClipboardText(text.c_str());
}

void Handlers::CopyDocVariables(ScriptManager& script, const Parameters& parameters)
{
    const TreeDocument& document = TopTree()->Document();
    int rootTexts = 0;
    int comments = 0;
    if (!script.OptionalFlag(parameters, 0, 0, rootTexts) || !script.OptionalFlag(parameters, 1, 0, comments))
        return;
    std::string text;
    for (int i = 0; i < document.Variables.Count(); ++i) {
        const DocVariable* variable = document.Variables.At(i);
        const VariableDefinition* binding =
            rootTexts ? document.Root->FindBinding(variable->upperName.Text(), true) : nullptr;
        text += std::string(binding != nullptr ? binding->definition.Text().Text() : variable->name.Text()) + "\r\n";
        if (comments) {
            if (!variable->comment.IsEmpty())
                text += std::string(variable->comment.Text()) + "\r\n";
            text += "\r\n";
        }
    }
    TheShell().PutClipboardText(text.c_str());
}

void Handlers::ChangeNodeType(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    int kind = 0;
    if (!script.IntegerParameter(parameters, 0, 1, 7, kind))
        return;
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < tree.Selection.Count(); ++i) {
        TreeNode* selected = tree.Selection.At(i);
        const bool decisionInMarkov = (kind == 2 || kind == 5) && selected->IsInMarkovSubtree();
        if (!decisionInMarkov && !(kind == 3 && selected->childCount > 0))
            nodes.Add(selected);
    }
    if (nodes.Count() > 0)
        tree.AddUndoAction(new TreeChangeNodeTypeAction(&tree, nodes, kind));
}

// RollBack: the tree's own command, which also clears its undo history; a parameter says on or off.
void Handlers::RollBack(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    const bool rolledBack = tree.Document().IsRolledBack();
    int on = rolledBack ? 0 : 1;
    if (!script.OptionalFlag(parameters, 0, on, on))
        return;
    if ((on != 0) != rolledBack)
        tree.OnCommand(Cmd::AnalysisRollBack);
}

namespace {

// Sets the calculation method or the active payoff; the results shown no longer hold.
void SetCalcSetting(ScriptManager& script, TreeWindow& tree, const ScriptManager::Parameters& parameters, bool method)
{
    int n = 0;
    if (!script.IntegerParameter(parameters, 0, 1, 4, n))
        return;
    TreeDocument& document = tree.Document();
    if (method)
        CalcMethodFromNumber(n - 1, document.CalcPrefs.CalcMethod);
    else
        document.CalcPrefs.CurrentPayoff = static_cast<int8_t>(n - 1);
    document.EndRolledBack();
    tree.SetModified(1);
    tree.Redraw();
    // The status bar names the method and the active payoff, as after Preferences.
    document.UpdateStatusIndicators();
}

} // namespace

void Handlers::SetCalcMethod(ScriptManager& script, const Parameters& parameters)
{
    SetCalcSetting(script, *TopTree(), parameters, true);
}

void Handlers::SetActivePayoff(ScriptManager& script, const Parameters& parameters)
{
    SetCalcSetting(script, *TopTree(), parameters, false);
}

// Only a rolled-back tree has a snapshot to save.
void Handlers::SaveAsTRB(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    FilePath path(parameters[0].c_str());
    path.SetExtension("trb");
    if (!tree.Document().IsRolledBack()) {
        script.Fail("The tree is not rolled back: a snapshot holds the results of a roll back.",
                    ScriptManager::CommandName(ScriptCmd::SaveAsTRB));
        return;
    }
    zString message;
    if (!tree.SaveCopyAs(path.FullPath().Text(), message))
        script.Fail(message.Text(), ScriptManager::CommandName(ScriptCmd::SaveAsTRB));
}

void Handlers::RunStoredAnalysis(ScriptManager& script, const Parameters& parameters)
{
    script.RunStoredAnalysisAndWait(*TopTree(), parameters[0]);
}

namespace {

// A typed text of the selected node: shown again, and the tree modified.
void SetNodeText(TreeWindow& tree, const std::string& text, bool probability)
{
    TreeNode* node = tree.CurrentNode();
    if (!probability) {
        node->SetText(text.c_str(), true);
    } else {
        node->SetProbabilityText(text.c_str(), true);
        node->ModelChanged();
    }
    tree.RedrawNode(node, 0);
    tree.SetModified(1);
    tree.InvalidateAll();
}

} // namespace

void Handlers::SetNodeName(ScriptManager&, const Parameters& parameters)
{
    SetNodeText(*TopTree(), parameters[0], false);
}

void Handlers::SetNodeProb(ScriptManager&, const Parameters& parameters)
{
    SetNodeText(*TopTree(), parameters[0], true);
}

void Handlers::SetNodeVar(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    const std::string& name = parameters[0];
    if (!tree.Document().HasVariable(ScriptManager::Upper(name).c_str(), true)) {
        if (!CheckVariableName(zString(name.c_str()), false, false)) {
            script.ReportError(9, ScriptCmd::SetNodeVar, name.c_str());
            return;
        }
        tree.Document().EnsureVariable(name.c_str(), nullptr);
    }
    NodeChildList nodes(4, Ownership::Borrows);
    SelectionOrRoot(tree, nodes);
    tree.AddUndoAction(new TreeDefineVariableAction(&tree, nodes, name.c_str(),
                                                    parameters.size() > 1 ? parameters[1].c_str() : ""));
}

void Handlers::SetNodePayoff(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    int payoff = 0;
    if (!script.IntegerParameter(parameters, 0, 1, 4, payoff))
        return;
    const char* texts[4] = {"", "", "", ""};
    bool flags[4] = {false, false, false, false};
    texts[payoff - 1] = parameters[1].c_str();
    flags[payoff - 1] = true;
    tree.AddUndoAction(new TreeChangePayoffAction(&tree, tree.Selection, texts, flags));
}
