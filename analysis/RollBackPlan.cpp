#include "analysis/RollBackPlan.h"

#include "analysis/CalcMethods.h"
#include "analysis/RollBack.h"
#include "formula/OperandNodes.h"
#include "formula/ParseNode.h"
#include "model/EvalContext.h"
#include "model/TreeNode.h"

#include <algorithm>
#include <cstring>

namespace {

// Entries rolled back between two cancel polls.
constexpr size_t kCancelPollMask = 63;
// How a full roll back meets an entry: its branch probability evaluated, its value evaluated.
constexpr uint8_t kProbed = 1;
constexpr uint8_t kReached = 2;

// Formulas nested deeper than this are evaluated on their own rather than compared.
constexpr int kMaxShapeDepth = 64;

void Mix(uint64_t& hash, uint64_t value)
{
    hash = (hash ^ value) * 1099511628211ull;
}

// The binding formula a variable's name node reads from `start`, or null when its cache does not know it.
const Expression* BoundDefinition(ParseNode& node, const void* start)
{
    NameNode& name = static_cast<NameNode&>(node);
    const NameResolutionCache& cache = name.Resolution();
    if (name.KeywordIndex() != -1 || cache.generation != ResolutionGenerations::Names() || cache.scope != start ||
        start == nullptr)
        return nullptr;
    return cache.definition;
}

bool IsOperator(int code)
{
    return code >= NodeAdd && code <= NodeGreater;
}

// Hashes the formula's shape: its operators, its numbers and the binding each name reads from `start`. False
// when it holds anything else, or a name whose binding is not known from `start`.
bool HashShape(ParseNode& node, const void* start, uint64_t& hash, int depth)
{
    const int code = node.TypeCode();
    Mix(hash, static_cast<uint64_t>(code));
    if (code == NodeConstant) {
        const double value = static_cast<ConstantNode&>(node).Value();
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        Mix(hash, bits);
        return true;
    }
    if (code == NodeName) {
        const Expression* definition = BoundDefinition(node, start);
        Mix(hash, reinterpret_cast<uintptr_t>(definition));
        return definition != nullptr;
    }
    if (!IsOperator(code) || depth >= kMaxShapeDepth)
        return false;
    for (int i = 0; i < node.OperandCount(); ++i) {
        ParseNode* operand = node.GetOperand(i);
        if (operand == nullptr || !HashShape(*operand, start, hash, depth + 1))
            return false;
    }
    return true;
}

// Two formulas that HashShape accepted have the same shape: read from their nodes they give the same value.
bool SameShape(ParseNode& a, const void* startA, ParseNode& b, const void* startB)
{
    const int code = a.TypeCode();
    if (b.TypeCode() != code || a.OperandCount() != b.OperandCount())
        return false;
    if (code == NodeConstant) {
        const double x = static_cast<ConstantNode&>(a).Value();
        const double y = static_cast<ConstantNode&>(b).Value();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    if (code == NodeName)
        return BoundDefinition(a, startA) == BoundDefinition(b, startB);
    for (int i = 0; i < a.OperandCount(); ++i) {
        if (!SameShape(*a.GetOperand(i), startA, *b.GetOperand(i), startB))
            return false;
    }
    return true;
}

// Stores the value unless the field holds exactly it already: unchanged results leave the node's memory clean,
// which a million nodes notice.
void StoreIfChanged(double& field, double value)
{
    if (std::memcmp(&field, &value, sizeof value) != 0)
        field = value;
}

// Nodes stored ahead of which the next nodes are fetched, the optimal lists of the next decision nodes, and
// the items of those lists.
constexpr size_t kFetchNodesAhead = 96;
constexpr size_t kFetchListsAhead = 32;
constexpr size_t kFetchItemsAhead = 12;

void Prefetch(const void* address)
{
    __builtin_prefetch(address, 1);
}

}  // namespace

bool RollBackPlan::Applies(const RollBackState& state)
{
    return !state.costEffectiveness && !state.maximin && !state.useUtility &&
           state.calcMethod == PayoffMethod && !state.document->ValuesCurrent();
}

bool RollBackPlan::Holds(const TreeNode* node, const TreeDocument& document) const
{
    return node == start && document.Revision() == revision &&
           document.CalcPrefs.CurrentPayoff == payoffIndex &&
           document.CalcPrefs.AllowTermNodeNameAsPayoff == allowNamePayoff;
}

void RollBackPlan::Keep(TreeNode* start, RollBackState& state)
{
    if (!Applies(state))
        return;
    TreeDocument& document = *state.document;
    auto* plan = dynamic_cast<RollBackPlan*>(document.KeptRollBack.get());
    if (plan == nullptr) {
        plan = new RollBackPlan;
        document.KeptRollBack.reset(plan);
    }
    if (plan->Holds(start, document))
        return;
    plan->Forget();
    plan->refused = false;
    plan->start = start;
    plan->revision = document.Revision();
    plan->payoffIndex = document.CalcPrefs.CurrentPayoff;
    plan->allowNamePayoff = document.CalcPrefs.AllowTermNodeNameAsPayoff;
}

bool RollBackPlan::RollBack(TreeNode* start, RollBackState& state, double* value)
{
    if (!Applies(state))
        return false;
    auto* plan = dynamic_cast<RollBackPlan*>(state.document->KeptRollBack.get());
    if (plan == nullptr || !plan->Holds(start, *state.document) || plan->refused)
        return false;
    if (!plan->laidOut && !plan->Build(state)) {
        plan->Forget();
        plan->refused = true;
        return false;
    }
    if (!plan->Evaluate(state))
        return false;
    *value = 0.0;
    if (!*state.error) {
        // A node changed behind the model's back: the plan is dropped and the full roll back stores again.
        if (!plan->Store(state)) {
            plan->Forget();
            plan->refused = true;
            return false;
        }
        *value = plan->values[0];
    }
    return true;
}

void RollBackPlan::Forget()
{
    laidOut = false;
    std::vector<Entry>().swap(entries);
    std::vector<Formula>().swap(formulas);
    std::vector<double>().swap(formulaValues);
    std::vector<double>().swap(values);
    std::vector<double>().swap(probabilities);
    std::vector<uint8_t>().swap(reached);
    DropLayoutAids();
}

void RollBackPlan::DropLayoutAids()
{
    std::vector<Shape>().swap(shapes);
    shapeCount = 0;
    lastTree = nullptr;
    std::vector<const void*>().swap(scopes);
    resolver.reset();
}

bool RollBackPlan::Build(const RollBackState& state)
{
    Forget();
    entries.push_back(MakeEntry(start, kNone));
    scopes.push_back(NameScope(start));
    std::vector<int32_t> pending(1, 0);
    while (!pending.empty()) {
        const int32_t index = pending.back();
        pending.pop_back();
        if (!AddChildren(index, state))
            return false;
        const Entry& entry = entries[static_cast<size_t>(index)];
        if (entry.kind == TerminalNode)
            continue;
        for (int32_t child = entry.firstChild + entry.childCount; child-- > entry.firstChild;)
            pending.push_back(child);
    }
    formulaValues.resize(formulas.size());
    values.resize(entries.size());
    probabilities.resize(entries.size());
    reached.resize(entries.size());
    DropLayoutAids();
    laidOut = true;
    return true;
}

RollBackPlan::Entry RollBackPlan::MakeEntry(TreeNode* node, int32_t probability)
{
    Entry entry;
    entry.node = node;
    entry.firstChild = kNone;
    entry.probability = probability;
    entry.childCount = node->childCount;
    entry.kind = static_cast<int8_t>(node->kind);
    return entry;
}

bool RollBackPlan::AddChildren(int32_t index, const RollBackState& state)
{
    TreeNode* node = entries[static_cast<size_t>(index)].node;
    if (node->document != state.document)
        return false;
    const void* scope = scopes[static_cast<size_t>(index)];
    const int32_t kind = node->kind;
    if (kind == TerminalNode) {
        Expression& payoff = node->Payoff(payoffIndex);
        if (allowNamePayoff && payoff.IsEmpty())
            return false;
        const int32_t formula = FormulaIndex(node, scope, payoff);
        entries[static_cast<size_t>(index)].payoff = formula;
        return formula != kNone;
    }
    if (kind != ChanceNode && kind != DecisionNode && kind != ReversedDecisionNode)
        return false;
    entries[static_cast<size_t>(index)].firstChild = static_cast<int32_t>(entries.size());
    int complements = 0;
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        const void* childScope = child->bindings != nullptr ? child : scope;
        int32_t probability = kNone;
        if (kind == ChanceNode && ProbabilityIsComplement(child->probability)) {
            if (++complements > 1)
                return false;
            probability = kComplement;
        } else if (kind == ChanceNode) {
            probability = FormulaIndex(child, childScope, child->probability);
            if (probability == kNone)
                return false;
        }
        entries.push_back(MakeEntry(child, probability));
        scopes.push_back(childScope);
    }
    return true;
}

