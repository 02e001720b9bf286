#include "analysis/MarkovCohortPlan.h"

#include "analysis/MarkovCohortSteps.h"
#include "analysis/RollBack.h"
#include "formula/BuiltinRegistry.h"
#include "formula/CallNodes.h"
#include "formula/Expression.h"
#include "formula/OperandNodes.h"
#include "model/EvalContext.h"
#include "model/MarkovInfo.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <unordered_map>

namespace {

constexpr int kStageKeyword = 0;
// Deeper trees are not shared, so that the walks below stay shallow on the native stack.
constexpr int kMaxSharedDepth = 32;

bool HasFormula(Expression* expression)
{
    return expression != nullptr && !expression->IsEmpty();
}

// A node whose children's branch probabilities the stage check evaluates (a label node is checked for its
// single branch).
bool IsChecked(const TreeNode* node)
{
    return node->kind == LabelNode || node->HasBranchProbabilities();
}

void Mix(uint32_t& print, uint32_t value)
{
    print = (print ^ value) * 16777619u;
}

uint32_t BitsOf(double value, int half)
{
    uint32_t words[2];
    std::memcpy(words, &value, sizeof words);
    return words[half];
}

// Words of a form that stand for a variable read at the formula's node: its number follows, or the form of
// its definition (outside the node type codes).
constexpr uint32_t kNameOfNumber = 0x10000;
constexpr uint32_t kNameOfDefinition = 0x10001;

// A built-in whose value depends on its arguments alone (not on distributions, links or draws).
bool OfArgumentsAlone(int function)
{
    switch (function) {
    case BuiltinDist: case BuiltinSub: case BuiltinReservedTable: case BuiltinChoose: case BuiltinDistSamp:
        return false;
    default:
        return function >= 0 && function < BuiltinFunctionCount;
    }
}

// Reads a formula's tree: whether its value depends on the stage alone, and its exact form.
struct StageOnlyScan {
    // In a Monte Carlo trial "DistSamp" reads the trial's draw, which holds for the whole run.
    bool samplesFixed = false;
    // The node whose formula is read: variables resolve from it, and a variable stands in the form for its
    // number or for its definition's form.
    TreeNode* node = nullptr;
    // A variable was read: the form holds while no binding and no formula changes.
    bool readsNames = false;
    // The variables whose definitions are being read; such a name inside means a binding further up.
    std::vector<const char*> reading;
    bool readsStage = false;
    // Reads a table or a draw, whose values may differ in another run.
    bool readsTables = false;
    bool readsDraws = false;
    uint32_t print = 2166136261u;
    // The tree in words, node by node in pre-order: code, its numbers or name, operand count.
    std::vector<uint32_t>* form = nullptr;

    void Take(uint32_t value)
    {
        Mix(print, value);
        form->push_back(value);
    }

    // True when the tree reads nothing but numbers, "_stage", tables and fixed draws through the operators
    // and the built-ins of their arguments alone.
    bool Accepts(const ParseNode& node, int depth)
    {
        if (depth > kMaxSharedDepth)
            return false;
        const int code = node.TypeCode();
        Take(static_cast<uint32_t>(code));
        switch (code) {
        case NodeConstant: {
            const double value = static_cast<const ConstantNode&>(node).Value();
            Take(BitsOf(value, 0));
            Take(BitsOf(value, 1));
            return true;
        }
        case NodeName: {
            const NameNode& name = static_cast<const NameNode&>(node);
            if (name.KeywordIndex() == -1)
                return AcceptsVariable(name.Name().Text(), depth);
            readsStage = true;
            return name.KeywordIndex() == kStageKeyword;
        }
        case NodeTableLookup:
            readsTables = true;
            for (const char* c = static_cast<const TableLookupNode&>(node).Name().Text(); *c; ++c)
                Take(static_cast<unsigned char>(*c));
            Take(0);
            break;
        case NodeFunctionCall: {
            const int function = static_cast<const FunctionCallNode&>(node).FunctionIndex();
            if (function == BuiltinDistSamp) {
                if (!samplesFixed)
                    return false;
                readsDraws = true;
            } else if (!OfArgumentsAlone(function)) {
                return false;
            }
            Take(static_cast<uint32_t>(function));
            break;
        }
        default:
            if (code < NodeAdd || code > NodeGreater)
                return false;
        }
        Take(static_cast<uint32_t>(node.OperandCount()));
        for (int i = 0; i < node.OperandCount(); ++i) {
            const ParseNode* operand = node.GetOperand(i);
            if (operand == nullptr || !Accepts(*operand, depth + 1))
                return false;
        }
        return true;
    }

