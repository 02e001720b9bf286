// The script's commands on documents: files and windows of the frame, and the tree of the top window.

#include "script/ScriptManager.h"

#include "analysis/RollBack.h"
#include "analysis/RollBackAnalysis.h"
#include "analysis/TreeQueries.h"
#include "app/InputHelpers.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "app/SaveQuestions.h"
#include "app/StartProgram.h"
#include "dialogs/SelectNodesDialog.h"
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
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <cctype>

namespace {

MDIchildCL* FrameTopWindow()
{
    MainFrame* frame = MainFrame::Program();
    return frame != nullptr ? frame->ActiveChild() : nullptr;
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

void ScriptManager::RunFileCommand(int32_t id, const Parameters& parameters)
{
    const int count = static_cast<int>(parameters.size());
    MDIchildCL* top = FrameTopWindow();
    auto* document = dynamic_cast<DocumentWindow*>(top);
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    switch (id) {
    case Cmd::FileOpen: // OpenFile: a file open already comes to the front, as File Open brings it
        for (const std::string& path : parameters) {
            const FilePath file(path.c_str());
            if (FindOpenDocument(path.c_str()) != nullptr) {
                OpenFileByName(path.c_str());
            } else if (!file.Exists()) {
                Fail(std::string("File \"") + file.FullPath().Text() + "\" not found.", id);
                return;
            } else if (OpenFileByName(path.c_str()) == nullptr) {
                // Its box said why; the script ends there.
                CloseScriptFile();
                clientFailed_ = clientFailed_ || clientLine_;
                return;
            }
        }
        break;
    case Cmd::FileSave: // SaveFile
        if (document != nullptr && document->SaveToFile() == 0)
            ReportError(2, id, document->FullPath().Text());
        break;
    case Cmd::FileSaveAs: // SaveFileAs
        if (document != nullptr && document->SaveAs(count == 1 ? parameters[0].c_str() : nullptr) == 0)
            ReportError(2, id, count == 1 ? parameters[0].c_str() : nullptr);
        break;
    case Cmd::FileClose: // CloseTopWindow: deleted at once unless the parameter reads as 0
        if (top == nullptr)
            break;
        if (count > 0 && ParseScriptFlag(parameters[0]) == 0)
            AskSaveChanges(MainFrame::Program(), top, false);
        else
            delete top;
        break;
    case Cmd::EditCopySpecial: // CopyPicture
        if (document != nullptr)
            document->CopyPicture();
        break;
    case Cmd::FilePrint: // PrintFile
        if (document != nullptr && document->CanPrint() && MainFrame::Program() != nullptr)
            SendCommand(MainFrame::Program()->Handle(), Cmd::FilePrint);
        break;
    case ScriptCmd::TopWindowType:
        store(parameters[0], top == nullptr                           ? "0"
                             : dynamic_cast<TreeWindow*>(top) != nullptr ? "1"
                             : dynamic_cast<GraphWindow*>(top) != nullptr ? "2"
                                                                          : "3");
        break;
    case ScriptCmd::TopWindowName: {
        std::string name;
        if (document != nullptr && count > 1 && ParseScriptFlag(parameters[1]) != 0) {
            name = document->FullPath().Text();
        } else if (top != nullptr) {
            char title[260] = {};
            GetWindowTextA(top->Handle(), title, sizeof title);
            name = title;
        }
        store(parameters[0], name);
        break;
    }
    case ScriptCmd::TableVal: {
        LookupTable* table = FindTable(parameters[0].c_str());
        double x = 0, y = 0;
        int error = 0;
        ParseNumber(parameters[1].c_str(), x, error);
        ParseNumber(parameters[2].c_str(), y, error);
        if (table != nullptr && error == 0 && table->SetEntry(x, y) >= 0)
            table->Save();
        break;
    }
    default:
        break;
    }
}

void ScriptManager::SetNumberDigits(int32_t id, const Parameters& parameters)
{
    const int count = static_cast<int>(parameters.size());
    TreeWindow* tree = TopTree();
    const int which = ParseScriptFlag(parameters[0]);
    const int digits = ParseScriptFlag(parameters[1]);
    const auto fits = [](int n) { return n >= 0 && n <= 9; };
    if (which == 0) {
        if (tree == nullptr) {
            ReportError(4, id);
            return;
        }
        NumericFormat& format = tree->Document().NumberFormat();
        if (fits(digits))
            format.expValDigits = static_cast<int8_t>(digits);
        if (count > 2 && fits(ParseScriptFlag(parameters[2])))
            format.probDigits = static_cast<int8_t>(ParseScriptFlag(parameters[2]));
        tree->Redraw();
    } else if (which == 1 || which == 2) {
        auto* graph = dynamic_cast<GraphWindow*>(FrameTopWindow());
        if (graph == nullptr) {
            ReportError(5, id);
            return;
        }
        if (fits(digits))
            (which == 1 ? graph->horizontalAxis : graph->verticalAxis).numberFormat.axisDigits =
                static_cast<int8_t>(digits);
        graph->InvalidateAll();
    } else {
        ReportError(2, id, parameters[0].c_str());
    }
}

void ScriptManager::RunTreeSelectCommand(int32_t id, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    TreeDocument& document = tree.Document();
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    NodeChildList nodes(4, Ownership::Borrows);
    switch (id) {
    case ScriptCmd::SelectNode:
    case ScriptCmd::SelectNodeToo: {
        for (int i = 0; id == ScriptCmd::SelectNodeToo && i < tree.Selection.Count(); ++i)
            nodes.Add(tree.Selection.At(i));
        for (const std::string& path : parameters) {
            TreeNode* node = FindNodeByPath(document.Root, path.c_str());
            if (node != nullptr && !nodes.Contains(node))
                nodes.Add(node);
        }
        tree.SelectNodes(nodes);
        return;
    }
    case ScriptCmd::SelectNodeRel: { // "." parent, "<" previous and ">" next sibling, then a path from there
        TreeNode* node = tree.CurrentNode();
        std::string path = parameters.empty() ? std::string() : parameters[0];
        size_t at = 0;
        for (; at < path.size() && path[at] == '.'; ++at)
            node = node->parent != nullptr ? node->parent : node;
        for (; at < path.size() && (path[at] == '<' || path[at] == '>'); ++at) {
            TreeNode* sibling = path[at] == '<' ? node->PrevSibling() : node->NextSibling();
            node = sibling != nullptr ? sibling : node;
        }
        if (at < path.size())
            node = FindNodeByPath(node, path.substr(at).c_str());
        if (node != nullptr) {
            nodes.Add(node);
            tree.SelectNodes(nodes);
        }
        return;
    }
    case ScriptCmd::SelectRoot:
        nodes.Add(document.Root);
        tree.SelectNodes(nodes);
        return;
    case ScriptCmd::SelectNodeRelName: { // the next node in keyboard order whose text holds the text
        if (tree.Selection.Count() > 1)
            return;
        TreeNode* start = tree.CurrentNode() != nullptr ? tree.CurrentNode() : document.Root;
        for (TreeNode* node = start;;) {
            node = node->NextNode(0);
            if (node == nullptr)
                node = document.Root;
            if (node == start)
                return;
            zString text;
            node->GetDisplayText(text, true);
            if (std::string(text.Text()).find(parameters[0]) != std::string::npos) {
                nodes.Add(node);
                tree.SelectNodes(nodes);
                return;
            }
        }
    }
    case Cmd::OptionsSelectIf: { // SelectIf
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
        SelectNodesDialog::SelectMatching(rule, tree);
        return;
    }
    case ScriptCmd::DeselectAll:
        tree.ClearSelection();
        tree.InvalidateAll();
        return;
    case ScriptCmd::GetSelCount:
        store(parameters[0], std::to_string(tree.Selection.Count()));
        return;
    case ScriptCmd::GetSelList:
    case ScriptCmd::GetSelNum: {
        std::string text;
        const int wanted = id == ScriptCmd::GetSelNum ? ParseScriptFlag(parameters[1]) : 0;
        for (int i = 0; i < tree.Selection.Count(); ++i) {
            zString path;
            NodePathString(tree.Selection.At(i), path, nullptr);
            if (id == ScriptCmd::GetSelList)
                text += std::string(path.Text()) + "\r\n";
            else if (i + 1 == wanted)
                text = path.Text();
        }
        store(parameters[0], id == ScriptCmd::GetSelNum && text.empty() ? "(none)" : text);
        return;
    }
    default:
        break;
    }
}

void ScriptManager::RunTreeValueCommand(int32_t id, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    TreeDocument& document = tree.Document();
    TreeNode* node = tree.CurrentNode();
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    const int count = static_cast<int>(parameters.size());
    switch (id) {
    case Cmd::AnalysisExpectedValue: // ExpectedValue
    case Cmd::AnalysisPathProbability: // PathProb
    case Cmd::AnalysisStandardDeviation: // StdDev
    case Cmd::ValuesOpenEvaluator: { // Evaluate
        RunFault error;
        double value = 0;
        int decimalsAt = 1;
        if (id == Cmd::AnalysisExpectedValue) {
            value = RollBackTree(node, &error, RollBackPlain);
        } else if (id == Cmd::AnalysisPathProbability) {
            value = PathProbability(node, &error, nullptr, false);
        } else if (id == Cmd::AnalysisStandardDeviation) {
            value = NodeStandardDeviation(node, &error);
        } else {
            FormulaRef formula(new EvalContext(&document, node), 1, nullptr);
            value = formula.EvaluateText(parameters[0].c_str());
            if (formula.HasError())
                error.Set(OutcomeCode::FormulaFailed);
            decimalsAt = 2;
        }
        // A failed computation ends the script: its variable never keeps a stale value.
        if (error) {
            ReportError(0, id);
            return;
        }
        const bool plain = count > decimalsAt && ParseScriptFlag(parameters[decimalsAt]) == 0;
        store(parameters[id == Cmd::ValuesOpenEvaluator ? 1 : 0], FormatResult(document.NumberFormat(), value, id == Cmd::AnalysisPathProbability, plain));
        return;
    }
    case ScriptCmd::NumKids: {
        int kids = node->childCount;
        if (count > 1 && ParseScriptFlag(parameters[1]) >= 1) {
            kids = 0;
            WalkTreeWithSkip(node, CountTerminal, &kids, false);
        }
        store(parameters[0], std::to_string(kids));
        return;
    }
    case ScriptCmd::GetNodeName:
        store(parameters[0], node->text.Text());
        return;
    case ScriptCmd::GetNodeProb: {
        zString text;
        node->GetProbabilityText(text);
        store(parameters[0], text.Text());
        return;
    }
    case ScriptCmd::GetNodePayoff: {
        const int payoff = PayoffIndex(parameters[0]);
        if (payoff < 0) {
            ReportError(2, id, parameters[0].c_str());
            return;
        }
        zString text;
        node->GetPayoffText(text, payoff);
        store(parameters[1], text.Text());
        return;
    }
    case ScriptCmd::CopyNodeVars:
    case ScriptCmd::GetNodeVar: {
        TreeNode* at = node != nullptr ? node : document.Root;
        if (id == ScriptCmd::GetNodeVar) {
            VariableDefinition* binding = at->FindBinding(ScriptManager::Upper(parameters[0]).c_str(), true);
            store(parameters[1], binding != nullptr ? binding->definition.Text().Text() : "");
            return;
        }
        std::string text;
        for (int i = 0; i < at->BindingCount(); ++i) {
            const VariableDefinition* binding = at->GetBinding(i);
            text += std::string(binding->name.Text()) + "\t" + binding->definition.Text().Text() + "\r\n";
        }
        TheProgram()->PutClipboardText(text.c_str());
        return;
    }
    case ScriptCmd::CopyDocVariables: {
        const bool rootTexts = count > 0 && ParseScriptFlag(parameters[0]) != 0;
        const bool comments = count > 1 && ParseScriptFlag(parameters[1]) != 0;
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
        TheProgram()->PutClipboardText(text.c_str());
        return;
    }
    default:
        break;
    }
}

void ScriptManager::RunTreeEditCommand(int32_t id, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    TreeDocument& document = tree.Document();
    TreeNode* node = tree.CurrentNode();
    const int count = static_cast<int>(parameters.size());
    switch (id) {
    case Cmd::OptionsAddBranches:
    case Cmd::AnalysisCostEffectiveness:
    case Cmd::AnalysisProbabilityDistribution:
        // The menu command itself, taken by the window as from a key.
        SendCommand(tree.Handle(), static_cast<UINT>(id));
        return;
    case Cmd::OptionsChangeNodeType: { // ChangeNodeType
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
        return;
    }
    case Cmd::AnalysisRollBack: { // RollBack
        const bool rolledBack = document.IsRolledBack();
        const bool on = count > 0 ? ParseScriptFlag(parameters[0]) != 0 : !rolledBack;
        if (on && !rolledBack) {
            waitingForAnalysis = 1;
            RunAnalysis(std::make_unique<RollBackAnalysis>(&document, this));
        } else if (!on && rolledBack) {
            SendCommand(tree.Handle(), Cmd::AnalysisRollBack);
        }
        return;
    }
    case ScriptCmd::SetCalcMethod:
    case ScriptCmd::SetActivePayoff: {
        const int n = PayoffIndex(parameters[0]);
        if (n < 0) {
            ReportError(2, id, parameters[0].c_str());
            return;
        }
        if (id == ScriptCmd::SetCalcMethod)
            CalcMethodFromNumber(n, document.CalcPrefs.CalcMethod);
        else
            document.CalcPrefs.CurrentPayoff = static_cast<int8_t>(n);
        document.EndRolledBack();
        tree.SetModified(1);
        tree.Redraw();
        return;
    }
    case ScriptCmd::SaveAsTRB: { // only a rolled-back tree has a snapshot to save
        FilePath path(parameters[0].c_str());
        path.SetExtension("trb");
        zString message;
        if (!document.IsRolledBack() || !tree.SaveCopyAs(path.FullPath().Text(), message))
            ReportError(2, id, parameters[0].c_str());
        return;
    }
    case Cmd::AnalysisRunOldAnalysis: // RunStoredAnalysis
        RunStoredAnalysisAndWait(tree, parameters[0]);
        return;
    case ScriptCmd::SetNodeName:
    case ScriptCmd::SetNodeProb: {
        if (id == ScriptCmd::SetNodeName) {
            node->SetText(parameters[0].c_str(), true);
        } else {
            node->SetProbabilityText(parameters[0].c_str(), true);
            node->ModelChanged();
        }
        tree.RedrawNode(node, 0);
        tree.SetModified(1);
        tree.InvalidateAll();
        return;
    }
    case ScriptCmd::SetNodeVar: {
        const std::string& name = parameters[0];
        if (!tree.Document().HasVariable(ScriptManager::Upper(name).c_str(), true)) {
            if (!CheckVariableName(zString(name.c_str()), false, false)) {
                ReportError(9, id, name.c_str());
                return;
            }
            tree.Document().EnsureVariable(name.c_str(), nullptr);
        }
        NodeChildList nodes(4, Ownership::Borrows);
        SelectionOrRoot(tree, nodes);
        tree.AddUndoAction(new TreeDefineVariableAction(&tree, nodes, name.c_str(),
                                                        count > 1 ? parameters[1].c_str() : ""));
        return;
    }
    case ScriptCmd::SetNodePayoff: {
        const int payoff = PayoffIndex(parameters[0]);
        if (payoff < 0) {
            ReportError(2, id, parameters[0].c_str());
            return;
        }
        const char* texts[4] = {"", "", "", ""};
        bool flags[4] = {false, false, false, false};
        texts[payoff] = parameters[1].c_str();
        flags[payoff] = true;
        tree.AddUndoAction(new TreeChangePayoffAction(&tree, tree.Selection, texts, flags));
        return;
    }
    default:
        break;
    }
}
