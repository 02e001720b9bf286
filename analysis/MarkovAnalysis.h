#pragma once
// The Markov analysis: runs the cohort at a Markov node through RunMarkovCohortAt, keeps one row per
// stage, and from the rows builds line-graph data (state probabilities and rewards by stage) and the full
// text report.

#include "analysis/MarkovAnalysisGraph.h"
#include "formula/RunOutcome.h"
#include "foundation/ValueTriple.h"
#include "foundation/NameList.h"
#include "foundation/PtrArray.h"

#include <cstdint>

class TextReport;
class TreeDocument;
struct StoredAnalysis;
struct TreeNode;

// One state in one recorded stage.
struct MarkovStateEntry {
    double probability = 0.0;
    ValueTriple reward;
};

// One recorded stage: the stage and total rewards and one entry per state in child order.
class MarkovStageRow : public PtrArray {
public:
    MarkovStageRow() : PtrArray(4, true) {}
    ~MarkovStageRow() override { Clear(); }
    void DeleteItem(void* item) override { delete static_cast<MarkovStateEntry*>(item); }
    MarkovStateEntry* At(int i) const { return static_cast<MarkovStateEntry*>(PtrArray::At(i)); }

    ValueTriple stage;
    ValueTriple total;
};

class MarkovStageRowList : public PtrArray {
public:
    MarkovStageRowList() : PtrArray(100, true) {}
    ~MarkovStageRowList() override { Clear(); }
    void DeleteItem(void* item) override { delete static_cast<MarkovStageRow*>(item); }
    MarkovStageRow* At(int i) const { return static_cast<MarkovStageRow*>(PtrArray::At(i)); }
};

// Options of the text report.
enum MarkovReportOption : int {
    ReportShorthandNames = 1,
    ReportStateProbabilities = 2,
    ReportStageRewards = 4,
    ReportTotalRewards = 8,
    ReportStateRewards = 16,
    ReportEverything = 31,
};

class MarkovAnalysis {
public:
    // kind 0: started from the menu (a run then leaves a node-value record as the tree window's last
    // analysis); any other: from a stored analysis.
    MarkovAnalysis(TreeDocument* document, TreeNode* node, int kind);
    MarkovAnalysis(const MarkovAnalysis&) = delete;
    MarkovAnalysis& operator=(const MarkovAnalysis&) = delete;

    // Runs the cohort and keeps its rows; false when the risk preference check refused or the run failed
    // or was cancelled. What it reported is kept in outcome and reported on (to the presenter unless a
    // scope collects it).
    bool Run();
    // The line graph of a request, or false (nothing made) when the request does not qualify.
    bool MakeGraph(MarkovGraphRequest& request, LineGraphData& graph) const;
    // The request of a command of the analysis window's graph menu (1580-1585); false for another command.
    static bool RequestForCommand(int command, MarkovGraphRequest& request);
    void WriteReport(TextReport& report, int options) const;

    int32_t kind;
    TreeNode* node;
    TreeDocument* document;
    NameList stateNames{2, true};
    int32_t lastStage = -1;
    int32_t costEffectiveness = 0;
    MarkovStageRowList rows;
    RunOutcome outcome;
};

// The report title of a kind (1-9), else the empty text.
const char* MarkovReportTitle(int reportKind);
// Description of a stored Markov analysis: its report title, a line break, " at node " and the node's text.
void DescribeMarkovAnalysis(TreeDocument* document, StoredAnalysis* record, zString& text);
// The request stored in a record: false when the record is damaged (a stage step below 1 among them) or its
// node is missing or not a Markov node.
bool ReadMarkovRequest(TreeDocument* document, StoredAnalysis* record, MarkovGraphRequest& request, TreeNode** node);
// A record that runs the request again on the node.
[[nodiscard]] StoredAnalysis* MakeMarkovRecord(TreeNode* node, const MarkovGraphRequest& request);
// Re-runs a stored Markov analysis and shows its graph.
void RunStoredMarkovAnalysis(StoredAnalysis* record, TreeDocument* document);
