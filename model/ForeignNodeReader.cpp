// The node records of the foreign tree format.
//
//   field                       form                                  versions
//   text, probability           up to '\' in one string (0x100) or
//                               a string each (from 0x200)            all
//   count, kind, payoff         characters of that string             up to 0x200
//   kind                        byte (tree node kinds)                from 0x205
//   payoffs                     count byte, fixed strings of 256      from 0x205, terminal nodes
//   six 16-bit values           skipped                               from 0x200
//   hidden-children count       byte                                  from 0x205
//   side-record ids 2 (1, 0)    16 bits each                          from 0x200 (0x205)
//   three 16-bit values         the third, when above 2, a clone id   from 0x205
//   Markov kind                 byte: 1 termination, 2 three rewards  from 0x205
//   bindings                    length-byte names up to '\'           before 0x205
//                               16-bit count of string pairs          from 0x205
//   child count                 byte                                  from 0x205
//   children                    node records                          all

#include "model/ForeignTreeImporter.h"

#include "foundation/Archive.h"
#include "model/ForeignStreamReader.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/NodeProgress.h"
#include "model/TreeDocument.h"

#include <vector>

namespace {

// The characters of one or more length-prefixed strings, read field by field.
class FieldCursor {
public:
    explicit FieldCursor(ForeignStreamReader& reader) : reader(reader) {}

