#pragma once
// What a computation came to. The engines (roll back, Markov cohort, the sensitivity analyses, threshold,
// tornado, EVPI, over/under, Bayes, Monte Carlo, the probability checks, formula evaluation) show nothing and
// select nothing: each failure or notice is reported as a code, the node or variable concerned and the
// person's text. An OutcomeScope collects what is reported while it lives and its owner decides what to show;
// reported with no scope open, a notice goes straight to the installed outcome presenter (the program's run
// frame: the box and the node's selection), or, headless, to the host as a plain message box.
// Questions asked in the middle of a computation are not outcomes: they stay on the host seam.

#include "foundation/zString.h"

#include <functional>
#include <optional>
#include <vector>

struct TreeNode;

enum class OutcomeCode : int {
    Done = 0,
    Cancelled,  // Escape stopped the run
    // Formula evaluation (formulaError tells which way the formula failed).
    FormulaFailed,
    DistributionParameterInvalid,
    DistributionRecursive,
    DistributionTableMissing,
    DistributionOverflow,
    DistributionDescriptionInvalid,  // Dist() names no type, or not its number of parameters
    DistributionUndefined,           // a numbered distribution with neither a distribution nor a table
    DistributionNotSampled,          // a numbered distribution without a current draw
    DistributionTableIncomplete,     // a table's values add up to less than the probability sought
    TableLookupFailed,               // name[x] has no value at x
    // Tree structure and roll back.
    MarkovStructureFault,
    ValueOverflow,
    LogicNodeWithoutBranches,
    NoStrategyChosen,
    NonTerminalEndNode,
    NoTrialBranch,
    EndNodesNotTerminal,
    // Probability and risk preference checks.
    LabelNodeBranches,
    ProbabilityOutOfRange,
    ProbabilitiesNotOne,
    ProbabilitiesVerified,
    UtilityOverflow,
    PayoffRangeTooNarrow,
    CertaintyEquivalentOutOfRange,
    // Sensitivity, threshold and tornado.
    StoredStructureMismatch,
    NotEnoughMemory,
    VariableWithoutDefinitions,
    StoredVariableMissing,
    NoUsableDefinitions,
    AllOutcomesEqual,
    AnalysisUnsupported,
    // Distributions, Monte Carlo and node values.
    ZeroEffectivenessEnd,
    NoEndNodesReached,
    SingleOutcome,
    SamePayoffOutcomes,
    NodeValueNotice,
    MultipleOptima,
    // EVPI and Bayes.
    EvpiNoDecision,
    EvpiSelection,
    BayesStructureFault,
    // Edits and tables.
    NodeFull,
    NameRejected,
    VariableNotDefined,
    TableNotSaved,
    // Opening and importing files.
    FileInUse,
    FileRefused,           // not a document of ours, or written by a newer version
    FileDamaged,
    ImportRefused,         // another program's file, or an older text form, that cannot be imported
    ImportNotice,          // a part of an imported file that was dropped or changed
    LinkedFileIncomplete,  // a linked payoffs file that ends before its last entry
};

// How a notice is shown: an error box or an information box.
enum class NoticeKind : int { Error, Information };

// One thing reported: the box's caption (null: the product name), text and help context, the node or
// variable it concerns, and whether the program selects the node with it.
struct OutcomeNotice {
    OutcomeCode code = OutcomeCode::Done;
    NoticeKind kind = NoticeKind::Error;
    TreeNode* node = nullptr;
    bool selectNode = false;
    zString variable;
    int formulaError = 0;  // FormulaErrorCode of a FormulaFailed notice
    const char* caption = nullptr;
    zString text;
    int help = -1;
    bool quiet = false;  // reported while the host's notices were silenced: nothing is shown
};

// What one run came to: the first failure (code, node, variable, text) and every notice in order.
struct RunOutcome {
    OutcomeCode code = OutcomeCode::Done;
    TreeNode* node = nullptr;
    zString variable;
    zString text;
    std::vector<OutcomeNotice> notices;

    bool Failed() const { return code != OutcomeCode::Done; }
    // Adds a notice; an error becomes the run's failure unless one came first.
    void Add(const OutcomeNotice& notice);
};

// How a computation stands as it goes back up through an engine's steps: Done, or the code of its first
// failure, whose notice has been reported already (into the scope, else to the presenter). A quiet
// evaluation or a stopped run reports no notice; its caller still learns what ended it.
class RunFault {
public:
    explicit operator bool() const { return code != OutcomeCode::Done; }
    OutcomeCode Code() const { return code; }
    void Set(OutcomeCode failure)
    {
        if (code == OutcomeCode::Done)
            code = failure;
    }
    void Clear() { code = OutcomeCode::Done; }

private:
    OutcomeCode code = OutcomeCode::Done;
};

// Collects every notice reported while it lives (scopes nest; the innermost collects).
class OutcomeScope {
public:
    OutcomeScope();
    // Collects into a run's own outcome (a run that spans several idle calls).
    explicit OutcomeScope(RunOutcome& target);
    ~OutcomeScope();
    OutcomeScope(const OutcomeScope&) = delete;
    OutcomeScope& operator=(const OutcomeScope&) = delete;

    RunOutcome& Outcome() { return *target; }

private:
    RunOutcome own;
    RunOutcome* target;
    OutcomeScope* outer;
};

// Keeps what is reported while it lives in an engine's own outcome, and when it ends reports that on (into
// the enclosing scope, else to the presenter): an engine that presents its results itself keeps what
// happened and shows nothing.
class OutcomeRelay {
public:
    explicit OutcomeRelay(RunOutcome& kept);
    ~OutcomeRelay();
    OutcomeRelay(const OutcomeRelay&) = delete;
    OutcomeRelay& operator=(const OutcomeRelay&) = delete;

private:
    RunOutcome part;
    RunOutcome& kept;
    std::optional<OutcomeScope> scope;
};

// While it lives no scope collects: a dialog of the program opened in the middle of a run shows its own
// boxes as they arise.
class OutcomeScopePause {
public:
    OutcomeScopePause();
    ~OutcomeScopePause();
    OutcomeScopePause(const OutcomeScopePause&) = delete;
    OutcomeScopePause& operator=(const OutcomeScopePause&) = delete;

private:
    OutcomeScope* paused;
};

// Reports a notice: into the innermost scope, else to the presenter at once.
void ReportOutcome(OutcomeNotice notice);
// Shorthands: an error box's notice (concerning the node, or the node to be selected with the box), and an
// information box's.
void ReportFailure(OutcomeCode code, TreeNode* node, const char* caption, const char* text, int help);
void ReportNodeFault(OutcomeCode code, TreeNode* node, const char* caption, const char* text, int help);
void ReportNotice(OutcomeCode code, const char* caption, const char* text, int help);

// Reports again every notice of an outcome an inner entry point returned (into the innermost scope, else to
// the presenter).
void ForwardOutcome(const RunOutcome& outcome);
// Shows a finished run's notices through the installed presenter (nothing when there are none).
void PresentOutcome(const RunOutcome& outcome);

// The program's presenter: turns an outcome into its boxes and selects the node. Headless (none installed),
// the boxes go to the host without a selection.
using OutcomePresenter = std::function<void(const RunOutcome& outcome)>;
OutcomePresenter SetOutcomePresenter(OutcomePresenter presenter);
// A notice's box through the host (none for a quiet notice).
void ShowNoticeBox(const OutcomeNotice& notice);
