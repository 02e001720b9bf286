#include "analysis/BayesRevision.h"

#include "formula/FormulaRef.h"
#include "formula/RunOutcome.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "model/EvalContext.h"
#include "model/NumericFormatExpression.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <string>

namespace {

constexpr int kNameLength = 30;

zString ShortText(const TreeNode* node)
{
    zString text;
    node->GetShortText(text, kNameLength);
    return text;
}

zString Quoted(const zString& text)
{
    zString quoted("\"");
    quoted += text;
    quoted += "\"";
    return quoted;
}

zString Joined(const std::vector<zString>& texts, size_t first, size_t count, const char* separator)
{
    zString joined;
    for (size_t i = first; i < first + count && i < texts.size(); ++i) {
        if (i > first)
            joined += separator;
        joined += texts[i];
    }
    return joined;
}

zString Bracketed(const zString& text)
{
    zString bracketed("(");
    bracketed += text;
    bracketed += ")";
    return bracketed;
}

// A text that is a document variable stays a name (its entered value bound at the Bayes node); any other
// text is bracketed so that it can stand inside the products.
zString Operand(const BayesRevision& record, const zString& expression, const zString& valueText)
{
    return BindBayesEntry(record, expression, valueText) ? expression : Bracketed(expression);
}

zString Evaluated(const BayesRevision& record, zString text)
{
    FormatExpressionValue(text, record.node);
    return text;
}

bool Fault(BayesRevision& record, TreeNode* atFault, const char* text)
{
    ReportNodeFault(OutcomeCode::BayesStructureFault, atFault, "Bayes Structure Error", text, 30015);
    return false;
}

}  // namespace

BayesRevision::BayesRevision(TreeNode* node) : node(node), document(node->document)
{
    OutcomeRelay relay(outcome);
    failed = !CheckBayesStructure(*this);
}

bool CheckBayesStructure(BayesRevision& record)
{
    TreeNode* node = record.node;
    record.testCount = node->childCount;
    if (record.testCount < 1)
        return Fault(record, node, "Bayes node has no children.");
    for (int t = 0; t < record.testCount; ++t) {
        TreeNode* test = node->GetChild(t);
        record.testNames.push_back(ShortText(test));
        if (t == 0) {
            record.conditionCount = test->childCount;
            for (int c = 0; c < test->childCount; ++c)
                record.conditionNames.push_back(ShortText(test->GetChild(c)));
        }
        if (test->childCount == 0)
            return Fault(record, test, "At least one of the test-result subtrees is empty.");
        if (test->cloneStatus == CloneCopyNode)
            return Fault(record, test, "At least one of the test-result subtrees is a clone-copy.");
        if (test->childCount != record.conditionCount)
            return Fault(record, test, "All test-result subtrees must have the same number of conditions.");
    }
    return true;
}

BayesPrompt MakeBayesPrompt(const BayesRevision& record, int test, int condition, double sum)
{
    BayesPrompt prompt;
    bool last = false;
    if (test < 0) {
        prompt.text = "Enter the a priori probability that ";
        prompt.text += Quoted(record.conditionNames[condition]);
        prompt.text += ".";
        last = condition == record.conditionCount - 1;
        if (last) {
            prompt.expression = "1-";
            prompt.expression += Bracketed(Joined(record.priorExpressions, 0, condition, "+"));
        }
    } else {
        prompt.text = "Enter the probability of test result ";
        prompt.text += Quoted(record.testNames[test]);
        prompt.text += " given the underlying condition ";
        prompt.text += Quoted(record.conditionNames[condition]);
        prompt.text += ".";
        last = test == record.testCount - 1;
        if (last) {
            const zString entered =
                Joined(record.likelihoodExpressions, static_cast<size_t>(condition) * record.testCount, test, "+");
            prompt.expression = "1-";
            prompt.expression += record.testCount > 2 ? Bracketed(entered) : entered;
        }
    }
    if (!last) {
        prompt.value = "0";
        return prompt;
    }
    if (FormatExpressionValue(prompt.expression, record.node)) {
        const double value = 1.0 - sum;
        AppendFormattedNumber(prompt.value, value < 0.0 ? 0.0 : value, -9);
    }
    return prompt;
}

bool ParseBayesEntry(const BayesRevision& record, const zString& expression, TextField* field)
{
    FormulaRef formula(new EvalContext(record.document, record.node), 0, nullptr);
    formula.EvaluateText(expression.Text());
    if (!formula.HasError())
        return true;
    formula.ShowError(field, 0);
    return false;
}

