// Diagram nodes and notes through the real clipboard: Cut, Copy, Clear and Paste sent to shown windows,
// the clipboard's blocks read byte by byte, the diagrams and the undo history read back; and a second
// program pasting what this one copied.

#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "framework/window/Clipboard.h"
#include "framework/window/ClipboardFormat.h"
#include "influence/DiagramClipboard.h"
#include "model/NoteBox.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/SampleDiagram.h"
#include "treewin/NoteBoxClipboard.h"

#include <cstdio>
#include <memory>

namespace {

std::vector<uint8_t> Block(const ClipboardFormat& format)
{
    Clipboard clipboard = MainWindowClipboard();
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> bytes(clipboard.GetBlock(format, size));
    return bytes ? std::vector<uint8_t>(bytes.get(), bytes.get() + size) : std::vector<uint8_t>{};
}

void PutText(const char* text)
{
    Clipboard clipboard = MainWindowClipboard();
    clipboard.Empty();
    clipboard.PutText(text);
}

std::string ClipboardText()
{
    Clipboard clipboard = MainWindowClipboard();
    std::unique_ptr<char[]> text(clipboard.GetText());
    return text ? text.get() : "";
}

class DiagramClipboard : public ShownDiagram {
protected:
    // Nodes "N0" .. "N5" in a row; arcs N0->N2, N2->N3, N1->N5, N5->N4 and N3->N4.
    void BuildRow()
    {
        for (int i = 0; i < 6; ++i)
            AddDiagramNode(Document(), Document().diagram, InfluenceKind::Chance, ("N" + std::to_string(i)).c_str(),
                           0.5f + i * 1.2f, 0.5f + (i % 2) * 1.5f, {"a", "b"});
        const int arcs[][2] = {{0, 2}, {2, 3}, {1, 5}, {5, 4}, {3, 4}};
        for (const auto& arc : arcs)
            AddDiagramArc(Document().diagram, Nodes()[arc[0]], Nodes()[arc[1]]);
        window->UpdateExtent();
    }
    std::vector<InfluenceNodeRecord*> Pick(std::initializer_list<int> indexes)
    {
        std::vector<InfluenceNodeRecord*> nodes;
        for (int index : indexes)
            nodes.push_back(Nodes()[static_cast<size_t>(index)]);
        return nodes;
    }
};

TEST_F(DiagramClipboard, CopiedNodesGoAsTwoBlocksAndPasteIntoAnotherDiagramCentredAndSelected)
{
    BuildRow();
    PutText("hello");
    // N0, N2 and N4: one arc among them (N0->N2); the other arcs and the clipboard's text stay behind.
    window->ShowNodes(Pick({4, 0, 2}));
    Command(Cmd::EditCopy);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Copy Nodes\tCtrl+Z");
    EXPECT_EQ(Block(DiagramNodesExtraFormat()).at(0), 3);
    EXPECT_EQ(Block(DiagramNodesExtraFormat()).at(1), 0);
    std::vector<uint8_t> block = Block(DiagramNodesFormat());
    ASSERT_GT(block.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 6), (std::vector<uint8_t>{3, 0, 0, 0, 1, 0}));
    {
        MemoryStream stream(block.data(), static_cast<uint32_t>(block.size()), false);
        InfluenceDiagram read;
        ASSERT_TRUE(ReadNodeBlock(stream, Document(), read));
        ASSERT_EQ(read.nodes.size(), 3u);
        EXPECT_STREQ(read.nodes[0]->name.Text(), "N4");
        EXPECT_STREQ(read.nodes[1]->name.Text(), "N2");
        EXPECT_STREQ(read.nodes[2]->name.Text(), "N0");
        ASSERT_EQ(read.arcs.size(), 1u);
    }

    auto* other = new InfluenceDiagramWindow();
    other->Show(SW_SHOWMAXIMIZED);
    WaitForMenusOf(other);
    EXPECT_EQ(MenuText(Cmd::EditPaste), "&Paste Nodes\tCtrl+V");
    SendMessageA(other->Handle(), WM_COMMAND, Cmd::EditPaste, 0);
    const auto& pasted = other->Diagram().nodes;
    ASSERT_EQ(pasted.size(), 3u);
    ASSERT_EQ(other->Diagram().arcs.size(), 1u);
    EXPECT_EQ(other->SelectedNodes(), pasted);
    EXPECT_STREQ(other->Diagram().arcs[0]->tail->name.Text(), "N0");
    EXPECT_STREQ(other->Diagram().arcs[0]->head->name.Text(), "N2");
    LogicalRect bounds = pasted[0]->NodeRect();
    for (const InfluenceNodeRecord* node : pasted) {
        bounds.left = std::min(bounds.left, node->left);
        bounds.right = std::max(bounds.right, node->right);
        bounds.top = std::min(bounds.top, node->top);
        bounds.bottom = std::max(bounds.bottom, node->bottom);
    }
    const LogicalRect view = other->VisibleArea();
    EXPECT_NEAR(bounds.left + bounds.right, view.left + view.right, 0.01);
    EXPECT_NEAR(bounds.top + bounds.bottom, view.top + view.bottom, 0.01);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Paste Nodes\tCtrl+Z");
    Undo();
    EXPECT_TRUE(other->Diagram().nodes.empty());
    EXPECT_TRUE(other->Diagram().arcs.empty());
    Redo();
    EXPECT_EQ(other->Diagram().nodes.size(), 3u);
    // Pasted again into its own diagram, the copies take free variable names.
    SendMessageA(other->Handle(), WM_COMMAND, Cmd::EditPaste, 0);
    ASSERT_EQ(pasted.size(), 6u);
    EXPECT_STREQ(pasted[3]->variableName.Text(), "N4_1");
    EXPECT_EQ(other->Diagram().arcs.size(), 2u);
    other->SetModified(0);
    delete other;

