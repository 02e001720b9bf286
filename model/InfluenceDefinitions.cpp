#include "model/InfluenceDefinitions.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/NameRules.h"

#include <algorithm>

void DefinitionCell::Set(const char* formulaText, double value, const char* expressionText)
{
    formula = formulaText;
    expression = expressionText;
    number = value;
    Classify();
}

void DefinitionCell::Classify()
{
    if (formula.Text()[0] == '#')
        kind = Formula;
    else if (formula.IsEmpty() && expression.IsEmpty())
        kind = Empty;
    else if (!formula.IsEmpty() && CheckVariableName(formula, false, false) != 0)
        kind = Variable;
    else if (formula.IsEmpty())
        kind = ExpressionOnly;
    else
        kind = Formula;
}

void DefinitionCell::DisplayTexts(zString& first, zString& second) const
{
    first.Clear();
    second.Clear();
    if (kind == ExpressionOnly) {
        first = expression;
    } else if (kind == Variable) {
        first = formula;
        if (!expression.IsEmpty()) {
            second = "= ";
            second += expression;
        }
    } else if (kind == Formula) {
        first = formula;
    }
}

void DefinitionCell::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(kind));
        archive.WriteDouble(number);
        archive.WriteShort(kSentinel);
        StoreString(archive, formula);
        StoreString(archive, expression);
        return;
    }
    int16_t storedKind = 0;
    int16_t sentinel = 0;
    archive.ReadShort(storedKind);
    archive.ReadDouble(number);
    archive.ReadShort(sentinel);
    kind = storedKind;
    if (sentinel != kSentinel)
        archive.SetFormatError(kFormatBadSentinel);
    LoadString(archive, formula);
    LoadString(archive, expression);
}

DefinitionTreeNode::~DefinitionTreeNode()
{
    std::unique_ptr<DefinitionTreeNode> sibling = std::move(next);
    while (sibling)
        sibling = std::move(sibling->next);
}

std::unique_ptr<DefinitionTreeNode> DefinitionTreeNode::DeepCopy() const
{
    std::unique_ptr<DefinitionTreeNode> first;
    std::unique_ptr<DefinitionTreeNode>* slot = &first;
    for (const DefinitionTreeNode* node = this; node; node = node->next.get()) {
        *slot = std::make_unique<DefinitionTreeNode>(node->name.Text(), node->state);
        if (node->cell)
            (*slot)->cell = std::make_unique<DefinitionCell>(*node->cell);
        if (node->down)
            (*slot)->down = node->down->DeepCopy();
        slot = &(*slot)->next;
    }
    return first;
}

int DefinitionTreeNode::FindLevel(const char* levelName) const
{
    int level = 0;
    for (const DefinitionTreeNode* node = this; node; node = node->down.get(), ++level)
        if (node->name == levelName)
            return level;
    return -1;
}

void DefinitionTreeNode::Serialize(Archive& archive)
{
    Serialize(archive, 0);
}

