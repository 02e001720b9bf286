// Every undoable command of the tree and diagram windows, done as the program does it (menu commands, script
// lines, the mouse and keys): each Undo gives back the file saved before its step byte for byte, each Redo the
// file saved after it.

#include "framework/dialog/FontDialog.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "script/ScriptManager.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/ClipboardTestText.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/SampleDiagram.h"
#include "treewin/ChangeNodeTypeDialog.h"
#include "treewin/InsertBranchDialog.h"
#include "treewin/ReorderBranchesDialog.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeWindow.h"
#include "treewin/VariablesWindow.h"
#include "dialogs/EditScopeDialog.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "treewin/NodeValueWindow.h"
#include "widgets/Shell.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

std::string TempPath(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

std::string Bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Where two saves part: their sizes and the first byte that differs; empty when they are the same.
std::string Difference(const std::string& saved, const std::string& expected)
{
    if (saved == expected)
        return "";
    const auto at = std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end()).first - saved.begin();
    return std::to_string(saved.size()) + " bytes for " + std::to_string(expected.size()) + ", first difference at " +
           std::to_string(at);
}

class UndoSteps : public ShownDiagram {
protected:
    using Step = std::function<void()>;
    struct Row {
        const char* command;
        bool diagram;
        // Each step records one or more undo steps.
        std::vector<Step> steps;
        // Done after the undos, before the redos.
        Step meanwhile = nullptr;
    };

    UndoSteps()
    {
        // Root decision "R" (path ""): chance "A" over "A1" (AA: 0.3, uMed) and "A2" (AB: 0.7, 2), end node "B"
        // paying uMed and Markov node "M" (C) over state "Well" (CA: chance, over "Die"); uMed = 70 at the root;
        // a note, and an arrow left of the tree.
        TreeWindow tree;
        TreeDocument& document = tree.Document();
        document.Root->SetKind(DecisionNode, false);
        document.Root->SetText("R", false);
        TreeNode* a = document.AddChild(document.Root, ChanceNode, "A");
        document.AddChild(a, TerminalNode, "A1", "0.3", "uMed");
        document.AddChild(a, TerminalNode, "A2", "0.7", "2");
        document.AddChild(document.Root, TerminalNode, "B", "", "uMed");
        TreeNode* markov = document.AddChild(document.Root, MarkovNode, "M");
        TreeNode* well = document.AddChild(markov, ChanceNode, "Well", "1");
        document.AddChild(well, TerminalNode, "Die", "1");
        document.EnsureVariable("uMed", nullptr);
        document.Root->SetBinding("uMed", "70", false);
        auto* note = new NoteBox(LogicalRect{1.0f, 3.0f, 2.5f, 3.5f}, &document);
        note->text = "note";
        document.AddNoteBox(note);
        auto* arrow = new TreeArrow{0.2f, 3.8f, 1.0f, 3.5f};
        tree.AddArrow(arrow);
        zString message;
        EXPECT_TRUE(tree.SaveAs(treeFile.c_str(), message)) << message.Text();
        BuildSampleDiagram(Document());
        // A deterministic node for the range, below the others.
        AddDiagramNode(Document(), Document().diagram, InfluenceKind::Deterministic, "Price", 2.5f, 4.0f);
        window->UpdateExtent();
        EXPECT_EQ(window->SaveAs(diagramFile.c_str()), 1);
        window->SetModified(0);
        shown = window;
        scopes = EditScopeDialog::SetPresenter([this](EditScopeDialog& d) {
            d.scope = scope;
            return IDOK;
        });
        insert = InsertBranchDialog::SetPresenter([](InsertBranchDialog& d) { d.mode = 38; return IDOK; });
        kind = ChangeNodeTypeDialog::SetPresenter([](ChangeNodeTypeDialog& d) { d.kind = DecisionNode; return IDOK; });
        reorder = ReorderBranchesDialog::SetPresenter([](ReorderBranchesDialog& d) {
            d.order = {2, 0, 1};
            return IDOK;
        });
    }
    ~UndoSteps() override
    {
        for (const std::string& path : {treeFile, diagramFile, savedTree, savedDiagram, script})
            std::remove(path.c_str());
        TheTreeClipboard().SetArrow(nullptr);
        EditScopeDialog::SetPresenter(scopes);
        InsertBranchDialog::SetPresenter(insert);
        ChangeNodeTypeDialog::SetPresenter(kind);
        ReorderBranchesDialog::SetPresenter(reorder);
    }

