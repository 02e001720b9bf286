#include "model/TreeNodeRecords.h"

#include "model/ResultCellList.h"
#include "formula/Distribution.h"
#include "formula/Expression.h"
#include "foundation/Archive.h"
#include "foundation/FontRecord.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/ExpressionWalk.h"
#include "model/MarkovBinding.h"
#include "model/NodeComment.h"
#include "model/NodeSideRecord.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecordsFields.h"
#include "model/TreeNodeRecordsMarkov.h"
#include "model/VariableDefinition.h"
#include "model/NodeProgress.h"

#include <memory>
#include <utility>
#include <vector>


// Node record, in stored order (byte 8 bits, short 16, long 32, double 64; string: stored string; expr: an
// Expression's stored form; font: a FontRecord's stored form). Version gates compare the record's own
// version key: old is below 2.6, b2 is 3.0 beta 2, f4 is 3.0 final build 4.
//
//   #  field                         form                   present when
//   1  record version                version record         always
//   2  name                          string                 always
//   3  branch probability            expr                   always
//   4  kind                          short (0..15)          always
//   5  second text                   string                 >= b2
//   6  font 3 present                short                  >= b2
//   7  font 3                        font                   item 6 non-zero
//   8  side record present           short                  >= b2
//   9  side record                   distribution, string   item 8 non-zero
//  10  link-block flag               short                  > b2
//  11  payoff count n                byte (0..4)            kind 3
//  12  payoffs 0..n-1                n expr                 kind 3
//  13  font 1 present                short                  always
//  14  font 1                        font                   item 13 non-zero
//  15  font 2 present                short                  always
//  16  font 2                        font                   item 15 non-zero
//  17  column shift                  signed byte (0..30)    always
//  18  collapsed                     byte                   not old
//  19  comment present               short                  not old
//  20  comment                       NodeComment            item 19 non-zero
//  21  expected-value link id        byte                   always
//  22  path-probability link id      byte                   always
//  23  standard-deviation link id    byte                   always
//  24  link-block pair present       short                  always
//  25  link-block pair               2 long                 item 24 non-zero
//  26  clone status                  short                  always
//  27  clone id                      short                  always
//  28  Markov selector               short (0..4)           always
//  29  Markov fields                 by selector            see TreeNodeRecordsMarkov.cpp
//  30  bindings present              short                  always
//  31  bindings                      VariableDefList        item 30 non-zero
//  32  Markov bindings present       short                  >= 3.5
//  33  Markov bindings               MarkovBindingList      item 32 non-zero
//  34  child count                   byte (< f4), short     always (0..1000)
//  35  results                       5 double: expected value, value, branch probability, cost,
//                                    effectiveness          snapshot mode
//  36  optimal count m               short                  snapshot mode
//  37  optimal child indexes         m short                snapshot mode
//  38  result cell count             short                  snapshot mode, >= 3.5
//  39  result cells                  ResultCellList         snapshot mode, item 38 > 0
//  40  children                      child count records    always
//
// Each check stops the record with its format error (the first error of the archive is kept): damage in
// items 1-10 or a bad kind 17; items 11-12 18; items 13-17 or a bad column shift 19; a bad selector 20;
// damage in items 18-39 or a bad child count 21; an invalid node after its children, or an optimal index
// that names no child, 16.