    // Undoing the copy gives the clipboard back what it held.
    window->Activate();
    WaitForMenusOf(window);
    Undo();
    EXPECT_EQ(ClipboardText(), "hello");
    EXPECT_EQ(CanPasteDiagramNodes(), 0);
    window->SetModified(0);
}

TEST_F(DiagramClipboard, CutNodesComeBackAtTheirIndexesWithEveryArc)
{
    BuildRow();
    const std::vector<InfluenceNodeRecord*> nodes = Nodes();
    const std::vector<InfluenceArc*> arcs = Document().diagram.arcs;
    window->ShowNodes(Pick({5, 2}));
    Command(Cmd::EditCut);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Cut Nodes\tCtrl+Z");
    EXPECT_EQ(Nodes(), (std::vector<InfluenceNodeRecord*>{nodes[0], nodes[1], nodes[3], nodes[4]}));
    ASSERT_EQ(Document().diagram.arcs.size(), 1u);
    EXPECT_EQ(Document().diagram.arcs[0], arcs[4]);
    EXPECT_TRUE(Nodes()[0]->arcsOut.empty());
    EXPECT_EQ(CanPasteDiagramNodes(), 2);
    for (int round = 0; round < 2; ++round) {
        Undo();
        EXPECT_EQ(Nodes(), nodes);
        EXPECT_EQ(Document().diagram.arcs, arcs);
        EXPECT_EQ(window->SelectedNodes(), Pick({2, 5}));
        EXPECT_EQ(nodes[0]->arcsOut, std::vector<InfluenceArc*>{arcs[0]});
        EXPECT_EQ(nodes[4]->arcsIn.size(), 2u);
        EXPECT_EQ(arcs[2]->tail, nodes[1]);
        EXPECT_EQ(arcs[2]->head, nodes[5]);
        Redo();
        EXPECT_EQ(Nodes().size(), 4u);
    }
    // Pasted back, they keep their variable names, free again.
    Command(Cmd::EditPaste);
    ASSERT_EQ(Nodes().size(), 6u);
    EXPECT_STREQ(Nodes()[4]->variableName.Text(), "N5");
    window->SetModified(0);
}

TEST_F(DiagramClipboard, ClonesAndSubModelsStayOffTheClipboardAndClonesGoOnlyAfterYes)
{
    const SampleDiagram sample = BuildSampleDiagram(Document());
    window->UpdateExtent();
    const struct {
        unsigned command;
        std::vector<InfluenceNodeRecord*> selection;
        const char* text;
    } cases[] = {
        {Cmd::EditCopy, {sample.clone, sample.value}, "You may not put clone nodes on the clipboard."},
        {Cmd::EditCopy, {sample.subModel, sample.value}, "You may not put sub-model nodes on the clipboard."},
        {Cmd::EditCut, {sample.subModel, sample.clone},
         "You may not put clone or sub-model nodes on the clipboard. Choose \"Clear\" to delete them."},
    };
    for (const auto& guard : cases) {
        PutText("kept");
        window->ShowNodes(guard.selection);
        const size_t before = boxes.Count();
        Command(guard.command);
        ASSERT_EQ(boxes.Count(), before + 1);
        EXPECT_EQ(boxes.Last().text, guard.text);
        // With nothing left, nothing happened.
        if (guard.command == Cmd::EditCut)
            EXPECT_EQ(ClipboardText(), "kept");
        else
            EXPECT_EQ(CanPasteDiagramNodes(), 1);
    }
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Copy Node\tCtrl+Z");

    // Clearing a master: No leaves everything and the history; Yes destroys the clone first and forgets
    // the history, and the clearing itself undoes.
    const std::vector<InfluenceNodeRecord*> nodes = Nodes();
    window->ShowNodes({sample.chance});
    boxes.Answer(IDNO);
    Command(Cmd::EditClear);
    EXPECT_EQ(boxes.Last().text.rfind("Some of the selected nodes have clones.", 0), 0u);
    EXPECT_EQ(Nodes(), nodes);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Copy Node\tCtrl+Z");
    boxes.Answer(IDYES);
    Command(Cmd::EditClear);
    EXPECT_EQ(Nodes().size(), nodes.size() - 2);
    EXPECT_TRUE(sample.chance->clones.empty());
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Clear Node\tCtrl+Z");
    Undo();
    EXPECT_EQ(Nodes().size(), nodes.size() - 1);
    EXPECT_EQ(Nodes()[1], sample.chance);
    EXPECT_TRUE(Grayed(Cmd::EditUndo));
    window->SetModified(0);
}

