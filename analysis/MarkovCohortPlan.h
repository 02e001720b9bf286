#pragma once
// The shape of a prepared Markov node, flattened once per cohort run so that the cycles do not walk the
// subtrees again: for each state, its reward formulas, the nodes whose branch probabilities are evaluated
// every stage with their children's formulas, and every way out of the state (terminal, target state and
// the path that decides its share). Built after the run is prepared, when tunnel copies exist and jump
// targets are resolved; the tree keeps its shape while the run lasts. The storage is kept from run to run.
//
// Formulas whose cached trees are alike and read nothing but numbers, "_stage" and tables, through operators
// and built-ins such as Exp (a discount or a stage-dependent probability repeated in every state), have one
// value per stage: the first state that needs it evaluates it, the others take that value. One that does not
// read "_stage" either ("0.2*0.6") has one value for the whole run. In a Monte Carlo trial the draws
// "DistSamp(n)" count as numbers, since they hold for the whole run. A variable counts as what it is bound to
// at the formula's node: its number, or its definition read the same way. A formula of numbers, "_stage" and
// tables keeps its values from run to run, those reading tables while no table changes.

#include "analysis/MarkovCohort.h"
#include "model/TreeDocument.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class Expression;
class ParseNode;
struct MarkovInfo;

class MarkovCohortPlan {
public:
    // A formula of a node evaluated during the run; shared >= 0 names its value per stage.
    struct Formula {
        TreeNode* node;
        Expression* expression;
        int32_t shared;
    };

    // One node on the path from a terminal up to its state that scales the share reaching the terminal.
    struct PathStep {
        TreeNode* node;
        // Null for a branch of a chance node (the share is multiplied by its probability); otherwise the
        // logic node above, which passes the share on only along the branch it selects.
        TreeNode* logicParent;
        // The node's entry in `branches` (and `probabilities`) under a chance node; -1 under a logic node.
        int32_t branch;
    };

    struct Exit {
        TreeNode* terminal;
        TreeNode* target;
        // The target's position in `states`.
        uint32_t targetState;
        uint32_t firstStep;
        uint32_t stepCount;
        // Some node on the path carries a transition reward of a payoff the run uses.
        bool transitionRewards;
        // Neither transition rewards nor logic nodes on the path: only chance branches scale the share.
        bool plain;
        // For a plain path of one step, that step's branch; else -1.
        int32_t onlyBranch;
    };

    // A child of a checked node: the formula of its branch probability, or -1 for the complement "#".
    struct Branch {
        TreeNode* child;
        int32_t formula;
        // The formula's shared value, -1 for none.
        int32_t shared;
    };

    // A node whose children's branch probabilities are evaluated and checked each stage. Direct checks
    // evaluate the listed branches; a label node, or a node with more than one complement, goes through
    // the roll back's own evaluation, which reports what is wrong with it.
    struct Check {
        TreeNode* node;
        int32_t kind;
        uint32_t firstBranch;
        uint32_t branchCount;
        bool direct;
        // An earlier chance check whose branches take the same shared values (or are complements) in the
        // same order, so that in a stage both have the same probabilities; -1 for none.
        int32_t sameAs;
    };

    struct State {
        TreeNode* node;
        MarkovInfo* info;
        int32_t tunnel;
        // Per reward kind (initial, incremental, final) the formula of the value payoff and of the cost
        // payoff; -1 where it is missing or empty.
        int32_t rewards[3][2];
        uint32_t firstCheck;
        uint32_t checkCount;
        uint32_t firstExit;
        uint32_t exitCount;
    };

    // An exit seen from its target state: the state it leaves and what scales the share, either one
    // branch's probability (branch >= 0) or the product along its steps.
    struct Inflow {
        uint32_t fromState;
        int32_t branch;
        uint32_t firstStep;
        uint32_t stepCount;
    };

    // Values by stage of a formula of numbers, "_stage" and tables, kept from run to run.
    struct StageValues {
        std::vector<double> values;
        std::vector<uint8_t> known;
        // For a formula that reads tables: the tables' generations the values were worked out under.
        bool readsTables = false;
        uint32_t tableResolution = 0;
        uint32_t tableContent = 0;
    };

    // A stage's value of a shared formula (of every stage when wholeRun); stage -1 until it is evaluated.
    struct SharedValue {
        int32_t stage;
        bool wholeRun;
        double value;
        std::shared_ptr<StageValues> memo;
    };

    // What the run adds up for a state, kept here and written to its node and Markov record when others
    // read them: the reward credited in the latest step and the node's running total.
    struct StateTotals {
        ValueTriple reward;
        ValueTriple triple;
    };