namespace {

constexpr int kMaxKind = 15;
constexpr int kMaxPayoffs = 4;
constexpr int kMaxColumnShift = 30;
constexpr int kMaxChildren = 1000;

// True (with the code recorded) when the archive failed: a stream state counts as damage too.
bool StopOnFailure(Archive& archive, uint32_t code)
{
    if (!archive.Failed())
        return false;
    archive.SetFormatError(code);
    return true;
}

void ReadFontOverride(Archive& archive, std::unique_ptr<FontRecord>& slot)
{
    int16_t present = 0;
    archive.ReadShort(present);
    if (present == 0 || archive.Failed())
        return;
    slot = std::make_unique<FontRecord>();
    slot->Serialize(archive);
}

void WriteFontOverride(RecordFieldWriter& fields, FontRecord* font)
{
    fields.Short(font != nullptr ? 1 : 0);
    if (font != nullptr)
        font->Serialize(fields.Nested());
}

void ReadSideRecord(TreeNode* node, Archive& archive)
{
    int16_t present = 0;
    archive.ReadShort(present);
    if (present == 0 || archive.Failed())
        return;
    auto record = std::make_shared<NodeSideRecord>();
    record->Serialize(archive, node->document);
    if (archive.Failed())
        return;
    node->EnsureLinkBlock()->sideRecord = std::move(record);
}

NodeSideRecord* WrittenSideRecord(const TreeNode* node)
{
    NodeSideRecord* record = node->linkBlock != nullptr ? node->linkBlock->sideRecord.get() : nullptr;
    return record != nullptr && record->distribution != nullptr ? record : nullptr;
}

int StoredPayoffCount(const TreeNode* node)
{
    if (!node->HasPayoffs())
        return 0;
    int count = kMaxPayoffs;
    while (count > 0 && node->payoffs[count - 1].IsEmpty())
        --count;
    return count;
}

void ReadResults(TreeNode* node, Archive& archive, int32_t key, NodeRecordTail& tail)
{
    archive.ReadDouble(node->triple.value).ReadDouble(node->value).ReadDouble(node->branchProbability);
    archive.ReadDouble(node->triple.cost).ReadDouble(node->triple.effectiveness);
    int16_t optimalCount = 0;
    archive.ReadShort(optimalCount);
    if (StopOnFailure(archive, NodeRecordBadChildCount))
        return;
    if (optimalCount < 0 || optimalCount > tail.childCount) {
        archive.SetFormatError(NodeRecordInvalidNode);
        return;
    }
    if (optimalCount > 0) {
        node->EnsureOptimalList()->RemoveAll();
        tail.optimalIndexes.resize(optimalCount);
        for (int16_t& index : tail.optimalIndexes)
            archive.ReadShort(index);
    }
    if (key < KnownVersion::k3_5 || StopOnFailure(archive, NodeRecordBadChildCount))
        return;
    int16_t cellCount = 0;
    archive.ReadShort(cellCount);
    if (cellCount > 0 && !archive.Failed()) {
        node->resultCells = std::make_unique<ResultCellList>(4, true);
        node->resultCells->Serialize(archive);
    }
}

void WriteResults(const TreeNode* node, RecordFieldWriter& fields)
{
    fields.Double(node->triple.value).Double(node->value).Double(node->branchProbability);
    fields.Double(node->triple.cost).Double(node->triple.effectiveness);
    std::vector<int16_t> indexes;
    for (int i = 0; node->optimal != nullptr && i < node->optimal->Count() && indexes.size() < size_t(node->childCount); ++i) {
        const int index = node->IndexOfChild(node->optimal->At(i));
        if (index >= 0)
            indexes.push_back(static_cast<int16_t>(index));
    }
    fields.Short(static_cast<int16_t>(indexes.size()));
    for (int16_t index : indexes)
        fields.Short(index);
    const int16_t cellCount = node->resultCells != nullptr ? node->resultCells->Count() : 0;
    fields.Short(cellCount);
    if (cellCount > 0)
        node->resultCells->Serialize(fields.Nested());
}

// Items 18 to 33.
void ReadLinksCloneAndBindings(TreeNode* node, Archive& archive, int32_t key)
{
    const bool old = key < KnownVersion::k2_6;
    if (!old) {
        archive.ReadByte(node->collapsed);
        int16_t commentPresent = 0;
        archive.ReadShort(commentPresent);
        if (commentPresent != 0 && !archive.Failed()) {
            if (node->comment == nullptr)
                node->comment = std::make_unique<NodeComment>();
            node->comment->Serialize(archive);
        }
    }
    uint8_t linkIds[3] = {0, 0, 0};
    archive.ReadByte(linkIds[2]).ReadByte(linkIds[0]).ReadByte(linkIds[1]);
    if (linkIds[2] != 0)
        node->SetLinkId2(linkIds[2]);
    if (linkIds[0] != 0)
        node->SetLinkId0(linkIds[0]);
    if (linkIds[1] != 0)
        node->SetLinkId1(linkIds[1]);
    int16_t pairPresent = 0;
    archive.ReadShort(pairPresent);
    if (pairPresent != 0) {
        int32_t pair[2] = {0, 0};
        archive.ReadLong(pair[0]).ReadLong(pair[1]);
        node->SetSideBlockPair(pair, true);
    }
    int16_t cloneStatus = 0;
    int16_t cloneId = 0;
    archive.ReadShort(cloneStatus).ReadShort(cloneId);
    node->cloneStatus = cloneStatus;
    node->cloneId = cloneId;
}

void ReadBindings(TreeNode* node, Archive& archive, int32_t key)
{
    int16_t present = 0;
    archive.ReadShort(present);
    if (present != 0 && !archive.Failed()) {
        node->bindings = std::make_unique<VariableDefList>(4, true);
        node->bindings->Serialize(archive);
    }
    if (key < KnownVersion::k3_5 || archive.Failed())
        return;
    present = 0;
    archive.ReadShort(present);
    if (present != 0 && !archive.Failed()) {
        MarkovBindingList* list = node->MarkovBindings();
        list->Serialize(archive);
    }
}

}  // namespace

