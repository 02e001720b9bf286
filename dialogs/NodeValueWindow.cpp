#include "dialogs/NodeValueWindow.h"

#include "framework/window/ResourceId.h"

#include <cctype>
#include <string>

namespace {

std::string Upper(const char* text)
{
    std::string out(text != nullptr ? text : "");
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

NodeValueWindow::NodeValueWindow(TreeWindow* tree, unsigned templateId, bool counted, const NodeChildList& nodes,
                                 const char* key)
    : TreeChildWindow(tree, ResourceId(templateId, nullptr), counted), key(key)
{
    this->nodes.AssignShallow(nodes);
}

bool NodeValueWindow::MatchesKey(const char* text) const
{
    return Upper(key.Text()) == Upper(text);
}

bool NodeValueWindow::Matches(const TreeNode* node, const char* text) const
{
    if (!MatchesKey(text))
        return false;
    return node == nullptr ? nodes.Count() == 0 : nodes.Contains(node);
}

bool NodeValueWindow::DependsOn(const void* object) const
{
    return nodes.Contains(object);
}
