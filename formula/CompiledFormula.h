#pragma once
// A cached parse tree flattened into a list of steps over a small value stack. Later evaluations of an
// expression run the steps instead of walking the tree, which saves a virtual call and a return through the
// floating-point register stack per node. The steps evaluate exactly as the tree does: the same operand
// order, the same lazy branches and the same errors. What is not flattened (table lookups, Choose, damaged
// nodes, very deep or wide subtrees) is evaluated by its tree as one step.

#include "formula/ParseNode.h"

#include <cstdint>
#include <vector>

class Formula;
class zString;
struct NameResolutionCache;

class CompiledFormula {
public:
    // The steps of the tree below `root`, which must outlive this object and stay unchanged.
    explicit CompiledFormula(ParseNode& root);
    // A single step that pushes `number`: a tree of numbers and operators worked out once.
    explicit CompiledFormula(double number);

    // The value of the tree on `f` (null: nothing is reported and names yield random values).
    double Evaluate(Formula* f) const;

    // The value Evaluate gives when no step needs a formula (as Expression::EvaluateBoundNumbers says), else
    // false with nothing changed.
    bool EvaluateBoundNumbers(const void* start, double* out, bool* readsVariables) const
    {
        return boundNumbersOnly && RunBoundNumbers(start, out, readsVariables);
    }

    // True, with the number, when the steps push one constant.
    bool IsNumber(double* out) const
    {
        if (steps.size() != 1 || steps[0].op != Op::Constant)
            return false;
        *out = steps[0].constant;
        return true;
    }

    // The number of steps (for tests).
    int StepCount() const { return static_cast<int>(steps.size()); }

private:
    // Values a flattened evaluation may hold at once; subtrees that need more run as one tree step.
    static constexpr int kStackSize = 32;
    // Nesting that is flattened; deeper subtrees run as one tree step.
    static constexpr int kMaxDepth = 64;

    // An operator step carries the operator's node type code and applies it through the operator rules: a
    // binary one to the two values on top (the operand evaluated first below the other), a unary one to the
    // value on top.
    enum class Op : uint8_t {
        Add = NodeAdd, Subtract = NodeSubtract, Multiply = NodeMultiply, Divide = NodeDivide, Power = NodePower,
        Negate = NodeNegate, UnaryPlus = NodeUnaryPlus, And = NodeAnd, Or = NodeOr, Not = NodeNot,
        Less = NodeLess, LessEqual = NodeLessEqual, Equal = NodeEqual, NotEqual = NodeNotEqual,
        GreaterEqual = NodeGreaterEqual, Greater = NodeGreater,
        Constant = 32,  // push the constant
        Variable,      // push the variable's value
        Keyword,       // push the keyword's value
        Tree,          // push the value of a subtree evaluated by the tree
        AndTest,       // when the left value on top decides "&", it becomes the value and the step jumps
        OrTest,        // the same for "|"
        IfTest,        // pops the condition; when it is false (below 1e-10) jumps to the third argument
        Jump,
        Call,          // the `count` values on top replaced by the built-in's value
    };

    struct Step {
        Op op;
        int32_t count;   // jump target for AndTest, OrTest, IfTest and Jump; argument count for Call
        union {
            double constant;
            int32_t index;  // keyword index, built-in function index
            ParseNode* node;
            struct {
                const zString* name;
                NameResolutionCache* cache;
            } variable;
        };
    };

    // Appends the steps of `node`, whose value will be pushed onto `height` values.
    void Emit(ParseNode& node, int height, int depth);
    // Appends the steps of a binary node: the operand evaluated first, then the other, then the operator.
    void EmitBinary(int code, ParseNode& left, ParseNode& right, int height, int depth);
    bool EmitCall(ParseNode& node, int height, int depth);
    void Add(Op op, int32_t count = 0);
    void AddTree(ParseNode& node);
    bool RunBoundNumbers(const void* start, double* out, bool* readsVariables) const;

    std::vector<Step> steps;
    // No step needs a formula task (keywords, calls, subtrees).
    bool boundNumbersOnly = true;
};