void StoreSensSpecEntry(BayesRevision& record, int step, int positiveTest, int presenceCondition, double value,
                        const zString& valueText, const zString& expression)
{
    zString complementValue;
    FormatNumber(DefaultNumericFormat, 1.0 - value, complementValue, false, false,
                 static_cast<int16_t>(-DefaultNumericFormat.ExtendedProbDigits()));
    zString complement(expression);
    ParenthesizeIfExpression(complement, record.document);
    zString complementExpression("1-");
    complementExpression += complement;

    // The pair in list order: the entered one at index `entered`, the complement at the other.
    auto pair = [&](std::vector<zString>& values, std::vector<zString>& expressions, int entered, size_t at) {
        for (int i = 0; i < 2; ++i) {
            values.insert(values.begin() + at + i, i == entered ? valueText : complementValue);
            expressions.insert(expressions.begin() + at + i, i == entered ? expression : complementExpression);
        }
    };
    if (step == 0) {
        pair(record.priorValues, record.priorExpressions, presenceCondition, 0);
    } else if (step == 1) {
        pair(record.likelihoodValues, record.likelihoodExpressions, positiveTest, record.likelihoodValues.size());
    } else {
        // The specificity is the negative result's given absence; the absence pair comes first in condition
        // order when presence is the second condition.
        const size_t at = presenceCondition == 0 ? record.likelihoodValues.size() : 0;
        pair(record.likelihoodValues, record.likelihoodExpressions, 1 - positiveTest, at);
    }
}

void ChooseBayesTestDefaults(const BayesRevision& record, int& positiveTest, int& presenceCondition)
{
    auto has = [](const zString& text, const char* word) { return FindInText(text, word, false, false, 0) > 0; };
    positiveTest = 0;
    presenceCondition = 0;
    if (record.testNames.size() >= 2 && has(record.testNames[0], "NEG") && !has(record.testNames[0], "POS") &&
        has(record.testNames[1], "POS") && !has(record.testNames[1], "NEG"))
        positiveTest = 1;
    if (record.conditionNames.size() >= 2 && has(record.conditionNames[0], "NO") &&
        !has(record.conditionNames[1], "NO"))
        presenceCondition = 1;
}

bool BindBayesEntry(const BayesRevision& record, const zString& expression, const zString& valueText)
{
    if (record.document == nullptr || !record.document->HasVariable(expression.Text(), false))
        return false;
    if (!valueText.IsEmpty() && record.node->FindBinding(expression.Text(), false) == nullptr)
        record.node->SetBinding(expression.Text(), valueText.Text(), true);
    return true;
}

void BuildBayesRevision(BayesRevision& record)
{
    const int tests = record.testCount;
    const int conditions = record.conditionCount;
    const size_t cells = static_cast<size_t>(tests) * conditions;
    if (record.priorExpressions.size() < static_cast<size_t>(conditions) || record.likelihoodExpressions.size() < cells)
        return;
    record.joints.clear();
    record.testProbabilities.clear();
    record.posteriors.clear();
    for (int c = 0; c < conditions; ++c) {
        const zString prior = Operand(record, record.priorExpressions[c], record.priorValues[c]);
        for (int t = 0; t < tests; ++t) {
            const size_t i = static_cast<size_t>(c) * tests + t;
            zString joint("(");
            joint += prior;
            joint += "*";
            joint += Operand(record, record.likelihoodExpressions[i], record.likelihoodValues[i]);
            joint += ")";
            record.joints.push_back(Evaluated(record, joint));
        }
    }
    for (int t = 0; t < tests; ++t) {
        zString sum;
        for (int c = 0; c < conditions; ++c) {
            if (c > 0)
                sum += "+";
            sum += record.joints[static_cast<size_t>(c) * tests + t];
        }
        record.testProbabilities.push_back(Evaluated(record, Bracketed(sum)));
    }
    for (int c = 0; c < conditions; ++c) {
        for (int t = 0; t < tests; ++t) {
            zString posterior(record.joints[static_cast<size_t>(c) * tests + t]);
            posterior += "/";
            posterior += record.testProbabilities[t];
            record.posteriors.push_back(Evaluated(record, posterior));
        }
    }
    auto bindName = [&](TreeNode* target, const zString& formula, int& counter) {
        const zString name = MakeBayesVariableName(counter, record.document);
        if (!formula.IsEmpty())
            record.node->SetBinding(name.Text(), formula.Text(), true);
        target->SetProbabilityText(name.Text(), true);
    };
    int counter = 0;
    for (int t = 0; t < tests; ++t) {
        TreeNode* test = record.node->GetChild(t);
        for (int c = 0; c < conditions; ++c)
            bindName(test->GetChild(c), record.posteriors[static_cast<size_t>(c) * tests + t], counter);
        bindName(test, record.testProbabilities[t], counter);
    }
    if (TreeDocument* document = record.document) {
        document->RedrawNode(record.node, 1);
        document->VariablesChanged();
        document->SetModified(1);
    }
}

zString MakeBayesVariableName(int& counter, TreeDocument* document)
{
    zString name;
    do {
        name = "_p";
        name += std::to_string(++counter).c_str();
    } while (document != nullptr && document->HasVariable(name.Text(), false));
    if (document != nullptr)
        document->EnsureVariable(name.Text(), nullptr);
    return name;
}
