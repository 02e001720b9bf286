// The script's commands on documents: files and windows of the frame, and the tree of the top window.

#include "script/ScriptManager.h"

#include "analysis/RollBack.h"
#include "analysis/TreeQueries.h"
#include "widgets/InputHelpers.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "widgets/SaveQuestions.h"
#include "treewin/SelectNodesDialog.h"
#include "formula/FormulaRef.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/FilePath.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "graph/GraphWindow.h"
#include "model/EvalContext.h"
#include "model/NameRules.h"
#include "model/DocVariable.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"
#include "script/ScriptCommandHandlers.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <cctype>

namespace {

MDIchildCL* FrameTopWindow()
{
    return TheShell().ActiveChild();
}

// A payoff number 1 to 4 as its index 0 to 3; -1 otherwise.
int PayoffIndex(const std::string& text)
{
    const int n = ScriptManager::ParseScriptFlag(text);
    return n >= 1 && n <= 4 ? n - 1 : -1;
}

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

// OpenFile: a file open already comes to the front, as File Open brings it.
void Handlers::OpenFile(ScriptManager& script, const Parameters& parameters)
{
    for (const std::string& path : parameters) {
        const FilePath file(path.c_str());
        if (TheShell().FindOpenDocument(path.c_str()) != nullptr) {
            TheShell().OpenFileByName(path.c_str());
        } else if (!file.Exists()) {
            script.Fail(std::string("File \"") + file.FullPath().Text() + "\" not found.", Cmd::FileOpen);
            return;
        } else if (TheShell().OpenFileByName(path.c_str()) == nullptr) {
            // Its box said why; the script ends there.
            script.CloseScriptFile();
            script.clientFailed_ = script.clientFailed_ || script.clientLine_;
            return;
        }
    }
}

void Handlers::SaveFile(ScriptManager& script, const Parameters&)
{
    auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow());
    if (document != nullptr && document->SaveToFile() == 0)
        script.ReportError(2, Cmd::FileSave, document->FullPath().Text());
}

void Handlers::SaveFileAs(ScriptManager& script, const Parameters& parameters)
{
    auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow());
    const char* path = parameters.size() == 1 ? parameters[0].c_str() : nullptr;
    if (document != nullptr && document->SaveAs(path) == 0)
        script.ReportError(2, Cmd::FileSaveAs, path);
}

// CloseTopWindow: deleted at once unless the parameter reads as 0.
void Handlers::CloseTopWindow(ScriptManager&, const Parameters& parameters)
{
    MDIchildCL* top = FrameTopWindow();
    if (top == nullptr)
        return;
    if (!parameters.empty() && ParseScriptFlag(parameters[0]) == 0)
        AskSaveChanges(TheShell().Frame(), top, false);
    else
        delete top;
}

void Handlers::CopyPicture(ScriptManager&, const Parameters&)
{
    if (auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow()))
        document->CopyPicture();
}

void Handlers::PrintFile(ScriptManager&, const Parameters&)
{
    auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow());
    if (document != nullptr && document->CanPrint() && TheShell().Frame() != nullptr)
        SendCommand(TheShell().Frame()->Handle(), Cmd::FilePrint);
}

void Handlers::TopWindowType(ScriptManager& script, const Parameters& parameters)
{
    MDIchildCL* top = FrameTopWindow();
    script.StoreResult(parameters[0], top == nullptr                              ? "0"
                                      : dynamic_cast<TreeWindow*>(top) != nullptr  ? "1"
                                      : dynamic_cast<GraphWindow*>(top) != nullptr ? "2"
                                                                                   : "3");
}

void Handlers::TopWindowName(ScriptManager& script, const Parameters& parameters)
{
    MDIchildCL* top = FrameTopWindow();
    auto* document = dynamic_cast<DocumentWindow*>(top);
    std::string name;
    if (document != nullptr && parameters.size() > 1 && ParseScriptFlag(parameters[1]) != 0) {
        name = document->FullPath().Text();
    } else if (top != nullptr) {
        char title[260] = {};
        GetWindowTextA(top->Handle(), title, sizeof title);
        name = title;
    }
    script.StoreResult(parameters[0], name);
}

