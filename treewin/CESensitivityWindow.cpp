#include "treewin/CESensitivityWindow.h"

#include "analysis/CEReport.h"
#include "analysis/LineGraphData.h"
#include "widgets/GraphCommandStyle.h"
#include "widgets/MenuButton.h"
#include "widgets/SaveQuestions.h"
#include "widgets/Shell.h"
#include "foundation/MessageBoxes.h"
#include "graph/CESensitivityGraph.h"
#include "foundation/TextReport.h"
#include "framework/dialog/Menu.h"
#include "framework/window/ResourceId.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>
#include <vector>

namespace Ids = Ctl::CostEffectivenessSensitivityAnalysis;

namespace {

const char* const kNoRatioText =
    "The data cannot be graphed as C/E ratios because the effectiveness of one or more options is zero.";

// Thresholds of average cost (lowest best) or average effectiveness (highest best), found with the tree
// briefly under the payoff method on that payoff; the tree's settings are restored.
void FindPayoffThresholds(const SensitivityResultGrid& grid, int component, std::vector<ThresholdPoint>& out)
{
    TreeDocument* document = grid.Document();
    if (document == nullptr)
        return;
    TreeCalcPrefs& prefs = document->CalcPrefs;
    const int payoff = component == ComponentCost ? document->CostPayoffIndex() : prefs.CEEffPayoff;
    if (payoff < 0 || payoff > 3)
        return;
    const CalcMethodKind method = prefs.CalcMethod;
    const int8_t current = prefs.CurrentPayoff;
    const int32_t direction = prefs.OptPath[payoff];
    prefs.CalcMethod = PayoffMethod;
    prefs.CurrentPayoff = static_cast<int8_t>(payoff);
    prefs.OptPath[payoff] = component == ComponentCost ? 0 : 1;
    ThresholdList list;
    const_cast<SensitivityResultGrid&>(grid).FindOptimalChanges(list, -1, component);
    prefs.OptPath[payoff] = direction;
    prefs.CurrentPayoff = current;
    prefs.CalcMethod = method;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(*list.At(i));
}

}  // namespace

CESensitivityWindow::CESensitivityWindow(TreeWindow* tree, const CESensitivityResults& results)
    : TreeChildWindow(tree, ResourceId(DialogRes::CostEffectivenessSensitivityAnalysis, nullptr), false),
      results_(results)
{
    if (tree != nullptr)
        OnTreeTitleChanged(tree->Document().Title().Text());
    if (WindowCL* text = FindChild(Ids::NodeText)) {
        zString nodeText;
        if (results_.node != nullptr)
            results_.node->GetShortText(nodeText, 30);
        text->SetText(nodeText);
    }
    if (WindowCL* text = FindChild(Ids::VariableText))
        text->SetText(results_.variableLabel);
    MakeGraphButton();
    FitToFrame();
    PlaceAt(0.4, 0.5);
}

CESensitivityWindow* CESensitivityWindow::Open(const CESensitivityResults& results)
{
    TreeDocument* document = results.grid != nullptr ? results.grid->Document() : nullptr;
    TreeWindow* tree = document != nullptr ? dynamic_cast<TreeWindow*>(document->View) : nullptr;
    CESensitivityWindow* shown = nullptr;
    for (int i = 0; tree != nullptr && i < tree->ChildWindows().Count() && shown == nullptr; ++i)
        shown = dynamic_cast<CESensitivityWindow*>(tree->ChildWindows().At(i));
    const std::optional<POINT> place = CloseReplaced(shown);
    auto* window = new CESensitivityWindow(tree, results);
    window->ShowWhereReplaced(place);
    if (!window->HasRatioRange())
        ShowInfoBox(nullptr, kNoRatioText, -1);
    return window;
}

void CESensitivityWindow::OnTreeTitleChanged(const char*)
{
    SetCaption(": Cost-Effectiveness Sensitivity Analysis");
}

bool CESensitivityWindow::DependsOn(const void* object) const
{
    return object != nullptr && object == results_.node;
}

bool CESensitivityWindow::HasRatioRange() const
{
    double low = 0.0;
    double high = 0.0;
    // Component 3 of the grid's ranges is the cost/effectiveness ratio.
    return results_.grid != nullptr && results_.grid->ComponentRange(3, low, high);
}

