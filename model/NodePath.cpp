#include "model/NodePath.h"

#include "foundation/StringHelpers.h"
#include "model/TreeNode.h"

void NodePathString(const TreeNode* node, zString& out, const TreeNode* base)
{
    zString path;
    for (const TreeNode* current = node; current->parent != base && current->parent != nullptr;
         current = current->parent) {
        zString step;
        AppendInt(step, current->parent->IndexOfChild(current));
        step += ",";
        step += path;
        path = step;
    }
    out = "@";
    out += path;
}

namespace {

TreeNode* FollowAbsolute(TreeNode* node, const char* p)
{
    while (node != nullptr && *p != '\0') {
        if (!IsDigitChar(*p))
            return nullptr;
        long index = 0;
        while (IsDigitChar(*p)) {
            index = index * 10 + (*p - '0');
            if (index > 32767)
                return nullptr;
            ++p;
        }
        if (*p != ',')
            return nullptr;
        ++p;
        node = node->GetChild(static_cast<int>(index));
    }
    return node;
}

TreeNode* FollowRelative(TreeNode* node, const char* p)
{
    while (node != nullptr && *p != '\0') {
        if (*p == '*') {
            node = node->parent;
            ++p;
        } else if (*p == '<') {
            node = node->PrevSibling();
            ++p;
        } else if (*p == '>') {
            node = node->NextSibling();
            ++p;
        } else if (IsDigitChar(*p)) {
            long number = 0;
            while (IsDigitChar(*p)) {
                number = number * 10 + (*p - '0');
                if (number > 32767)
                    return nullptr;
                ++p;
            }
            node = node->GetChild(static_cast<int>(number) - 1);
        } else {
            return nullptr;
        }
        if (*p == ',')
            ++p;
        else if (*p != '\0')
            return nullptr;
    }
    return node;
}

TreeNode* FollowLetters(TreeNode* node, const char* p)
{
    for (; node != nullptr && *p != '\0'; ++p) {
        if (*p < 'A' || *p > 'Z')
            return nullptr;
        node = node->GetChild(*p - 'A');
    }
    return node;
}

}  // namespace

TreeNode* FindNodeByPath(TreeNode* base, const char* path)
{
    if (base == nullptr || path == nullptr)
        return nullptr;
    if (path[0] == '@')
        return FollowAbsolute(base, path + 1);
    if (path[0] == '$')
        return FollowRelative(base, path + 1);
    return FollowLetters(base, path);
}
