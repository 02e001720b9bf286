#include "treewin/RollBackText.h"

#include "analysis/TreeQueries.h"
#include "foundation/NumericFormatting.h"
#include "model/MarkovInfo.h"
#include "model/NodeResultText.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// The texts are built for every node after each roll back, on the program's one thread: a number or a payoff
// is written into a string kept from node to node rather than into a new one.
zString& NumberBuffer()
{
    static zString buffer(32);
    return buffer;
}

zString& PayoffBuffer()
{
    static zString buffer(32);
    return buffer;
}

bool IsPlainNumber(const char* text)
{
    char* end = nullptr;
    std::strtod(text, &end);
    return end != text && *end == '\0';
}

void AppendPayoff(zString& text, const TreeNode* node, int payoff)
{
    text += node->Payoff(payoff).Text();
}

// Probabilities in the format's places, without its scaling, separators or units.
void AppendProbability(zString& text, const TreeDocument& document, double value)
{
    zString& number = NumberBuffer();
    FormatNumber(document.NumberFormat(), value, number, false, false, DigitsOfFormat);
    text += number;
}

void AppendValueText(zString& text, const TreeNode* node)
{
    const TreeDocument& document = *node->document;
    if (document.IsCostEffectiveness() && std::fabs(node->triple.effectiveness) < 1e-10) {
        text += "Undefined (Eff=0)";
        return;
    }
    zString& value = NumberBuffer();
    BuildNodeValueText(node, value, 0);
    text += value;
}

// "; P = " and the path probability, when it is positive and was computed without error.
void AppendPathProbability(zString& text, TreeNode* node)
{
    if (node->document->CalcPrefs.RollBackCalculatesKey == RollBackMaximin)
        return;
    RunFault error;
    const double probability = PathProbability(node, &error, nullptr, false);
    if (error || probability <= 0.0)
        return;
    text += "; P = ";
    AppendProbability(text, *node->document, probability);
}

void AppendDecisionText(zString& text, TreeNode* node)
{
    const int optimal = node->optimal != nullptr ? node->optimal->Count() : 0;
    if (optimal == 0) {
        text += "(No Optimal)";
    } else if (optimal > 1) {
        text += "(Indifferent)";
    } else {
        zString name;
        node->optimal->At(0)->GetShortText(name, 30);
        text += name;
    }
    if (optimal > 0) {
        text += " : ";
        AppendValueText(text, node);
    }
}

// The payoff text, " = " when it is a formula, then the value.
void AppendTerminalText(zString& text, TreeNode* node)
{
    zString& payoff = PayoffBuffer();
    BuildPayoffText(node, payoff);
    if (!IsPlainNumber(payoff.Text())) {
        text += payoff;
        text += " = ";
    }
    AppendValueText(text, node);
}

} // namespace

void BuildPayoffText(TreeNode* node, zString& text)
{
    const TreeCalcPrefs& prefs = node->document->CalcPrefs;
    text = "";
    const int cost = prefs.CalcMethod == BenefitCostMethod ? prefs.BCCostPayoff : prefs.CECostPayoff;
    switch (prefs.CalcMethod) {
    case CostEffectivenessMethod:
        AppendPayoff(text, node, cost);
        text += " / ";
        AppendPayoff(text, node, prefs.CEEffPayoff);
        break;
    case BenefitCostMethod:
        AppendPayoff(text, node, prefs.BCBenefitPayoff);
        text += " - ";
        AppendPayoff(text, node, cost);
        break;
    case MultiAttributeMethod:
        for (int i = 0; i < 4; ++i) {
            zString weight;
            if (node->Payoff(i).IsEmpty() || !node->document->GetMultiAttrWeight(i, weight))
                continue;
            if (text.Length() > 0)
                text += " + ";
            text += weight;
            text += " * ";
            AppendPayoff(text, node, i);
        }
        break;
    default:
        AppendPayoff(text, node, prefs.CurrentPayoff);
        break;
    }
}