TEST_F(DiagramClipboard, CutNoteGivesTheClipboardBackAndADamagedBlockPastesNothing)
{
    auto* note = new NoteBox(LogicalRect{1, 1, 2.5f, 1.6f}, nullptr);
    note->text = "Remember";
    Document().diagram.notes.Add(note);
    PutText("hello");
    window->SelectNote(note);
    Command(Cmd::EditCut);
    EXPECT_EQ(MenuText(Cmd::EditUndo), "&Undo Cut Note\tCtrl+Z");
    EXPECT_EQ(Document().diagram.notes.Count(), 0);
    EXPECT_TRUE(IsNoteBoxOnClipboard());
    EXPECT_EQ(MenuText(Cmd::EditPaste), "&Paste Note\tCtrl+V");
    Undo();
    EXPECT_EQ(Document().diagram.notes.Count(), 1);
    EXPECT_EQ(window->SelectedNote(), note);
    EXPECT_EQ(ClipboardText(), "hello");
    EXPECT_FALSE(IsNoteBoxOnClipboard());

    // Counts that the block cannot hold, or references that repeat, make nothing.
    const std::vector<std::vector<uint8_t>> damaged = {
        {200, 0, 0, 0, 1, 0}, {0xff, 0xff, 0xff, 0xff}, {2, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 7}};
    for (const auto& bytes : damaged) {
        Clipboard clipboard = MainWindowClipboard();
        clipboard.Empty();
        clipboard.PutBlock(bytes.data(), static_cast<uint32_t>(bytes.size()), DiagramNodesFormat());
        const int16_t count = 2;
        clipboard.PutBlock(&count, 2, DiagramNodesExtraFormat());
        window->ClearSelection();
        Command(Cmd::EditPaste);
        EXPECT_TRUE(Nodes().empty());
    }
    window->SetModified(0);
}

#ifdef KIVO_PROGRAM
// Taken before the windows' locks, as every test that talks to another program does.
struct HoldsDdeTestLock {
    DdeTestLock dde;
};

class DiagramClipboardAcrossPrograms : protected HoldsDdeTestLock, public DiagramClipboard {};

// The other program opens an empty diagram, pastes what this one copied when told to, and saves it.
TEST_F(DiagramClipboardAcrossPrograms, AnotherProgramPastesCopiedNodes)
{
    const std::string target = TempFilePath("kivo_paste_target.ind");
    {
        InfluenceDocument empty;
        FileStream stream(target.c_str(), true);
        ASSERT_TRUE(empty.Write(stream));
    }
    const std::string job = TempFilePath("kivo_paste_job.txt");
    std::FILE* file = std::fopen(job.c_str(), "wb");
    std::fprintf(file, "!OpenFile(\"%s\")\n!SetScriptVar(opened,1)\n", target.c_str());
    std::fclose(file);
    BuildRow();
    window->ShowNodes(Pick({0, 2, 4}));
    Command(Cmd::EditCopy);
    ProgramProcess program(KIVO_PROGRAM, job);
    ASSERT_TRUE(program.WaitForScriptItem("SV_OPENED", "1", 60000)) << "No empty diagram opened: " << program.State();
    HWND frame = nullptr;
    program.WindowTitles(&frame);
    PostMessageA(frame, WM_COMMAND, Cmd::EditPaste, 0);
    PostMessageA(frame, WM_COMMAND, Cmd::FileSave, 0);
    DWORD code = 0;
    ASSERT_TRUE(program.Close(code));
    InfluenceDocument pasted;
    ASSERT_TRUE(pasted.ReadFile(target.c_str()));
    ASSERT_EQ(pasted.diagram.nodes.size(), 3u);
    EXPECT_STREQ(pasted.diagram.nodes[0]->name.Text(), "N4");
    ASSERT_EQ(pasted.diagram.arcs.size(), 1u);
    EXPECT_STREQ(pasted.diagram.arcs[0]->tail->name.Text(), "N0");
    window->SetModified(0);
}
#endif

} // namespace
