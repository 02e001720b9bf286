#include "analysis/StoredAnalysisKinds.h"

#include "analysis/MarkovAnalysis.h"
#include "analysis/RollBackAnalysis.h"
#include "analysis/StoredAnalysis.h"
#include "app/MessageBoxes.h"

#include <map>

namespace {

void RunRollBack(StoredAnalysis* record, TreeWindow* window)
{
    (new RollBackAnalysis(window, record))->Run();
}

void RunRetiredKind(StoredAnalysis*, TreeWindow*)
{
    ShowInfoBox(nullptr, "That analysis is no longer supported.", -1);
}

std::map<int, StoredAnalysisHandlers>& KindTable()
{
    static std::map<int, StoredAnalysisHandlers> table = {
        {RollBackKind, {RunRollBack, nullptr}},
        {ObsoleteKind, {RunRetiredKind, nullptr}},
        {MarkovCohortKind, {RunStoredMarkovAnalysis, DescribeMarkovAnalysis}},
    };
    return table;
}

}  // namespace

void RegisterStoredAnalysisKind(int kind, StoredRunFunction run, StoredDescribeFunction describe)
{
    KindTable()[kind] = StoredAnalysisHandlers{run, describe};
}

StoredAnalysisHandlers StoredAnalysisKindHandlers(int kind)
{
    const auto& table = KindTable();
    const auto found = table.find(kind);
    return found != table.end() ? found->second : StoredAnalysisHandlers{};
}
