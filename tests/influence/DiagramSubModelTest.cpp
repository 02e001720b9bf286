// Sub-models in shown windows: collapsing selected nodes, the sub-model's own window opened by a double
// click, edits made there, and expanding again.

#include "framework/dialog/FileDialogs.h"
#include "script/ScriptManager.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/SampleDiagram.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kCollapseQuestion =
    "Collapsing the selected nodes into a sub-model is not undoable. Do you wish to proceed?";

TEST_F(ShownDiagram, CollapsedNodesKeepTheirInfluencesThroughOneProxyAndExpandGivesThemBack)
{
    InfluenceDocument& document = Document();
    InfluenceNodeRecord* plan = AddDiagramNode(document, document.diagram, InfluenceKind::Decision, "Plan", 0.5f, 0.5f, {"x", "y"});
    InfluenceNodeRecord* a = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "A", 2.5f, 0.5f, {"p", "q"});
    InfluenceNodeRecord* b = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "B", 2.5f, 2.0f, {"r", "s"});
    AddDiagramArc(document.diagram, plan, a);
    AddDiagramArc(document.diagram, plan, b);
    AddDiagramArc(document.diagram, a, b);
    window->UpdateExtent();
    window->ShowNodes({a, b});
    window->SetModified(0);

    // The Diagram menu offers the collapse of the two selected nodes; No changes nothing.
    EXPECT_EQ(MenuText(Cmd::DisplayCollapseSubtree), "C&ollapse to Sub-Model\tCtrl+J");
    EXPECT_FALSE(Grayed(Cmd::DisplayCollapseSubtree));
    EXPECT_TRUE(Grayed(Cmd::DisplayExpandSubtreeOnce));
    boxes.Answer(IDNO);
    Command(Cmd::DisplayCollapseSubtree);
    EXPECT_EQ(boxes.Last().text, kCollapseQuestion);
    EXPECT_EQ(Nodes().size(), 3u);
    EXPECT_EQ(window->IsModified(), 0);

    boxes.Answer(IDYES);
    Command(Cmd::DisplayCollapseSubtree);
    ASSERT_EQ(Nodes().size(), 2u);
    InfluenceNodeRecord* subModel = Nodes()[1];
    EXPECT_EQ(subModel->kind, InfluenceKind::SubModel);
    EXPECT_EQ(window->SelectedNodes(), std::vector<InfluenceNodeRecord*>{subModel});
    EXPECT_TRUE(Grayed(Cmd::EditUndo));
    ASSERT_NE(window->LabelEditor(), nullptr);
    window->LabelEditor()->TypeText(zString("Trial"));
    window->ClearSelection();
    EXPECT_TRUE(Document().diagram.arcs.empty());
    const InfluenceDiagram& inside = *subModel->subDiagram;
    ASSERT_EQ(inside.nodes.size(), 3u);
    InfluenceNodeRecord* proxy = inside.nodes[2];
    EXPECT_EQ(proxy->cloneMaster, plan);
    EXPECT_EQ(plan->clones, std::vector<InfluenceNodeRecord*>{proxy});
    ASSERT_EQ(inside.arcs.size(), 3u);
    EXPECT_EQ(proxy->arcsOut.size(), 2u);
    EXPECT_EQ(a->parentSubModel, subModel);
    EXPECT_EQ(window->IsModified(), 1);

    // A double click off its label opens its window, titled after the document and the node.
    const POINT corner = At(subModel, (subModel->right - subModel->left) / 2 - 0.03f, 0);
    DoubleClick(corner, [&] { return window->SubModelWindow(subModel) != nullptr; });
    InfluenceDiagramWindow* inner = window->SubModelWindow(subModel);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(std::string(inner->Text()), std::string(window->Text()) + ": Sub-Model \"Trial\"");
    EXPECT_EQ(&inner->Diagram(), subModel->subDiagram.get());
    EXPECT_TRUE(Grayed(Cmd::FileConvertToOutline));
    // Undoing the name retitles the window.
    window->Activate();
    Undo();
    EXPECT_EQ(std::string(inner->Text()), std::string(window->Text()) + ": Sub-Model \"\"");
    Redo();
    EXPECT_EQ(std::string(inner->Text()), std::string(window->Text()) + ": Sub-Model \"Trial\"");
    inner->Activate();
    // Edits there mark the document; a node pasted there belongs to the sub-model.
    window->SetModified(0);
    SendMessageA(inner->Handle(), WM_COMMAND, Cmd::RightClickNewChance, 0);
    ASSERT_EQ(inside.nodes.size(), 4u);
    EXPECT_EQ(window->IsModified(), 1);
    SendMessageA(frame->Handle(), WM_COMMAND, Cmd::EditUndo, 0);
    ASSERT_EQ(inside.nodes.size(), 3u);
    inner->ShowNodes({a});
    SendMessageA(inner->Handle(), WM_COMMAND, Cmd::EditCopy, 0);
    SendMessageA(inner->Handle(), WM_COMMAND, Cmd::EditPaste, 0);
    ASSERT_EQ(inside.nodes.size(), 4u);
    EXPECT_EQ(inside.nodes[3]->parentSubModel, subModel);
    EXPECT_EQ(window->IsModified(), 1);

    // Expanding with the window open closes the window first; the proxy goes and the arcs end at Plan.
    const HWND innerHandle = inner->Handle();
    window->Activate();
    window->ShowNodes({subModel});
    EXPECT_EQ(MenuText(Cmd::DisplayExpandSubtreeOnce), "&Expand Sub-Model\tCtrl+Shift+J");
    EXPECT_FALSE(Grayed(Cmd::DisplayExpandSubtreeOnce));
    boxes.Answer(IDYES);
    Command(Cmd::DisplayExpandSubtreeOnce);
    EXPECT_EQ(boxes.Last().text, "Expanding the sub-model is not undoable. Do you wish to proceed?");
    EXPECT_FALSE(IsWindow(innerHandle));
    ASSERT_EQ(Nodes().size(), 4u);
    EXPECT_EQ(Nodes()[1], a);
    EXPECT_EQ(Nodes()[3]->parentSubModel, nullptr);
    EXPECT_TRUE(plan->clones.empty());
    ASSERT_EQ(Document().diagram.arcs.size(), 3u);
    EXPECT_EQ(plan->arcsOut.size(), 2u);
    EXPECT_EQ(b->arcsIn.size(), 2u);

    // Clearing Plan destroys its proxy, selected in the sub-model's window: that window lets go of it first.
    window->ShowNodes({a, b});
    boxes.Answer(IDYES);
    Command(Cmd::DisplayCollapseSubtree);
    window->ClearSelection();
    InfluenceNodeRecord* again = Nodes().back();
    InfluenceDiagramWindow* shown = window->OpenSubModel(again);
    ASSERT_NE(shown, nullptr);
    shown->ShowNodes({again->subDiagram->nodes.back()});
    EXPECT_EQ(shown->SelectedNodes().front()->cloneMaster, plan);
    window->Activate();
    window->ShowNodes({plan});
    boxes.Answer(IDYES);
    Command(Cmd::EditClear);
    EXPECT_TRUE(shown->SelectedNodes().empty());
    EXPECT_EQ(again->subDiagram->nodes.size(), 2u);
    window->SetModified(0);
}