    // The row's document opened afresh in the frame, on top.
    void Open(bool diagram)
    {
        const std::string path = diagram ? diagramFile : treeFile;
        const std::string copy = TempPath(diagram ? "kivo-undo-row.ind" : "kivo-undo-row.tre");
        CopyFileA(path.c_str(), copy.c_str(), FALSE);
        document = TheShell().OpenFileByName(copy.c_str());
        ASSERT_NE(document, nullptr);
        document->Show(SW_SHOWMAXIMIZED);
        WaitForMenusOf(document);
        working = document;
        if (auto* diagramWindow = dynamic_cast<InfluenceDiagramWindow*>(document)) {
            window = diagramWindow;
            pane = window->Pane();
        }
    }
    void Close()
    {
        document->SetModified(0);
        delete document;
        document = nullptr;
        working = nullptr;
        window = shown;
        pane = window->Pane();
    }
    std::string Saved()
    {
        const std::string& path = Tree() != nullptr ? savedTree : savedDiagram;
        EXPECT_EQ(document->SaveAs(path.c_str()), 1);
        return Bytes(path);
    }
    TreeWindow* Tree() const { return dynamic_cast<TreeWindow*>(document); }
    int Position() const { return working->History().Position(); }

    void RunScript(const std::string& lines)
    {
        std::FILE* file = std::fopen(script.c_str(), "wb");
        std::fwrite(lines.data(), 1, lines.size(), file);
        std::fclose(file);
        scripts.RunScriptFile(script.c_str());
    }
    void FrameCommand(unsigned id) { SendMessageA(frame->Handle(), WM_COMMAND, id, 0); }
    // The script selects the node at the path ("" the root), then the command goes as the menu sends it.
    void MenuCommandAt(const char* path, unsigned id)
    {
        RunScript(*path != 0 ? std::string("!SelectNode(") + path + ")\n" : "!SelectRoot\n");
        FrameCommand(id);
    }

    const std::string treeFile = TempPath("kivo-undo.tre");
    const std::string diagramFile = TempPath("kivo-undo.ind");
    const std::string savedTree = TempPath("kivo-undo-saved.tre");
    const std::string savedDiagram = TempPath("kivo-undo-saved.ind");
    const std::string script = TempPath("kivo-undo-script.txt");
    // The node value window the last command opened: its field typed into, then OK.
    void ConfirmValueWindow(unsigned field, const char* text)
    {
        const int count = Tree()->ChildWindows().Count();
        ASSERT_GT(count, 0);
        auto* bound = static_cast<NodeValueWindow*>(Tree()->ChildWindows().At(count - 1));
        if (field != 0)
            SetWindowTextA(GetDlgItem(bound->Handle(), field), text);
        SendMessageA(bound->Handle(), WM_COMMAND, IDOK, 0);
    }

