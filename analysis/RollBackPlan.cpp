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

bool IsUnaryOperator(int code)
{
    return code == NodeNegate || code == NodeUnaryPlus || code == NodeNot;
}

// The operands of an operator node read without a virtual call each (null where one is missing); the second
// is null for a unary operator.
ParseNode* FirstOperand(ParseNode& node, int code)
{
    return IsUnaryOperator(code) ? static_cast<UnaryNode&>(node).Operand() : static_cast<BinaryNode&>(node).Left();
}

ParseNode* SecondOperand(ParseNode& node, int code)
{
    return IsUnaryOperator(code) ? nullptr : static_cast<BinaryNode&>(node).Right();
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
    ParseNode* first = FirstOperand(node, code);
    if (first == nullptr || !HashShape(*first, start, hash, depth + 1))
        return false;
    if (IsUnaryOperator(code))
        return true;
    ParseNode* second = SecondOperand(node, code);
    return second != nullptr && HashShape(*second, start, hash, depth + 1);
}

// Two formulas that HashShape accepted have the same shape: read from their nodes they give the same value.
bool SameShape(ParseNode& a, const void* startA, ParseNode& b, const void* startB)
{
    const int code = a.TypeCode();
    if (b.TypeCode() != code)
        return false;
    if (code == NodeConstant) {
        const double x = static_cast<ConstantNode&>(a).Value();
        const double y = static_cast<ConstantNode&>(b).Value();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    if (code == NodeName)
        return BoundDefinition(a, startA) == BoundDefinition(b, startB);
    return SameShape(*FirstOperand(a, code), startA, *FirstOperand(b, code), startB) &&
           (IsUnaryOperator(code) || SameShape(*SecondOperand(a, code), startA, *SecondOperand(b, code), startB));
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

// The name scope of a child whose parent's scope is `scope`.
const void* ChildScope(const TreeNode* child, const void* scope)
{
    return child->bindings != nullptr ? child : scope;
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
    // Laying out evaluates every formula: the values stand for this run.
    const bool formulasEvaluated = !plan->laidOut;
    if (!plan->laidOut && !plan->Build(state)) {
        plan->Forget();
        plan->refused = true;
        return false;
    }
    if (!plan->Evaluate(state, formulasEvaluated))
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
    std::vector<Recent>().swap(recent);
    resolver.reset();
}

bool RollBackPlan::Build(const RollBackState& state)
{
    Forget();
    recent.assign(kRecentSlots, Recent{nullptr, nullptr, kNone});
    entries.push_back(MakeEntry(start, kNone));
    // Entries still to be given their children, with the name scope of their node.
    struct Pending {
        int32_t index;
        const void* scope;
    };
    std::vector<Pending> pending(1, Pending{0, NameScope(start)});
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        if (!AddChildren(next.index, next.scope, state))
            return false;
        const Entry& entry = entries[static_cast<size_t>(next.index)];
        if (entry.kind == TerminalNode)
            continue;
        for (int32_t child = entry.firstChild + entry.childCount; child-- > entry.firstChild;)
            pending.push_back(Pending{child, ChildScope(entries[static_cast<size_t>(child)].node, next.scope)});
    }
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

bool RollBackPlan::AddChildren(int32_t index, const void* scope, const RollBackState& state)
{
    TreeNode* node = entries[static_cast<size_t>(index)].node;
    if (node->document != state.document)
        return false;
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
        const void* childScope = ChildScope(child, scope);
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
    ParseNode* tree = expression.GetParseTree();
    if (tree == nullptr)
        return kNone;
    Recent& seen = recent[((reinterpret_cast<uintptr_t>(tree) >> 4) ^ (reinterpret_cast<uintptr_t>(tree) >> 12)) &
                          (kRecentSlots - 1)];
    if (seen.tree == tree && seen.scope == scope)
        return seen.formula;
    // A formula parsed by its first evaluation has its evaluation form chosen here, as its next evaluation
    // would; its names' caches were filled by the parse, unless it was read from a file or its names were
    // bound elsewhere since.
    expression.ChooseEvaluationForm();
    double value = 0.0;
    bool readsVariables = false;
    if (!expression.EvaluateBoundNumbers(scope, &value, &readsVariables) &&
        !(ResolveNames(node, scope, expression) && expression.EvaluateBoundNumbers(scope, &value, &readsVariables)))
        return kNone;
    const auto index = static_cast<int32_t>(formulas.size());
    uint64_t hash = 14695981039346656037ull;
    if (HashShape(*tree, scope, hash, 0)) {
        Shape& slot = ShapeSlot(hash);
        if (slot.formula != kNone && slot.hash == hash) {
            const Formula& known = formulas[static_cast<size_t>(slot.formula)];
            if (SameShape(*known.expression->GetParseTree(), known.scope, *tree, scope))
                return Remember(seen, tree, scope, slot.formula);
        }
        slot = Shape{hash, index};
    }
    formulas.push_back({scope, &expression});
    formulaValues.push_back(value);
    return Remember(seen, tree, scope, index);
}

int32_t RollBackPlan::Remember(Recent& seen, const ParseNode* tree, const void* scope, int32_t formula)
{
    seen = Recent{tree, scope, formula};
    return formula;
}

RollBackPlan::Shape& RollBackPlan::ShapeSlot(uint64_t hash)
{
    if (shapes.size() < kMaxShapeSlots && 2 * (formulas.size() + 1) > shapes.size()) {
        size_t slots = std::max<size_t>(64, shapes.size());
        while (slots < kMaxShapeSlots && 2 * (formulas.size() + 1) > slots)
            slots *= 2;
        std::vector<Shape> old(slots, Shape{0, kNone});
        old.swap(shapes);
        for (const Shape& shape : old) {
            if (shape.formula != kNone)
                shapes[ShapeIndex(shape.hash)] = shape;
        }
    }
    return shapes[ShapeIndex(hash)];
}

size_t RollBackPlan::ShapeIndex(uint64_t hash) const
{
    return static_cast<size_t>(hash ^ (hash >> 32)) & (shapes.size() - 1);
}

bool RollBackPlan::Evaluate(RollBackState& state, bool formulasEvaluated)
{
    for (size_t i = 0; i < formulas.size() && !formulasEvaluated; ++i) {
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
