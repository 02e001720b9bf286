#include "model/TreeNode.h"

#include "model/ResultCellList.h"
#include "formula/NameResolution.h"
#include "foundation/FontRecord.h"
#include "model/CloneCopies.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/NodeComment.h"
#include "model/VariableDefinition.h"
#include "model/TreeDocument.h"
#include "formula/RunOutcome.h"
#include "foundation/StringHelpers.h"

#include <cstring>
#include <stdexcept>
#include <vector>


namespace {

int ClampPayoffIndex(int i)
{
    if (i < 0)
        return 0;
    return i > 3 ? 3 : i;
}

// The body of a node copy without children.
void CopyNodeFields(TreeNode& copy, const TreeNode& source)
{
    copy.text = source.text;
    copy.probability.Assign(source.probability);
    copy.text2 = source.text2;
    copy.kind = source.kind;
    copy.document = source.document;
    copy.columnShift = source.columnShift;
    copy.collapsed = source.collapsed;
    copy.layoutLevel = source.layoutLevel;
    if (source.bindings != nullptr) {
        copy.bindings = std::make_unique<VariableDefList>(source.bindings->GrowBy(), true);
        for (int i = 0; i < source.bindings->Count(); ++i) {
            const VariableDefinition* binding = source.bindings->At(i);
            auto* duplicate = new VariableDefinition;
            duplicate->Assign(*binding);
            if (!copy.bindings->Add(duplicate))
                delete duplicate;
            else if (copy.document != nullptr)
                copy.document->EnsureVariable(binding->name.Text(), nullptr);
        }
    }
    if (source.kind == TerminalNode)
        copy.payoffs.CopyMade(source.payoffs);
    if (source.linkBlock != nullptr) {
        copy.linkBlock = std::make_unique<NodeLinkBlock>(*source.linkBlock);
        copy.linkBlock->linkIds[0] = copy.linkBlock->linkIds[1] = copy.linkBlock->linkIds[2] = 0;
    }
    for (int i = 0; i < 3; ++i) {
        if (source.fonts[i] != nullptr)
            copy.fonts[i] = std::make_unique<FontRecord>(*source.fonts[i]);
    }
    if (source.comment != nullptr && !source.comment->AllEmpty()) {
        copy.comment = std::make_unique<NodeComment>();
        copy.comment->Assign(*source.comment);
    }
    if (source.markovInfo != nullptr) {
        copy.markovInfo = std::make_unique<MarkovInfo>();
        copy.markovInfo->Assign(*source.markovInfo);
    }
    if (source.markovBindings != nullptr) {
        copy.markovBindings = std::make_unique<MarkovBindingList>();
        copy.markovBindings->Assign(*source.markovBindings);
    }
}

}  // namespace

TreeNode::TreeNode(TreeDocument* owner)
{
    Reset();
    document = owner;
}

TreeNode::TreeNode(const TreeNode& source, bool withChildren, bool cloneCopyContents)
{
    Reset();
    CopyNodeFields(*this, source);
    if (!withChildren)
        return;
    // Copies the subtree level by level with an explicit list of pending pairs, so depth costs no stack.
    std::vector<std::pair<const TreeNode*, TreeNode*>> pending;
    pending.emplace_back(&source, this);
    try {
        while (!pending.empty()) {
            const TreeNode* from = pending.back().first;
            TreeNode* to = pending.back().second;
            pending.pop_back();
            if (from->cloneStatus == CloneCopyNode && !cloneCopyContents)
                continue;
            if (from->childCount > 0)
                to->children->SetCapacity(to->children->Count() + from->childCount);
            for (int i = 0; i < from->childCount; ++i) {
                const TreeNode* child = from->GetChild(i);
                auto* childCopy = new TreeNode(to->document);
                CopyNodeFields(*childCopy, *child);
                to->InsertChildOrThrow(childCopy, -1);
                pending.emplace_back(child, childCopy);
            }
        }
    } catch (...) {
        // Memory ran out: the part copied so far goes with the copy that failed.
        while (childCount > 0) {
            TreeNode* child = GetChild(childCount - 1);
            RemoveChild(child);
            delete child;
        }
        throw;
    }
}