    // A variable as the evaluation at the node reads it: its binding's number, or its definition, whose
    // names resolve from the same node.
    bool AcceptsVariable(const char* upperName, int depth)
    {
        for (const char* outer : reading) {
            if (std::strcmp(outer, upperName) == 0)
                return false;
        }
        const Expression* definition = BoundDefinitionAt(node, upperName);
        if (definition == nullptr)
            return false;
        readsNames = true;
        double number = 0.0;
        if (definition->CachedNumber(&number)) {
            Take(kNameOfNumber);
            Take(BitsOf(number, 0));
            Take(BitsOf(number, 1));
            return true;
        }
        const ParseNode* tree = definition->GetParseTree();
        if (tree == nullptr)
            return false;
        Take(kNameOfDefinition);
        reading.push_back(upperName);
        const bool accepted = Accepts(*tree, depth + 1);
        reading.pop_back();
        return accepted;
    }
};

// Values of formulas that read nothing but numbers and "_stage", kept from run to run under the formula's
// exact form: such a value depends on the form and the stage alone.
class StageValueMemo : public KeptAnalysisWork {
public:
    std::shared_ptr<MarkovCohortPlan::StageValues> Find(uint32_t print, const uint32_t* form, size_t length)
    {
        auto bucket = entries.find(print);
        if (bucket != entries.end()) {
            for (const Entry& entry : bucket->second) {
                if (entry.form.size() == length && std::equal(form, form + length, entry.form.begin()))
                    return entry.values;
            }
        }
        // Plans hold on to their values; the memo only forgets them.
        if (++count > kMaxEntries) {
            entries.clear();
            count = 1;
        }
        std::vector<Entry>& fresh = entries[print];
        fresh.push_back(Entry{std::vector<uint32_t>(form, form + length),
                              std::make_shared<MarkovCohortPlan::StageValues>()});
        return fresh.back().values;
    }

private:
    static constexpr size_t kMaxEntries = 256;
    struct Entry {
        std::vector<uint32_t> form;
        std::shared_ptr<MarkovCohortPlan::StageValues> values;
    };
    std::unordered_map<uint32_t, std::vector<Entry>> entries;
    size_t count = 0;
};

bool ByExpression(const std::pair<const Expression*, int32_t>& a, const std::pair<const Expression*, int32_t>& b)
{
    return std::less<const Expression*>()(a.first, b.first);
}

StageValueMemo& Memo(TreeDocument& document)
{
    return document.Runs.Get<StageValueMemo>(RunContext::MarkovStageValues);
}

}  // namespace

void MarkovCohortPlan::Build(TreeNode* markov, const MarkovRunArgs& args)
{
    ranAtRevision = false;
    states.clear();
    checks.clear();
    branches.clear();
    formulas.clear();
    exits.clear();
    steps.clear();
    AddCheck(markov, start);
    termination = AddFormula(markov, &MarkovTerminationCondition(markov, args.costEffectiveness != 0, args.valuePayoff));
    states.reserve(markov->childCount);
    // The entries of states, checks and exits are filled where they stand: a whole entry copied from one
    // just written field by field stalls the processor, and plans are built at every run.
    for (int i = 0; i < markov->childCount; ++i) {
        TreeNode* stateNode = markov->GetChild(i);
        State& state = states.emplace_back();
        state.node = stateNode;
        state.info = stateNode->markovInfo.get();
        state.tunnel = TunnelNumber(stateNode);
        for (int kind = 0; kind < 3; ++kind) {
            Expression* value = stateNode->MarkovRewardExpr(kind, args.valuePayoff);
            Expression* cost = args.costEffectiveness != 0 ? stateNode->MarkovRewardExpr(kind, args.costPayoff) : nullptr;
            state.rewards[kind][0] = HasFormula(value) ? AddFormula(stateNode, value) : -1;
            state.rewards[kind][1] = HasFormula(cost) ? AddFormula(stateNode, cost) : -1;
        }
    }
    // Exits name their target's position, so every state is listed before the first exit.
    for (State& state : states) {
        state.firstCheck = static_cast<uint32_t>(checks.size());
        state.firstExit = static_cast<uint32_t>(exits.size());
        pending.assign(1, Pending{state.node, 0, -1});
        while (!pending.empty()) {
            const Pending entry = pending.back();
            pending.pop_back();
            if (pathBranches.size() <= static_cast<size_t>(entry.depth))
                pathBranches.resize(entry.depth + 1);
            pathBranches[entry.depth] = entry.branch;
            TreeNode* node = entry.node;
            if (node->IsTerminal()) {
                AddExit(node, state.node, args, pathBranches.data(), entry.depth);
                continue;
            }
            int32_t firstBranch = -1;
            if (IsChecked(node)) {
                Check& check = checks.emplace_back();
                AddCheck(node, check);
                if (check.branchCount == static_cast<uint32_t>(node->childCount))
                    firstBranch = static_cast<int32_t>(check.firstBranch);
            }
            for (int c = node->childCount - 1; c >= 0; --c)
                pending.push_back(Pending{node->GetChild(c), entry.depth + 1, firstBranch >= 0 ? firstBranch + c : -1});
        }
        state.checkCount = static_cast<uint32_t>(checks.size()) - state.firstCheck;
        state.exitCount = static_cast<uint32_t>(exits.size()) - state.firstExit;
    }
    GatherInflows();
    builtFor = markov;
    builtArgs = args;
    builtSamplesFixed = markov->document->CalcStateRecord.resample != 0;
    ShareFormulas(builtSamplesFixed);
    for (Branch& branch : branches)
        branch.shared = branch.formula >= 0 ? formulas[branch.formula].shared : -1;
    MatchChecks();
    reusable = std::none_of(states.begin(), states.end(), [](const State& state) { return state.tunnel != 0; });
    unparsed.clear();
    for (uint32_t i = 0; i < formulas.size(); ++i)
        if (!formulas[i].expression->HasParseTree())
            unparsed.push_back(i);
    slotsMade = false;
    StartValues();
}

