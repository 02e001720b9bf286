#include "treewin/ResultBoxes.h"

#include "analysis/TreeQueries.h"
#include "formula/FormulaRef.h"
#include "foundation/Host.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "model/DisplayColumnList.h"
#include "model/EvalContext.h"
#include "model/ResultCellList.h"
#include "model/TreeNode.h"
#include "framework/draw/Display.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/LogicalUnits.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePainter.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// A C/E ratio of this value stands for an infinite one.
constexpr double kInfiniteRatio = 1e20;
constexpr int kNameLength = 30;
// Space before the first column and between columns, in inches.
constexpr float kColumnGap = 0.15f;

bool InMarkovSubtree(const TreeNode* node)
{
    if (node->kind == MarkovNode)
        return false;
    for (const TreeNode* above = node->parent; above != nullptr; above = above->parent)
        if (above->kind == MarkovNode)
            return true;
    return false;
}

void FormatCell(const TreeDocument& document, const DisplayColumn& column, double value, zString& text)
{
    const TreeCalcPrefs& calc = document.CalcPrefs;
    const NumericFormat& current = calc.CurrentNumericFormat();
    if (column.format) {
        FormatNumber(*column.format, value, text, true, true, DigitsOfFormat);
        return;
    }
    const auto payoffFormat = [&calc](int payoff) -> const NumericFormat& {
        return calc.PayoffFormats[payoff >= 0 && payoff < 4 ? payoff : 0];
    };
    const int costPayoff = calc.CalcMethod == BenefitCostMethod ? calc.BCCostPayoff : calc.CECostPayoff;
    switch (column.formatSource) {
    case DisplayColumn::kStandardFormat:
        FormatNumber(current, value, text, true, true, DigitsOfFormat);
        return;
    case DisplayColumn::kProbabilityFormat:
        // Plain, with the format's places for probabilities.
        FormatNumber(current, value, text, false, false, DigitsOfFormat);
        return;
    case DisplayColumn::kCostFormat:
        FormatNumber(payoffFormat(costPayoff), value, text, true, true, DigitsOfFormat);
        return;
    case DisplayColumn::kEffectivenessFormat:
        FormatNumber(calc.EffectivenessFormat(), value, text, true, true, DigitsOfFormat);
        return;
    default:
        FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
        return;
    }
}

} // namespace

int ResultColumns::Count(const TreeWindow& window)
{
    const TreeDocument& document = window.Document();
    return document.DisplayPrefs.ShowColumns != 0 ? document.RollBackColumns.Count() : 0;
}

bool ResultBoxes::Shown(const TreeWindow& window)
{
    return window.Document().IsRolledBack() && ResultColumns::Count(window) > 0;
}

void ResultBoxes::CollectNodes(TreeNode* root, std::vector<TreeNode*>& out)
{
    std::vector<TreeNode*> pending{root};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (node == nullptr)
            continue;
        if (node->childCount == 0 || !node->ChildrenShown()) {
            out.push_back(node);
            continue;
        }
        for (int i = node->childCount - 1; i >= 0; --i)
            pending.push_back(node->GetChild(i));
    }
}

bool ResultBoxes::MarginalValue(const TreeDocument& document, const TreeNode* node, int kind, double& value)
{
    const TreeNode* parent = node->parent;
    if (parent == nullptr || !parent->IsDecision())
        return false;
    const bool costEffectiveness = document.IsCostEffectiveness();
    const bool maximise = (document.OptimalPathDirection() == 1) != (parent->kind == ReversedDecisionNode);
    // Under cost-effectiveness by ascending cost (equal costs: the later child first); otherwise best first
    // (equal values: the earlier child first).
    const auto before = [&](const TreeNode* placed, const TreeNode* added) {
        if (costEffectiveness)
            return placed->triple.cost < added->triple.cost;
        return maximise ? placed->ExpectedValue() >= added->ExpectedValue()
                        : placed->ExpectedValue() <= added->ExpectedValue();
    };
    std::vector<const TreeNode*> order;
    for (int i = 0; i < parent->childCount; ++i) {
        const TreeNode* child = parent->GetChild(i);
        size_t at = 0;
        while (at < order.size() && before(order[at], child))
            ++at;
        order.insert(order.begin() + static_cast<long>(at), child);
    }
    if (order.empty() || order.front() == node)
        return false;
    // A dominated strategy (less effective than the one before it) is passed over as a predecessor.
    const TreeNode* predecessor = order.front();
    for (size_t i = 1; i < order.size() && order[i] != node; ++i)
        if (!costEffectiveness || order[i]->triple.effectiveness >= predecessor->triple.effectiveness)
            predecessor = order[i];
    if (!costEffectiveness) {
        value = std::fabs(node->ExpectedValue() - predecessor->ExpectedValue());
        return true;
    }
    const double costs = node->triple.cost - predecessor->triple.cost;
    const double effects = node->triple.effectiveness - predecessor->triple.effectiveness;
    if (kind == DisplayColumn::kMarginalCost) {
        value = costs;
        return true;
    }
    if (kind == DisplayColumn::kMarginalEffectiveness) {
        value = effects;
        return true;
    }
    if (effects == 0.0 || std::isnan(effects))
        return false;
    value = costs / effects;
    return true;
}