    // The root's "uMed = 70" double-clicked in the Variables window, the definition emptied and OK pressed,
    // the question whether to eliminate it answered OK.
    void EmptyDefinitionFromTheVariablesWindow()
    {
        RunScript("!SelectRoot\n");
        FrameCommand(Cmd::ShowVariables);
        VariablesWindow* variables = Tree()->VariablesView;
        ASSERT_NE(variables, nullptr);
        const HWND list = variables->List()->Handle();
        const LRESULT item = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>("uMed = 70"));
        ASSERT_NE(item, LB_ERR);
        RECT line{};
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&line));
        ScreenOnTop onTop(frame->Handle());
        const int open = Tree()->ChildWindows().Count();
        RealInput::DoubleClick(RealInput::OnScreen(list, POINT{(line.left + line.right) / 2, (line.top + line.bottom) / 2}));
        ASSERT_TRUE(PumpMessagesUntil([&] { return Tree()->ChildWindows().Count() > open; }));
        const HWND defining = static_cast<WindowCL*>(Tree()->ChildWindows().At(open))->Handle();
        // The definition shown is selected whole, with the focus.
        RealInput::Keys("Delete");
        ASSERT_TRUE(PumpMessagesUntil([&] { return GetWindowTextLengthA(GetDlgItem(defining, 31011)) == 0; }));
        boxes.Answer(IDOK);
        const int position = Position();
        RealInput::Click(RealInput::Middle(GetDlgItem(defining, IDOK)));
        EXPECT_TRUE(PumpMessagesUntil([&] { return Position() > position; }));
        SetCursorPos(2000, 2000);
        // Back to the tree for Edit > Undo, as the person clicks it.
        Tree()->Activate();
    }

    ScriptManager scripts;
    DocumentWindow* document = nullptr;
    // The window whose history the row's steps fill: the document's, or one showing a sub-model of it.
    DocChildWindow* working = nullptr;
    InfluenceDiagramWindow* shown = nullptr;
    // The scope the Edit commands' scope question is answered with.
    int scope = 0;
    EditScopeDialog::Presenter scopes;
    InsertBranchDialog::Presenter insert;
    ChangeNodeTypeDialog::Presenter kind;
    ReorderBranchesDialog::Presenter reorder;
};