TreeNode::~TreeNode()
{
    InvalidateNameResolution();
    // Detach the whole subtree first and delete it node by node: a deep chain must not recurse.
    std::vector<TreeNode*> pending;
    for (int i = 0; i < children->Count(); ++i)
        pending.push_back(children->At(i));
    children->RemoveAll();
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        for (int i = 0; i < node->children->Count(); ++i)
            pending.push_back(node->children->At(i));
        node->children->RemoveAll();
        node->childCount = 0;
        delete node;
    }
    // A deleted node's values are published no more.
    if (document != nullptr && linkBlock != nullptr) {
        for (uint16_t id : linkBlock->linkIds)
            if (id != 0)
                document->ReleaseLinkEntry(id, nullptr);
    }
}

void TreeNode::Reset()
{
    text.Clear();
    text2.Clear();
    bindings = nullptr;
    parent = nullptr;
    markovRunFlag = 0;
    columnShift = 0;
    collapsed = 0;
    displayFlag = 1;
    document = nullptr;
    if (children == nullptr)
        children = std::make_unique<NodeChildList>(4, Ownership::Owns);
    value = 0.0;
    branchProbability = 0.0;
    triple = ValueTriple();
    kind = ChanceNode;
    cloneStatus = NotCloned;
    cloneId = -1;
    terminalNumber = 0;
    childCount = 0;
    optimal = nullptr;
    layoutLevel = 0;
    linkBlock = nullptr;
}

bool TreeNode::InsertChild(TreeNode* child, int i)
{
    if (childCount >= kMaxChildren)
        return false;
    if (document != nullptr)
        document->ShapeChanging(this);
    InvalidateNameResolution();
    if (!children->InsertAt(i < 0 ? children->Count() : i, child))
        return false;
    child->parent = this;
    child->document = document;
    childCount = children->Count();
    ModelChanged();
    return true;
}

void TreeNode::InsertChildOrThrow(TreeNode* child, int i)
{
    if (!InsertChild(child, i))
        throw std::length_error("a node has no room for another branch");
}

bool TreeNode::CheckRoomForChildren(int count) const
{
    if (childCount + count <= kMaxChildren)
        return true;
    zString message = NodeMention(*this, "The node");
    message += " cannot have more than ";
    AppendInt(message, kMaxChildren);
    message += " branches.";
    ReportFailure(OutcomeCode::NodeFull, nullptr, nullptr, message.Text(), -1);
    return false;
}

void TreeNode::RemoveChild(TreeNode* child)
{
    if (document != nullptr)
        document->ShapeChanging(this, child);
    InvalidateNameResolution();
    children->RemovePtr(child);
    child->parent = nullptr;
    childCount = children->Count();
    ModelChanged();
}

void TreeNode::ClearChildren()
{
    // Children already moved under another node stay in the tree; the others leave it.
    if (document != nullptr) {
        document->ShapeChanging(this);
        for (int k = 0; k < children->Count(); ++k)
            if (children->At(k)->parent == this)
                document->ShapeChanging(this, children->At(k));
    }
    InvalidateNameResolution();
    children->RemoveAll();
    childCount = 0;
    ModelChanged();
}

void TreeNode::MoveChildrenTo(TreeNode* destination, int i)
{
    if (destination->childCount + childCount > kMaxChildren)
        throw std::length_error("a node has no room for the branches moved to it");
    if (document != nullptr) {
        document->ShapeChanging(this);
        // Moved under a node outside the tree, the children leave it.
        const bool leaving = !document->Holds(destination);
        for (int k = 0; k < children->Count() && leaving; ++k)
            document->ShapeChanging(this, children->At(k));
    }
    int position = i;
    for (int k = 0; k < children->Count(); ++k) {
        destination->InsertChildOrThrow(children->At(k), position);
        if (position >= 0)
            ++position;
    }
    ClearChildren();
}

TreeNode* TreeNode::NextSibling() const
{
    if (parent == nullptr)
        return nullptr;
    return parent->GetChild(parent->IndexOfChild(this) + 1);
}

TreeNode* TreeNode::PrevSibling() const
{
    if (parent == nullptr)
        return nullptr;
    const int index = parent->IndexOfChild(this);
    return index > 0 ? parent->GetChild(index - 1) : nullptr;
}

