#include "formula/OperandNodes.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"

#include <cstdint>

void ConstantNode::Write(Archive& archive) const
{
    archive.WriteDouble(value);
}

void ConstantNode::Read(Archive& archive, int)
{
    archive.ReadDouble(value);
}

void ConstantNode::CopyFieldsTo(ParseNode& target, PendingCopies&) const
{
    static_cast<ConstantNode&>(target).value = value;
}

NameNode::NameNode() : name(InternName(zString())), typedName(name)
{
}

void NameNode::Write(Archive& archive) const
{
    StoreString(archive, *name, 0);
    archive.WriteShort(static_cast<int16_t>(keywordIndex));
}

void NameNode::Read(Archive& archive, int)
{
    int16_t index = -1;
    zString loaded;
    LoadString(archive, loaded);
    loaded.MakeUpper();
    name = InternName(loaded);
    typedName = name;
    archive.ReadShort(index);
    keywordIndex = index;
}

void NameNode::CopyFieldsTo(ParseNode& target, PendingCopies&) const
{
    NameNode& copy = static_cast<NameNode&>(target);
    copy.name = name;
    copy.typedName = typedName;
    copy.keywordIndex = keywordIndex;
}