bool RollBackPlan::ResolveNames(TreeNode* node, const void* scope, Expression& expression)
{
    if (!expression.HasParseTree())
        return false;
    expression.ChooseEvaluationForm();
    if (resolver == nullptr)
        resolver = std::make_unique<EvalContext>(node->document, node);
    resolver->Retarget(node, static_cast<const TreeNode*>(scope));
    bool bound = true;
    expression.VisitVariableNames([&](const zString& upperName, NameResolutionCache& cache) {
        double number = 0.0;
        bound = bound && resolver->CachedVariableValue(upperName, cache, &number);
    });
    return bound;
}

int32_t RollBackPlan::FormulaIndex(TreeNode* node, const void* scope, Expression& expression)
{
    // Siblings' probabilities are often one shared tree read in one scope.
    ParseNode* tree = expression.GetParseTree();
    if (tree != nullptr && tree == lastTree && scope == lastScope)
        return lastFormula;
    double value = 0.0;
    bool readsVariables = false;
    // A formula parsed by its first evaluation has not yet looked its names up through their caches.
    if (!expression.EvaluateBoundNumbers(scope, &value, &readsVariables) &&
        !(ResolveNames(node, scope, expression) && expression.EvaluateBoundNumbers(scope, &value, &readsVariables)))
        return kNone;
    const auto index = static_cast<int32_t>(formulas.size());
    tree = expression.GetParseTree();
    uint64_t hash = 14695981039346656037ull;
    if (tree != nullptr && HashShape(*tree, scope, hash, 0)) {
        for (size_t slot = ShapeSlot(hash, hash ^ (hash >> 32)); !shapes.empty() && shapes[slot].formula != kNone;
             slot = ShapeSlot(hash, slot + 1)) {
            const Formula& known = formulas[static_cast<size_t>(shapes[slot].formula)];
            if (SameShape(*known.expression->GetParseTree(), known.scope, *tree, scope))
                return Remember(tree, scope, shapes[slot].formula);
        }
        AddShape(hash, index);
    }
    formulas.push_back({scope, &expression});
    return Remember(tree, scope, index);
}

