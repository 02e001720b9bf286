#include "treewin/ProbabilityWheel.h"

#include "analysis/RollBack.h"
#include "widgets/MimicRunTime.h"
#include "widgets/ProgramDialog.h"
#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "model/DocVariable.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "treewin/TreeAction.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <cmath>
#include <string>

const char* const kStoreNumerically = " (Numerically)";

namespace {

// No slice becomes narrower than this share (0.001 radian).
constexpr double kSmallestShare = 0.001 / 6.283185307;

} // namespace

int ProbabilityWheelDialog::RepeatedTarget() const
{
    for (int later = 1; targets != nullptr && later < targets->Count(); ++later)
        for (int i = 0; i < later; ++i)
            if (*targets->At(i) != kStoreNumerically && *targets->At(i) == *targets->At(later))
                return later;
    return -1;
}

bool ProbabilityWheelDialog::SetShare(size_t k, double share)
{
    const size_t last = shares.size() - 1;
    if (k >= last || !(share >= kSmallestShare && share <= 1.0 - kSmallestShare))
        return false;
    if (!keepProportions) {
        const double rest = shares[last] + shares[k] - share;
        if (rest < kSmallestShare)
            return false;
        shares[k] = share;
        shares[last] = rest;
        return true;
    }
    const double scale = (1.0 - share) / (1.0 - shares[k]);
    for (size_t i = 0; i <= last; ++i)
        if (i != k && shares[i] * scale < kSmallestShare)
            return false;
    for (size_t i = 0; i <= last; ++i)
        shares[i] = i == k ? share : shares[i] * scale;
    return true;
}

void ProbabilityWheelDialog::MoveBorder(size_t k, double cumulative)
{
    double before = 0.0;
    for (size_t i = 0; i < k; ++i)
        before += shares[i];
    const double border = before + shares[k];
    if (!keepProportions) {
        const double after = border + shares[k + 1];
        cumulative = std::clamp(cumulative, before + kSmallestShare, after - kSmallestShare);
        shares[k] = cumulative - before;
        shares[k + 1] = after - cumulative;
        return;
    }
    // Each side scales as a whole, so its smallest slice sets how far the border may go.
    const double smallestBefore = *std::min_element(shares.begin(), shares.begin() + k + 1);
    const double smallestAfter = *std::min_element(shares.begin() + k + 1, shares.end());
    cumulative = std::clamp(cumulative, kSmallestShare * border / smallestBefore,
                            1.0 - (1.0 - border) * kSmallestShare / smallestAfter);
    for (size_t i = 0; i < shares.size(); ++i)
        shares[i] *= i <= k ? cumulative / border : (1.0 - cumulative) / (1.0 - border);
}

int ProbabilityWheelDialog::Run()
{
    opened = shares;
    if (!HasPresenter())
        return ShowOnScreen() == IDOK ? 1 : 0;
    while (Present() == IDOK) {
        const int repeated = RepeatedTarget();
        if (repeated < 0)
            return 1;
        ShowRepeatedTarget(*targets->At(repeated));
    }
    return 0;
}

void ShowRepeatedTarget(const zString& target)
{
    const std::string text = std::string("You may use \"") + target.Text() + "\" for storing only one probability.";
    ShowErrorBox(nullptr, text.c_str(), 0);
}

double RoundAsDisplayed(double value, zString* text, const NumericFormat* format, int places)
{
    zString scratch;
    zString& out = text != nullptr ? *text : scratch;
    FormatNumber(format != nullptr ? *format : DefaultNumericFormat, value, out, false, false,
                 static_cast<int16_t>(places < 1 ? 2 : places));
    double rounded = 0.0;
    int error = 0;
    ParseNumber(out.Text(), rounded, error);
    return rounded;
}