bool TreeNode::IsDescendantOf(const TreeNode* ancestor) const
{
    for (const TreeNode* node = parent; node != nullptr; node = node->parent) {
        if (node == ancestor)
            return true;
    }
    return false;
}

int TreeNode::Depth() const
{
    int depth = 0;
    for (const TreeNode* node = parent; node != nullptr; node = node->parent)
        ++depth;
    return depth;
}

void TreeNode::ModelChanged()
{
    if (document == nullptr)
        return;
    ++document->EditCount;
    if (!document->IsRolledBack())
        return;
    // A node being built apart from the tree (a copy not inserted yet) changes no value of the tree.
    const TreeNode* top = this;
    while (top->parent != nullptr)
        top = top->parent;
    if (top == document->Root)
        document->ModelChanged();
}

TreeNode* TreeNode::GetTreeRoot() const
{
    return document != nullptr ? document->Root : nullptr;
}

TreeNode* TreeNode::NextNode(int flags) const
{
    // After the last child comes its parent; after the root, as after any other node, the first leaf below.
    const TreeNode* node = NextSibling();
    if (node == nullptr) {
        if (parent != nullptr)
            return parent;
        node = this;
    }
    while (node->childCount > 0) {
        if (node->kind == MarkovNode && (flags & 1) == 0)
            break;
        if (node->cloneStatus == CloneCopyNode && (flags & 2) == 0)
            break;
        node = node->GetChild(0);
    }
    return const_cast<TreeNode*>(node);
}

bool TreeNode::IsInCollapsedSubtree() const
{
    if (collapsed)
        return false;
    for (const TreeNode* node = parent; node != nullptr; node = node->parent) {
        if (node->collapsed)
            return true;
    }
    return false;
}

TreeNode* TreeNode::TopCollapsedAncestor()
{
    TreeNode* top = this;
    for (TreeNode* node = parent; node != nullptr; node = node->parent) {
        if (node->collapsed)
            top = node;
    }
    return top;
}

bool TreeNode::ChildrenShown() const
{
    if (collapsed)
        return false;
    return !(cloneStatus == CloneCopyNode && document != nullptr && document->HideCloneContents);
}

void TreeNode::MaxShownColumn(int level, int& out) const
{
    std::vector<std::pair<const TreeNode*, int>> pending;
    pending.emplace_back(this, level);
    while (!pending.empty()) {
        const TreeNode* node = pending.back().first;
        const int column = pending.back().second;
        pending.pop_back();
        if (column > out)
            out = column;
        if (!node->ChildrenShown())
            continue;
        for (int i = 0; i < node->childCount; ++i) {
            const TreeNode* child = node->GetChild(i);
            pending.emplace_back(child, column + 1 + child->columnShift);
        }
    }
}

void TreeNode::SetText(const char* newText, bool alsoInCopies)
{
    const zString oldText(text);
    text = newText;
    // A name may be a payoff or a Markov state's: what was worked out from the tree may no longer hold.
    if (document != nullptr)
        ++document->EditCount;
    UpdateMarkovStateBindings(oldText.Text(), text.Text());
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetText(node->text.Text(), false);
        }, nullptr);
}

void TreeNode::SetText2(const char* newText, bool alsoInCopies)
{
    text2 = newText;
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetText2(node->text2.Text(), false);
        }, nullptr);
}

void TreeNode::SetProbabilityText(const char* newText, bool alsoInCopies)
{
    const char* p = newText;
    while (*p == ' ')
        ++p;
    bool loneHash = *p == '#';
    if (loneHash) {
        const char* rest = p + 1;
        while (*rest == ' ')
            ++rest;
        loneHash = *rest == '\0' && std::strlen(newText) > 1;
    }
    probability.SetText(loneHash ? "#" : newText);
    ModelChanged();
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetProbabilityText(node->probability.Text().Text(), false);
        }, nullptr);
}

void TreeNode::SetProbability(const Expression& kept, bool alsoInCopies)
{
    probability.Assign(kept);
    ModelChanged();
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetProbability(node->probability, false);
        }, nullptr);
}

bool TreeNode::ProbabilityIsComplement() const
{
    return probability.Text()[0] == '#';
}