void MarkovCohortPlan::GatherInflows()
{
    inflows.clear();
    inflowStart.clear();
    if (!std::all_of(exits.begin(), exits.end(), [](const Exit& exit) { return exit.plain; }))
        return;
    inflowStart.assign(states.size() + 1, 0);
    for (const Exit& exit : exits)
        ++inflowStart[exit.targetState + 1];
    for (size_t t = 0; t < states.size(); ++t)
        inflowStart[t + 1] += inflowStart[t];
    inflows.resize(exits.size());
    // Exits are listed state by state: placed in that order, each target's inflows keep it.
    placed.assign(inflowStart.begin(), inflowStart.end() - 1);
    for (uint32_t s = 0; s < states.size(); ++s) {
        for (uint32_t e = states[s].firstExit; e < states[s].firstExit + states[s].exitCount; ++e) {
            const Exit& exit = exits[e];
            inflows[placed[exit.targetState]++] = Inflow{s, exit.onlyBranch, exit.firstStep, exit.stepCount};
        }
    }
}

void MarkovCohortPlan::StartValues()
{
    advanced = false;
    probabilities.assign(branches.size(), 0.0);
    checkedStage.assign(checks.size(), -1);
    shares.resize(states.size());
    nextShares.resize(states.size());
    totals.resize(states.size());
    for (size_t s = 0; s < states.size(); ++s) {
        const MarkovInfo* info = states[s].info;
        shares[s] = info->probability;
        nextShares[s] = info->nextProbability;
        totals[s] = StateTotals{info->reward, states[s].node->triple};
    }
}

bool MarkovCohortPlan::Serves(const TreeNode* markov, const MarkovRunArgs& args, bool samplesFixed) const
{
    // The cost payoff counts only in a cost-effectiveness run.
    return reusable && builtFor == markov && builtSamplesFixed == samplesFixed &&
           builtArgs.costEffectiveness == args.costEffectiveness && builtArgs.valuePayoff == args.valuePayoff &&
           (args.costEffectiveness == 0 || builtArgs.costPayoff == args.costPayoff) &&
           std::none_of(unparsed.begin(), unparsed.end(),
                        [this](uint32_t i) { return formulas[i].expression->HasParseTree(); });
}

void MarkovCohortPlan::RunEnded(const CalculationRevision& revision)
{
    ranAtRevision = true;
    lastRun = revision;
}

bool MarkovCohortPlan::ServesUnchanged(const TreeNode* markov, const MarkovRunArgs& args, bool samplesFixed,
                                       const CalculationRevision& revision) const
{
    return ranAtRevision && lastRun == revision && Serves(markov, args, samplesFixed);
}

void MarkovCohortPlan::Restart()
{
    for (SharedValue& value : shared)
        value.stage = -1;
    StartValues();
}

int32_t MarkovCohortPlan::SharedSlot(const Expression* expression)
{
    if (!slotsMade) {
        slots.clear();
        for (const Formula& formula : formulas)
            if (formula.shared >= 0)
                slots.emplace_back(formula.expression, formula.shared);
        std::sort(slots.begin(), slots.end(), ByExpression);
        slotsMade = true;
    }
    auto found = std::lower_bound(slots.begin(), slots.end(), std::make_pair(expression, int32_t{-1}), ByExpression);
    return found != slots.end() && found->first == expression ? found->second : -1;
}