int32_t RollBackPlan::Remember(const ParseNode* tree, const void* scope, int32_t formula)
{
    lastTree = tree;
    lastScope = scope;
    lastFormula = formula;
    return formula;
}

size_t RollBackPlan::ShapeSlot(uint64_t hash, size_t slot) const
{
    if (shapes.empty())
        return 0;
    const size_t mask = shapes.size() - 1;
    for (slot &= mask; shapes[slot].formula != kNone && shapes[slot].hash != hash; slot = (slot + 1) & mask) {
    }
    return slot;
}

void RollBackPlan::AddShape(uint64_t hash, int32_t formula)
{
    if (2 * (shapeCount + 1) > shapes.size()) {
        std::vector<Shape> old(std::max<size_t>(64, 2 * shapes.size()), Shape{0, kNone});
        old.swap(shapes);
        shapeCount = 0;
        for (const Shape& shape : old) {
            if (shape.formula != kNone)
                AddShape(shape.hash, shape.formula);
        }
    }
    const size_t mask = shapes.size() - 1;
    size_t slot = (hash ^ (hash >> 32)) & mask;
    while (shapes[slot].formula != kNone)
        slot = (slot + 1) & mask;
    shapes[slot] = Shape{hash, formula};
    ++shapeCount;
}

bool RollBackPlan::Evaluate(RollBackState& state)
{
    for (size_t i = 0; i < formulas.size(); ++i) {
        bool readsVariables = false;
        if (!formulas[i].expression->EvaluateBoundNumbers(formulas[i].scope, &formulaValues[i], &readsVariables))
            return false;
    }
    const TreeDocument& document = *state.document;
    const bool evaluateAll = state.evaluateAll != 0;
    const bool checking = state.ChecksProbabilities();
    for (size_t i = entries.size(); i-- > 0;) {
        // The cancel poll reads the clock on every 64th call of its own.
        if ((i & kCancelPollMask) == 0 && state.CheckCancel())
            return true;
        const Entry& entry = entries[i];
        const size_t first = static_cast<size_t>(entry.firstChild);
        const size_t end = first + static_cast<size_t>(entry.childCount);
        if (entry.kind == TerminalNode) {
            values[i] = formulaValues[static_cast<size_t>(entry.payoff)];
        } else if (entry.kind == ChanceNode) {
            size_t complement = end;
            for (size_t c = first; c < end; ++c) {
                if (entries[c].probability == kComplement)
                    complement = c;
                else
                    probabilities[c] = formulaValues[static_cast<size_t>(entries[c].probability)];
            }
            if (complement != end) {
                // One minus the siblings, subtracted in their order.
                double p = 1.0;
                for (size_t c = first; c < end; ++c) {
                    if (c != complement)
                        p -= probabilities[c];
                }
                probabilities[complement] = p;
            }
            double value = 0.0;
            double sum = 0.0;
            for (size_t c = first; c < end; ++c) {
                const double p = probabilities[c];
                if (checking && !ProbabilityInRange(p))
                    return false;
                if (evaluateAll || p > 0.0)
                    value += p * values[c];
                sum += p;
            }
            if (checking && !ProbabilitySumIsOne(sum))
                return false;
            values[i] = value;
        } else {
            double best = first < end ? values[first] : 0.0;
            for (size_t c = first + 1; c < end; ++c)
                best = document.BetterValueOfKind(entry.kind, best, values[c]);
            values[i] = best;
        }
    }
    return true;
}