void ReadNodeRecord(TreeNode* node, Archive& archive, NodeRecordTail& tail, RecordForm form)
{
    tail = NodeRecordTail();
    VersionRecord version;
    version.Serialize(archive);
    const int32_t key = version.Key();
    LoadString(archive, node->text);
    node->probability.Serialize(archive);
    int16_t kind = 0;
    archive.ReadShort(kind);
    if (StopOnFailure(archive, NodeRecordBadKind))
        return;
    if (kind < 0 || kind > kMaxKind) {
        archive.SetFormatError(NodeRecordBadKind);
        return;
    }
    node->kind = kind;
    if (key >= KnownVersion::k3_0_Beta2) {
        LoadString(archive, node->text2);
        ReadFontOverride(archive, node->fonts[2]);
        ReadSideRecord(node, archive);
    }
    if (key > KnownVersion::k3_0_Beta2) {
        int16_t linkBlockFlag = 0;
        archive.ReadShort(linkBlockFlag);
        if (linkBlockFlag != 0)
            node->EnsureLinkBlock()->readerFlag = 1;
    }
    if (StopOnFailure(archive, NodeRecordBadKind))
        return;

    if (kind == TerminalNode) {
        uint8_t payoffCount = 0;
        archive.ReadByte(payoffCount);
        if (payoffCount > kMaxPayoffs && !archive.Failed())
            archive.SetFormatError(NodeRecordBadPayoffCount);
        for (int i = 0; i < payoffCount && !archive.Failed(); ++i)
            node->Payoff(i).Serialize(archive);
        if (StopOnFailure(archive, NodeRecordBadPayoffCount))
            return;
    }

    ReadFontOverride(archive, node->fonts[0]);
    ReadFontOverride(archive, node->fonts[1]);
    int8_t columnShift = 0;
    archive.ReadByte(columnShift);
    if (StopOnFailure(archive, NodeRecordBadColumnShift))
        return;
    if (columnShift < 0 || columnShift > kMaxColumnShift) {
        archive.SetFormatError(NodeRecordBadColumnShift);
        return;
    }
    node->columnShift = static_cast<uint8_t>(columnShift);

    ReadLinksCloneAndBindings(node, archive, key);
    int16_t selector = 0;
    archive.ReadShort(selector);
    if (StopOnFailure(archive, NodeRecordBadChildCount))
        return;
    if (selector < MarkovSelectorNone || selector > MarkovSelectorTransitionRewards) {
        archive.SetFormatError(NodeRecordBadMarkovSelector);
        return;
    }
    ReadMarkovFields(node, archive, selector, key);
    if (StopOnFailure(archive, NodeRecordBadChildCount))
        return;
    ReadBindings(node, archive, key);

    int childCount = 0;
    if (key < KnownVersion::k3_0_Build4) {
        uint8_t count = 0;
        archive.ReadByte(count);
        childCount = count;
    } else {
        int16_t count = 0;
        archive.ReadShort(count);
        childCount = count;
    }
    if (StopOnFailure(archive, NodeRecordBadChildCount))
        return;
    if (childCount < 0 || childCount > kMaxChildren) {
        archive.SetFormatError(NodeRecordBadChildCount);
        return;
    }
    tail.childCount = childCount;
    if (form == RecordForm::Snapshot)
        ReadResults(node, archive, key, tail);
    StopOnFailure(archive, NodeRecordBadChildCount);
}

