// An influence diagram of 1,000 chance nodes in 25 rows of 40 and 2,000 arcs between neighbours (right,
// below and diagonally), every node with its probability table: saved, opened (read and laid out), laid out
// again and painted whole into a bitmap at half scale; then 100 selected nodes dragged (one undoable step) and
// the window's view of 1200 x 800 pixels repainted, and the drag undone and repainted; then 500 nodes
// copied to the clipboard and pasted into a new diagram.

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "app/MainFrame.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingScale.h"
#include "framework/window/FrameworkApp.h"
#include "influence/DiagramActions.h"
#include "influence/DiagramClipboard.h"
#include "influence/DiagramPainter.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceChecks.h"
#include "model/InfluenceOrder.h"
#include "tests/support/SampleDiagram.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kColumns = 40;
constexpr int kNodes = 1000;
constexpr int kArcs = 2000;

void Grow(InfluenceDocument& document)
{
    std::vector<InfluenceNodeRecord*> nodes;
    for (int i = 0; i < kNodes; ++i) {
        const std::string name = "Node " + std::to_string(i);
        nodes.push_back(AddDiagramNode(document, document.diagram, InfluenceKind::Chance, name.c_str(),
                                       (i % kColumns) * 1.2f, (i / kColumns) * 0.9f, {"yes", "no"}));
    }
    int arcs = 0;
    for (const int step : {1, kColumns, kColumns + 1})
        for (int i = 0; i + step < kNodes && arcs < kArcs; ++i)
            if (step == kColumns || (i + step) % kColumns != 0)
                AddDiagramArc(document.diagram, nodes[i], nodes[i + step]), ++arcs;
    for (InfluenceNodeRecord* node : nodes)
        node->EnsureDefinitionTree(InfluenceNodeRecord::ProbabilityTable);
}

} // namespace

KIVO_BENCH(InfluenceDiagram)
{
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp != nullptr ? temp : ".") + "\\kivo_bench_diagram.ind";
    // Windows of a frame measure their texts on the screen.
    BenchApp app(BenchApp::WithMainFrame);
    auto* window = new InfluenceDiagramWindow;
    Grow(window->document);
    std::printf("diagram of %d nodes and %d arcs\n", static_cast<int>(window->document.diagram.nodes.size()),
                static_cast<int>(window->document.diagram.arcs.size()));
    int saved = 0;
    BenchReport("influence diagram: save", 1, [&] { saved = window->SaveAs(path.c_str()); });
    std::unique_ptr<InfluenceDiagramWindow> opened;
    BenchReport("influence diagram: open (read and lay out)", 1,
                [&] { opened = std::make_unique<InfluenceDiagramWindow>(path.c_str()); });
    std::printf("saved %s, opened %d nodes\n", saved ? "yes" : "no",
                static_cast<int>(opened->document.diagram.nodes.size()));
    BenchReport("influence diagram: layout", 1, [&] { opened->document.LayoutAll(); });
    SaveDrawingScale();
    SetCurrentDrawingScale(0.5f);
    BitmapDisplay display(2600, 1200);
    BenchReport("influence diagram: paint", 1,
                [&] { PaintDiagram(opened->document, opened->document.diagram, display, nullptr); });
    RestoreDrawingScale();
    InfluenceDiagram& diagram = opened->document.diagram;
    size_t ordered = 0;
    BenchReport("influence diagram: checks, loop search and ordering", 1, [&] {
        CheckDiagramComplete(opened->document);
        FindInfluenceLoop(diagram.nodes.back(), PredecessorFilter{});
        std::vector<RevisedEvent> bayes;
        ordered = OrderDiagramNodes(diagram.nodes.back(), diagram.nodes, false, &bayes).size();
    });
    std::printf("ordered %d nodes\n", static_cast<int>(ordered));
    std::vector<InfluenceNodeRecord*> dragged(opened->document.diagram.nodes.begin(),
                                              opened->document.diagram.nodes.begin() + 100);
    opened->ShowNodes(dragged);
    BitmapDisplay view(1200, 800);
    BenchReport("influence diagram: drag 100 selected nodes and repaint", 1, [&] {
        opened->AddUndoAction(new DiagramDragAction(opened.get(), dragged, DiagramPoint{0.5f, 0.25f}));
        opened->Draw(&view);
    });
    BenchReport("influence diagram: undo the drag and repaint", 1, [&] {
        opened->Undo();
        opened->Draw(&view);
    });
    // Half the diagram through the clipboard into a new diagram, with the arcs among those nodes.
    std::vector<InfluenceNodeRecord*> copied(diagram.nodes.begin(), diagram.nodes.begin() + 500);
    opened->ShowNodes(copied);
    BenchReport("influence diagram: copy 500 nodes with their arcs", 1,
                [&] { opened->AddUndoAction(new DiagramCopyNodesAction(opened.get())); });
    auto pasted = std::make_unique<InfluenceDiagramWindow>();
    BenchReport("influence diagram: paste 500 nodes with their arcs", 1,
                [&] { pasted->AddUndoAction(new DiagramPasteNodesAction(pasted.get(), CanPasteDiagramNodes())); });
    std::printf("pasted %d nodes and %d arcs\n", static_cast<int>(pasted->Diagram().nodes.size()),
                static_cast<int>(pasted->Diagram().arcs.size()));
    pasted.reset();
    opened.reset();
    std::remove(path.c_str());
}
