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
#include "framework/window/Clipboard.h"
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

#include <algorithm>
#include <cctype>

namespace {

struct CountRule {
    int32_t id;
    int least;
    int most; // -1: no bound
};
const CountRule kTreeCounts[] = {
    {1833, 1, 1}, {1415, 3, -1}, {1835, 1, 1}, {1836, 1, 1}, {1837, 2, 2}, {1405, 1, 1}, {1838, 1, 1},
    {1840, 0, 2}, {1839, 1, 1}, {1841, 1, 1}, {1616, 1, 1}, {1842, 1, -1}, {1843, 1, 1}, {1844, 1, 1},
    {1845, 1, 1}, {1846, 1, 1}, {1848, 2, 2}, {1849, 1, -1}, {1850, 2, 2}, {1851, 2, 2}, {1605, 1, -1},
    {1606, 1, -1}, {1609, 1, -1}, {1509, 2, -1}, {1826, 1, 1}, {1827, 1, -1}, {1828, 3, 3},
};

bool CountFits(int32_t id, int count)
{
    for (const CountRule& rule : kTreeCounts) {
        if (rule.id == id)
            return count >= rule.least && (rule.most < 0 || count <= rule.most);
    }
    return true;
}

// Commands that work on the first selected node (error 8 without one).
bool NeedsSelectedNode(int32_t id)
{
    switch (id) {
    case 1831: case 1405: case 1620: case 1842: case 1843: case 1844: case 1845: case 1846: case 1850:
    case 1851: case 1605: case 1606: case 1609: case 1509:
        return true;
    default:
        return false;
    }
}

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

void PutOnClipboard(const std::string& text)
{
    if (AppClipboard == nullptr)
        return;
    AppClipboard->Empty();
    AppClipboard->PutText(text.c_str());
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
    if (!CountFits(id, count)) {
        ReportError(1, id);
        return;
    }
    MDIchildCL* top = FrameTopWindow();
    auto* document = dynamic_cast<DocumentWindow*>(top);
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    switch (id) {
    case 1103: // OpenFile
        for (const std::string& path : parameters) {
            if (!FilePath(path.c_str()).Exists() || OpenFileByName(path.c_str()) == nullptr) {
                ReportError(2, id, path.c_str());
                return;
            }
        }
        break;
    case 1104: // SaveFile
        if (document != nullptr && document->SaveToFile() == 0)
            ReportError(2, id, document->FullPath().Text());
        break;
    case 1105: // SaveFileAs
        if (document != nullptr && document->SaveAs(count == 1 ? parameters[0].c_str() : nullptr) == 0)
            ReportError(2, id, count == 1 ? parameters[0].c_str() : nullptr);
        break;
    case 1107: // CloseTopWindow: deleted at once unless the parameter reads as 0
        if (top == nullptr)
            break;
        if (count > 0 && ParseScriptFlag(parameters[0]) == 0)
            AskSaveChanges(MainFrame::Program(), top, false);
        else
            delete top;
        break;
    case 1216: // CopyPicture
        if (document != nullptr)
            document->CopyPicture();
        break;
    case 1108: // PrintFile
        if (document != nullptr && document->CanPrint() && MainFrame::Program() != nullptr)
            SendCommand(MainFrame::Program()->Handle(), 1108);
        break;
    case 1826: // TopWindowType
        store(parameters[0], top == nullptr                           ? "0"
                             : dynamic_cast<TreeWindow*>(top) != nullptr ? "1"
                             : dynamic_cast<GraphWindow*>(top) != nullptr ? "2"
                                                                          : "3");
        break;
    case 1827: { // TopWindowName
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
    case 1828: { // TableVal
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

void ScriptManager::RunTreeCommand(int32_t id, const Parameters& parameters)
{
    const int count = static_cast<int>(parameters.size());
    auto* tree = dynamic_cast<TreeWindow*>(FrameTopWindow());
    if (id == 1309) { // SetNFSigDigs: the count first, then the window its first parameter names
        if (count < 2) {
            ReportError(1, id);
            return;
        }
        const int which = ParseScriptFlag(parameters[0]);
        const int digits = ParseScriptFlag(parameters[1]);
        const auto fits = [](int n) { return n >= 0 && n <= 9; };
        if (which == 0) {
            if (tree == nullptr) {
                ReportError(4, id);
                return;
            }
            NumericFormat& format = tree->Document().NumberFormat;
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
        return;
    }
    if (tree == nullptr) {
        ReportError(4, id);
        return;
    }
    if (!CountFits(id, count)) {
        ReportError(1, id);
        return;
    }
    if (NeedsSelectedNode(id) && tree->CurrentNode() == nullptr) {
        ReportError(8, id);
        return;
    }
    if (!RunTreeSelectCommand(id, parameters, *tree) && !RunTreeValueCommand(id, parameters, *tree))
        RunTreeEditCommand(id, parameters, *tree);
}

bool ScriptManager::RunTreeSelectCommand(int32_t id, const Parameters& parameters, TreeWindow& tree)
{
    TreeDocument& document = tree.Document();
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    NodeChildList nodes(4, false);
    switch (id) {
    case 1829:   // SelectNode
    case 1830: { // SelectNodeToo
        for (int i = 0; id == 1830 && i < tree.Selection.Count(); ++i)
            nodes.Add(tree.Selection.At(i));
        for (const std::string& path : parameters) {
            TreeNode* node = FindNodeByPath(document.Root, path.c_str());
            if (node != nullptr && !nodes.Contains(node))
                nodes.Add(node);
        }
        tree.SelectNodes(nodes);
        return true;
    }
    case 1831: { // SelectNodeRel: "." parent, "<" previous and ">" next sibling, then a path from there
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
        return true;
    }
    case 1832: // SelectRoot
        nodes.Add(document.Root);
        tree.SelectNodes(nodes);
        return true;
    case 1833: { // SelectNodeRelName: the next node in keyboard order whose text holds the text
        if (tree.Selection.Count() > 1)
            return true;
        TreeNode* start = tree.CurrentNode() != nullptr ? tree.CurrentNode() : document.Root;
        for (TreeNode* node = start;;) {
            node = node->NextNode(0);
            if (node == nullptr)
                node = document.Root;
            if (node == start)
                return true;
            zString text;
            node->GetDisplayText(text, true);
            if (std::string(text.Text()).find(parameters[0]) != std::string::npos) {
                nodes.Add(node);
                tree.SelectNodes(nodes);
                return true;
            }
        }
    }
    case 1415: { // SelectIf
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
            rule.position = 3120 + number;
        } else if (kind == 4) {
            rule.kind = SelectRule::VariableDefined;
            rule.variable = value.c_str();
            NormalizeVariableName(rule.variable);
        } else {
            return true;
        }
        SelectNodesDialog::SelectMatching(rule, tree);
        return true;
    }
    case 1834: // DeselectAll
        tree.ClearSelection();
        tree.InvalidateAll();
        return true;
    case 1835: // GetSelCount
        store(parameters[0], std::to_string(tree.Selection.Count()));
        return true;
    case 1836:   // GetSelList
    case 1837: { // GetSelNum
        std::string text;
        const int wanted = id == 1837 ? ParseScriptFlag(parameters[1]) : 0;
        for (int i = 0; i < tree.Selection.Count(); ++i) {
            zString path;
            NodePathString(tree.Selection.At(i), path, nullptr);
            if (id == 1836)
                text += std::string(path.Text()) + "\r\n";
            else if (i + 1 == wanted)
                text = path.Text();
        }
        store(parameters[0], id == 1837 && text.empty() ? "(none)" : text);
        return true;
    }
    default:
        return false;
    }
}

bool ScriptManager::RunTreeValueCommand(int32_t id, const Parameters& parameters, TreeWindow& tree)
{
    TreeDocument& document = tree.Document();
    TreeNode* node = tree.CurrentNode();
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    const int count = static_cast<int>(parameters.size());
    switch (id) {
    case 1605:   // ExpectedValue
    case 1606:   // PathProb
    case 1609:   // StdDev
    case 1509: { // Evaluate
        RunFault error;
        double value = 0;
        int decimalsAt = 1;
        if (id == 1605) {
            value = RollBackTree(node, &error, RollBackPlain);
        } else if (id == 1606) {
            value = PathProbability(node, &error, nullptr, false);
        } else if (id == 1609) {
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
            return true;
        }
        const bool plain = count > decimalsAt && ParseScriptFlag(parameters[decimalsAt]) == 0;
        store(parameters[id == 1509 ? 1 : 0], FormatResult(document.NumberFormat, value, id == 1606, plain));
        return true;
    }
    case 1842: { // NumKids
        int kids = node->childCount;
        if (count > 1 && ParseScriptFlag(parameters[1]) >= 1) {
            kids = 0;
            WalkTreeWithSkip(node, CountTerminal, &kids, false);
        }
        store(parameters[0], std::to_string(kids));
        return true;
    }
    case 1843: // GetNodeName
        store(parameters[0], node->text.Text());
        return true;
    case 1845: { // GetNodeProb
        zString text;
        node->GetProbabilityText(text);
        store(parameters[0], text.Text());
        return true;
    }
    case 1850: { // GetNodePayoff
        const int payoff = PayoffIndex(parameters[0]);
        if (payoff < 0) {
            ReportError(2, id, parameters[0].c_str());
            return true;
        }
        zString text;
        node->GetPayoffText(text, payoff);
        store(parameters[1], text.Text());
        return true;
    }
    case 1847:   // CopyNodeVars
    case 1848: { // GetNodeVar
        TreeNode* at = node != nullptr ? node : document.Root;
        if (id == 1848) {
            VariableDefinition* binding = at->FindBinding(ScriptManager::Upper(parameters[0]).c_str(), true);
            store(parameters[1], binding != nullptr ? binding->definition.Text().Text() : "");
            return true;
        }
        std::string text;
        for (int i = 0; i < at->BindingCount(); ++i) {
            const VariableDefinition* binding = at->GetBinding(i);
            text += std::string(binding->name.Text()) + "\t" + binding->definition.Text().Text() + "\r\n";
        }
        PutOnClipboard(text);
        return true;
    }
    case 1840: { // CopyDocVariables
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
        PutOnClipboard(text);
        return true;
    }
    default:
        return false;
    }
}

bool ScriptManager::RunTreeEditCommand(int32_t id, const Parameters& parameters, TreeWindow& tree)
{
    TreeDocument& document = tree.Document();
    TreeNode* node = tree.CurrentNode();
    const int count = static_cast<int>(parameters.size());
    switch (id) {
    case 1403: // AddBranches
        SendCommand(tree.Handle(), 1403);
        return true;
    case 1405: { // ChangeNodeType
        const int kind = ParseScriptFlag(parameters[0]);
        if (kind < 1 || kind > 7)
            return true;
        NodeChildList nodes(4, false);
        for (int i = 0; i < tree.Selection.Count(); ++i) {
            TreeNode* selected = tree.Selection.At(i);
            const bool decisionInMarkov = (kind == 2 || kind == 5) && selected->IsInMarkovSubtree();
            if (!decisionInMarkov && !(kind == 3 && selected->childCount > 0))
                nodes.Add(selected);
        }
        if (nodes.Count() > 0)
            tree.AddUndoAction(new TreeChangeNodeTypeAction(&tree, nodes, kind));
        return true;
    }
    case 1612: { // RollBack
        const bool rolledBack = document.RolledBack != 0;
        const bool on = count > 0 ? ParseScriptFlag(parameters[0]) != 0 : !rolledBack;
        if (on && !rolledBack) {
            waitingForAnalysis = 1;
            RunAnalysis(std::make_unique<RollBackAnalysis>(&document, this));
        } else if (!on && rolledBack) {
            SendCommand(tree.Handle(), 1612);
        }
        return true;
    }
    case 1620: // CostEff
        if (node->IsDecision() && document.CalcPrefs.CalcMethod == CostEffectivenessMethod)
            SendCommand(tree.Handle(), 1620);
        return true;
    case 1602: // ProbDist
        SendCommand(tree.Handle(), 1602);
        return true;
    case 1838:   // SetCalcMethod
    case 1839: { // SetActivePayoff
        const int n = PayoffIndex(parameters[0]);
        if (n < 0) {
            ReportError(2, id, parameters[0].c_str());
            return true;
        }
        if (id == 1838)
            document.CalcPrefs.CalcMethod = n;
        else
            document.CalcPrefs.CurrentPayoff = static_cast<int8_t>(n);
        document.EndRolledBack();
        tree.SetModified(1);
        tree.Redraw();
        return true;
    }
    case 1841: { // SaveAsTRB: only a rolled-back tree has a snapshot to save
        FilePath path(parameters[0].c_str());
        path.SetExtension("trb");
        zString message;
        if (document.RolledBack == 0 || !tree.SaveCopyAs(path.FullPath().Text(), message))
            ReportError(2, id, parameters[0].c_str());
        return true;
    }
    case 1616: // RunStoredAnalysis
        RunStoredAnalysisAndWait(tree, parameters[0]);
        return true;
    case 1844:   // SetNodeName
    case 1846: { // SetNodeProb
        if (id == 1844) {
            node->SetText(parameters[0].c_str(), true);
        } else {
            node->SetProbabilityText(parameters[0].c_str(), true);
            node->ModelChanged();
        }
        tree.RedrawNode(node, 0);
        tree.SetModified(1);
        tree.InvalidateAll();
        return true;
    }
    case 1849: { // SetNodeVar
        const std::string& name = parameters[0];
        if (!tree.Document().HasVariable(ScriptManager::Upper(name).c_str(), true)) {
            if (!CheckVariableName(zString(name.c_str()), false, false)) {
                ReportError(9, id, name.c_str());
                return true;
            }
            tree.Document().EnsureVariable(name.c_str(), nullptr);
        }
        NodeChildList nodes(4, false);
        SelectionOrRoot(tree, nodes);
        tree.AddUndoAction(new TreeDefineVariableAction(&tree, nodes, name.c_str(),
                                                        count > 1 ? parameters[1].c_str() : ""));
        return true;
    }
    case 1851: { // SetNodePayoff
        const int payoff = PayoffIndex(parameters[0]);
        if (payoff < 0) {
            ReportError(2, id, parameters[0].c_str());
            return true;
        }
        const char* texts[4] = {"", "", "", ""};
        bool flags[4] = {false, false, false, false};
        texts[payoff] = parameters[1].c_str();
        flags[payoff] = true;
        tree.AddUndoAction(new TreeChangePayoffAction(&tree, tree.Selection, texts, flags));
        return true;
    }
    default: // SensAn, Markov: nothing beyond the tree window's check
        return true;
    }
}