// The siblings of a chain, each with its version, state, name and the levels below it; each sibling's cell
// comes after the whole rest of the chain, so the cells follow last to first.
void DefinitionTreeNode::Serialize(Archive& archive, int depth)
{
    if (depth > kMostLevels) {
        archive.SetFormatError(DefinitionCell::kFormatBadSentinel);
        return;
    }
    std::vector<DefinitionTreeNode*> chain;
    for (DefinitionTreeNode* node = this; node && !archive.Failed();) {
        chain.push_back(node);
        VersionRecord version;
        version.Serialize(archive);
        int16_t stored = static_cast<int16_t>(node->state);
        int16_t hasDown = node->down ? 1 : 0;
        int16_t hasNext = node->next ? 1 : 0;
        if (archive.IsStoring()) {
            archive.WriteShort(stored);
            StoreString(archive, node->name);
            archive.WriteShort(hasDown);
        } else {
            archive.ReadShort(stored);
            node->state = stored;
            LoadString(archive, node->name);
            archive.ReadShort(hasDown);
            if (hasDown != 0 && !archive.Failed())
                node->down = std::make_unique<DefinitionTreeNode>();
        }
        if (hasDown != 0 && node->down)
            node->down->Serialize(archive, depth + 1);
        if (archive.IsStoring()) {
            archive.WriteShort(hasNext);
        } else {
            archive.ReadShort(hasNext);
            if (hasNext != 0 && !archive.Failed())
                node->next = std::make_unique<DefinitionTreeNode>();
        }
        node = hasNext != 0 ? node->next.get() : nullptr;
    }
    for (auto node = chain.rbegin(); node != chain.rend() && !archive.Failed(); ++node) {
        int16_t hasCell = (*node)->cell ? 1 : 0;
        if (archive.IsStoring()) {
            archive.WriteShort(hasCell);
        } else {
            archive.ReadShort(hasCell);
            if (hasCell != 0 && !archive.Failed())
                (*node)->cell = std::make_unique<DefinitionCell>();
        }
        if (hasCell != 0 && (*node)->cell)
            (*node)->cell->Serialize(archive);
    }
}

namespace {

// Every node `depth` steps below the root (across all sibling chains), in order.
void CollectLevel(DefinitionTreeNode* node, int depth, std::vector<DefinitionTreeNode*>& out)
{
    for (; node; node = node->next.get()) {
        if (depth == 0)
            out.push_back(node);
        else
            CollectLevel(node->down.get(), depth - 1, out);
    }
}

// The first node of every chain of the level (the parents' `down`).
std::vector<DefinitionTreeNode*> ChainsOfLevel(DefinitionTreeNode& root, int level)
{
    std::vector<DefinitionTreeNode*> parents;
    CollectLevel(&root, level - 1, parents);
    std::vector<DefinitionTreeNode*> chains;
    for (DefinitionTreeNode* parent : parents)
        if (parent->down)
            chains.push_back(parent->down.get());
    return chains;
}

int ChainLength(const DefinitionTreeNode* node)
{
    int length = 0;
    for (; node; node = node->next.get())
        ++length;
    return length;
}

void ResizeChain(DefinitionTreeNode& first, int states)
{
    DefinitionTreeNode* last = &first;
    for (int i = 1; i < states && last->next; ++i)
        last = last->next.get();
    if (ChainLength(&first) >= states) {
        last->next.reset();
        return;
    }
    for (int state = last->state + 1; ChainLength(&first) < states; ++state) {
        std::unique_ptr<DefinitionTreeNode> copy = std::make_unique<DefinitionTreeNode>(last->name.Text(), state);
        if (last->cell)
            copy->cell = std::make_unique<DefinitionCell>(*last->cell);
        if (last->down)
            copy->down = last->down->DeepCopy();
        last->next = std::move(copy);
        last = last->next.get();
    }
}

void InsertLevel(DefinitionTreeNode& root, const DefinitionKey& key)
{
    std::unique_ptr<DefinitionTreeNode> below = std::move(root.down);
    std::unique_ptr<DefinitionTreeNode> chain;
    std::unique_ptr<DefinitionTreeNode>* slot = &chain;
    for (int state = 0; state < key.states; ++state) {
        *slot = std::make_unique<DefinitionTreeNode>(key.name.Text(), state);
        if (below)
            (*slot)->down = state + 1 < key.states ? below->DeepCopy() : std::move(below);
        slot = &(*slot)->next;
    }
    root.down = std::move(chain);
}

void RemoveLevel(DefinitionTreeNode& root, int level)
{
    std::vector<DefinitionTreeNode*> parents;
    CollectLevel(&root, level - 1, parents);
    for (DefinitionTreeNode* parent : parents) {
        std::unique_ptr<DefinitionTreeNode> first = std::move(parent->down);
        if (!first)
            continue;
        parent->down = std::move(first->down);
        parent->cell = std::move(first->cell);
    }
}

void FillLeaves(DefinitionTreeNode* node, const DefinitionCell* above)
{
    for (; node; node = node->next.get()) {
        if (node->down) {
            const DefinitionCell* own = node->cell ? node->cell.get() : above;
            FillLeaves(node->down.get(), own);
            node->cell.reset();
        } else if (above) {
            node->cell = std::make_unique<DefinitionCell>(*above);
        } else if (!node->cell) {
            node->cell = std::make_unique<DefinitionCell>();
        }
    }
}

bool IsKey(const std::vector<DefinitionKey>& keys, const zString& name)
{
    return std::any_of(keys.begin(), keys.end(), [&](const DefinitionKey& key) { return key.name == name.Text(); });
}

} // namespace