void ResultBoxes::ComputeCell(TreeDocument& document, TreeNode* node, const DisplayColumn& column, ResultCell& cell)
{
    cell.text.Clear();
    if (InMarkovSubtree(node))
        return;
    double value = 0.0;
    bool blank = false;
    switch (column.kind) {
    case DisplayColumn::kExpectedValue:
        value = node->ExpectedValue();
        blank = document.IsCostEffectiveness() && value == kInfiniteRatio;
        break;
    case DisplayColumn::kPathProbability: {
        RunFault fault;
        value = PathProbability(node, &fault, nullptr, false);
        blank = value <= 0.0;
        break;
    }
    case DisplayColumn::kScenarioNumber:
        blank = !node->IsTerminal() || document.DisplayPrefs.ShowTermNodeNumbers == 0;
        value = blank ? 0.0 : node->terminalNumber;
        break;
    case DisplayColumn::kCost:
        value = node->triple.cost;
        break;
    case DisplayColumn::kEffectiveness:
        value = node->triple.effectiveness;
        break;
    case DisplayColumn::kMarginalValue:
    case DisplayColumn::kMarginalCost:
    case DisplayColumn::kMarginalEffectiveness:
        blank = !MarginalValue(document, node, column.kind, value);
        break;
    case DisplayColumn::kCustomCalculation: {
        // A formula that fails leaves its cell empty, without a message.
        HostSilence quiet(Silence::FormulaMessages);
        FormulaRef formula(new EvalContext(&document, node), 1, "custom calculation string");
        value = formula.EvaluateText(column.formula.Text());
        blank = formula.HasError();
        break;
    }
    default:
        blank = true;
        break;
    }
    cell.value = value;
    if (!blank)
        FormatCell(document, column, value, cell.text);
}

void ResultBoxes::ComputeNodeCells(TreeDocument& document, TreeNode* node)
{
    const DisplayColumnList& columns = document.RollBackColumns;
    node->ResizeResultCells(columns.Count());
    for (int i = 0; i < columns.Count(); ++i)
        ComputeCell(document, node, *columns.At(i), *node->resultCells->At(i));
}

void ResultBoxes::ComputeCells(TreeWindow& window)
{
    if (!Shown(window))
        return;
    std::vector<TreeNode*> nodes;
    CollectNodes(window.Document().Root, nodes);
    for (TreeNode* node : nodes)
        ComputeNodeCells(window.Document(), node);
}

float ResultBoxes::Layout(TreeWindow& window)
{
    if (!Shown(window))
        return 0.0f;
    TreeDocument& document = window.Document();
    DisplayColumnList& columns = document.RollBackColumns;
    for (int i = 0; i < columns.Count(); ++i) {
        DisplayColumn& column = *columns.At(i);
        column.headerWidth = MeasureTextWidth(window, nullptr, ValuesFont, column.header.Text());
        column.width = column.headerWidth;
    }
    std::vector<TreeNode*> nodes;
    CollectNodes(document.Root, nodes);
    float right = 0.0f;
    for (TreeNode* node : nodes) {
        ComputeNodeCells(document, node);
        for (int i = 0; i < columns.Count(); ++i) {
            DisplayColumn& column = *columns.At(i);
            ResultCell& cell = *node->resultCells->At(i);
            cell.textWidth = MeasureTextWidth(window, column.font.get(), ValuesFont, cell.text.Text());
            column.width = std::max(column.width, cell.textWidth);
        }
        const NodeGeometry& g = node->Geometry();
        right = std::max({right, g.X + g.BoxWidth, g.SymbolX + kColumnGap});
    }
    float x = right + kColumnGap;
    for (int i = 0; i < columns.Count(); ++i) {
        columns.At(i)->x = x;
        x += columns.At(i)->width + kColumnGap;
    }
    return x;
}