void TreeNode::SetPayoffText(const char* newText, int i, bool alsoInCopies)
{
    if (kind != TerminalNode && kind != 0)
        return;
    const int index = ClampPayoffIndex(i);
    Payoff(index).SetText(newText);
    ModelChanged();
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void* slot) {
            const int payoffIndex = *static_cast<int*>(slot);
            counterpart->SetPayoffText(node->Payoff(payoffIndex).Text().Text(), payoffIndex, false);
        }, const_cast<int*>(&index));
}

void TreeNode::GetPayoffText(zString& out, int i)
{
    const int index = ClampPayoffIndex(i);
    const PayoffSlots& stored = payoffs;
    if (kind != TerminalNode && !stored[index].IsEmpty())
        payoffs[index].SetText("");
    const bool empty = stored[index].IsEmpty();
    if (empty && document != nullptr && document->ValuesCurrent() &&
        document->CalcPrefs.AllowTermNodeNameAsPayoff) {
        PayoffFromNodeName(this, out, index);
        return;
    }
    if (empty)
        out.Clear();
    else
        out = stored[index].Text();
}

Expression& TreeNode::Payoff(int i)
{
    return payoffs[ClampPayoffIndex(i)];
}

const Expression& TreeNode::Payoff(int i) const
{
    return payoffs[ClampPayoffIndex(i)];
}

void TreeNode::SetKind(int newKind, bool alsoInCopies)
{
    kind = newKind;
    ModelChanged();
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetKind(node->kind, false);
        }, nullptr);
}

void TreeNode::PushColumnShift(bool alsoInCopies)
{
    ++columnShift;
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode*, void*) {
            counterpart->PushColumnShift(false);
        }, nullptr);
}

void TreeNode::PopColumnShift(bool alsoInCopies)
{
    if (columnShift > 0)
        --columnShift;
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode*, void*) {
            counterpart->PopColumnShift(false);
        }, nullptr);
}

void TreeNode::SetSideBlockPair(const int32_t pair[2], bool alsoInCopies)
{
    NodeLinkBlock* block = EnsureLinkBlock();
    block->sideValues[0] = pair[0];
    block->sideValues[1] = pair[1];
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetSideBlockPair(node->linkBlock->sideValues, false);
        }, nullptr);
}

void TreeNode::SetRollBackBoxOffset(float dx, float dy, bool alsoInCopies)
{
    NodeLinkBlock* block = EnsureLinkBlock();
    block->rollBackBoxOffset[0] = dx;
    block->rollBackBoxOffset[1] = dy;
    if (alsoInCopies)
        ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void*) {
            counterpart->SetRollBackBoxOffset(node->linkBlock->rollBackBoxOffset[0],
                                              node->linkBlock->rollBackBoxOffset[1], false);
        }, nullptr);
}

void TreeNode::SetFont(int i, const FontRecord* record, bool alsoInCopies)
{
    fonts[i] = record != nullptr ? std::make_unique<FontRecord>(*record) : nullptr;
    if (!alsoInCopies)
        return;
    struct Slot {
        int i;
    } slot{i};
    ForEachCloneCounterpart(this, [](TreeNode* counterpart, TreeNode* node, void* arg) {
        const int index = static_cast<Slot*>(arg)->i;
        counterpart->SetFont(index, node->fonts[index].get(), false);
    }, &slot);
}

NodeComment* TreeNode::GetExtraList()
{
    if (comment == nullptr)
        comment = std::make_unique<NodeComment>(this);
    return comment.get();
}

NodeGeometry& TreeNode::Geometry()
{
    if (geometry == nullptr)
        geometry = std::make_unique<NodeGeometry>();
    return *geometry;
}

const NodeGeometry& TreeNode::Geometry() const
{
    static const NodeGeometry empty;
    return geometry != nullptr ? *geometry : empty;
}

bool TreeNode::ExtraListEmpty() const
{
    return comment == nullptr || comment->AllEmpty();
}

void TreeNode::GetDisplayText(zString& out, bool whole) const
{
    out = text;
    if (whole)
        return;
    const char* start = out.Text();
    const char* lineEnd = std::strpbrk(start, "\r\n");
    if (lineEnd == nullptr)
        return;
    const uint32_t firstLine = static_cast<uint32_t>(lineEnd - start);
    const char* rest = lineEnd;
    while (*rest == '\r' || *rest == '\n')
        ++rest;
    const bool moreLines = *rest != '\0';
    out.Truncate(firstLine);
    if (moreLines)
        out += "...";
}