    // The shape of every state of the prepared Markov node, subtrees in pre-order; the run values start
    // from the states' records.
    void Build(TreeNode* markov, const MarkovRunArgs& args);
    // Writes the run values to the states' nodes and Markov records.
    void Publish() const;
    // The next shares, for a cycle to fill in.
    double* NextShares()
    {
        advanced = false;
        return nextShares.data();
    }
    // The shares a cycle filled in become the current ones: the two lists trade places rather than copy, and
    // until the next cycle the next shares read as the current ones.
    void Advance()
    {
        shares.swap(nextShares);
        advanced = true;
    }
    // True when the plan was built for this node, these payoffs and the same state of the draws, and may
    // serve another run of an unchanged tree: it has no tunnel copies (each run makes them anew), and no
    // formula without its cached tree then has one now (a new build would share its values).
    bool Serves(const TreeNode* markov, const MarkovRunArgs& args, bool samplesFixed) const;
    // Forgets the values of the last run; the run values start again from the states' records.
    void Restart();
    // A run with the plan ended with the document at the revision: until it changes, the plan may serve the
    // node's next run outside a MarkovRunReuse scope too.
    void RunEnded(const CalculationRevision& revision);
    // True when the plan serves the run and the document is still at the revision of the plan's last run.
    bool ServesUnchanged(const TreeNode* markov, const MarkovRunArgs& args, bool samplesFixed,
                         const CalculationRevision& revision) const;
    // The shared value of the plan's formula that is `expression`, or -1.
    int32_t SharedSlot(const Expression* expression);
    // The node of the latest Build.
    const TreeNode* BuiltFor() const { return builtFor; }
    // Builds for individual walks in a row that no later run took up as they were.
    int32_t walkBuildsUnused = 0;

    // The Markov node's own check: the states' starting probabilities.
    Check start{};
    // The formula of the termination condition.
    int32_t termination = -1;
    std::vector<State> states;
    std::vector<Check> checks;
    std::vector<Branch> branches;
    // The latest value of each branch's probability.
    std::vector<double> probabilities;
    // Per check, the stage at which its probabilities were last found valid (-1 before).
    std::vector<int32_t> checkedStage;
    // Per state, in the order of `states`: the share of the cohort this cycle and the share arriving for the
    // next (the same once the cycle has advanced), and the rewards.
    std::vector<double> shares;
    std::vector<double> nextShares;
    std::vector<StateTotals> totals;
    std::vector<Formula> formulas;
    std::vector<Exit> exits;
    // When every exit is plain: per target state, from inflowStart[t] to inflowStart[t + 1], the exits into
    // it in the order of their states and of the exits within a state, so that each next share is summed
    // in a register in the order of the moves one by one. Empty otherwise.
    std::vector<Inflow> inflows;
    std::vector<uint32_t> inflowStart;
    std::vector<PathStep> steps;
    std::vector<SharedValue> shared;

private:
    const TreeNode* builtFor = nullptr;
    MarkovRunArgs builtArgs;
    bool builtSamplesFixed = false;
    bool reusable = false;
    bool ranAtRevision = false;
    bool advanced = false;
    CalculationRevision lastRun;
    // The formulas that had no cached tree at the build.
    std::vector<uint32_t> unparsed;
    // (expression, shared value) of the shared formulas by expression, made on first use after a build.
    std::vector<std::pair<const Expression*, int32_t>> slots;
    bool slotsMade = false;

    // The run values from the states' records.
    void StartValues();
    // Fills `check` for the node and adds its branches.
    void AddCheck(TreeNode* node, Check& check);
    int32_t AddFormula(TreeNode* node, Expression* expression);
    // pathBranches[d] is the entry in `branches` of the node at depth d below the state on the way to the
    // terminal.
    void AddExit(TreeNode* terminal, TreeNode* state, const MarkovRunArgs& args, const int32_t* pathBranches,
                 int depth);
    // The position in `states` of the terminal's target.
    uint32_t StateIndex(const TreeNode* terminal, const TreeNode* target) const;
    // Gives every group of alike stage-only formulas, every formula of the run's constants and every one
    // of numbers and "_stage" alone one shared value; samplesFixed when the draws hold for the run.
    void ShareFormulas(bool samplesFixed);
    // Lists the exits by target state when every exit is plain.
    void GatherInflows();
    // Finds each check's earlier alike check.
    void MatchChecks();
    bool SameBranches(const Check& a, const Check& b) const;
    // The sharing worked out last holds when the same formulas come with the same trees.
    bool SharingHolds(bool samplesFixed) const;
    int32_t AddShared(uint32_t formula, uint32_t print);
    bool SameForm(uint32_t a, uint32_t b) const;

    // What a stage-only formula reads, and where its exact form lies in `forms`.
    struct Scan {
        bool readsStage;
        bool readsTables;
        bool readsDraws;
        uint32_t formBegin;
        uint32_t formLength;
    };

    struct Pending {
        TreeNode* node;
        int32_t depth;
        int32_t branch;
    };
    std::vector<Pending> pending;
    std::vector<int32_t> pathBranches;
    // Per target state, where its next inflow goes while they are gathered.
    std::vector<uint32_t> placed;
    // (fingerprint, formula) of every stage-only formula, sorted to find the alike ones.
    std::vector<std::pair<uint32_t, uint32_t>> candidates;
    std::vector<Scan> scans;
    std::vector<uint32_t> forms;
    // What the latest sharing was worked out from, and its slot per formula.
    struct FormulaKey {
        const Expression* expression;
        uint32_t treeSerial;
    };
    std::vector<FormulaKey> sharedFrom;
    std::vector<int32_t> sharedSlots;
    bool sharedSamplesFixed = false;
    // Some formula read a variable: the sharing holds while no formula and no binding changes.
    bool sharingReadsNames = false;
    uint32_t sharedFormulaSerial = 0;
    uint32_t sharedNameGeneration = 0;
};