namespace {

void NoteFormulaFit(ExpressionVisitor&, TreeNode*, Expression& formula, void* fits)
{
    if (!formula.FitsStoredForm())
        *static_cast<bool*>(fits) = false;
}

// True when every formula of the node's record fits an expression's stored form. Payoffs are read through
// the const accessor, so checking a tree before a save makes no empty payoff slots.
bool FormulasFitStoredForm(const TreeNode* node)
{
    if (!node->probability.FitsStoredForm())
        return false;
    for (int i = 0; i < node->BindingCount(); ++i)
        if (!node->GetBinding(i)->definition.FitsStoredForm())
            return false;
    if (node->kind == TerminalNode)
        for (int i = 0; i < kPayoffCount; ++i)
            if (!node->Payoff(i).FitsStoredForm())
                return false;
    if (node->markovInfo == nullptr)
        return true;
    bool fits = true;
    ExpressionVisitor visitor;
    visitor.visit = NoteFormulaFit;
    visitor.visitArg = &fits;
    VisitNodeExpressions(const_cast<TreeNode*>(node), visitor);
    return fits;
}

}  // namespace

bool DistributionFitsStoredForm(const Distribution* distribution)
{
    auto* parameters = const_cast<Distribution*>(distribution);
    for (int i = 0; i < distribution->ParameterCount(); ++i)
        if (!parameters->Parameter(i)->FitsStoredForm())
            return false;
    return true;
}

const char* ExceededRecordLimit(const TreeNode* node)
{
    if (node->text.Length() >= TreeNode::kMaxNameLength)
        return "its name is longer than 799 characters";
    if (node->text2.Length() >= TreeNode::kMaxText2Length)
        return "its second text is longer than 499 characters";
    if (node->BindingCount() >= TreeNode::kMaxBindings)
        return "it has more than 1999 variable bindings";
    if (node->childCount > kMaxChildren)
        return "it has more than 1000 branches";
    if (node->kind < 0 || node->kind > kMaxKind)
        return "its node type is unknown";
    if (node->columnShift > kMaxColumnShift)
        return "it is shifted by more than 30 columns";
    for (const std::unique_ptr<FontRecord>& font : node->fonts)
        if (font != nullptr && !font->IsStorable())
            return "one of its fonts is larger than 200 points";
    if (node->GetLinkId0() > kMaxStoredLinkId || node->GetLinkId1() > kMaxStoredLinkId ||
        node->GetLinkId2() > kMaxStoredLinkId)
        return "one of its link ids is above 255";
    if (!FormulasFitStoredForm(node))
        return "one of its formulas is longer than 1500 characters";
    if (const NodeSideRecord* side = WrittenSideRecord(node))
        if (!DistributionFitsStoredForm(side->distribution))
            return "a parameter of its distribution is longer than 1500 characters";
    return nullptr;
}

