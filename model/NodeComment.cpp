#include "model/NodeComment.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <cstring>

NodeComment::NodeComment(const TreeNode* node)
{
    for (int i = 0; i < node->childCount; ++i) {
        auto* record = new BranchName(node->GetChild(i));
        if (!branches.Add(record)) {
            delete record;
            break;
        }
    }
    if (node->fonts[0] != nullptr)
        font = *node->fonts[0];
    else if (node->document != nullptr)
        font = node->document->CommentFont;
}

void NodeComment::Assign(const NodeComment& other)
{
    if (&other == this)
        return;
    branches.Clear();
    branches.Copy(other.branches, true);
    for (int i = 0; i < 4; ++i)
        values[i] = other.values[i];
    font = other.font;
}

bool NodeComment::WindowRect(float rect[4]) const
{
    std::memcpy(rect, values, sizeof values);
    return !(values[0] == values[1] && values[1] == values[2] && values[2] == values[3]);
}

void NodeComment::SetWindowRect(const float rect[4])
{
    std::memcpy(values, rect, sizeof values);
}

void NodeComment::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive);
    branches.Serialize(archive);
    for (int32_t& value : values) {
        if (archive.IsStoring())
            archive.WriteLong(value);
        else
            archive.ReadLong(value);
    }
    font.Serialize(archive);
    for (int32_t& value : extra) {
        if (archive.IsStoring())
            archive.WriteLong(value);
        else
            archive.ReadLong(value);
    }
}
