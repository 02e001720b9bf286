// A diagram of five levels of ten states (decision, chance, decision, chance, decision) ending in a value
// formula, every chance level's table keyed by the level before it, converted into a tree of 111,111 nodes
// and rolled back; then a chance node of ten outcomes behind three events of ten states laid out as a table of
// 10,000 cells and opened in the table editor (prepared, laid out, the dialog made and on its first cell).

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "analysis/TreeEngines.h"
#include "app/MainFrame.h"
#include "influence/OutcomeTableEditor.h"
#include "framework/window/FrameworkApp.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/InfluenceChecks.h"
#include "model/InfluenceConversion.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "tests/support/SampleDiagram.h"
#include "treewin/TreeWindow.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kStates = 10;

InfluenceNodeRecord* AddLevel(InfluenceDocument& document, int kind, const std::string& name, float x)
{
    InfluenceNodeRecord* node = AddDiagramNode(document, document.diagram, kind, name.c_str(), x, 1);
    for (int s = 0; s < kStates; ++s)
        node->outcomeNames.AddText((name + "_" + std::to_string(s)).c_str());
    return node;
}

// Every cell of the chance node's probability table 1/10.
void FillTenths(InfluenceNodeRecord* node)
{
    DefinitionTreeNode* table = node->EnsureDefinitionTree(InfluenceNodeRecord::ProbabilityTable);
    std::vector<DefinitionTreeNode*> pending{table};
    while (!pending.empty()) {
        DefinitionTreeNode* at = pending.back();
        pending.pop_back();
        for (; at; at = at->next.get()) {
            if (at->down)
                pending.push_back(at->down.get());
            else if (at->cell)
                at->cell->Set("", 0.1, "0.1");
        }
    }
}

} // namespace

KIVO_BENCH(DiagramConversion)
{
    InfluenceDocument diagram;
    std::vector<InfluenceNodeRecord*> levels;
    for (int i = 0; i < 5; ++i)
        levels.push_back(AddLevel(diagram, i % 2 == 0 ? InfluenceKind::Decision : InfluenceKind::Chance,
                                  "L" + std::to_string(i), 1.5f * i));
    InfluenceNodeRecord* value = AddDiagramNode(diagram, diagram.diagram, InfluenceKind::Value, "V", 9, 1);
    value->noFormula = 0;
    value->formula = "1";
    for (int i = 0; i + 1 < 5; ++i)
        AddDiagramArc(diagram.diagram, levels[i], levels[i + 1]);
    AddDiagramArc(diagram.diagram, levels.back(), value);
    for (InfluenceNodeRecord* level : levels)
        if (level->kind == InfluenceKind::Chance)
            FillTenths(level);
    std::unique_ptr<TreeDocument> tree;
    BenchReport("diagram conversion: checks, order and a tree of 111,111 nodes", 1, [&] {
        tree = std::make_unique<TreeDocument>();
        ConvertDiagramToTree(diagram, CheckDiagramComplete(diagram).finalNode, "bench", *tree);
    });
    RollBackResult result;
    BenchReport("diagram conversion: roll back of the converted tree", 1, [&] { result = RollBackDocument(*tree); });
    size_t nodes = 0;
    std::vector<const TreeNode*> pending{tree->Root};
    while (!pending.empty()) {
        const TreeNode* node = pending.back();
        pending.pop_back();
        ++nodes;
        for (int i = 0; i < node->childCount; ++i)
            pending.push_back(node->GetChild(i));
    }
    std::printf("tree of %d nodes, root value %g, status %d\n", static_cast<int>(nodes), result.root.value, result.status);
    tree.reset();

    BenchApp app(BenchApp::WithMainFrame);
    auto* window = new InfluenceDiagramWindow;
    InfluenceDocument& document = window->document;
    InfluenceNodeRecord* table = AddLevel(document, InfluenceKind::Chance, "T", 6);
    for (int i = 0; i < 3; ++i)
        AddDiagramArc(document.diagram, AddLevel(document, InfluenceKind::Chance, "P" + std::to_string(i), 1.5f * i),
                      table);
    FillTenths(table);
    size_t cells = 0;
    BenchReport("table editor: open a table of 10,000 cells", 1, [&] {
        auto cellTree = std::make_unique<TreeWindow>();
        PreparedTable prepared = PrepareNodeTable(document, *table, InfluenceNodeRecord::ProbabilityTable,
                                                  cellTree->Document());
        cellTree->Redraw();
        OutcomeTableEditor editor(*table, *cellTree, prepared.rows, false);
        editor.GoTo(0);
        cells = prepared.rows.size();
    });
    std::printf("table editor rows %d\n", static_cast<int>(cells));
}
