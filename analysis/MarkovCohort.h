#pragma once
// Evaluation of a Markov node. The cohort evaluator spreads a whole cohort over the states by their initial
// probabilities and moves it cycle by cycle through each state's chance subtree to the jump-target states,
// crediting probability-weighted rewards; the individual evaluator walks one individual from state to state
// by random branch choices (Monte Carlo trials). Both share the preparation, the rewards and the
// termination rule.

#include "formula/RunOutcome.h"
#include "foundation/ValueTriple.h"
#include "model/NodeFormula.h"

#include <cstdint>
#include <memory>

class MarkovCohortPlan;
class TreeDocument;
struct TreeNode;

// Told by a cohort run after each cycle and once after the final rewards, while the cycle's rewards and
// totals are on the calculation state and each state's share and reward on its Markov record.
class MarkovStageRecorder {
public:
    virtual ~MarkovStageRecorder() = default;
    virtual void AddStageRow() = 0;
};

// Which payoffs a run uses. With costEffectiveness clear only valuePayoff counts and goes to the value
// component; with it set the value payoff's rewards go to effectiveness, the cost payoff's to cost, and the
// value becomes cost / effectiveness.
struct MarkovRunArgs {
    int32_t costEffectiveness = 0;
    int32_t costPayoff = 0;
    int32_t valuePayoff = 0;
};

// A cycle count at which every run ends, whatever its termination condition says.
constexpr int32_t kMarkovCycleLimit = 10000;

// The cohort run: *error set on entry makes it a no-op; recorder (or, when null, the document's current
// Markov recorder) records one row per cycle and a last row; total receives the rewards of the run.
void RunMarkovCohort(TreeNode* markov, RunFault* error, MarkovStageRecorder* recorder, const MarkovRunArgs& args,
                     ValueTriple& total);
// Roll back's single-payoff entry: the total value of a cohort run over that payoff.
double EvaluateMarkovNode(TreeNode* markov, RunFault* error, int payoffIndex, MarkovStageRecorder* recorder);
// The same in the form of a payoff evaluator of the calculation methods.
double MarkovCohortValue(TreeNode* markov, RunFault* error, int payoffIndex);
// Roll back's cost-effectiveness entry: one cohort run over the cost and effectiveness payoffs, whose
// totals become the node's cost, effectiveness and ratio; returns the ratio.
double MarkovCostEffectivenessValue(TreeNode* markov, RunFault* error);
// One individual's walk; returns the node's expected value, which it also writes with cost and
// effectiveness.
double SimulateMarkovIndividual(TreeNode* markov, RunFault* error);

// While one lives, Markov runs keep what they prepare and take it up again instead of making it anew:
// cohort runs their plans (for the same Markov node and payoffs), every run the resolved jump targets of a
// node without tunnel states. For runs back to back between which nothing changes but the draws of
// distributions (the trials of a Monte Carlo slice). Scopes may nest; each keeps the work of runs on its
// document.
class MarkovRunReuse {
public:
    explicit MarkovRunReuse(TreeDocument& document);
    ~MarkovRunReuse();
    MarkovRunReuse(const MarkovRunReuse&) = delete;
    MarkovRunReuse& operator=(const MarkovRunReuse&) = delete;

    // Whether an earlier run of the scope resolved the node's jumps, or a run outside any scope resolved them
    // with the document at its present revision.
    static bool JumpsResolved(const TreeNode* markov);
    // The node's jumps are resolved and stay so within a scope, and while the document's revision stays.
    static void KeepJumps(const TreeNode* markov);

private:
    TreeDocument& document;
};

// While one lives, the individual walk over the Markov node takes up what a cohort plan shares: formulas of
// numbers and the trial's draws are evaluated once per walk, those of numbers and "_stage" once for good,
// alike stage formulas once per stage. The plan is one kept in the MarkovRunReuse scope, else the node's
// spare one while the document is unchanged, else built for the walk and kept for the next. Nothing is
// installed when the node has tunnel states, when draws are made anew each cycle, or when walks keep finding
// the plans built for them outdated.
class MarkovWalkValues : public KnownFormulaValues {
public:
    MarkovWalkValues(TreeNode* markov, const MarkovRunArgs& args);
    ~MarkovWalkValues() override;
    MarkovWalkValues(const MarkovWalkValues&) = delete;
    MarkovWalkValues& operator=(const MarkovWalkValues&) = delete;

    bool Find(const Expression& formula, double* value) override;
    void Remember(const Expression& formula, double value) override;

private:
    TreeDocument* document;
    const TreeNode* markov;
    MarkovRunArgs args;
    bool samplesFixed;
    std::unique_ptr<MarkovCohortPlan> plan;
    KnownFormulaValues* previous = nullptr;
    // The tables' generations when the formula last not found began its evaluation.
    uint32_t resolution = 0;
    uint32_t content = 0;
};

// Shared by both evaluators: resolve jump targets, check the structure, reset the calculation state,
// expand tunnel states. False (with *error set) when the structure check failed.
bool PrepareMarkovRun(TreeNode* markov, RunFault* error);
// Clears the run flag, merges and removes tunnel copies, clears jump-target nodes, resets the state.
void FinishMarkovRun(TreeNode* markov);
// Appends the tunnel copies of every tunnel state; true when it made any.
bool ExpandTunnelStates(TreeNode* markov);
void CollapseTunnelStates(TreeNode* markov);
// The state that a tunnel copy was made from, or null.
TreeNode* FindTunnelOrigin(TreeNode* copy);
