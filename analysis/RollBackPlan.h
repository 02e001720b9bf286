#pragma once
// A tree laid out flat for repeated roll backs: node kinds, children as contiguous index ranges, the
// probability and payoff formulas as references into a list of distinct formulas, and the results in arrays.
// It is laid out by the second roll back from the same node at the same document revision, kept by the
// document and used while the revision stays. Each run evaluates every distinct formula once, through the
// same evaluation a full roll back uses, then rolls the arrays back and stores the results in the nodes as a
// full roll back does, so both give identical results. It serves trees of chance, decision and terminal nodes
// whose formulas read only variables bound to plain numbers, under the payoff method without utilities; any
// other tree, and any run that meets a failing formula or probability check, takes the full roll back.

#include "formula/Expression.h"
#include "model/TreeDocument.h"

#include <cstdint>
#include <memory>
#include <vector>

class EvalContext;
class NodeChildList;
class RollBackState;
class ParseNode;
struct TreeNode;

class RollBackPlan : public KeptAnalysisWork {
public:
    // Rolls back from `start` by the kept plan (laying it out when it is due): true when it ran, with *value
    // set (or the state's error set by a cancel); false, with nothing written, when the full roll back must run.
    static bool RollBack(TreeNode* start, RollBackState& state, double* value);
    // A full roll back from `start` ended without error: the next roll back from it may lay the plan out when
    // the document is still at the same revision.
    static void Keep(TreeNode* start, RollBackState& state);

private:
    // A node of the flat tree. Children of a node follow each other; a parent comes before its children.
    // Sixteen bytes: every roll back reads the entries twice, a million of them in a large tree.
    struct Entry {
        TreeNode* node;
        union {
            int32_t firstChild;  // chance and decision nodes
            int32_t payoff;      // terminal nodes: their payoff's formula
        };
        // Children of chance nodes: their probability's formula, or kComplement for "#"; others kNone.
        int32_t probability;
        int16_t childCount;  // as the node had it when laid out
        int8_t kind;
    };
    static Entry MakeEntry(TreeNode* node, int32_t probability);
    // One distinct formula: the name scope of the node it is evaluated at and the formula itself.
    struct Formula {
        const void* scope;
        const Expression* expression;
    };
    static constexpr int32_t kNone = -1;
    static constexpr int32_t kComplement = -2;

    static bool Applies(const RollBackState& state);
    bool Holds(const TreeNode* node, const TreeDocument& document) const;
    void Forget();
    // Frees what only laying out uses.
    void DropLayoutAids();
    bool Build(const RollBackState& state);
    // Adds the entries of the children of the entry, whose node has that name scope.
    bool AddChildren(int32_t parent, const void* scope, const RollBackState& state);
    // The index of the formula evaluated at a node of that name scope (shared with earlier nodes whose formula
    // gives the same value by construction), or kNone when it cannot be read by bound numbers.
    int32_t FormulaIndex(TreeNode* node, const void* scope, Expression& expression);
    // Fills the caches of the names of a parsed formula, as evaluating it at the node would: false when a
    // name is not bound there to a definition of numbers.
    bool ResolveNames(TreeNode* node, const void* scope, Expression& expression);
    // Rolls the arrays back, evaluating the formulas first unless laying out just did; false when a formula
    // or probability check fails (*error set by a cancel).
    bool Evaluate(RollBackState& state, bool formulasEvaluated);
    bool Store(RollBackState& state);
    // The optimal list a decision node's entry stores into (null for other kinds, or before the first store).
    static const NodeChildList* OptimalList(const Entry& entry);
    void StoreOptimal(TreeNode* node, size_t first, size_t end, double best);

    TreeNode* start = nullptr;
    CalculationRevision revision;
    int payoffIndex = 0;
    uint8_t allowNamePayoff = 0;
    bool laidOut = false;
    bool refused = false;
    std::vector<Entry> entries;
    std::vector<Formula> formulas;
    // While laying out: formulas met lately by the hash of their shape, one in each slot of a table of a power
    // of two slots (kNone: empty) that grows with the formulas up to kMaxShapeSlots, small enough to stay in
    // the cache. A formula takes the slot of its hash (both halves mixed: numbers such as whole ones change
    // only the high half) from the one held there; formulas of one shape met far apart may stay apart, each
    // evaluated on its own to the same value.
    struct Shape {
        uint64_t hash;
        int32_t formula;
    };
    static constexpr size_t kMaxShapeSlots = size_t{1} << 14;
    std::vector<Shape> shapes;
    // The slot of the hash, growing the table first while formulas fill more than half of it.
    Shape& ShapeSlot(uint64_t hash);
    size_t ShapeIndex(uint64_t hash) const;
    // While laying out: formulas found lately by their tree and scope (a tree shared by one text, such as a
    // probability of many branches, meets the same scope again and again), in a small table by the tree's
    // address.
    struct Recent {
        const ParseNode* tree;
        const void* scope;
        int32_t formula;
    };
    static constexpr size_t kRecentSlots = 256;
    std::vector<Recent> recent;
    // Notes `formula` as found for the tree and scope in their slot; returns it.
    static int32_t Remember(Recent& seen, const ParseNode* tree, const void* scope, int32_t formula);
    // While laying out: a context that resolves names.
    std::unique_ptr<EvalContext> resolver;
    std::vector<double> formulaValues;
    std::vector<double> values;
    std::vector<double> probabilities;
    std::vector<uint8_t> reached;
};
