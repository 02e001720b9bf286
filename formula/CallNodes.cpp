#include "formula/CallNodes.h"

#include "formula/ParseNodeStream.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"

#include <cstdint>

ArgumentList::~ArgumentList()
{
    Clear();
}

void ArgumentList::Clear()
{
    for (ParseNode* node : nodes)
        ParseNode::DeleteOperand(node);
    nodes.clear();
}

ParseNode* ArgumentList::FromLast(int i) const
{
    if (i < 0 || i >= Count())
        return nullptr;
    return nodes[i];
}

void ArgumentList::TakeFront(ParseNode* node)
{
    nodes.push_back(node);
}

void ArgumentList::CopyTo(ArgumentList& target, PendingCopies& pending) const
{
    target.Clear();
    target.nodes.assign(nodes.size(), nullptr);
    for (size_t i = 0; i < nodes.size(); ++i)
        pending.Push(PendingCopy{nodes[i], &target.nodes[i]});
}

void ArgumentList::Write(Archive& archive) const
{
    archive.WriteShort(static_cast<int16_t>(nodes.size()));
    for (ParseNode* node : nodes)
        WriteOptionalNode(archive, node);
}

void ArgumentList::Read(Archive& archive)
{
    Clear();
    int16_t count = 0;
    archive.ReadShort(count);
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        ParseNode* node = ReadOptionalNode(archive);
        if (!node)
            break;
        TakeFront(node);
    }
}

int TableLookupNode::AddOperand(ParseNode* node)
{
    if (node->TypeCode() == NodeTableArgMarker) {
        delete node;
        return 1;
    }
    arguments.TakeFront(node);
    return 2;
}

void TableLookupNode::Write(Archive& archive) const
{
    StoreString(archive, name, 0);
    arguments.Write(archive);
}

void TableLookupNode::Read(Archive& archive, int)
{
    LoadString(archive, name);
    arguments.Read(archive);
}

void TableLookupNode::CopyFieldsTo(ParseNode& target, PendingCopies& pending) const
{
    TableLookupNode& copy = static_cast<TableLookupNode&>(target);
    copy.name = name;
    arguments.CopyTo(copy.arguments, pending);
}

int FunctionCallNode::AddOperand(ParseNode* node)
{
    if (node->TypeCode() == NodeFunctionArgMarker) {
        delete node;
        return 1;
    }
    arguments.TakeFront(node);
    return 2;
}

void FunctionCallNode::Write(Archive& archive) const
{
    archive.WriteShort(static_cast<int16_t>(functionIndex));
    arguments.Write(archive);
}

void FunctionCallNode::Read(Archive& archive, int)
{
    int16_t index = -1;
    archive.ReadShort(index);
    functionIndex = index;
    arguments.Read(archive);
}

void FunctionCallNode::CopyFieldsTo(ParseNode& target, PendingCopies& pending) const
{
    FunctionCallNode& copy = static_cast<FunctionCallNode&>(target);
    copy.functionIndex = functionIndex;
    arguments.CopyTo(copy.arguments, pending);
}
