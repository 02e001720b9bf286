#include "treewin/MarkovAnalysisWindow.h"

#include "analysis/MarkovAnalysis.h"
#include "foundation/TextReport.h"
#include "widgets/MenuButton.h"
#include "widgets/WindowPlacement.h"
#include "dialogs/DocumentPopups.h"
#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

namespace Ids = Ctl::MarkovAnalysis;

namespace {

// A top-level window of the frame, whatever the template says of its frame.
const DWORD WindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

WindowCL* Frame()
{
    return TheApp ? TheApp->MainWindow() : nullptr;
}

} // namespace

MarkovAnalysisWindow::MarkovAnalysisWindow(std::unique_ptr<MarkovAnalysis> analysis)
    : DialogFrameCL(Frame(), ResourceId(DialogRes::MarkovAnalysis, nullptr), WindowStyle),
      analysis_(std::move(analysis))
{
    SetStateBits(StateDeleteWithWindow);
    AddDocumentPopup(this, analysis_->document);
    if (WindowCL* text = FindChild(Ids::NodeText)) {
        zString nodeText;
        if (analysis_->node)
            analysis_->node->GetShortText(nodeText, 30);
        text->SetText(nodeText);
    }
    MakeGraphButton();
    // Over the tree it reports on, where an analysis shows its progress, not at the template's corner of the
    // frame.
    PlaceWindowInFrame(Handle(), 0.4f, 0.5f, true);
    Show(SW_SHOW);
}

MarkovAnalysisWindow::~MarkovAnalysisWindow()
{
    RemoveDocumentPopup(this);
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
        DestroyWindow(handle_);
        return 1;
    default:
        return 0;
    }
}
