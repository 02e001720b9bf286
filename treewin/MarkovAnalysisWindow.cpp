#include "treewin/MarkovAnalysisWindow.h"

#include "analysis/MarkovAnalysis.h"
#include "foundation/TextReport.h"
#include "widgets/MenuButton.h"
#include "widgets/SaveQuestions.h"
#include "widgets/Shell.h"
#include "framework/dialog/Menu.h"
#include "framework/window/ResourceId.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace Ids = Ctl::MarkovAnalysis;

MarkovAnalysisWindow::MarkovAnalysisWindow(TreeWindow* tree, std::unique_ptr<MarkovAnalysis> analysis)
    : TreeChildWindow(tree, ResourceId(DialogRes::MarkovAnalysis, nullptr), false), analysis_(std::move(analysis))
{
    if (tree != nullptr)
        OnTreeTitleChanged(tree->Document().Title().Text());
    if (WindowCL* text = FindChild(Ids::NodeText)) {
        zString nodeText;
        if (analysis_->node)
            analysis_->node->GetShortText(nodeText, 30);
        text->SetText(nodeText);
    }
    MakeGraphButton();
    FitToFrame();
    PlaceAt(0.4, 0.5);
}

MarkovAnalysisWindow* MarkovAnalysisWindow::Open(TreeWindow& tree, std::unique_ptr<MarkovAnalysis> analysis)
{
    MarkovAnalysisWindow* shown = nullptr;
    for (int i = 0; i < tree.ChildWindows().Count() && shown == nullptr; ++i)
        shown = dynamic_cast<MarkovAnalysisWindow*>(tree.ChildWindows().At(i));
    const std::optional<POINT> place = CloseReplaced(shown);
    auto* window = new MarkovAnalysisWindow(&tree, std::move(analysis));
    window->ShowWhereReplaced(place);
    return window;
}

void MarkovAnalysisWindow::OnTreeTitleChanged(const char*)
{
    SetCaption(": Markov Analysis");
}

bool MarkovAnalysisWindow::DependsOn(const void* object) const
{
    return object != nullptr && object == analysis_->node;
}

void MarkovAnalysisWindow::MakeGraphButton()
{
    auto menu = std::make_unique<Menu>();
    menu->AppendItem(1580, "State Probabilities");
    if (analysis_->costEffectiveness) {
        menu->AppendItem(1584, "_stage_cost");
        menu->AppendItem(1585, "_stage_eff");
    } else {
        menu->AppendItem(1581, "State Rewards");
        menu->AppendItem(1582, "_stage_reward");
        menu->AppendItem(1583, "_total_reward");
    }
    // The picked command arrives here as WM_COMMAND.
    MakeOwningMenuButton(std::move(menu), this, Ids::Graph);
}

long MarkovAnalysisWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    const int command = static_cast<int>(id);
    MarkovGraphRequest request;
    if (MarkovAnalysis::RequestForCommand(command, request)) {
        LineGraphData graph;
        if (analysis_->MakeGraph(request, graph))
            ShowLineGraph(graph);
        return 1;
    }
    switch (command) {
    case Ids::TextReport: {
        TextReport report;
        analysis_->WriteReport(report, ReportEverything);
        ShowTextReport(report);
        return 1;
    }
    case IDOK:
    case IDCANCEL:
        AskSaveChanges(TheShell().Frame(), this, false);
        return 1;
    default:
        return TreeChildWindow::OnCommandId(id, code, control);
    }
}
