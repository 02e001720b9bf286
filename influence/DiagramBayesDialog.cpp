#include "influence/DiagramBayesDialog.h"

#include "widgets/ProgramDialog.h"
#include "model/InfluenceNode.h"

#include "CommandIds.h"

namespace {

constexpr int kShownNameLength = 16;

std::string Quoted(const InfluenceNodeRecord* node)
{
    return std::string("\"") + ShortenLabel(node->variableName.Text(), kShownNameLength).Text() + "\"";
}

} // namespace

DiagramBayesDialog::DiagramBayesDialog(const std::vector<RevisedEvent>& revisions)
{
    for (const RevisedEvent& revision : revisions) {
        if (!lines.empty())
            lines.emplace_back();
        lines.push_back(Quoted(revision.revised) + " is predicted by");
        for (const InfluenceNodeRecord* predictor : revision.predictors)
            lines.push_back("    " + Quoted(predictor));
    }
}

int DiagramBayesDialog::Run()
{
    if (HasPresenter())
        return Present();
    ProgramDialog dialog(DialogRes::BayesRevision3475);
    const HWND list = dialog.Control(Ctl::BayesRevision3475::BayesRevisionWillBePerformedAtTheFollowingNodesList);
    for (const std::string& line : lines)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    return dialog.Run();
}