const NodeChildList* RollBackPlan::OptimalList(const Entry& entry)
{
    return entry.kind != TerminalNode && entry.kind != ChanceNode ? entry.node->optimal.get() : nullptr;
}

// The results as a full roll back leaves them, on the nodes it reaches: chance nodes reach the children with
// a positive probability (all of them when every node is evaluated) and probe the others, decision nodes
// reach every child. Each node is visited once, and checked to have the kind and child count it was laid out
// with before anything is stored in it; false when one has not.
bool RollBackPlan::Store(RollBackState& state)
{
    // Evaluating every node, the roll back reaches them all and probes every child of a chance node.
    const bool evaluateAll = state.evaluateAll != 0;
    if (!evaluateAll) {
        std::fill(reached.begin(), reached.end(), 0);
        reached[0] = kReached;
    }
    long count = 0;
    const size_t total = entries.size();
    for (size_t i = 0; i < total; ++i) {
        if (i + kFetchNodesAhead < total) {
            // What is read and stored, from the expected value to the optimal list, may lie on two lines.
            Prefetch(&entries[i + kFetchNodesAhead].node->triple.value);
            Prefetch(&entries[i + kFetchNodesAhead].node->optimal);
        }
        if (i + kFetchListsAhead < total) {
            if (const NodeChildList* list = OptimalList(entries[i + kFetchListsAhead]))
                Prefetch(list);
        }
        // Their items, once the lists themselves are near.
        if (i + kFetchItemsAhead < total) {
            if (const NodeChildList* list = OptimalList(entries[i + kFetchItemsAhead]); list && list->ItemBlock())
                Prefetch(list->ItemBlock());
        }
        const Entry& entry = entries[i];
        const uint8_t how = !evaluateAll ? reached[i] : entry.probability != kNone ? kProbed | kReached : kReached;
        if (how == 0)
            continue;
        TreeNode* node = entry.node;
        if (node->kind != entry.kind || node->childCount != entry.childCount)
            return false;
        if (how & kProbed)
            StoreIfChanged(node->branchProbability, probabilities[i]);
        if (!(how & kReached))
            continue;
        ++count;
        StoreIfChanged(node->value, values[i]);
        StoreIfChanged(node->triple.value, values[i]);
        const size_t first = static_cast<size_t>(entry.firstChild);
        const size_t end = first + static_cast<size_t>(entry.childCount);
        if (entry.kind == ChanceNode) {
            for (size_t c = first; c < end && !evaluateAll; ++c)
                reached[c] = probabilities[c] > 0.0 ? kProbed | kReached : kProbed;
        } else if (entry.kind != TerminalNode) {
            StoreOptimal(node, first, end, values[i]);
            for (size_t c = first; c < end && !evaluateAll; ++c)
                reached[c] = kReached;
        }
    }
    if (state.progressTotal > 0) {
        state.progressCount += count - 1;
        state.Step();
    }
    return true;
}

// The children tying with the best value, in their order; a list that holds them already is left as it is.
void RollBackPlan::StoreOptimal(TreeNode* node, size_t first, size_t end, double best)
{
    NodeChildList* optimal = node->EnsureOptimalList();
    int held = 0;
    bool same = true;
    for (size_t c = first; c < end && same; ++c) {
        if (TiesWithBest(values[c], best))
            same = optimal->At(held++) == entries[c].node;
    }
    if (same && held == optimal->Count())
        return;
    optimal->Empty();
    for (size_t c = first; c < end; ++c) {
        if (TiesWithBest(values[c], best))
            optimal->Add(entries[c].node);
    }
}