void MarkovCohortPlan::Publish() const
{
    for (size_t s = 0; s < states.size(); ++s) {
        MarkovInfo* info = states[s].info;
        info->probability = shares[s];
        info->nextProbability = advanced ? shares[s] : nextShares[s];
        info->reward = totals[s].reward;
        states[s].node->triple = totals[s].triple;
    }
}

void MarkovCohortPlan::AddCheck(TreeNode* node, Check& check)
{
    check.node = node;
    check.kind = node->kind;
    check.firstBranch = static_cast<uint32_t>(branches.size());
    check.branchCount = 0;
    check.direct = node->kind != LabelNode;
    check.sameAs = -1;
    if (!check.direct)
        return;
    int complements = 0;
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        if (ProbabilityIsComplement(child->probability)) {
            ++complements;
            branches.push_back(Branch{child, -1, -1});
        } else {
            branches.push_back(Branch{child, AddFormula(child, &child->probability), -1});
        }
    }
    check.branchCount = static_cast<uint32_t>(branches.size()) - check.firstBranch;
    check.direct = complements <= 1;
}

int32_t MarkovCohortPlan::AddFormula(TreeNode* node, Expression* expression)
{
    formulas.push_back(Formula{node, expression, -1});
    return static_cast<int32_t>(formulas.size()) - 1;
}

uint32_t MarkovCohortPlan::StateIndex(const TreeNode* terminal, const TreeNode* target) const
{
    const int16_t index = terminal->markovInfo->jumpIndex;
    if (index >= 1 && static_cast<size_t>(index) <= states.size() && states[index - 1].node == target)
        return static_cast<uint32_t>(index - 1);
    uint32_t s = 0;
    while (states[s].node != target)
        ++s;
    return s;
}

void MarkovCohortPlan::AddExit(TreeNode* terminal, TreeNode* state, const MarkovRunArgs& args,
                               const int32_t* pathBranches, int depth)
{
    TreeNode* target = terminal->markovInfo->jumpNode;
    Exit& exit = exits.emplace_back();
    exit.terminal = terminal;
    exit.target = target;
    exit.targetState = StateIndex(terminal, target);
    exit.firstStep = static_cast<uint32_t>(steps.size());
    exit.plain = true;
    exit.onlyBranch = -1;
    for (TreeNode* node = terminal; node != state; node = node->parent, --depth) {
        TreeNode* parent = node->parent;
        if (parent->kind == ChanceNode) {
            steps.push_back(PathStep{node, nullptr, pathBranches[depth]});
        } else if (parent->kind == LogicNode) {
            steps.push_back(PathStep{node, parent, -1});
            exit.plain = false;
        }
        if (node->markovInfo != nullptr &&
            (HasFormula(node->MarkovTransitionRewardExpr(args.valuePayoff)) ||
             (args.costEffectiveness != 0 && HasFormula(node->MarkovTransitionRewardExpr(args.costPayoff)))))
            exit.transitionRewards = true;
    }
    exit.stepCount = static_cast<uint32_t>(steps.size()) - exit.firstStep;
    exit.plain = exit.plain && !exit.transitionRewards;
    if (exit.plain && exit.stepCount == 1)
        exit.onlyBranch = steps.back().branch;
}

int32_t MarkovCohortPlan::AddShared(uint32_t formula, uint32_t print)
{
    const Scan& scan = scans[formula];
    SharedValue value{-1, !scan.readsStage, 0.0, nullptr};
    if (scan.readsStage && !scan.readsDraws) {
        value.memo = Memo(*builtFor->document).Find(print, forms.data() + scan.formBegin, scan.formLength);
        value.memo->readsTables = scan.readsTables;
    }
    shared.push_back(std::move(value));
    return static_cast<int32_t>(shared.size()) - 1;
}

bool MarkovCohortPlan::SameForm(uint32_t a, uint32_t b) const
{
    const Scan& x = scans[a];
    const Scan& y = scans[b];
    return x.formLength == y.formLength &&
           std::equal(forms.begin() + x.formBegin, forms.begin() + x.formBegin + x.formLength,
                      forms.begin() + y.formBegin);
}

bool MarkovCohortPlan::SameBranches(const Check& a, const Check& b) const
{
    if (a.branchCount != b.branchCount)
        return false;
    for (uint32_t i = 0; i < a.branchCount; ++i) {
        const Branch& x = branches[a.firstBranch + i];
        const Branch& y = branches[b.firstBranch + i];
        if (x.shared != y.shared || (x.formula < 0) != (y.formula < 0))
            return false;
    }
    return true;
}