void Handlers::TableVal(ScriptManager&, const Parameters& parameters)
{
    LookupTable* table = FindTable(parameters[0].c_str());
    double x = 0, y = 0;
    int error = 0;
    ParseNumber(parameters[1].c_str(), x, error);
    ParseNumber(parameters[2].c_str(), y, error);
    if (table != nullptr && error == 0 && table->SetEntry(x, y) >= 0)
        table->Save();
}

// SetNFSigDigs: the top tree's or graph's number of digits, by its first parameter.
void Handlers::SetNumberDigits(ScriptManager& script, const Parameters& parameters)
{
    const int32_t id = Cmd::DisplayNumericFormatting;
    TreeWindow* tree = TopTree();
    const int which = ParseScriptFlag(parameters[0]);
    const int digits = ParseScriptFlag(parameters[1]);
    const auto fits = [](int n) { return n >= 0 && n <= 9; };
    if (which == 0) {
        if (tree == nullptr) {
            script.ReportError(4, id);
            return;
        }
        NumericFormat& format = tree->Document().NumberFormat();
        if (fits(digits))
            format.expValDigits = static_cast<int8_t>(digits);
        if (parameters.size() > 2 && fits(ParseScriptFlag(parameters[2])))
            format.probDigits = static_cast<int8_t>(ParseScriptFlag(parameters[2]));
        tree->Redraw();
    } else if (which == 1 || which == 2) {
        auto* graph = dynamic_cast<GraphWindow*>(FrameTopWindow());
        if (graph == nullptr) {
            script.ReportError(5, id);
            return;
        }
        if (fits(digits))
            (which == 1 ? graph->horizontalAxis : graph->verticalAxis).numberFormat.axisDigits =
                static_cast<int8_t>(digits);
        graph->InvalidateAll();
    } else {
        script.ReportError(2, id, parameters[0].c_str());
    }
}

void Handlers::TreeMenuCommand(ScriptManager& script, const Parameters&)
{
    TopTree()->OnCommand(script.currentCommand_);
}

namespace {

// Selects the nodes at the paths, after the selected ones when adding.
void SelectPaths(TreeWindow& tree, const ScriptManager::Parameters& paths, bool adding)
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; adding && i < tree.Selection.Count(); ++i)
        nodes.Add(tree.Selection.At(i));
    for (const std::string& path : paths) {
        TreeNode* node = FindNodeByPath(tree.Document().Root, path.c_str());
        if (node != nullptr && !nodes.Contains(node))
            nodes.Add(node);
    }
    tree.SelectNodes(nodes);
}

void SelectOne(TreeWindow& tree, TreeNode* node)
{
    NodeChildList nodes(1, Ownership::Borrows);
    nodes.Add(node);
    tree.SelectNodes(nodes);
}

// The selected nodes' paths: all, one a line, or the one at the position (from 1), "(none)" without it.
std::string SelectionPaths(TreeWindow& tree, int wanted)
{
    std::string text;
    for (int i = 0; i < tree.Selection.Count(); ++i) {
        zString path;
        NodePathString(tree.Selection.At(i), path, nullptr);
        if (wanted == 0)
            text += std::string(path.Text()) + "\r\n";
        else if (i + 1 == wanted)
            text = path.Text();
    }
    return wanted != 0 && text.empty() ? "(none)" : text;
}

} // namespace

void Handlers::SelectNode(ScriptManager&, const Parameters& parameters)
{
    SelectPaths(*TopTree(), parameters, false);
}

void Handlers::SelectNodeToo(ScriptManager&, const Parameters& parameters)
{
    SelectPaths(*TopTree(), parameters, true);
}

// "." parent, "<" previous and ">" next sibling, then a path from there.
void Handlers::SelectNodeRel(ScriptManager&, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    TreeNode* node = tree.CurrentNode();
    const std::string path = parameters.empty() ? std::string() : parameters[0];
    size_t at = 0;
    for (; at < path.size() && path[at] == '.'; ++at)
        node = node->parent != nullptr ? node->parent : node;
    for (; at < path.size() && (path[at] == '<' || path[at] == '>'); ++at) {
        TreeNode* sibling = path[at] == '<' ? node->PrevSibling() : node->NextSibling();
        node = sibling != nullptr ? sibling : node;
    }
    if (at < path.size())
        node = FindNodeByPath(node, path.substr(at).c_str());
    if (node != nullptr)
        SelectOne(tree, node);
}