// File Save As names the document's file from either of its windows, and so does a script's SaveFileAs: the
// sub-model window takes the new name in its title, the document window keeps the file, and the file holds
// the whole diagram. A script's SaveFile from the sub-model window saves the document to its own file.
TEST_F(ShownDiagram, SaveAsRetitlesTheOpenSubModelWindow)
{
    InfluenceDocument& document = Document();
    InfluenceNodeRecord* a = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "A", 0.5f, 0.5f, {"p", "q"});
    InfluenceNodeRecord* b = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "B", 2.5f, 0.5f, {"r", "s"});
    window->UpdateExtent();
    window->ShowNodes({a, b});
    boxes.Answer(IDYES);
    Command(Cmd::DisplayCollapseSubtree);
    window->LabelEditor()->TypeText(zString("Costs"));
    window->ClearSelection();
    InfluenceDiagramWindow* inner = window->OpenSubModel(Nodes().back());
    ASSERT_NE(inner, nullptr);
    const char* temp = std::getenv("TEMP");
    std::string path;
    const FileDialogPresenter previous = SetFileDialogPresenter([&path](OPENFILENAMEA& dialog, bool) {
        std::strcpy(dialog.lpstrFile, path.c_str());
        return 1;
    });
    ScriptManager script;
    const struct {
        InfluenceDiagramWindow* saver;
        const char* name;
        const char* line;
    } saves[] = {
        {window, "kivo_owner", nullptr},
        {inner, "kivo_inner", nullptr},
        {inner, "kivo_script", "!SaveFileAs(@path)"},
        {inner, "kivo_script", "!SaveFile"},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save.line != nullptr ? save.line : save.name);
        path = std::string(temp != nullptr ? temp : ".") + "\\" + save.name + ".ind";
        // A new name starts with no file; Save writes the document's own file again.
        if (std::string(window->Text()) != save.name)
            std::remove(path.c_str());
        window->SetModified(1);
        save.saver->Activate();
        if (save.line != nullptr) {
            script.SetVariable("path", path);
            script.ExecuteLine(save.line);
        } else {
            EXPECT_FALSE(Grayed(Cmd::FileSaveAs));
            SendMessageA(frame->Handle(), WM_COMMAND, Cmd::FileSaveAs, 0);
        }
        EXPECT_EQ(std::string(window->Text()), save.name);
        EXPECT_EQ(std::string(inner->Text()), std::string(save.name) + ": Sub-Model \"Costs\"");
        EXPECT_EQ(window->IsModified(), 0);
        InfluenceDocument saved;
        ASSERT_TRUE(saved.ReadFile(path.c_str()));
        ASSERT_EQ(saved.diagram.nodes.size(), 1u);
        ASSERT_NE(saved.diagram.nodes[0]->subDiagram, nullptr);
        EXPECT_EQ(saved.diagram.nodes[0]->subDiagram->nodes.size(), 2u);
    }
    // The collapse's question, and no other box.
    EXPECT_EQ(boxes.Count(), 1u) << boxes.Last().text;
    SetFileDialogPresenter(previous);
    for (const char* name : {"kivo_owner", "kivo_inner", "kivo_script"})
        std::remove((std::string(temp != nullptr ? temp : ".") + "\\" + name + ".ind").c_str());
}

} // namespace
