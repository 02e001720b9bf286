#include "treewin/DefinitionsBox.h"

#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/zPen.h"
#include "model/DocVariable.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePainter.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <memory>

namespace {

// The payoffs whose Markov lines a node shows, with their prefixes, by the calculation method.
struct MarkovPayoffs {
    int count;
    int payoff[4];
    const char* prefix[4];
};

MarkovPayoffs PayoffsOf(const TreeDocument& document, bool rewards)
{
    const TreeCalcPrefs& prefs = document.CalcPrefs;
    const int cost = document.CostPayoffIndex();
    switch (prefs.CalcMethod) {
    case CostEffectivenessMethod:
        return {2, {cost, prefs.CEEffPayoff}, {"Cost: ", "Eff: "}};
    case BenefitCostMethod:
        return {2, {prefs.BCBenefitPayoff, cost}, {"Ben: ", "Cost: "}};
    case MultiAttributeMethod:
        if (rewards)
            return {4, {0, 1, 2, 3}, {"1: ", "2: ", "3: ", "4: "}};
        return {4, {0, 1, 2, 3}, {nullptr, nullptr, nullptr, nullptr}};
    default:
        return {1, {prefs.CurrentPayoff}, {rewards ? "Rwd: " : nullptr}};
    }
}

// "<start><prefix>" or, without a prefix, "<start><payoff + 1>: ".
std::string Lead(const char* start, const char* prefix, int payoff)
{
    return std::string(start) + (prefix != nullptr ? prefix : std::to_string(payoff + 1) + ": ");
}

void AddTerminationLine(std::vector<std::string>& lines, TreeNode* node, int payoff, const char* prefix)
{
    zString condition;
    if (payoff < 0)
        node->GetMarkovSharedTermination(condition);
    else
        node->GetMarkovTerminationText(condition, payoff);
    lines.push_back(Lead("Term ", prefix, payoff) + condition.Text());
}

void AddRewardLines(std::vector<std::string>& lines, TreeNode* node, int payoff, const char* prefix)
{
    static const char* const starts[3] = {"Init ", "Incr ", "Final "};
    for (int kind = 0; kind < 3; ++kind) {
        zString reward;
        node->GetMarkovRewardText(kind, reward, payoff);
        lines.push_back(std::string(starts[kind]) + prefix + reward.Text());
    }
}

void AddTransitionLine(std::vector<std::string>& lines, TreeNode* node, int payoff, const char* prefix)
{
    zString reward;
    node->GetMarkovTransitionReward(reward, payoff);
    lines.push_back(Lead("Trans ", prefix, payoff) + reward.Text());
}

const char* const kMarkovHeader = " --- Markov Information";

int MarkovNodeLines(TreeNode* node, std::vector<std::string>& lines)
{
    const TreeDocument& document = *node->document;
    lines.push_back(kMarkovHeader);
    switch (document.CalcPrefs.CalcMethod) {
    case CostEffectivenessMethod:
        AddTerminationLine(lines, node, -1, "C/E: ");
        break;
    case BenefitCostMethod:
        AddTerminationLine(lines, node, document.CalcPrefs.BCBenefitPayoff, "Ben: ");
        AddTerminationLine(lines, node, document.CostPayoffIndex(), "Cost: ");
        break;
    case MultiAttributeMethod:
        for (int payoff = 0; payoff < 4; ++payoff)
            AddTerminationLine(lines, node, payoff, nullptr);
        break;
    default:
        AddTerminationLine(lines, node, document.CalcPrefs.CurrentPayoff, nullptr);
        break;
    }
    return static_cast<int>(lines.size());
}

int MarkovStateLines(TreeNode* node, std::vector<std::string>& lines)
{
    lines.push_back(kMarkovHeader);
    const int tunnels = node->markovInfo != nullptr ? node->markovInfo->tunnelCount : 0;
    if (tunnels > 0)
        lines.push_back("Tunnels: " + std::to_string(tunnels + 1));
    const MarkovPayoffs payoffs = PayoffsOf(*node->document, true);
    for (int i = 0; i < payoffs.count; ++i)
        AddRewardLines(lines, node, payoffs.payoff[i], payoffs.prefix[i]);
    return static_cast<int>(lines.size());
}

int TransitionLines(TreeNode* node, std::vector<std::string>& lines)
{
    const MarkovPayoffs payoffs = PayoffsOf(*node->document, false);
    const bool prefixed = payoffs.count == 2;
    for (int i = 0; i < payoffs.count; ++i) {
        zString reward;
        node->GetMarkovTransitionReward(reward, payoffs.payoff[i]);
        if (reward.IsEmpty())
            continue;
        if (lines.empty())
            lines.push_back(kMarkovHeader);
        AddTransitionLine(lines, node, payoffs.payoff[i], prefixed ? payoffs.prefix[i] : nullptr);
    }
    return static_cast<int>(lines.size());
}

void StateBindingLines(TreeNode* node, std::vector<std::string>& lines)
{
    const MarkovBindingList* bindings = node->markovBindings.get();
    if (bindings == nullptr || bindings->Count() == 0)
        return;
    lines.push_back(" --- State Bindings");
    for (int i = 0; i < bindings->Count(); ++i) {
        std::string target = bindings->At(i)->target.Text();
        std::string joined;
        for (size_t at = 0; at < target.size(); ++at) {
            const char c = target[at];
            if (c == '\r' || c == '\n') {
                joined += ' ';
                if (at + 1 < target.size() && (target[at + 1] == '\r' || target[at + 1] == '\n') &&
                    target[at + 1] != c)
                    ++at;
            } else {
                joined += c;
            }
        }
        lines.push_back(std::string(bindings->At(i)->userName.Text()) + " >> " + joined);
    }
}

bool InMarkov(const TreeNode* node)
{
    return node->kind == MarkovNode || node->IsInMarkovSubtree();
}

bool HasBox(TreeWindow& window, TreeNode* node, bool draw)
{
    const TreeDisplayPrefs& prefs = window.Document().DisplayPrefs;
    if (prefs.MarkNodesWithVars != 2 || (draw && node->Geometry().DefinitionsHeight <= 0.0f))
        return false;
    return node->BindingCount() > 0 || node->parent == nullptr || (prefs.ShowMarkovInfo != 0 && InMarkov(node));
}

} // namespace