void MarkovCohortPlan::MatchChecks()
{
    // Only the first few distinct kinds of check are looked for: the models that gain have a handful.
    constexpr size_t kMaxLeaders = 8;
    uint32_t leaders[kMaxLeaders];
    size_t leaderCount = 0;
    for (uint32_t c = 0; c < checks.size(); ++c) {
        Check& check = checks[c];
        check.sameAs = -1;
        if (!check.direct || check.kind != ChanceNode)
            continue;
        const Branch* own = branches.data() + check.firstBranch;
        if (!std::all_of(own, own + check.branchCount, [](const Branch& b) { return b.formula < 0 || b.shared >= 0; }))
            continue;
        for (size_t l = 0; l < leaderCount && check.sameAs < 0; ++l) {
            if (SameBranches(checks[leaders[l]], check))
                check.sameAs = static_cast<int32_t>(leaders[l]);
        }
        if (check.sameAs < 0 && leaderCount < kMaxLeaders)
            leaders[leaderCount++] = c;
    }
}

bool MarkovCohortPlan::SharingHolds(bool samplesFixed) const
{
    if (samplesFixed != sharedSamplesFixed || sharedFrom.size() != formulas.size())
        return false;
    if (sharingReadsNames && (sharedFormulaSerial != Expression::LastTreeSerial() ||
                              sharedNameGeneration != ResolutionGenerations::Names()))
        return false;
    for (size_t i = 0; i < formulas.size(); ++i) {
        const Expression* expression = formulas[i].expression;
        if (sharedFrom[i].expression != expression || sharedFrom[i].treeSerial != expression->TreeSerial())
            return false;
    }
    return true;
}

void MarkovCohortPlan::ShareFormulas(bool samplesFixed)
{
    if (SharingHolds(samplesFixed)) {
        for (size_t i = 0; i < formulas.size(); ++i)
            formulas[i].shared = sharedSlots[i];
        for (SharedValue& value : shared)
            value.stage = -1;
        return;
    }
    shared.clear();
    candidates.clear();
    forms.clear();
    scans.assign(formulas.size(), Scan{});
    sharingReadsNames = false;
    for (uint32_t i = 0; i < formulas.size(); ++i) {
        const ParseNode* tree = formulas[i].expression->GetParseTree();
        StageOnlyScan scan;
        scan.samplesFixed = samplesFixed;
        scan.node = formulas[i].node;
        scan.form = &forms;
        const size_t begin = forms.size();
        const bool accepted = tree != nullptr && scan.Accepts(*tree, 0);
        sharingReadsNames = sharingReadsNames || scan.readsNames;
        if (accepted) {
            scans[i] = Scan{scan.readsStage, scan.readsTables, scan.readsDraws, static_cast<uint32_t>(begin),
                            static_cast<uint32_t>(forms.size() - begin)};
            candidates.emplace_back(scan.print, i);
        } else {
            forms.resize(begin);
        }
    }
    std::sort(candidates.begin(), candidates.end());
    for (size_t first = 0; first < candidates.size();) {
        size_t end = first + 1;
        while (end < candidates.size() && candidates[end].first == candidates[first].first)
            ++end;
        for (size_t k = first; k < end; ++k) {
            const uint32_t leaderIndex = candidates[k].second;
            Formula& leader = formulas[leaderIndex];
            if (leader.shared >= 0)
                continue;
            for (size_t m = k + 1; m < end; ++m) {
                Formula& other = formulas[candidates[m].second];
                if (other.shared >= 0 || !SameForm(leaderIndex, candidates[m].second))
                    continue;
                if (leader.shared < 0)
                    leader.shared = AddShared(leaderIndex, candidates[k].first);
                other.shared = leader.shared;
            }
            // A constant of the run, or a value kept from earlier runs, is worth a slot of its own.
            const Scan& scan = scans[leaderIndex];
            if (leader.shared < 0 && (!scan.readsStage || !scan.readsDraws))
                leader.shared = AddShared(leaderIndex, candidates[k].first);
        }
        first = end;
    }
    sharedSamplesFixed = samplesFixed;
    sharedFormulaSerial = Expression::LastTreeSerial();
    sharedNameGeneration = ResolutionGenerations::Names();
    sharedFrom.clear();
    sharedSlots.clear();
    for (const Formula& formula : formulas) {
        sharedFrom.push_back(FormulaKey{formula.expression, formula.expression->TreeSerial()});
        sharedSlots.push_back(formula.shared);
    }
}