namespace {

// The variable whose name begins the probability text, as the document spells it; empty when none.
zString LeadingVariable(const TreeWindow& window, const char* text)
{
    while (*text == ' ')
        ++text;
    const char* end = text;
    if (IsNameStartChar(*end))
        while (IsNameChar(*end))
            ++end;
    const std::string name(text, end);
    const DocVariable* variable = name.empty() ? nullptr : window.Document().FindVariable(name.c_str(), false);
    return variable != nullptr ? variable->name : zString();
}

// The shares the branches start with: stated probabilities held within 0.001..0.999, the rest shared by
// the remainder branches (those with "#" or a failing formula), or equal shares when they add up to 1 or
// more.
std::vector<double> StartingShares(TreeNode* node)
{
    HostSilence notices(Silence::Notices);
    HostSilence messages(Silence::FormulaMessages);
    const int n = node->childCount;
    std::vector<double> shares(static_cast<size_t>(n), -1.0);
    double sum = 0.0;
    int remainders = 0;
    for (int i = 0; i < n; ++i) {
        TreeNode* child = node->GetChild(i);
        zString text;
        child->GetProbabilityText(text);
        RunFault error;
        int usesVariables = 0;
        if (text.Text()[0] != '#') {
            const double p = std::clamp(BranchProbabilityEx(child, &error, &usesVariables), 0.001, 0.999);
            if (!error) {
                shares[static_cast<size_t>(i)] = p;
                sum += p;
                continue;
            }
        }
        ++remainders;
    }
    if (remainders == 0 && sum <= 1.0011)
        return shares;
    for (double& share : shares) {
        if (sum >= 1.0)
            share = 1.0 / n;
        else if (share < 0.0)
            share = (1.0 - sum) / remainders;
    }
    return shares;
}

// Where each branch's value goes: its leading variable once, "#" for a remainder, else the number.
void StoreTargets(TreeWindow& window, TreeNode* node, NameList& targets)
{
    HostSilence notices(Silence::Notices);
    HostSilence messages(Silence::FormulaMessages);
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        zString text;
        child->GetProbabilityText(text);
        zString target(kStoreNumerically);
        RunFault error;
        int usesVariables = 0;
        if (text.Text()[0] == '#') {
            target = "#";
        } else {
            BranchProbabilityEx(child, &error, &usesVariables);
            const zString variable = LeadingVariable(window, text.Text());
            if (usesVariables != 0 && !variable.IsEmpty() && !targets.Contains(variable))
                target = variable;
        }
        targets.AddCopy(target);
    }
}

// As its end user sees it, a node's wheel sets only variables the node itself binds: some branch's
// probability must use a variable, and each that does must begin with a variable bound at the node.
bool WheelAllowedAtRunTime(const TreeWindow& window, TreeNode* node)
{
    HostSilence notices(Silence::Notices);
    HostSilence messages(Silence::FormulaMessages);
    bool usingVariables = false;
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        zString text;
        child->GetProbabilityText(text);
        RunFault error;
        int usesVariables = 0;
        if (text.Text()[0] == '#')
            continue;
        BranchProbabilityEx(child, &error, &usesVariables);
        if (usesVariables == 0)
            continue;
        const zString variable = LeadingVariable(window, text.Text());
        if (variable.IsEmpty() || node->FindBinding(variable.Text(), false) == nullptr)
            return false;
        usingVariables = true;
    }
    return usingVariables;
}

} // namespace

int OpenProbabilityWheel(TreeWindow* window, TreeNode* node)
{
    const int n = node->childCount;
    if (n < 2 || n > 7) {
        ShowErrorBox(nullptr, "The probability wheel may only be used for chance nodes with two to seven outcomes.",
                     0);
        return 0;
    }
    const bool runTime = IsMimicRunTime() || window->CustomInterfaceShown != 0;
    if (runTime && !WheelAllowedAtRunTime(*window, node)) {
        ShowErrorBox(nullptr,
                     "The probabilities for this node may not be set using the wheel. Check with the tree designer "
                     "for details.",
                     0);
        return 0;
    }
    NameList names(4, true);
    for (int i = 0; i < n; ++i) {
        zString name;
        node->GetChild(i)->GetShortText(name, 30);
        names.AddCopy(name);
    }
    NameList targets(4, true);
    StoreTargets(*window, node, targets);
    const bool storeColumn = !runTime && window->Document().Variables.Count() > 0;
    ProbabilityWheelDialog dialog(StartingShares(node), names, storeColumn ? &targets : nullptr,
                                  &window->Document().Variables);
    dialog.node = node;
    if (!dialog.Run())
        return 0;

    // The last branch takes what the others leave, so that the texts add up to exactly 1.
    const NumericFormat& format = window->Document().NumberFormat();
    NameList texts(4, true);
    std::vector<TreeProbabilityWheelAction::VariableRecord> records;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        zString number;
        if (i < n - 1)
            sum += RoundAsDisplayed(dialog.shares[static_cast<size_t>(i)], &number, &format, 2);
        else
            FormatNumber(format, 1.0 - sum, number, false, false, 2);
        const zString& target = *targets.At(i);
        if (target == "#") {
            texts.AddText("#");
        } else if (target == kStoreNumerically) {
            texts.AddCopy(number);
        } else {
            texts.AddCopy(target);
            TreeProbabilityWheelAction::VariableRecord record;
            record.name = target;
            record.newText = number;
            RecordPath(node->GetChild(i), record.path);
            records.push_back(record);
        }
    }
    window->AddUndoAction(new TreeProbabilityWheelAction(window, node, std::move(records), texts));
    return 1;
}

bool RunProbabilityWheelAt(double& value, const char* label)
{
    const double first = std::clamp(value, 0.05, 0.95);
    NameList names(4, true);
    names.AddText(label);
    ProbabilityWheelDialog dialog({first, 1.0 - first}, names, nullptr);
    if (!dialog.Run())
        return false;
    value = dialog.shares[0];
    return true;
}