TEST_F(UndoSteps, EachUndoGivesBackTheSaveBeforeItsStepAndEachRedoTheSaveAfter)
{
    const auto script = [this](const char* lines) { return [this, lines] { RunScript(lines); }; };
    const auto command = [this](const char* path, unsigned id, int answer = 0) {
        return [this, path, id, answer] {
            scope = answer;
            MenuCommandAt(path, id);
        };
    };
    const auto valueWindow = [this](const char* path, unsigned id, unsigned field, const char* text) {
        return [this, path, id, field, text] {
            MenuCommandAt(path, id);
            ConfirmValueWindow(field, text);
        };
    };
    const auto arrow = [this](unsigned id) {
        return [this, id] {
            Tree()->SelectArrow(Tree()->Document().Arrows.At(0));
            scope = TreeWindow::ScopeArrow;
            FrameCommand(id);
        };
    };
    const auto note = [this](unsigned id) {
        return [this, id] {
            Tree()->SelectNoteBox(Tree()->Document().NoteBoxes.At(0), nullptr, false);
            scope = TreeWindow::ScopeNote;
            FrameCommand(id);
        };
    };
    const auto diagramArc = [this](int index, unsigned id) {
        return [this, index, id] {
            window->SelectArc(Document().diagram.arcs[static_cast<size_t>(index)]);
            FrameCommand(id);
        };
    };
    // The diagram's nodes (by index) selected, then the command as the menu sends it, the dialogs it opens
    // answered by the driver's steps.
    using Answers = std::function<void(ModalDialogDriver&)>;
    const auto nodes = [this](std::vector<int> indexes, unsigned id, Answers answers = nullptr) {
        return [this, indexes, id, answers] {
            window->ClearSelection();
            for (int index : indexes)
                window->AddToSelection(Nodes()[static_cast<size_t>(index)]);
            ModalDialogDriver driver;
            if (answers)
                answers(driver);
            FrameCommand(id);
            EXPECT_TRUE(driver.Finished());
        };
    };
    const auto arcDialog = [this](int index, Answers answers) {
        return [this, index, answers] {
            window->SelectArc(Document().diagram.arcs[static_cast<size_t>(index)]);
            ModalDialogDriver driver;
            answers(driver);
            FrameCommand(Cmd::ArcEditArc);
            EXPECT_TRUE(driver.Finished());
        };
    };
    const auto newNode = [this](unsigned id, const char* label) {
        return [this, id, label] { NewNode(id, DiagramPoint{5, 1}, label); };
    };
    const auto type = [](unsigned field, const char* text) {
        return [field, text](ModalDialogDriver& d) { d.Type(field, text).Press(IDOK); };
    };
    // Redo pastes what was pasted where it was, whatever the clipboard and the view hold by then.
    const Step elsewhere = [this] {
        PutClipboardText(frame->Handle(), "text");
        MoveWindow(frame->Handle(), 0, 0, 700, 520, TRUE);
    };
    const Step newOutcome = nodes({1}, Cmd::DiagramOutcomes, [](ModalDialogDriver& d) {
        d.Press(Ctl::EditNodeOutcomes::Add).Type(Ctl::AddOutcomes::NameEdit, "Dead").Press(IDOK).Press(IDOK);
    });
    const Row rows[] = {
        {"ChangeNodeType", false, {script("!SelectNode(B)\n!ChangeNodeType(1)\n"), script("!ChangeNodeType(3)\n")}},
        {"SetNodeVar", false, {script("!SelectNode(B)\n!SetNodeVar(uMed,5)\n")}},
        {"SetNodePayoff", false, {script("!SelectNode(B)\n!SetNodePayoff(2,9)\n")}},
        {"AddBranches", false, {script("!SelectNode(A)\n!AddBranches\n")}},
        {"Add Branch", false, {command("A", Cmd::OptionsAddBranches)}},
        {"Insert Branch", false, {command("AA", Cmd::OptionsInsertBranch)}},
        {"Delete Branch", false, {command("AB", Cmd::OptionsDeleteBranch)}},
        {"Change Node Type", false, {command("A", Cmd::OptionsChangeNodeType)}},
        {"Reorder Branches", false, {command("", Cmd::OptionsReorderBranches)}},
        {"Force Path", false, {command("AA", Cmd::OptionsForcePath)}},
        {"Skip Generation", false, {command("A", Cmd::DisplaySkipGeneration), command("A", Cmd::DisplayUnskipGeneration)}},
        {"Collapse Subtree", false,
         {command("A", Cmd::DisplayCollapseSubtree), command("A", Cmd::DisplayExpandSubtreeOnce)}},
        {"Clear Node", false, {command("AB", Cmd::EditClear, TreeWindow::ScopeNode)}},
        {"Cut Arrow", false, {arrow(Cmd::EditCut)}},
        {"Clear Arrow", false, {arrow(Cmd::EditClear)}},
        {"Cut Note", false, {note(Cmd::EditCut)}},
        {"Clear Note", false, {note(Cmd::EditClear)}},
        {"Change Payoff", false, {valueWindow("B", Cmd::ValuesChangePayoff, 31011, "uMed+1")}},
        {"Markov State Info", false, {valueWindow("CA", Cmd::ValuesMarkovStateInformation, 0, nullptr)}},
        {"Markov Termination", false, {valueWindow("C", Cmd::ValuesMarkovTermination, 31011, "_stage > 3")}},
        {"Variables window", false, {[this] { EmptyDefinitionFromTheVariablesWindow(); }}},
        {"Create Node and Typing", true,
         {[this] { NewNode(Cmd::RightClickNewChance, DiagramPoint{5, 1}, "Rain"); }}},
        {"Drag", true, {[this] {
             InfluenceNodeRecord* node = Nodes()[0];
             Drag(At(node, 0, -0.18f), At(node, 0.5f, 0.3f));
         }}},
        {"Clear Arc", true, {diagramArc(0, Cmd::EditClear)}},
        {"Flip Arc", true, {diagramArc(0, Cmd::DiagramFlipArc)}},
        {"Straighten Arc", true, {diagramArc(1, Cmd::DiagramStraightenArc)}},
        {"Curve Arc", true, {[this] {
             const DiagramPoint middle = Document().diagram.arcs[0]->middle;
             window->ClearSelection();
             Click(At(middle));
             Drag(At(middle), At(DiagramPoint{middle.x, middle.y + 0.8f}));
         }}},
        {"Align Nodes", true, {[this] {
             window->SelectArc(Document().diagram.arcs[0]);
             ModalDialogDriver driver;
             driver.Click(Ctl::AlignNodes::Bottom).Press(IDOK);
             FrameCommand(Cmd::ArcAlignJoined);
         }}},
        {"Change Node Type", true, {[this] {
             window->SelectNode(Nodes()[1], false);
             ModalDialogDriver driver;
             driver.Click(Ctl::ChangeNodeType::Decision).Press(IDOK);
             FrameCommand(Cmd::OptionsChangeNodeType);
         }}},
        {"Clear Note", true, {[this] {
             window->SelectNote(Document().diagram.notes.At(0));
             FrameCommand(Cmd::EditClear);
         }}},
        {"Clear Node", true, {nodes({2}, Cmd::EditClear)}},
        {"Clear Sub-model", true, {nodes({3}, Cmd::EditClear)}},
        {"Clear Clone", true, {nodes({4}, Cmd::EditClear)}},
        {"Cut Node", true, {nodes({2}, Cmd::EditCut)}},
        {"Copy and Paste Nodes", true, {nodes({0, 1, 2}, Cmd::EditCopy), nodes({}, Cmd::EditPaste)}},
        {"Paste Nodes from another diagram", true, {[this] {
             shown->ClearSelection();
             for (size_t index : {0, 1})
                 shown->AddToSelection(shown->document.diagram.nodes[index]);
             SendMessageA(shown->Handle(), WM_COMMAND, Cmd::EditCopy, 0);
             window->ClearSelection();
             FrameCommand(Cmd::EditPaste);
         }}, elsewhere},
        {"Make Clone", true, {nodes({2}, Cmd::EditCreateClone, [](ModalDialogDriver& d) { d.Press(IDOK); })}},
        {"Make Clone in a sub-model", true, {nodes({2}, Cmd::EditCreateClone, [](ModalDialogDriver& d) {
             d.Then([](DialogFrameCL& dialog) { SendDlgItemMessageA(dialog.Handle(), Ctl::MakeClone::Models, LB_SETCURSEL, 1, 0); }).Press(IDOK);
         })}},
        {"Create Arc", true, {newNode(Cmd::RightClickNewChance, "Rain"), [this] {
             Drag(At(Nodes()[0]), At(Nodes().back()), MK_CONTROL);
         }}},
        {"Create Node with the tool", true, {[this] {
             FrameCommand(Cmd::ModeDecision);
             Click(At(DiagramPoint{5, 1}));
             window->ClearSelection();
         }}},
        {"Node Description", true, {nodes({0}, Cmd::DiagramDescription, [](ModalDialogDriver& d) {
             d.Type(Ctl::EditNodeDescription::NodeNameEdit, "Result").Type(Ctl::EditNodeDescription::AnnotationEdit, "why").Press(IDOK);
         })}},
        {"Node Variable", true, {nodes({1}, Cmd::DiagramVariable, type(Ctl::EditNodeVariable::VariableEdit, "Result"))}},
        {"Node Formula", true, {nodes({2}, Cmd::DiagramVariable, [](ModalDialogDriver& d) {
             d.Type(Ctl::EditNodeFormula::VariableEdit, "Worth");
             d.Then(ModalDialogDriver::Clicking(Ctl::EditNodeFormula::Formula));
             d.Type(Ctl::EditNodeFormula::FormulaEdit, "Outcome*2").Press(IDOK);
         })}},
        {"Node Range", true, {nodes({5}, Cmd::DiagramVariable, [](ModalDialogDriver& d) {
             d.Type(Ctl::EditNodeRange::LowValueEdit, "1").Type(Ctl::EditNodeRange::HighValueEdit, "9").Press(IDOK);
         })}},
        {"Node Outcomes", true, {newOutcome}},
        // The new outcome leaves the tables of its node and of the value node behind the arcs until the table
        // editor opens.
        {"Node Values", true,
         {newOutcome, nodes({2}, Cmd::DiagramValues, type(Ctl::Assign::ProbabilityEdit, "250"))}},
        {"Node Probabilities", true,
         {newOutcome, [this, edit = nodes({1}, Cmd::DiagramProbabilities, type(Ctl::Assign::ProbabilityEdit, "0.5"))] {
              boxes.Answer(IDYES);
              edit();
          }}},
        // A clone's table is its master's, in the level above: the edit in the sub-model's window reaches it.
        {"Node Values of a clone in a sub-model", true, {[this, type] {
             InfluenceNodeRecord* costs = Nodes()[3];
             // Off its label, which a double click would edit.
             DoubleClick(At(costs, (costs->right - costs->left) / 2 - 0.03f, 0),
                         [this, costs] { return window->SubModelWindow(costs) != nullptr; });
             InfluenceDiagramWindow* inner = window->SubModelWindow(costs);
             ASSERT_NE(inner, nullptr);
             working = window = inner;
             pane = window->Pane();
             WaitForMenusOf(window);
             window->SelectNode(window->Diagram().nodes[1], false);
             ModalDialogDriver driver;
             type(Ctl::Assign::ProbabilityEdit, "250")(driver);
             FrameCommand(Cmd::DiagramValues);
             EXPECT_TRUE(driver.Finished());
             EXPECT_NE(Nodes()[0]->DefinitionTree(InfluenceNodeRecord::ValueTable), nullptr) << "the edit was lost";
         }}},
        {"Edit Arc", true, {arcDialog(1, type(Ctl::EditArc::CommentEdit, "Dearer"))}},
        {"Arc Data", true, {arcDialog(0, [](ModalDialogDriver& d) {
             d.Then(ModalDialogDriver::Clicking(Ctl::ArcData::Show)).Press(IDOK);
         })}},
        {"Font Change", true, {[this] {
             window->ClearSelection();
             FontDialogPresenter previous = SetFontDialogPresenter([](CHOOSEFONTA& d) {
                 d.iPointSize = 360;
                 return 1;
             });
             FrameCommand(Cmd::DisplayFont);
             SetFontDialogPresenter(previous);
         }}},
        {"Copy and Paste Note", true, {[this] {
             window->SelectNote(Document().diagram.notes.At(0));
             FrameCommand(Cmd::EditCopy);
             window->ClearSelection();
             FrameCommand(Cmd::EditPaste);
         }}, elsewhere},
        {"Cut Note", true, {[this] {
             window->SelectNote(Document().diagram.notes.At(0));
             FrameCommand(Cmd::EditCut);
         }}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        Open(row.diagram);
        if (document == nullptr)
            continue;
        std::vector<std::string> saves{Saved()};
        std::vector<int> counts;
        for (const Step& step : row.steps) {
            const int before = Position();
            step();
            counts.push_back(Position() - before);
            EXPECT_GT(counts.back(), 0) << "step " << counts.size() << " recorded nothing";
            saves.push_back(Saved());
        }
        for (size_t i = row.steps.size(); i-- > 0;) {
            for (int n = 0; n < counts[i]; ++n)
                Undo();
            EXPECT_EQ(Difference(Saved(), saves[i]), "") << "undo of step " << i + 1;
        }
        if (row.meanwhile)
            row.meanwhile();
        for (size_t i = 0; i < row.steps.size(); ++i) {
            for (int n = 0; n < counts[i]; ++n)
                Redo();
            EXPECT_EQ(Difference(Saved(), saves[i + 1]), "") << "redo of step " << i + 1;
        }
        Close();
        MoveWindow(frame->Handle(), 0, 0, 900, 700, TRUE);
    }
}

} // namespace
