#pragma once
// The tornado diagram: for each of several variables (a bar each, with its correlated variables moving along)
// how far the node's result moves while that variable alone runs over its range. Every bar's range is swept
// in equal intervals, one evaluation per idle step; at the end each bar gets its low and high result (the
// optimal series' value at each step), the bars are ordered by the width of that span and handed to the
// tornado graph. Every overwritten definition gets its formula back however the run ends.

#include "analysis/AnalysisRun.h"
#include "analysis/SensitivityResultGrid.h"
#include "analysis/SensitivityRangeSet.h"
#include "foundation/PtrArray.h"

#include <functional>
#include <memory>
#include <vector>

class Archive;
struct StoredAnalysis;
struct TreeNode;

// The points along a bar where the optimal series changes; stored as {first, second: 16-bit, x, value}.
class TornadoPointList : public ThresholdList {
public:
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
};

// One bar: its ranges (range 0 the bar's main variable), its results over the sweep and its change points.
class TornadoSetup {
public:
    TornadoSetup() = default;
    TornadoSetup(const TornadoSetup&) = delete;
    TornadoSetup& operator=(const TornadoSetup&) = delete;

    // Stored form, see TornadoDiagram.cpp.
    void Serialize(Archive& archive);
    double Span() const { return highResult - lowResult; }

    SensitivityRangeSet ranges;
    zString barName;
    double lowResult = 0.0;
    double highResult = 0.0;
    // (intervals + 1) x series values, series by series, steps inside.
    std::vector<double> values;
    TornadoPointList points;
};

class TornadoVariableList : public PtrArray {
public:
    explicit TornadoVariableList(int16_t growBy = 4) : PtrArray(growBy, true) {}
    ~TornadoVariableList() override { Clear(); }
    TornadoSetup* At(int i) const { return static_cast<TornadoSetup*>(PtrArray::At(i)); }
    void DeleteItem(void* item) override { delete static_cast<TornadoSetup*>(item); }
    void StoreItem(Archive& archive, void* item) override { static_cast<TornadoSetup*>(item)->Serialize(archive); }
    void* LoadItem(Archive& archive) override;

    // Before the first bar whose span is at most the new one's, else at the end; the position.
    int InsertBySpread(TornadoSetup* bar);
    // Bar i's main range: "<low> to <high>"; empty without such a bar.
    zString RangeText(int i) const;
};

// The set-up the Tornado Diagram dialog gives: the bars (taken over by the analysis), the intervals, whether
// each step's probabilities are checked and whether the node alone is evaluated (else each branch of the
// decision node).
struct TornadoSetupRequest {
    TreeDocument* document = nullptr;
    TreeNode* node = nullptr;
    TornadoVariableList* bars = nullptr;
    int32_t intervals = 0;
    int32_t checking = 1;
    int32_t thisNodeOnly = 1;
};
// Runs the set-up dialog; false on Cancel. Without an installed dialog the analysis is cancelled.
using TornadoSetupDialog = std::function<bool(TornadoSetupRequest& request)>;
TornadoSetupDialog SetTornadoSetupDialog(TornadoSetupDialog dialog);

// What the tornado graph is given: it keeps the bars.
class GraphTemplate;

struct TornadoResults {
    std::shared_ptr<TornadoVariableList> bars;
    TreeNode* node = nullptr;
    bool thisNodeOnly = true;
    double low = 0.0;
    double high = 0.0;
    int32_t intervals = 0;
    zString label;
    // The template kept with the stored analysis that drew the graph, applied to the new window; null for none.
    const GraphTemplate* graphTemplate = nullptr;
};
using TornadoPresenter = std::function<void(const TornadoResults&)>;
TornadoPresenter SetTornadoPresenter(TornadoPresenter presenter);

class TornadoDiagram : public AnalysisRun {
public:
    // A new analysis: Run asks the set-up dialog first.
    TornadoDiagram(TreeDocument* document, TreeNode* node);
    // Runs a stored record (kind 10) again; a record that no longer fits the tree stops with a message.
    TornadoDiagram(TreeDocument* document, StoredAnalysis* record);
    ~TornadoDiagram() override;

    bool Begin() override;
    const char* Name() const override { return "Tornado Diagram"; }
    zString& StatusText(zString& out) override;
    int Step() override;
    void Finish() override;
    double ProgressPos() override { return ResultIndex(seriesIndex, step, barIndex); }
    double ProgressTotal() override { return static_cast<double>(barCount) * (intervals + 1) * seriesCount; }
    StoredAnalysis* MakeStoredRecord() override;

    int64_t ResultIndex(int series, int stepIndex, int bar) const
    {
        return static_cast<int64_t>(seriesCount) * (intervals + 1) * bar + static_cast<int64_t>(seriesCount) * stepIndex +
               series;
    }

    TreeNode* node;
    int32_t checking = 1;
    int32_t thisNodeOnly = 1;
    int32_t intervals = 0;
    int32_t barCount = 0;
    int32_t seriesCount = 1;
    int32_t step = 0;
    int32_t barIndex = 0;
    int32_t seriesIndex = 0;
    int32_t measureKind = 0;
    // Shared with the tornado graph once the run has finished.
    std::shared_ptr<TornadoVariableList> bars;
    std::vector<double> results;
    zString whenText;
    // The bars in their set-up order (the list is ordered by span once the run has finished).
    std::vector<TornadoSetup*> setupOrder;

private:
    // Closes the windows bound to the bars' variables, then collects every bar's definitions; false (its
    // message shown) when one cannot be swept.
    bool BuildBindings();
    bool LoadBar(StoredItemReader& items, int32_t version);
    // Marks the run failed; false, for Begin to return.
    bool Stop();
};

void DescribeTornadoDiagram(TreeDocument* document, StoredAnalysis* record, zString& text);
void RunStoredTornadoDiagram(StoredAnalysis* record, TreeDocument* document);
