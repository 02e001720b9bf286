#include "dialogs/StoredAnalysisDialogs.h"

#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeDocument.h"

#include <algorithm>

SaveAnalysisDialog::SaveAnalysisDialog(TreeDocument* window, StoredAnalysis* record, StoredAnalysisList& list)
    : name(record->name), comment(record->comment)
{
    DescribeStoredAnalysis(window, record, summary);
    // An empty name keeps the dialog open; the person can only cancel then.
    accepted = Present() == IDOK && !name.IsEmpty();
    if (!accepted)
        return;
    record->name = name;
    record->comment = comment;
    list.Add(record);
    window->SetModified(1);
}

RunStoredAnalysisDialog::RunStoredAnalysisDialog(TreeDocument*, StoredAnalysisList& list, bool commentForm)
    : analyses(list), commentForm(commentForm)
{
    accepted = Present() == IDOK;
    if (!accepted) {
        chosen.clear();
        return;
    }
    // A list box hands its selection over in list order.
    chosen.erase(std::remove_if(chosen.begin(), chosen.end(),
                                [&list](int i) { return i < 0 || i >= list.Count(); }),
                 chosen.end());
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
}

StoredAnalysis* RunStoredAnalysisDialog::Selected(int i) const
{
    return analyses.At(chosen[static_cast<size_t>(i)]);
}

StoredAnalysesDialog::StoredAnalysesDialog(TreeDocument* window, StoredAnalysisList& list) : analyses(list)
{
    Present();
    if (changed)
        window->SetModified(1);
}
