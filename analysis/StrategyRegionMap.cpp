#include "analysis/StrategyRegionMap.h"

#include "analysis/RollBack.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/TextReport.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <cmath>
#include <cstdio>
#include <climits>
#include <exception>

StrategyRegionMap::StrategyRegionMap(TreeNode* node, int xCount, int yCount, int strategies, double xLow,
                                     double xHigh, double yLow, double yHigh)
    : xLow(xLow),
      yLow(yLow),
      xHigh(xHigh),
      yHigh(yHigh),
      yCount(yCount),
      xCount(xCount),
      strategies(strategies),
      document(node ? node->document : nullptr),
      node(node)
{
    if (document != nullptr) {
        maximizing = document->IsMaximizing();
        costEffectiveness = document->IsCostEffectiveness();
    }
    if (!Allocate())
        return;
    for (int s = 0; node != nullptr && s < strategies && s < node->childCount; ++s)
        node->GetChild(s)->GetShortText(labels[s], 30);
}

StrategyRegionMap::StrategyRegionMap(Archive& archive)
{
    Serialize(archive);
}

StrategyRegionMap::~StrategyRegionMap() = default;

// A failed allocation leaves the map empty, so a caller reports the lack of memory instead of writing
// through a missing block.
bool StrategyRegionMap::Allocate()
{
    cells.clear();
    labels.clear();
    if (xCount < 1 || yCount < 1 || strategies < 1 ||
        static_cast<int64_t>(xCount) * yCount * strategies > INT32_MAX)
        return false;
    try {
        cells.assign(static_cast<size_t>(CellCount()), ValueTriple());
        labels.resize(static_cast<size_t>(strategies));
    } catch (const std::exception&) {
        cells.clear();
        labels.clear();
        return false;
    }
    return true;
}

void StrategyRegionMap::EvaluateCell(int s, int y, int x, TreeNode* strategy, RunFault* error)
{
    if (s < 0 || s >= strategies || y < 0 || y >= yCount || x < 0 || x >= xCount || !IsAllocated()) {
        error->Set(OutcomeCode::NotEnoughMemory);
        return;
    }
    double value = RollBackTree(strategy, error, RollBackPlain);
    ValueTriple& cell = Cell(s, y, x);
    cell.cost = strategy->triple.cost;
    cell.effectiveness = strategy->triple.effectiveness;
    cell.value = value;
}

bool StrategyRegionMap::IsBetter(double a, double b) const
{
    if (document != nullptr)
        return document->IsBetter(node, a, b);
    return maximizing ? a >= b : a <= b;
}

double StrategyRegionMap::BestValueAt(double y, double x, int component) const
{
    int x0 = xCount > 1 ? static_cast<int>(std::floor(x)) : 0;
    int y0 = yCount > 1 ? static_cast<int>(std::floor(y)) : 0;
    x0 = x0 < 0 ? 0 : (x0 > xCount - 2 ? (xCount > 1 ? xCount - 2 : 0) : x0);
    y0 = y0 < 0 ? 0 : (y0 > yCount - 2 ? (yCount > 1 ? yCount - 2 : 0) : y0);
    int x1 = xCount > 1 ? x0 + 1 : x0;
    int y1 = yCount > 1 ? y0 + 1 : y0;
    double fx = x - x0;
    double fy = y - y0;
    double best = 0.0;
    for (int s = 0; s < strategies; ++s) {
        double low = Cell(s, y0, x0).Component(component) +
                     (Cell(s, y0, x1).Component(component) - Cell(s, y0, x0).Component(component)) * fx;
        double high = Cell(s, y1, x0).Component(component) +
                      (Cell(s, y1, x1).Component(component) - Cell(s, y1, x0).Component(component)) * fx;
        double value = low + (high - low) * fy;
        if (s == 0 || (maximizing ? value > best : value < best))
            best = value;
    }
    return best;
}

void StrategyRegionMap::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(xLow).WriteDouble(yLow).WriteDouble(xHigh).WriteDouble(yHigh).WriteDouble(0.0);
        archive.WriteShort(static_cast<int16_t>(yCount)).WriteShort(static_cast<int16_t>(xCount));
        archive.WriteShort(static_cast<int16_t>(strategies)).WriteShort(maximizing ? 1 : 0);
        StoreValueTriples(archive, cells.data(), CellCount());
        for (const zString& label : labels)
            StoreString(archive, label);
        archive.WriteShort(costEffectiveness ? 1 : 0);
        return;
    }
    double reserved = 0.0;
    int16_t storedY = 0;
    int16_t storedX = 0;
    int16_t storedStrategies = 0;
    int16_t storedMaximizing = 0;
    archive.ReadDouble(xLow).ReadDouble(yLow).ReadDouble(xHigh).ReadDouble(yHigh).ReadDouble(reserved);
    archive.ReadShort(storedY).ReadShort(storedX).ReadShort(storedStrategies).ReadShort(storedMaximizing);
    yCount = storedY;
    xCount = storedX;
    strategies = storedStrategies;
    maximizing = storedMaximizing != 0;
    cells.clear();
    labels.clear();
    if (archive.Failed() || yCount < 1 || xCount < 1 || strategies < 1 ||
        static_cast<int64_t>(yCount) * xCount * strategies > kMaxCells) {
        archive.SetFormatError(1);
        yCount = xCount = strategies = 0;
        return;
    }
    ValueTriple* read = LoadValueTriples(archive, version, CellCount());
    if (read == nullptr || !Allocate()) {
        delete[] read;
        yCount = xCount = strategies = 0;
        return;
    }
    cells.assign(read, read + CellCount());
    delete[] read;
    for (zString& label : labels)
        LoadString(archive, label);
    int16_t storedCostEffectiveness = 0;
    if (version.IsAtLeast(KnownVersion::k3_5))
        archive.ReadShort(storedCostEffectiveness);
    costEffectiveness = storedCostEffectiveness != 0;
}

void StrategyRegionMap::ExportText(TextReport& table, const zString& xName, const zString& yName,
                                   const NumericFormat& xFormat, const NumericFormat& yFormat) const
{
    auto axisValue = [](const NumericFormat& format, double value) {
        zString text;
        FormatNumber(format, value, text, true, true, static_cast<int16_t>(format.DigitsFor(true) + 1));
        return text;
    };
    if (table.ColumnHeaders().Count() == 0) {
        table.AddColumnWidth(116);
        zString header("   ");
        header += xName;
        header += " =>";
        table.AddColumnHeader(header.Text());
        for (int x = 0; x < xCount; ++x) {
            table.AddColumnWidth(80);
            table.AddColumnHeader(axisValue(xFormat, XAt(x)).Text());
        }
    }
    table.AddLine(yName);
    for (int y = yCount - 1; y >= 0; --y) {
        for (int s = 0; s < strategies; ++s) {
            zString row = s == 0 ? axisValue(yFormat, YAt(y)) : zString();
            for (int x = 0; x < xCount; ++x) {
                char number[32];
                std::snprintf(number, sizeof number, "%.6g", Value(s, y, x));
                row += "\t";
                row += number;
            }
            table.AddLine(row);
        }
        table.AddLine(zString());
    }
}