    void ReadString()
    {
        text = reader.String(false);
        position = 0;
    }
    // The characters up to the next '\' (which is passed), or to the end of the string.
    std::string TakeField()
    {
        const size_t end = text.find('\\', position);
        const size_t stop = end == std::string::npos ? text.size() : end;
        std::string field = text.substr(position, stop - position);
        position = end == std::string::npos ? text.size() : end + 1;
        MapForeignText(field);
        return field;
    }
    // The character at the cursor, from a new string when this one is used up; false when there is none.
    bool Peek(uint8_t& c)
    {
        if (position >= text.size())
            ReadString();
        if (position >= text.size())
            return false;
        c = static_cast<uint8_t>(text[position]);
        return true;
    }
    uint8_t At(size_t offset) const
    {
        return position + offset < text.size() ? static_cast<uint8_t>(text[position + offset]) : 0;
    }
    void Advance(size_t count) { position = position + count < text.size() ? position + count : text.size(); }

private:
    ForeignStreamReader& reader;
    std::string text;
    size_t position = 0;
};

int KindOfLetter(uint8_t letter)
{
    switch (letter) {
    case 'B': return LogicNode;
    case 'C': return ChanceNode;
    case 'D': return DecisionNode;
    case 'M': return MarkovNode;
    case 'N': return ReversedDecisionNode;
    case 'T': return TerminalNode;
    default: return 0;
    }
}

bool Fail(Archive& archive)
{
    archive.SetFormatError(kForeignFormatError);
    return false;
}

// The texts, kind and payoffs; the count of children of the older forms goes to `children`.
bool ReadHead(ForeignStreamReader& reader, TreeNode* node, int version, int& children)
{
    FieldCursor cursor(reader);
    cursor.ReadString();
    node->SetText(cursor.TakeField().c_str(), false);
    if (version >= ForeignVersion200)
        cursor.ReadString();
    node->SetProbabilityText(cursor.TakeField().c_str(), false);
    if (!reader.Good())
        return false;
    if (version <= ForeignVersion200) {
        uint8_t count = 0;
        if (!cursor.Peek(count))
            return reader.Good() ? Fail(reader.Stream()) : false;
        const int kind = KindOfLetter(cursor.At(2));
        if (kind == 0)
            return Fail(reader.Stream());
        children = count;
        node->SetKind(kind, false);
        cursor.Advance(4);
        if (node->IsTerminal()) {
            const std::string payoff = cursor.TakeField();
            if (!payoff.empty())
                node->SetPayoffText(payoff.c_str(), 0, false);
        }
        return reader.Good();
    }
    const uint8_t kind = reader.Byte();
    if (reader.Good() && (kind < ChanceNode || kind > LabelNode))
        return Fail(reader.Stream());
    node->SetKind(kind, false);
    if (node->IsTerminal()) {
        const uint8_t count = reader.Byte();
        for (int i = 0; i < count && reader.Good(); ++i) {
            const std::string payoff = reader.FixedString(256, true);
            if (i < kPayoffCount)
                node->SetPayoffText(payoff.c_str(), i, false);
        }
    }
    return reader.Good();
}

void ReadBindings(ForeignStreamReader& reader, TreeNode* node, TreeDocument* document, int version)
{
    if (version >= ForeignVersion205) {
        const int16_t count = reader.Short();
        if (count < 0) {
            Fail(reader.Stream());
            return;
        }
        for (int i = 0; i < count && reader.Good(); ++i) {
            const std::string name = reader.String(true);
            const std::string formula = reader.String(true);
            if (reader.Good() && !name.empty())
                node->SetBinding(name.c_str(), formula.c_str(), false);
        }
        return;
    }
    while (reader.Good()) {
        const uint8_t length = reader.Byte();
        if (!reader.Good() || length == '\\')
            return;
        const std::string name = reader.Characters(length, true);
        const std::string formula = reader.String(true);
        if (!reader.Good() || name.empty())
            continue;
        if (version < ForeignVersion200)
            document->EnsureVariable(name.c_str(), nullptr);
        node->SetBinding(name.c_str(), formula.c_str(), false);
    }
}

// One node record without its children; the number of children, or -1 on an error.
int ReadRecord(ForeignStreamReader& reader, TreeNode* node, TreeDocument* document, int version)
{
    ReportNodeProgress(document, reader.Stream());
    int children = 0;
    if (!ReadHead(reader, node, version, children))
        return -1;
    if (version >= ForeignVersion200)
        reader.Skip(12);
    if (version >= ForeignVersion205)
        node->hiddenChildren = reader.Byte();
    if (version >= ForeignVersion200) {
        const int16_t id2 = reader.Short();
        if (id2 > 0)
            node->SetLinkId2(id2);
    }
    if (version >= ForeignVersion205) {
        const int16_t id1 = reader.Short();
        const int16_t id0 = reader.Short();
        if (id1 > 0)
            node->SetLinkId1(id1);
        if (id0 > 0)
            node->SetLinkId0(id0);
        reader.Short();
        reader.Short();
        const int16_t clone = reader.Short();
        if (clone > 2) {
            node->cloneStatus = CloneCopyNode;
            node->cloneId = static_cast<int16_t>(clone - 2);
        }
        const uint8_t markov = reader.Byte();
        if (markov == 1) {
            node->SetMarkovTerminationText(reader.String(true).c_str(), 0);
        } else if (markov == 2) {
            for (int kind = 0; kind < 3; ++kind)
                node->SetMarkovRewardText(kind, reader.String(true).c_str(), 0);
        }
    }
    ReadBindings(reader, node, document, version);
    if (version >= ForeignVersion205)
        children = reader.Byte();
    return reader.Good() ? children : -1;
}

}  // namespace

bool ReadForeignNode(Archive& archive, TreeNode* node, TreeDocument* document, int version)
{
    ForeignStreamReader reader(archive);
    struct Pending {
        TreeNode* node;
        int remaining;
    };
    const int children = ReadRecord(reader, node, document, version);
    if (children < 0)
        return false;
    std::vector<Pending> stack{{node, children}};
    while (!stack.empty()) {
        Pending& top = stack.back();
        if (top.remaining == 0) {
            stack.pop_back();
            continue;
        }
        --top.remaining;
        TreeNode* child = new TreeNode(document);
        top.node->InsertChildOrThrow(child, -1);  // at most 255 children
        const int count = ReadRecord(reader, child, document, version);
        if (count < 0)
            return false;
        stack.push_back(Pending{child, count});
    }
    return true;
}
