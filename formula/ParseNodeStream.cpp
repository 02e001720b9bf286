#include "formula/ParseNodeStream.h"

#include "formula/ParseNode.h"
#include "formula/WorkStack.h"
#include "foundation/Archive.h"

#include <cstdint>

namespace {

const int kNodeFormatVersion = 1;
const uint32_t kFormatUnknownItem = 26;

int readDepth = 0;

struct ReadDepthGuard {
    ReadDepthGuard() { ++readDepth; }
    ~ReadDepthGuard() { --readDepth; }
};

}  // namespace

bool TreeFitsStoredForm(const ParseNode& root)
{
    struct Pending {
        const ParseNode* node;
        int depth;
    };
    WorkStack<Pending, 32> pending;
    pending.Push(Pending{&root, 1});
    while (!pending.Empty()) {
        Pending next = pending.Pop();
        int count = next.node->OperandCount();
        if (next.depth > kMaxStoredTreeDepth || count > INT16_MAX)
            return false;
        for (int i = 0; i < count; ++i) {
            if (const ParseNode* operand = next.node->GetOperand(i))
                pending.Push(Pending{operand, next.depth + 1});
        }
    }
    return true;
}

void WriteParseNode(Archive& archive, const ParseNode& node)
{
    archive.WriteShort(static_cast<int16_t>((kNodeFormatVersion << 8) + node.TypeCode()));
    node.Write(archive);
}

ParseNode* ReadParseNode(Archive& archive)
{
    ReadDepthGuard guard;
    uint16_t word = 0;
    archive.ReadShort(word);
    if (archive.Failed())
        return nullptr;
    ParseNode* node = readDepth <= kMaxStoredTreeDepth ? MakeParseNode(word & 0xFF) : nullptr;
    if (!node) {
        archive.SetFormatError(kFormatUnknownItem);
        return nullptr;
    }
    node->Read(archive, static_cast<int8_t>(word >> 8));
    if (archive.State() != 0)
        archive.SetFormatError(kFormatUnknownItem);
    return node;
}

void WriteOptionalNode(Archive& archive, const ParseNode* node)
{
    archive.WriteShort(node ? 1 : 0);
    if (node)
        WriteParseNode(archive, *node);
}

ParseNode* ReadOptionalNode(Archive& archive)
{
    int16_t exists = 0;
    archive.ReadShort(exists);
    if (exists == 0 || archive.Failed())
        return nullptr;
    return ReadParseNode(archive);
}