int BuildDefinitionLines(TreeNode* node, std::vector<std::string>* lines)
{
    std::vector<std::string> built;
    for (int i = 0; i < node->BindingCount(); ++i) {
        const VariableDefinition* binding = node->GetBinding(i);
        zString name = binding->upperName;
        NormalizeVariableName(name);
        const DocVariable* variable = node->document->FindVariable(name.Text(), true);
        if (variable != nullptr && variable->flag3 == 0)
            continue;
        zString line;
        binding->FormatAssignment(line, false);
        built.push_back(line.Text());
    }
    if (node->document->DisplayPrefs.ShowMarkovInfo != 0) {
        std::vector<std::string> markov;
        if (node->kind == MarkovNode)
            MarkovNodeLines(node, markov);
        else if (node->parent != nullptr && node->parent->kind == MarkovNode)
            MarkovStateLines(node, markov);
        else if (node->IsInMarkovSubtree())
            TransitionLines(node, markov);
        StateBindingLines(node, markov);
        built.insert(built.end(), markov.begin(), markov.end());
    }
    const int count = static_cast<int>(built.size());
    if (lines != nullptr)
        lines->insert(lines->end(), built.begin(), built.end());
    return count;
}

int PaintDefinitions(TreeWindow& window, TreeNode* node, Display& display, Display& reference, bool draw,
                     LogicalSize* size)
{
    const TreeDisplayPrefs& prefs = window.Document().DisplayPrefs;
    if (prefs.Schematic != 0)
        draw = false;
    if (!HasBox(window, node, draw))
        return 0;
    const bool wide = prefs.WideVars != 0;
    std::vector<std::string> lines;
    const int count = BuildDefinitionLines(node, &lines);
    const float lineHeight = window.FontLineHeight(VariablesTextFont);
    if (!draw && (size == nullptr || !wide)) {
        if (size != nullptr)
            size->height = count * lineHeight;
        return count;
    }
    if (count == 0) {
        if (size != nullptr)
            *size = LogicalSize{};
        return 0;
    }
    const LogicalRect box = DefinitionsRect(window, node, false);
    DisplayLock lock(display);
    RECT pixels = LogicalRectToPixels(box, display);
    ++pixels.right;
    ++pixels.bottom;
    if (draw && display.DeviceContext() != nullptr) {
        HDC dc = display.DeviceContext();
        display.PushPen(MakeInchPen(display, Colour{0, 0, 0, 0}));
        int top = pixels.top;
        if (node->columnShift == 0) {
            top += 1 + LogicalHeightToPixels(kSymbolSize / 2, display);
            if (ShowsCloneMasterMark(window, node, display))
                top += LogicalHeightToPixels(lineHeight, display);
        }
        MoveToEx(dc, pixels.left, pixels.top, nullptr);
        LineTo(dc, pixels.left, pixels.bottom);
        LineTo(dc, pixels.right, pixels.bottom);
        LineTo(dc, pixels.right, top);
        display.PopPen();
    }
    display.PushFont(CreateRecordFont(prefs.VariablesFont, &reference).release());
    const float step = (box.bottom - box.top - 0.08f) / count;
    float widest = 0.0f;
    for (int i = 0; i < count; ++i) {
        zString line = lines[i].c_str();
        if (draw) {
            if (!wide)
                TruncateTextToWidth(display, line, box.right - box.left - 0.07f, nullptr);
            DrawTextAt(display, LogicalXToPixel(box.left + 0.035f, display),
                       LogicalYToPixel(box.top + 0.04f + i * step, display), line.Text());
        }
        if (size != nullptr)
            widest = std::max(widest, TextWidth(display, line.Text(), nullptr));
    }
    display.PopFont();
    if (size != nullptr)
        *size = LogicalSize{widest, count * lineHeight};
    return count;
}