void SyncDefinitionTree(DefinitionTreeNode& root, const std::vector<DefinitionKey>& keys)
{
    for (const DefinitionKey& key : keys) {
        const int level = root.FindLevel(key.name.Text());
        if (level <= 0) {
            if (key.states > 0)
                InsertLevel(root, key);
            continue;
        }
        std::vector<DefinitionTreeNode*> chains = ChainsOfLevel(root, level);
        if (!chains.empty() && ChainLength(chains.front()) != key.states && key.states > 0)
            for (DefinitionTreeNode* chain : chains)
                ResizeChain(*chain, key.states);
    }
    int level = 1;
    for (DefinitionTreeNode* node = root.down.get(); node;) {
        if (IsKey(keys, node->name)) {
            node = node->down.get();
            ++level;
        } else {
            RemoveLevel(root, level);
            std::vector<DefinitionTreeNode*> first;
            CollectLevel(&root, level, first);
            node = first.empty() ? nullptr : first.front();
        }
    }
    FillLeaves(&root, nullptr);
}

namespace {

// The leaf reached through the given state of every level (0-based), or null past a chain's end.
DefinitionTreeNode* LeafAt(DefinitionTreeNode* root, const std::vector<int>& states)
{
    DefinitionTreeNode* node = root;
    for (int state : states) {
        node = node->down.get();
        for (int i = 0; i < state && node; ++i)
            node = node->next.get();
        if (!node)
            return nullptr;
    }
    return node;
}

DefinitionCell* DefinedAt(DefinitionTreeNode* root, const std::vector<int>& states)
{
    DefinitionTreeNode* leaf = LeafAt(root, states);
    return leaf && leaf->cell && leaf->cell->kind != DefinitionCell::Empty ? leaf->cell.get() : nullptr;
}

} // namespace

DefinitionCell* FindDefinitionCell(DefinitionTreeNode* root, const std::vector<StateChoice>& choices, bool exact)
{
    if (!root)
        return nullptr;
    std::vector<int> states;
    std::vector<bool> chosen;
    std::vector<int> lengths;
    for (DefinitionTreeNode* level = root->down.get(); level; level = level->down.get()) {
        const auto choice = std::find_if(choices.begin(), choices.end(),
                                         [&](const StateChoice& c) { return level->name == c.name; });
        const bool known = choice != choices.end() && choice->state != -1;
        states.push_back(known ? choice->state : 0);
        chosen.push_back(known);
        lengths.push_back(ChainLength(level));
    }
    DefinitionTreeNode* leaf = LeafAt(root, states);
    if (!leaf || !leaf->cell)
        return nullptr;
    if (exact || leaf->cell->kind != DefinitionCell::Empty)
        return leaf->cell.get();
    for (bool pass : {false, true}) {
        for (int level = static_cast<int>(states.size()) - 1; level >= 0; --level) {
            if (chosen[level] != pass)
                continue;
            std::vector<int> tried = states;
            for (int state = 0; state < lengths[level]; ++state) {
                tried[level] = state;
                if (DefinitionCell* cell = DefinedAt(root, tried))
                    return cell;
            }
        }
    }
    return nullptr;
}
