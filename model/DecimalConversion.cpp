#include "model/DecimalConversion.h"

#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "formula/Expression.h"
#include "foundation/zString.h"
#include "model/ExpressionWalk.h"
#include "model/NodeFormula.h"
#include "model/TreeDocument.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

struct Conversion {
    char from;
    char to;
    DecimalChangeCount count;
};

void ConvertFormula(ExpressionVisitor&, TreeNode* node, Expression& formula, void* arg)
{
    auto* conversion = static_cast<Conversion*>(arg);
    zString text(formula.Text());
    if (!ChangeLiteralDecimals(text, conversion->from, conversion->to))
        return;
    formula.SetText(text.Text());
    ++conversion->count.changed;
    RunFault error;
    EvaluateNodeFormula(node, formula, "formula", &error, true);
    if (!formula.HasParseTree())
        ++conversion->count.unreadable;
}

} // namespace

bool ChangeLiteralDecimals(zString& text, char from, char to)
{
    std::string changed(text.Text());
    bool inQuotes = false;
    bool inName = false;   // the digits being read belong to a name
    bool any = false;
    for (size_t i = 0; i < changed.size(); ++i) {
        const char c = changed[i];
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (inQuotes)
            continue;
        if (c == from && i > 0 && i + 1 < changed.size() && IsDigit(changed[i - 1]) && IsDigit(changed[i + 1]) &&
            !inName) {
            changed[i] = to;
            any = true;
            continue;
        }
        if (IsDigit(c))
            continue;
        inName = IsNameChar(c);
    }
    if (any)
        text = changed.c_str();
    return any;
}

DecimalChangeCount ChangeTreeDecimals(TreeDocument& document, char from, char to, const char* progressText)
{
    Conversion conversion{from, to, {}};
    ReparseTreeBindings(document.Root, false, ConvertFormula, &conversion, progressText);
    std::vector<Expression*> formulas;
    for (int i = 0; i < document.Distributions.Count(); ++i) {
        if (Distribution* distribution = document.Distributions.RecordAt(i)->GetDistribution()) {
            for (int p = 0; p < distribution->ParameterCount(); ++p)
                formulas.push_back(distribution->Parameter(p));
        }
    }
    for (Expression& weight : document.CalcPrefs.MultiAttrWeight)
        formulas.push_back(&weight);
    CESensitivitySettings& limits = document.CESettings;
    formulas.insert(formulas.end(), {&limits.willingnessToPay, &limits.costCeiling, &limits.effectivenessFloor});
    ExpressionVisitor visitor;
    for (Expression* formula : formulas)
        ConvertFormula(visitor, document.Root, *formula, &conversion);
    return conversion.count;
}
