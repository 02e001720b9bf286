#include "formula/OperandNodes.h"

#include "foundation/UniformRandom.h"
#include "formula/Formula.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"

#include <cstdint>

double ConstantNode::Evaluate(Formula*)
{
    return value;
}

void ConstantNode::Write(Archive& archive) const
{
    archive.WriteDouble(value);
}

void ConstantNode::Read(Archive& archive, int)
{
    archive.ReadDouble(value);
}

void ConstantNode::CopyFieldsTo(ParseNode& target) const
{
    static_cast<ConstantNode&>(target).value = value;
}

NameNode::NameNode() : name(InternUpperName(zString()))
{
}

double NameNode::Evaluate(Formula* f)
{
    if (!f)
        return UniformRandom(0.0, 1.0);
    if (keywordIndex == -1)
        return f->LookupVariable(*name, resolution);
    return f->KeywordValue(keywordIndex);
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
    name = InternUpperName(loaded);
    archive.ReadShort(index);
    keywordIndex = index;
}

void NameNode::CopyFieldsTo(ParseNode& target) const
{
    NameNode& copy = static_cast<NameNode&>(target);
    copy.name = name;
    copy.keywordIndex = keywordIndex;
}