bool CheckNodesStorable(const TreeNode* node, zString& message, const char* lead)
{
    std::vector<const TreeNode*> pending{node};
    while (!pending.empty()) {
        const TreeNode* current = pending.back();
        pending.pop_back();
        if (const char* limit = ExceededRecordLimit(current)) {
            zString name;
            current->GetShortText(name, 30);
            message = lead;
            if (name.Length() > 30) {
                // A name too long to store is cut here.
                name.Truncate(30);
                message += "the node \"";
                message += name;
                message += "...\"";
            } else {
                message += NodeMention(*current, "the node");
            }
            message += " cannot be stored, as ";
            message += limit;
            message += ".";
            return false;
        }
        for (int i = current->childCount - 1; i >= 0; --i)
            pending.push_back(current->GetChild(i));
    }
    return true;
}

void WriteNodeRecord(const TreeNode* node, Archive& archive, RecordForm form)
{
    RecordFieldWriter fields(archive);
    uint8_t version[3];
    VersionRecord::Current().StoredBytes(version);
    fields.Bytes(version, 3);
    StoreString(fields.Nested(), node->text);
    const_cast<Expression&>(node->probability).Serialize(fields.Nested());
    fields.Short(static_cast<int16_t>(node->kind));
    StoreString(fields.Nested(), node->text2);
    WriteFontOverride(fields, node->fonts[2].get());
    NodeSideRecord* sideRecord = WrittenSideRecord(node);
    fields.Short(sideRecord != nullptr ? 1 : 0);
    if (sideRecord != nullptr)
        sideRecord->Serialize(fields.Nested(), node->document);
    fields.Short(node->linkBlock != nullptr && node->linkBlock->readerFlag != 0 ? 1 : 0);

    if (node->kind == TerminalNode) {
        const int payoffCount = StoredPayoffCount(node);
        fields.Byte(static_cast<uint8_t>(payoffCount));
        for (int i = 0; i < payoffCount; ++i)
            const_cast<Expression&>(node->payoffs[i]).Serialize(fields.Nested());
    }

    WriteFontOverride(fields, node->fonts[0].get());
    WriteFontOverride(fields, node->fonts[1].get());
    fields.Byte(node->columnShift);

    fields.Byte(node->collapsed);
    fields.Short(node->comment != nullptr ? 1 : 0);
    if (node->comment != nullptr)
        node->comment->Serialize(fields.Nested());
    fields.Byte(static_cast<uint8_t>(node->GetLinkId2()));
    fields.Byte(static_cast<uint8_t>(node->GetLinkId0()));
    fields.Byte(static_cast<uint8_t>(node->GetLinkId1()));
    const NodeLinkBlock* block = node->linkBlock.get();
    const bool pairPresent = block != nullptr && (block->sideValues[0] != 0 || block->sideValues[1] != 0);
    fields.Short(pairPresent ? 1 : 0);
    if (pairPresent)
        fields.Long(block->sideValues[0]).Long(block->sideValues[1]);
    fields.Short(static_cast<int16_t>(node->cloneStatus)).Short(node->cloneId);

    const int16_t selector = MarkovSelectorFor(node);
    fields.Short(selector);
    if (selector != MarkovSelectorNone)
        WriteMarkovFields(node, fields.Nested(), selector);
    fields.Short(node->bindings != nullptr ? 1 : 0);
    if (node->bindings != nullptr)
        node->bindings->Serialize(fields.Nested());
    fields.Short(node->markovBindings != nullptr ? 1 : 0);
    if (node->markovBindings != nullptr)
        node->markovBindings->Serialize(fields.Nested());

    fields.Short(node->childCount);
    if (form == RecordForm::Snapshot)
        WriteResults(node, fields);
}