void Handlers::SelectRoot(ScriptManager&, const Parameters&)
{
    TreeWindow& tree = *TopTree();
    SelectOne(tree, tree.Document().Root);
}

// The next node in keyboard order whose text holds the text.
void Handlers::SelectNodeRelName(ScriptManager&, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    TreeNode* root = tree.Document().Root;
    if (tree.Selection.Count() > 1)
        return;
    TreeNode* start = tree.CurrentNode() != nullptr ? tree.CurrentNode() : root;
    for (TreeNode* node = start;;) {
        node = node->NextNode(0);
        if (node == nullptr)
            node = root;
        if (node == start)
            return;
        zString text;
        node->GetDisplayText(text, true);
        if (std::string(text.Text()).find(parameters[0]) != std::string::npos) {
            SelectOne(tree, node);
            return;
        }
    }
}

void Handlers::SelectIf(ScriptManager&, const Parameters& parameters)
{
    SelectRule rule;
    const int kind = ParseScriptFlag(parameters[0]);
    const int flags = ParseScriptFlag(parameters[1]);
    const std::string& value = parameters[2];
    rule.selectedOnly = flags & 1;
    rule.addToSelection = (flags >> 1) & 1;
    const int number = ParseScriptFlag(value);
    if (kind == 1 && number >= 1 && number <= 6) {
        rule.kind = SelectRule::NodeType;
        rule.nodeKind = number;
    } else if (kind == 2) {
        rule.kind = SelectRule::NameContains;
        rule.name = value.c_str();
    } else if (kind == 3 && number >= 1 && number <= 5) {
        rule.kind = SelectRule::Position;
        rule.position = SelectRule::Rightmost + number - 1;
    } else if (kind == 4) {
        rule.kind = SelectRule::VariableDefined;
        rule.variable = value.c_str();
        NormalizeVariableName(rule.variable);
    } else {
        return;
    }
    SelectNodesDialog::SelectMatching(rule, *TopTree());
}

void Handlers::DeselectAll(ScriptManager&, const Parameters&)
{
    TopTree()->ClearSelection();
    TopTree()->InvalidateAll();
}

void Handlers::GetSelCount(ScriptManager& script, const Parameters& parameters)
{
    script.StoreResult(parameters[0], std::to_string(TopTree()->Selection.Count()));
}

void Handlers::GetSelList(ScriptManager& script, const Parameters& parameters)
{
    script.StoreResult(parameters[0], SelectionPaths(*TopTree(), 0));
}

void Handlers::GetSelNum(ScriptManager& script, const Parameters& parameters)
{
    // A position below 1 names no node.
    const int wanted = ParseScriptFlag(parameters[1]);
    script.StoreResult(parameters[0], wanted == 0 ? "(none)" : SelectionPaths(*TopTree(), wanted));
}

// A failed computation ends the script: its variable never keeps a stale value.
void ScriptManager::StoreComputed(const Parameters& parameters, size_t nameAt, double value, bool failed,
                                  bool probability)
{
    if (failed) {
        ReportError(0, currentCommand_);
        return;
    }
    const bool plain = parameters.size() > nameAt + 1 && ParseScriptFlag(parameters[nameAt + 1]) == 0;
    StoreResult(parameters[nameAt], FormatResult(TopTree()->Document().NumberFormat(), value, probability, plain));
}

void Handlers::ExpectedValue(ScriptManager& script, const Parameters& parameters)
{
    RunFault error;
    const double value = RollBackTree(TopTree()->CurrentNode(), &error, RollBackPlain);
    script.StoreComputed(parameters, 0, value, static_cast<bool>(error), false);
}

void Handlers::PathProb(ScriptManager& script, const Parameters& parameters)
{
    RunFault error;
    const double value = PathProbability(TopTree()->CurrentNode(), &error, nullptr, false);
    script.StoreComputed(parameters, 0, value, static_cast<bool>(error), true);
}