void CESensitivityWindow::MakeGraphButton()
{
    const std::string name = results_.variableName.Text();
    const bool ratio = HasRatioRange();
    auto menu = std::make_unique<Menu>();
    menu->AppendItem(kCostByEffectiveness, "Cost vs. Effectiveness");
    menu->AppendItem(kEffectivenessByCost, "Effectiveness vs. Cost");
    menu->AppendSeparator();
    if (ratio)
        menu->AppendItem(1587, (name + " vs. Marginal Cost-Effectiveness").c_str());
    menu->AppendItem(1583, (name + " vs. Marginal Cost").c_str());
    menu->AppendItem(1585, (name + " vs. Marginal Effectiveness").c_str());
    menu->AppendSeparator();
    if (ratio)
        menu->AppendItem(1586, (name + " vs. Average Cost-Effectiveness").c_str());
    menu->AppendItem(1582, (name + " vs. Average Cost").c_str());
    menu->AppendItem(1584, (name + " vs. Average Effectiveness").c_str());
    // The picked command arrives here as WM_COMMAND.
    MakeOwningMenuButton(std::move(menu), this, Ids::GraphText);
}

bool CESensitivityWindow::MakeGraph(int command, LineGraphData& graph) const
{
    if (command < 1582 || command > 1587 || results_.grid == nullptr)
        return false;
    int marginal = 0;
    int measure = 0;
    StyleForCommand(command, marginal, measure);
    const SensitivityResultGrid& grid = *results_.grid;
    TreeDocument* document = grid.Document();
    const int steps = grid.Intervals();
    graph.title = "Sensitivity Analysis on";
    graph.subtitles.push_back(results_.variableLabel.Text());
    graph.variableName = results_.variableName.Text();
    graph.document = document;
    graph.maximizing = measure == 2;
    graph.horizontal.label = results_.variableLabel.Text();
    SetVariableAxis(graph.horizontal, document != nullptr ? document->NumberFormat() : DefaultNumericFormat, grid.Low(),
                    grid.High(), steps);
    static const char* const labels[] = {"", "Cost", "Effectiveness", "Cost/Eff"};
    graph.vertical.label = std::string(marginal ? "Marginal " : "") + labels[measure];
    graph.vertical.autoScale = true;
    if (measure == 3) {
        graph.vertical.format = CostEffectivenessFormat;
    } else {
        graph.vertical.format = PayoffFormat;
        graph.vertical.payoff = document == nullptr ? 0
                                : measure == 1      ? document->CostPayoffIndex()
                                                    : document->CalcPrefs.CEEffPayoff;
        // Effectiveness is no money.
        graph.vertical.plain = measure == 2;
    }
    std::vector<double> values(steps + 1);
    bool first = true;
    for (int i = 0; i < grid.Series(); ++i) {
        if (marginal) {
            grid.MarginalCEByStep(i, values.data(), measure);
        } else if (measure == 3) {
            std::vector<double> effectiveness(steps + 1);
            grid.CopySeries(i, values.data(), ComponentCost);
            grid.CopySeries(i, effectiveness.data(), ComponentEffectiveness);
            for (int t = 0; t <= steps; ++t)
                values[t] = effectiveness[t] != 0.0 ? values[t] / effectiveness[t] : 0.0;
        } else {
            grid.CopySeries(i, values.data(), measure);
        }
        ScalePoints(!first, graph.vertical.bottom, graph.vertical.top, values.data(), steps + 1);
        first = false;
        zString name;
        if (const TreeNode* child = grid.Node() != nullptr ? grid.Node()->GetChild(i) : nullptr)
            child->GetShortText(name, 30);
        graph.lines.push_back({name.Text(), values});
    }
    if (!marginal && measure != 3)
        FindPayoffThresholds(grid, measure, graph.thresholds);
    return true;
}

CESensitivityGraph* CESensitivityWindow::OpenPlaneGraph(int effOnX) const
{
    auto* graph = new CESensitivityGraph(*results_.grid, results_.node, results_.variableLabel.Text(),
                                         results_.variableName.Text(), effOnX);
    graph->Open(nullptr);
    return graph;
}

long CESensitivityWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    const int command = static_cast<int>(id);
    LineGraphData graph;
    if (MakeGraph(command, graph)) {
        ShowLineGraph(graph);
        return 1;
    }
    switch (command) {
    case kCostByEffectiveness:
    case kEffectivenessByCost:
        if (results_.grid != nullptr)
            OpenPlaneGraph(command == kEffectivenessByCost ? 1 : 0);
        return 1;
    case Ids::TextReport: {
        TextReport report;
        const TreeDocument* document = results_.grid->Document();
        NumericFormat cost, effectiveness, ratio;
        if (document != nullptr) {
            cost = document->CalcPrefs.PayoffFormats[document->CostPayoffIndex()];
            effectiveness = document->CalcPrefs.EffectivenessFormat();
            ratio = document->CalcPrefs.CostEffFormat;
        }
        results_.grid->CEOptimalByStep(report, results_.variableName.Text(), nullptr,
                                       CEFormats{cost, effectiveness, ratio}, -1);
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

void InstallCESensitivityWindow()
{
    SetCESensitivityPresenter([](const CESensitivityResults& results) { CESensitivityWindow::Open(results); });
}