void TreeNode::GetShortText(zString& out, int n) const
{
    out.Clear();
    bool hadBreak = false;
    for (const char* p = text.Text(); *p; ++p) {
        if (*p == '\r')
            continue;
        if (*p == '\n') {
            out += ' ';
            hadBreak = true;
        } else {
            out += *p;
        }
    }
    if (hadBreak && n >= 1 && out.Length() > static_cast<uint32_t>(n)) {
        out.Truncate(static_cast<uint32_t>(n));
        out += "...";
    }
}

bool TreeNode::IsValid() const
{
    return text.Length() < kMaxNameLength && text2.Length() < kMaxText2Length && BindingCount() < kMaxBindings &&
           childCount == children->Count();
}

void TreeNode::ClearLinkId(int id)
{
    if (linkBlock == nullptr)
        return;
    for (uint16_t& linkId : linkBlock->linkIds) {
        if (linkId == id) {
            linkId = 0;
            return;
        }
    }
}

NodeLinkBlock* TreeNode::EnsureLinkBlock()
{
    if (linkBlock == nullptr)
        linkBlock = std::make_unique<NodeLinkBlock>();
    return linkBlock.get();
}

void TreeNode::ResizeResultCells(int n)
{
    if (resultCells == nullptr)
        resultCells = std::make_unique<ResultCellList>(4, true);
    while (resultCells->Count() < n && resultCells->Add(new ResultCell)) {
    }
    while (resultCells->Count() > n)
        resultCells->DeleteAt(resultCells->Count() - 1);
}

NodeChildList* TreeNode::EnsureOptimalList()
{
    if (optimal == nullptr)
        optimal = std::make_unique<NodeChildList>(4, Ownership::Borrows);
    return optimal.get();
}

bool PayoffFromNodeName(const TreeNode* node, zString& out, int i)
{
    zString display;
    node->GetDisplayText(display, false);
    const char* field = display.Text();
    for (int k = 0; k < i; ++k) {
        field = std::strchr(field, '\\');
        if (field == nullptr)
            return false;
        ++field;
    }
    const char* end = std::strchr(field, '\\');
    out = field;
    if (end != nullptr)
        out.Truncate(static_cast<uint32_t>(end - field));
    return true;
}

namespace {

const char* KindWord(int32_t kind)
{
    switch (kind) {
    case ChanceNode: return "chance";
    case DecisionNode:
    case ReversedDecisionNode: return "decision";
    case MarkovNode: return "Markov";
    case LogicNode: return "logic";
    case LabelNode: return "label";
    default: return "terminal";
    }
}

bool Unnamed(const zString& name)
{
    return std::strspn(name.Text(), " \t") == name.Length();
}

// The quoted name, or the article, "unnamed <kind> node" and its place, up to the first named node or the root.
void AppendNodePlace(zString& text, const TreeNode& node, const char* article)
{
    for (const TreeNode* at = &node; at != nullptr; at = at->parent) {
        zString name;
        at->GetShortText(name, 30);
        if (!Unnamed(name)) {
            text += "\"";
            text += name;
            text += "\"";
            return;
        }
        text += at == &node ? article : "the";
        const TreeNode* parent = at->parent;
        if (parent == nullptr) {
            // The root is found without its kind.
            text += " unnamed root node";
            return;
        }
        text += " unnamed ";
        text += KindWord(at->kind);
        text += " node";
        if (parent->childCount > 1)
            for (int i = 0; i < parent->childCount; ++i)
                if (parent->GetChild(i) == at) {
                    text += " on branch ";
                    AppendInt(text, i + 1);
                }
        text += " under ";
    }
}

}  // namespace

zString NodeMention(const TreeNode& node, const char* namedAs)
{
    zString name;
    node.GetShortText(name, 30);
    zString text;
    if (!Unnamed(name)) {
        text = namedAs;
        if (!text.IsEmpty())
            text += " ";
    }
    AppendNodePlace(text, node, std::strncmp(namedAs, "The", 3) == 0 ? "The" : "the");
    return text;
}