bool BuildPlainRollBackText(TreeNode* node, zString& text, bool afterRollBack)
{
    const TreeDocument& document = *node->document;
    const TreeDisplayPrefs& display = document.DisplayPrefs;
    text = "";
    if (node->cloneStatus == CloneCopyNode && display.HideCloneCopies != 0) {
        if (node->collapsed != 0)
            text += " [+] ";
        text += "Clone ";
        text += std::to_string(node->cloneId).c_str();
        text += ": ";
        if (const NodeRef* master = document.CloneMasters.FindId(node->cloneId))
            text += master->name;
        text += "   ";
        return true;
    }
    if (node->IsTerminal() && node->IsInMarkovSubtree()) {
        if (node->parent != nullptr && node->parent->kind != MarkovNode && node->markovInfo != nullptr) {
            std::string name = node->markovInfo->jumpName.Text();
            for (char& c : name)
                c = c == '\r' || c == '\n' ? ' ' : c;
            text = name.c_str();
        }
        return true;
    }
    if (node->IsTerminal()) {
        if (display.ShowTermNodeNumbers == 0 && display.AlwaysShowPayoffs == 0)
            return false;
        if (display.ShowTermNodeNumbers != 0) {
            std::string number;
            for (const char* c = display.TermNumString.Text(); *c != '\0'; ++c)
                number += *c == '^' ? std::to_string(node->terminalNumber) : std::string(1, *c);
            text += number.c_str();
            text += " ";
        }
        if (display.AlwaysShowPayoffs != 0 && !afterRollBack) {
            zString payoff;
            BuildPayoffText(node, payoff);
            text += payoff.Length() > 0 ? payoff.Text() : "(No Payoff)";
        }
        return true;
    }
    if (node->collapsed != 0) {
        text = " [+] ";
        return true;
    }
    const bool maximin = document.CalcPrefs.RollBackCalculatesKey == RollBackMaximin;
    if (afterRollBack && maximin && (node->kind == ChanceNode || node->IsDecision())) {
        const bool chance = node->kind == ChanceNode;
        text = chance == document.IsMaximizing() ? "MIN: " : "MAX: ";
        return true;
    }
    return false;
}

void BuildNodeResultText(TreeNode* node, zString& text)
{
    BuildPlainRollBackText(node, text, true);
    if (node->kind == LabelNode)
        return;
    const int calculates = node->document->CalcPrefs.RollBackCalculatesKey;
    const bool inMarkov = node->IsInMarkovSubtree();
    if (calculates == RollBackPayoffsOnly) {
        if (node->IsTerminal())
            AppendTerminalText(text, node);
        return;
    }
    if (calculates == RollBackPathProbabilities && !inMarkov) {
        text += "P = ";
        RunFault error;
        AppendProbability(text, *node->document, PathProbability(node, &error, nullptr, false));
        return;
    }
    if (node->parent != nullptr && node->parent->kind == MarkovNode) {
        if (!node->document->IsCostEffectiveness())
            AppendValueText(text, node);
        if (node->markovInfo != nullptr) {
            if (text.Length() > 0)
                text += "; ";
            text += "FP = ";
            AppendProbability(text, *node->document, node->markovInfo->probability);
        }
        return;
    }
    if (node->IsTerminal() && inMarkov)
        return;
    const bool childrenHidden = !node->ChildrenShown();
    switch (node->kind) {
    case ChanceNode:
    case LogicNode:
        AppendValueText(text, node);
        if (childrenHidden)
            AppendPathProbability(text, node);
        break;
    case DecisionNode:
    case ReversedDecisionNode:
        AppendDecisionText(text, node);
        if (childrenHidden)
            AppendPathProbability(text, node);
        break;
    case TerminalNode:
        AppendTerminalText(text, node);
        AppendPathProbability(text, node);
        break;
    case MarkovNode:
        AppendValueText(text, node);
        AppendPathProbability(text, node);
        break;
    default:
        break;
    }
}
