// The script's commands on the top tree's selection: select by path, by relation, by name or by a rule, and
// read the selection back.

#include "script/ScriptManager.h"

#include "treewin/SelectNodesDialog.h"
#include "model/NameRules.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "script/ScriptCommandHandlers.h"
#include "treewin/TreeWindow.h"

#include <climits>
#include <string>

using Handlers = ScriptManager::Handlers;

namespace {

// Selects the nodes at the paths, after the selected ones when adding. A path that names no node is a bad
// parameter: the selection stays as it was.
void SelectPaths(ScriptManager& script, int32_t id, TreeWindow& tree, const ScriptManager::Parameters& paths,
                 bool adding)
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; adding && i < tree.Selection.Count(); ++i)
        nodes.Add(tree.Selection.At(i));
    for (const std::string& path : paths) {
        TreeNode* node = FindNodeByPath(tree.Document().Root, path.c_str());
        if (node == nullptr) {
            script.ReportError(2, id, path.c_str());
            return;
        }
        if (!nodes.Contains(node))
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

void Handlers::SelectNode(ScriptManager& script, const Parameters& parameters)
{
    SelectPaths(script, ScriptCmd::SelectNode, *TopTree(), parameters, false);
}

void Handlers::SelectNodeToo(ScriptManager& script, const Parameters& parameters)
{
    SelectPaths(script, ScriptCmd::SelectNodeToo, *TopTree(), parameters, true);
}

// "." parent, "<" previous and ">" next sibling, then a path from there; a path that names no node is a bad
// parameter.
void Handlers::SelectNodeRel(ScriptManager& script, const Parameters& parameters)
{
    TreeWindow& tree = *TopTree();
    TreeNode* node = tree.CurrentNode();
    const std::string& path = parameters[0];
    size_t at = 0;
    for (; at < path.size() && path[at] == '.'; ++at)
        node = node->parent != nullptr ? node->parent : node;
    for (; at < path.size() && (path[at] == '<' || path[at] == '>'); ++at) {
        TreeNode* sibling = path[at] == '<' ? node->PrevSibling() : node->NextSibling();
        node = sibling != nullptr ? sibling : node;
    }
    if (at < path.size())
        node = FindNodeByPath(node, path.substr(at).c_str());
    if (node == nullptr) {
        script.ReportError(2, ScriptCmd::SelectNodeRel, path.c_str());
        return;
    }
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

// The kind (1-4), the flags (0-3) and, for kinds 1 and 3, a number in the kind's range: any other is a bad
// parameter.
void Handlers::SelectIf(ScriptManager& script, const Parameters& parameters)
{
    int kind = 0;
    int flags = 0;
    if (!script.IntegerParameter(parameters, 0, 1, 4, kind) || !script.IntegerParameter(parameters, 1, 0, 3, flags))
        return;
    SelectRule rule;
    rule.selectedOnly = flags & 1;
    rule.addToSelection = (flags >> 1) & 1;
    const std::string& value = parameters[2];
    int number = 0;
    if (kind == 1) {
        if (!script.IntegerParameter(parameters, 2, 1, 6, number))
            return;
        rule.kind = SelectRule::NodeType;
        rule.nodeKind = number;
    } else if (kind == 2) {
        rule.kind = SelectRule::NameContains;
        rule.name = value.c_str();
    } else if (kind == 3) {
        if (!script.IntegerParameter(parameters, 2, 1, 5, number))
            return;
        rule.kind = SelectRule::Position;
        rule.position = SelectRule::Rightmost + number - 1;
    } else {
        rule.kind = SelectRule::VariableDefined;
        rule.variable = value.c_str();
        NormalizeVariableName(rule.variable);
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
    // Positions count from 1; one past the selection names no node.
    int wanted = 0;
    if (script.IntegerParameter(parameters, 1, 1, INT_MAX, wanted))
        script.StoreResult(parameters[0], SelectionPaths(*TopTree(), wanted));
}
