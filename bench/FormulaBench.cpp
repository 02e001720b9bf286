// Formula language: parse rate and cached-tree evaluation of a typical payoff formula.

#include "bench/Bench.h"

#include "model/EvalContext.h"
#include "formula/EvalContextBase.h"
#include "formula/Expression.h"
#include "formula/Formula.h"
#include "formula/FormulaRef.h"
#include "model/TreeNode.h"
#include "formula/CalcState.h"
#include "model/TreeDocument.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using VariableValues = std::vector<std::pair<std::string, double>>;

// The document's variables: a short list of upper-case names with their values.
const VariableValues& DocumentVariables()
{
    static const VariableValues values = {{"C_DRUG", 1200.0}, {"P", 0.15}, {"C_HOSP", 8000.0}, {"DISC", 0.03}};
    return values;
}

// Variables found by name in the document's list, as a tree-bound context finds them in its bindings.
class BenchContext : public EvalContextBase {
public:
    explicit BenchContext(const VariableValues& values) : values(values) {}

    double VariableValue(const zString& upperName) override
    {
        const char* name = upperName.Text();
        for (const auto& entry : values) {
            if (entry.first[0] == name[0] && std::strcmp(name, entry.first.c_str()) == 0)
                return entry.second;
        }
        return 0.0;
    }

private:
    const VariableValues& values;
};

BenchContext* MakeContext()
{
    return new BenchContext(DocumentVariables());
}

const char* const kPayoff = "c_drug + p*c_hosp*(1-disc)^_stage";
const char* const kTenOperators = "c_drug + p*c_hosp*(1-disc)^_stage - p*(c_drug/2) + disc*3";

}  // namespace

KIVO_BENCH(FormulaParse)
{
    FormulaRef ref(MakeContext(), 1, "payoff");
    ref.GetFormula().GetCalcState()->stageCounter = 2;
    BenchReport("parse and evaluate (no tree kept)", 200000, [&] { BenchKeep(ref.EvaluateText(kPayoff)); });
    BenchReport("parse, build and cache the tree", 100000, [&] {
        Expression expression(kPayoff);
        BenchKeep(ref.Evaluate(expression));
    });
}

KIVO_BENCH(FormulaCachedTree)
{
    FormulaRef ref(MakeContext(), 1, "payoff");
    ref.GetFormula().GetCalcState()->stageCounter = 2;
    Expression payoff(kPayoff);
    ref.Evaluate(payoff);
    BenchReport("cached tree: c_drug + p*c_hosp*(1-disc)^_stage", 5000000, [&] { BenchKeep(ref.Evaluate(payoff)); });
    Expression ten(kTenOperators);
    ref.Evaluate(ten);
    BenchReport("cached tree: ten operators", 5000000, [&] { BenchKeep(ref.Evaluate(ten)); });
    Expression constants("1 + 2*3 - 4/5 + 6*7 - 8 + 9*10 - 11");
    ref.Evaluate(constants);
    BenchReport("cached tree: ten operators on constants", 5000000, [&] { BenchKeep(ref.Evaluate(constants)); });
    BenchReport("copy of the ten-operator tree, evaluated once", 500000, [&] {
        Expression copy(ten);
        BenchKeep(ref.Evaluate(copy));
    });
}

// Each evaluation as a task of its own, the way node formulas are evaluated: the handle is reset on the same
// context (or made anew) before the cached tree runs.
KIVO_BENCH(FormulaTask)
{
    BenchContext* context = MakeContext();
    FormulaRef ref(context, 1, "payoff");
    Expression payoff(kPayoff);
    ref.Evaluate(payoff);
    BenchReport("reset the handle, then the cached payoff tree", 5000000, [&] {
        ref.Reset(context, 1, "payoff");
        BenchKeep(ref.Evaluate(payoff));
    });
    BenchReport("new handle and context, then the cached payoff tree", 1000000, [&] {
        FormulaRef task(MakeContext(), 1, "payoff");
        BenchKeep(task.Evaluate(payoff));
    });
}

// The same formulas at a node of a tree whose variables are defined at the root, through the tree-bound
// context.
KIVO_BENCH(FormulaInTree)
{
    TreeDocument* document = new TreeDocument;
    document->EnsureVariable("c_drug", "1200");
    document->EnsureVariable("p", "0.15");
    document->EnsureVariable("c_hosp", "8000");
    document->EnsureVariable("disc", "0.03");
    document->CalcStateRecord.stageCounter = 2;
    TreeNode* node = new TreeNode(document);
    document->Root->InsertChildOrThrow(node, -1);
    {
        FormulaRef ref(new EvalContext(document, node), 1, "payoff");
        Expression payoff(kPayoff);
        ref.Evaluate(payoff);
        BenchReport("tree context: c_drug + p*c_hosp*(1-disc)^_stage", 5000000, [&] { BenchKeep(ref.Evaluate(payoff)); });
        Expression ten(kTenOperators);
        ref.Evaluate(ten);
        BenchReport("tree context: ten operators", 5000000, [&] { BenchKeep(ref.Evaluate(ten)); });
        BenchReport("tree context: new handle, then the cached payoff tree", 1000000, [&] {
            FormulaRef task(new EvalContext(document, node), 1, "payoff");
            BenchKeep(task.Evaluate(payoff));
        });
    }
    delete document;
}