void ResultBoxes::Paint(TreeWindow& window, PaintContext& context)
{
    if (!Shown(window))
        return;
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    const DisplayColumnList& columns = window.Document().RollBackColumns;
    const float lineHeight = window.FontLineHeight(ValuesFont);
    const int mode = display.SetBackgroundMode(TRANSPARENT);
    const HGDIOBJ previous = SelectObject(dc, context.fonts[ValuesFont]->Handle());
    // Headers in the expected-value font made bold; cells in their column's own font, else that font.
    FontRecord boldRecord = window.Document().DisplayPrefs.EVFont;
    boldRecord.bold = 1;
    const std::unique_ptr<zFont> bold = CreateRecordFont(boldRecord, &reference);
    std::vector<std::unique_ptr<zFont>> ownFonts(static_cast<size_t>(columns.Count()));
    for (int i = 0; i < columns.Count(); ++i)
        if (columns.At(i)->font)
            ownFonts[static_cast<size_t>(i)] = CreateRecordFont(*columns.At(i)->font, &reference);
    // Repeated texts are copied from their first drawing, as the tree's labels are.
    const auto text = [&](const zFont* font, float x, float y, const zString& shown) {
        if (!shown.IsEmpty())
            context.stamps.Draw(display, (font != nullptr ? font : context.fonts[ValuesFont].get())->Handle(),
                                LogicalXToPixel(x, reference), LogicalYToPixel(y, reference), shown.Text());
    };
    // The headers stand above the tree, underlined.
    const float top = window.Document().Root->Geometry().SubtreeTop;
    display.PushPen(context.Pen(Colour{0, 0, 0, 0}));
    for (int i = 0; i < columns.Count(); ++i) {
        const DisplayColumn& column = *columns.At(i);
        const float x = column.x + (column.width - column.headerWidth) / 2;
        text(bold.get(), x, top - lineHeight - 0.05f, column.header);
        MoveToEx(dc, LogicalXToPixel(x, reference), LogicalYToPixel(top - 0.03f, reference), nullptr);
        LineTo(dc, LogicalXToPixel(x + column.headerWidth, reference), LogicalYToPixel(top - 0.03f, reference));
    }
    display.PopPen();
    std::vector<TreeNode*> nodes;
    CollectNodes(window.Document().Root, nodes);
    for (const TreeNode* node : nodes) {
        if (node->resultCells == nullptr || node->resultCells->Count() < columns.Count())
            continue;
        const float y = node->Geometry().BranchY() - lineHeight / 2;
        if (context.clip != nullptr && (y > context.clip->bottom || y + lineHeight < context.clip->top))
            continue;
        for (int i = 0; i < columns.Count(); ++i) {
            const ResultCell& cell = *node->resultCells->At(i);
            text(ownFonts[static_cast<size_t>(i)].get(), columns.At(i)->x + (columns.At(i)->width - cell.textWidth) / 2,
                 y, cell.text);
        }
    }
    SelectObject(dc, previous);
    display.SetBackgroundMode(mode);
}

void ResultBoxes::WriteTableText(TreeWindow& window, zString& out)
{
    out.Clear();
    if (!Shown(window))
        return;
    ComputeCells(window);
    const DisplayColumnList& columns = window.Document().RollBackColumns;
    out = "Node";
    for (int i = 0; i < columns.Count(); ++i) {
        out += "\t";
        out += columns.At(i)->header;
    }
    out += "\r\n";
    std::vector<TreeNode*> nodes;
    CollectNodes(window.Document().Root, nodes);
    for (TreeNode* node : nodes) {
        const int count = node->resultCells == nullptr ? 0 : std::min<int>(columns.Count(), node->resultCells->Count());
        if (count == 0)
            continue;
        zString name;
        node->GetShortText(name, kNameLength);
        out += name;
        for (int i = 0; i < count; ++i) {
            out += "\t";
            out += node->resultCells->At(i)->text;
        }
        out += "\r\n";
    }
}