void Handlers::StdDev(ScriptManager& script, const Parameters& parameters)
{
    RunFault error;
    const double value = NodeStandardDeviation(TopTree()->CurrentNode(), &error);
    script.StoreComputed(parameters, 0, value, static_cast<bool>(error), false);
}

// Evaluate: the formula at the selected node.
void Handlers::Evaluate(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    FormulaRef formula(new EvalContext(&tree.Document(), tree.CurrentNode()), 1, nullptr);
    const double value = formula.EvaluateText(parameters[0].c_str());
    script.StoreComputed(parameters, 1, value, formula.HasError(), false);
}

void Handlers::NumKids(ScriptManager& script, const Parameters& parameters)
{
    TreeNode* node = TopTree()->CurrentNode();
    int kids = node->childCount;
    if (parameters.size() > 1 && ParseScriptFlag(parameters[1]) >= 1) {
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
    const int payoff = PayoffIndex(parameters[0]);
    if (payoff < 0) {
        script.ReportError(2, ScriptCmd::GetNodePayoff, parameters[0].c_str());
        return;
    }
    zString text;
    TopTree()->CurrentNode()->GetPayoffText(text, payoff);
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

void Handlers::CopyDocVariables(ScriptManager&, const Parameters& parameters)
{
    const TreeDocument& document = TopTree()->Document();
    const bool rootTexts = !parameters.empty() && ParseScriptFlag(parameters[0]) != 0;
    const bool comments = parameters.size() > 1 && ParseScriptFlag(parameters[1]) != 0;
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

void Handlers::ChangeNodeType(ScriptManager&, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    const int kind = ParseScriptFlag(parameters[0]);
    if (kind < 1 || kind > 7)
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
void Handlers::RollBack(ScriptManager&, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    const bool rolledBack = tree.Document().IsRolledBack();
    const bool on = !parameters.empty() ? ParseScriptFlag(parameters[0]) != 0 : !rolledBack;
    if (on != rolledBack)
        tree.OnCommand(Cmd::AnalysisRollBack);
}

namespace {

// Sets the calculation method or the active payoff; the results shown no longer hold.
void SetCalcSetting(ScriptManager& script, TreeWindow& tree, const std::string& parameter, int32_t id, bool method)
{
    const int n = PayoffIndex(parameter);
    if (n < 0) {
        script.ReportError(2, id, parameter.c_str());
        return;
    }
    TreeDocument& document = tree.Document();
    if (method)
        CalcMethodFromNumber(n, document.CalcPrefs.CalcMethod);
    else
        document.CalcPrefs.CurrentPayoff = static_cast<int8_t>(n);
    document.EndRolledBack();
    tree.SetModified(1);
    tree.Redraw();
}

} // namespace

void Handlers::SetCalcMethod(ScriptManager& script, const Parameters& parameters)
{
    SetCalcSetting(script, *TopTree(), parameters[0], ScriptCmd::SetCalcMethod, true);
}

void Handlers::SetActivePayoff(ScriptManager& script, const Parameters& parameters)
{
    SetCalcSetting(script, *TopTree(), parameters[0], ScriptCmd::SetActivePayoff, false);
}

// Only a rolled-back tree has a snapshot to save.
void Handlers::SaveAsTRB(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    FilePath path(parameters[0].c_str());
    path.SetExtension("trb");
    zString message;
    if (!tree.Document().IsRolledBack() || !tree.SaveCopyAs(path.FullPath().Text(), message))
        script.ReportError(2, ScriptCmd::SaveAsTRB, parameters[0].c_str());
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
    const int payoff = PayoffIndex(parameters[0]);
    if (payoff < 0) {
        script.ReportError(2, ScriptCmd::SetNodePayoff, parameters[0].c_str());
        return;
    }
    const char* texts[4] = {"", "", "", ""};
    bool flags[4] = {false, false, false, false};
    texts[payoff] = parameters[1].c_str();
    flags[payoff] = true;
    tree.AddUndoAction(new TreeChangePayoffAction(&tree, tree.Selection, texts, flags));
}
