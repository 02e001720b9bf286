// Every undoable command of the tree and diagram windows, done as the program does it (menu commands, script
// lines, the mouse and keys): each Undo gives back the file saved before its step byte for byte, each Redo the
// file saved after it.

#include "framework/dialog/FontDialog.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/NodeLinkBlock.h"
#include "model/NodePath.h"
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
#include "treewin/NodeMeasure.h"
#include "treewin/NodeValueWindow.h"
#include "treewin/TreePane.h"
#include "tests/support/DescendantControl.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/Shell.h"
#include "widgets/UndoHistory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
        // paying uMed with the second text "seen" and Markov node "M" (C) over state "Well" (CA: chance, over
        // "Die"); uMed = 70 at the root; a note, and an arrow left of the tree. A typed probability completes the
        // one sibling left without one. "A2" publishes its expected value as a link entry.
        TreeWindow tree;
        TreeDocument& document = tree.Document();
        document.Root->SetKind(DecisionNode, false);
        document.Root->SetText("R", false);
        TreeNode* a = document.AddChild(document.Root, ChanceNode, "A");
        document.AddChild(a, TerminalNode, "A1", "0.3", "uMed");
        document.LinkIdFor(document.AddChild(a, TerminalNode, "A2", "0.7", "2"), NodeLinkBlock::ExpectedValueLink);
        document.AddChild(document.Root, TerminalNode, "B", "", "uMed")->SetText2("seen", false);
        TreeNode* markov = document.AddChild(document.Root, MarkovNode, "M");
        TreeNode* well = document.AddChild(markov, ChanceNode, "Well", "1");
        document.AddChild(well, TerminalNode, "Die", "1");
        document.EnsureVariable("uMed", nullptr);
        document.Root->SetBinding("uMed", "70", false);
        document.CalcPrefs.CalcComplementaryProbs = 1;
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
        // Text another test left on the clipboard would make Paste with a name open ask Text or Node: the
        // table starts from an empty clipboard (the fixture holds the clipboard's test lock).
        if (OpenClipboard(frame->Handle())) {
            EmptyClipboard();
            CloseClipboard();
        }
        scopes = EditScopeDialog::SetPresenter([this](EditScopeDialog& d) {
            d.scope = scope;
            return IDOK;
        });
        insert = InsertBranchDialog::SetPresenter([](InsertBranchDialog& d) { d.mode = 38; return IDOK; });
        kind = ChangeNodeTypeDialog::SetPresenter([this](ChangeNodeTypeDialog& d) {
            d.kind = chosenKind;
            return IDOK;
        });
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

    // The screen point of a place of the tree's drawing (inches), or of a rectangle's middle.
    POINT OnTree(float x, float y)
    {
        TreePane* treePane = Tree()->Pane();
        treePane->PushDrawingScale();
        const RECT pixels =
            treePane->DrawingToClient(LogicalRectToPixels(LogicalRect{x, y, x, y}, *treePane->CurrentDisplay()));
        treePane->PopDrawingScale();
        return RealInput::OnScreen(treePane->Handle(), POINT{pixels.left, pixels.top});
    }
    POINT OnTree(const LogicalRect& rect) { return OnTree((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); }
    // Empty paper near the tree pane's bottom right corner.
    POINT Paper()
    {
        RECT client{};
        GetClientRect(Tree()->Pane()->Handle(), &client);
        return RealInput::OnScreen(Tree()->Pane()->Handle(), POINT{client.right - 30, client.bottom - 30});
    }
    // A person's press at one screen point and release at another (a click where they are the same), the frame
    // on top; the program's own processing until what it does has happened. A press near the last one comes a
    // double-click time after it, a click of its own.
    void Hand(POINT from, POINT to, const std::function<bool()>& happened)
    {
        ScreenOnTop onTop(frame->Handle());
        if (std::abs(from.x - lastPress.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
            std::abs(from.y - lastPress.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
            PumpProgramUntil([this] { return GetTickCount() - lastPressTime > GetDoubleClickTime(); });
        if (from.x == to.x && from.y == to.y)
            RealInput::ClickAndDispatch(from);
        else
            RealInput::Drag(from, to);
        lastPress = from;
        lastPressTime = GetTickCount();
        EXPECT_TRUE(PumpProgramUntil(happened));
        SetCursorPos(2000, 2000);
    }
    void TreeClick(POINT at, const std::function<bool()>& happened) { Hand(at, at, happened); }
    // A click on the paper: nothing is selected, no text is open.
    void ClickPaper()
    {
        TreeClick(Paper(), [this] {
            return Tree()->Selection.Count() == 0 && Tree()->SelectedNote == nullptr &&
                   Tree()->SelectedArrow == nullptr && Tree()->InPlaceEditor == nullptr;
        });
    }
    // A click on the text opens its in-place editor (field 1 the node's name, 2 its probability, 3 a note's
    // text, 4 its second text).
    void ClickText(POINT at, int field)
    {
        TreeClick(at, [this, field] { return Tree()->InPlaceEditor != nullptr && Tree()->EditField == field; });
    }
    // Keys (xdotool's names, or a text typed) to the tree window's focus, then the program's own processing
    // until they are taken.
    void Keys(const std::string& keys, bool typed, const std::function<bool()>& taken)
    {
        ScreenOnTop onTop(frame->Handle());
        SetForegroundWindow(frame->Handle());
        if (typed)
            RealInput::Type(keys);
        else
            RealInput::Keys(keys);
        EXPECT_TRUE(PumpProgramUntil(taken)) << keys;
    }
    // The open editor's text selected whole from the keyboard.
    void SelectWholeText()
    {
        Keys("End shift+Home", false, [this] {
            const InPlaceEdit* editor = Tree()->InPlaceEditor;
            const EditCtrl::Selection selection = editor != nullptr ? editor->GetSelection() : EditCtrl::Selection{};
            return editor != nullptr && selection.low == 0 &&
                   static_cast<uint32_t>(selection.high) == editor->GetText().Length();
        });
    }
    // The open editor's text typed over (deleted for none), then a click on the paper.
    void TypeOver(const char* text)
    {
        SelectWholeText();
        Keys(*text != 0 ? text : "Delete", *text != 0, [this, text] {
            return Tree()->InPlaceEditor != nullptr && Tree()->InPlaceEditor->GetText() == zString(text);
        });
        ClickPaper();
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

    // Each row opened afresh, its steps done with a save after each; then undone step by step, each save
    // compared with the one before the step, and redone, each compared with the one after it. Last, later
    // steps that change nothing push the row's steps out of the history: what they held goes, the file stays.
    void Check(const std::vector<Row>& rows)
    {
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
                EXPECT_TRUE(saves.back() != saves[saves.size() - 2])
                    << "step " << counts.size() << " changed nothing saved";
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
            PushOutOfHistory();
            Close();
            MoveWindow(frame->Handle(), 0, 0, 900, 700, TRUE);
        }
    }

    // The node's type changed by the menu command, the dialog answered with the kind; the Jump To dialog, when
    // it asks the state an end node in a Markov model jumps to, with OK.
    void ChangeType(const char* path, int newKind, bool asksJump)
    {
        chosenKind = newKind;
        ModalDialogDriver driver;
        if (asksJump)
            driver.Press(IDOK);
        MenuCommandAt(path, Cmd::OptionsChangeNodeType);
        if (asksJump)
            EXPECT_TRUE(driver.Finished());
        chosenKind = DecisionNode;
    }

    // Font, answered with the font it shows, as often as the history holds steps: the first one may write the
    // font whole, the others change nothing, and each pushes out one step before it.
    void PushOutOfHistory()
    {
        if (Tree() != nullptr)
            ClickPaper();
        else
            window->ClearSelection();
        const FontDialogPresenter previous = SetFontDialogPresenter([](CHOOSEFONTA&) { return 1; });
        FrameCommand(Cmd::DisplayFont);
        const std::string before = Saved();
        for (int n = 0; n < UndoHistory::kCapacity; ++n)
            FrameCommand(Cmd::DisplayFont);
        SetFontDialogPresenter(previous);
        EXPECT_EQ(Position(), UndoHistory::kCapacity) << "the steps were not pushed out";
        EXPECT_EQ(Difference(Saved(), before), "") << "pushed out of the history";
    }

    // The tree's rows in two parts, which a test each runs: the structure and value commands; the clipboard,
    // notes, fonts, settings and typing.
    std::vector<Row> TreeRows(int part)
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
        const auto node = [this](const char* path) { return FindNodeByPath(Tree()->Document().Root, path); };
        // A click on the arrow's middle, or on the note's frame (inside it opens its text), selects it.
        const auto clickArrow = [this] {
            const TreeArrow* arrow = Tree()->Document().Arrows.At(0);
            TreeClick(OnTree((arrow->tailX + arrow->headX) / 2, (arrow->tailY + arrow->headY) / 2),
                      [this, arrow] { return Tree()->SelectedArrow == arrow; });
        };
        const auto clickNote = [this](bool inside) {
            const NoteBox* note = Tree()->Document().NoteBoxes.At(0);
            const LogicalRect f = note->frame;
            const float x = inside ? (f.left + f.right) / 2 : f.left + NoteBox::kMargin;
            const POINT at = OnTree(x, (f.top + f.bottom) / 2);
            if (inside)
                ClickText(at, 3);
            else
                TreeClick(at, [this, note] { return Tree()->SelectedNote == note; });
        };
        // The arrow or the note clicked, then the command as the menu sends it.
        const auto arrow = [this, clickArrow](unsigned id) {
            return [this, clickArrow, id] {
                clickArrow();
                scope = TreeWindow::ScopeArrow;
                FrameCommand(id);
            };
        };
        const auto note = [this, clickNote](unsigned id) {
            return [this, clickNote, id] {
                clickNote(false);
                scope = TreeWindow::ScopeNote;
                FrameCommand(id);
            };
        };
        const auto subtree = [this](const char* path, unsigned id) {
            return [this, path, id] {
                MenuCommandAt(path, Cmd::OptionsSelectSubtree);
                FrameCommand(id);
            };
        };
        // What the step copied pasted after a click on the paper.
        const auto pasted = [this](const Step& copy) {
            return [this, copy] {
                copy();
                ClickPaper();
                FrameCommand(Cmd::EditPaste);
            };
        };
        // A click on the node's text of the field opens it; the text is typed over.
        const auto typing = [this, node](const char* path, int field, const char* text) {
            return [this, node, path, field, text] {
                TreeNode* at = node(path);
                ClickText(OnTree(field == 2 ? ProbRect(*Tree(), at) : field == 4 ? SecondTextRect(*Tree(), at, false)
                                                                                  : NameRect(*Tree(), at)),
                          field);
                TypeOver(text);
            };
        };
        // The text that a click opened (none: the tree's font), then the Font command, its dialog answered with
        // 18 points.
        const auto font = [this](const Step& select) {
            return [this, select] {
                select();
                const FontDialogPresenter previous = SetFontDialogPresenter([](CHOOSEFONTA& d) {
                    d.lpLogFont->lfHeight = -24;
                    d.iPointSize = 180;
                    return 1;
                });
                FrameCommand(Cmd::DisplayFont);
                SetFontDialogPresenter(previous);
            };
        };
        // The command's dialog answered by the steps.
        const auto dialog = [this](const char* path, unsigned id, std::function<void(ModalDialogDriver&)> answer) {
            return [this, path, id, answer] {
                ModalDialogDriver driver;
                answer(driver);
                MenuCommandAt(path, id);
                EXPECT_TRUE(driver.Finished());
            };
        };
        const auto answered = [this](int answer, const Step& step) {
            return [this, answer, step] {
                boxes.Answer(answer);
                step();
            };
        };
        // The node's name opened by a click on its symbol, selected whole from the keyboard, then the Edit command
        // on the text.
        const auto editText = [this, node](unsigned id) {
            return [this, node, id] {
                ClickText(OnTree(SymbolRect(node("B"))), 1);
                if (id != Cmd::EditPaste)
                    SelectWholeText();
                scope = TreeWindow::ScopeText;
                FrameCommand(id);
            };
        };
        std::vector<Row> structureAndValues = {
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
            {"Skip Generation", false,
             {command("A", Cmd::DisplaySkipGeneration), command("A", Cmd::DisplayUnskipGeneration)}},
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
        };
        std::vector<Row> clipboardNotesFontsAndTyping = {
            {"Cut Node, Paste Node", false, {command("AB", Cmd::EditCut), command("A", Cmd::EditPaste)}},
            {"Cut Subtree, Paste Subtree", false, {subtree("A", Cmd::EditCut), command("A", Cmd::EditPaste)}},
            {"Clear Subtree", false, {subtree("A", Cmd::EditClear)}},
            {"Paste Arrow", false, {pasted(arrow(Cmd::EditCopy))}},
            {"Paste Note", false, {pasted(note(Cmd::EditCopy))}},
            {"Create Note", false, {[this] {
                 FrameCommand(Cmd::DisplayCreateNote);
                 const int position = Position();
                 Hand(OnTree(3.0f, 4.2f), OnTree(4.5f, 5.0f), [this, position] { return Position() > position; });
             }}},
            {"Move Note", false, {[this, clickNote] {
                 clickNote(false);
                 const LogicalRect f = Tree()->Document().NoteBoxes.At(0)->frame;
                 const int position = Position();
                 Hand(OnTree(f.left + NoteBox::kMargin, f.bottom - 0.2f), OnTree(f.left + 0.5f, f.bottom + 0.1f),
                      [this, position] { return Position() > position; });
             }}},
            {"Resize Note", false, {[this, clickNote] {
                 clickNote(false);
                 const LogicalRect text = Tree()->Document().NoteBoxes.At(0)->GetTextRect();
                 const int position = Position();
                 Hand(OnTree(text.right, text.bottom), OnTree(text.right + 0.4f, text.bottom + 0.2f),
                      [this, position] { return Position() > position; });
             }}},
            // The note's font differs from the tree's, so binding gives it to the node's second text.
            {"Font of a note, Bind Note, Unbind Note", false,
             {font([clickNote] { clickNote(true); }), [this, clickNote, node] {
                 clickNote(false);
                 boxes.Answer(IDOK);
                 FrameCommand(Cmd::DisplayBindNote);
                 const int position = Position();
                 TreeClick(OnTree(SymbolRect(node("AB"))), [this, position] { return Position() > position; });
             }, command("AB", Cmd::DisplayBindNote)}},
            {"Font of the tree", false, {font([this] { ClickPaper(); })}},
            {"Font of a name", false, {font([this, node] { ClickText(OnTree(NameRect(*Tree(), node("B"))), 1); })}},
            {"Font of a note", false, {font([clickNote] { clickNote(true); })}},
            {"Preferences", false, {dialog("", Cmd::DisplayPreferences, [](ModalDialogDriver& d) {
                 d.Then(ModalDialogDriver::ClickingWithin(Ctl::Preferences::CategoryList, 9))
                     .Then(ModalDialogDriver::ClickingWithin(Ctl::TreeDisplayPage::BranchLinesAtRightAngles))
                     .Press(IDOK);
             })}},
            {"Clones", false,
             {[this] {
                  ModalDialogDriver driver;
                  driver.Type(Ctl::PromptOneLine::NameField, "Twin").Press(IDOK);
                  MenuCommandAt("A", Cmd::OptionsSelectSubtree);
                  FrameCommand(Cmd::EditCreateClone);
                  EXPECT_TRUE(driver.Finished());
              },
              command("", Cmd::OptionsAddBranches), command("A", Cmd::EditAttachClone),
              answered(IDYES, command("A", Cmd::EditAttachClone)), answered(IDOK, subtree("B", Cmd::EditCreateClone))}},
            {"Probability Wheel", false, {dialog("A", Cmd::ValuesProbabilityWheel, [](ModalDialogDriver& d) {
                 d.Then([](DialogFrameCL& wheel) {
                     SetWindowTextA(FindDescendant(wheel.Handle(), DialogRes::SnapshotFormat), "0.4");
                 }).Press(IDOK);
             })}},
            {"Markov Transition Node", false,
             {dialog("CAA", Cmd::OptionsMarkovTransitionNode, [](ModalDialogDriver& d) { d.Press(IDOK); })}},
            {"Change Node Type to Terminal in a Markov model", false,
             {[this] { ChangeType("CAA", ChanceNode, false); }, [this] { ChangeType("CAA", TerminalNode, true); }}},
            {"Change Node Type of a Markov state to Terminal", false,
             {command("CAA", Cmd::OptionsDeleteBranch), [this] { ChangeType("CA", TerminalNode, false); }}},
            {"Markov Transition Rewards", false, {valueWindow("CAA", Cmd::ValuesMarkovTransitionRewards, 31011, "5")}},
            {"Expand Entire Subtree", false,
             {command("A", Cmd::DisplayCollapseSubtree), command("A", Cmd::DisplayExpandEntireSubtree)}},
            {"Change Optimal Path", false, {answered(IDOK, command("", Cmd::OptionsChangeOptimalPath))}},
            {"Typing a name", false, {typing("B", 1, "Bee")}},
            {"Typing probabilities", false, {typing("AB", 2, ""), typing("AA", 2, "0.25")}},
            {"Typing a probability with a variable", false, {typing("AA", 2, "uMed/100")}},
            // "A2" reads uMed, then binds it itself; typing at "A1" completes the new third branch, which
            // evaluates "A2" with its own binding.
            {"Typing a probability whose sibling reads its own binding", false,
             {command("A", Cmd::OptionsAddBranches), typing("AB", 2, "uMed/100"),
              script("!SelectNode(AB)\n!SetNodeVar(uMed,0.35*2)\n"), typing("AC", 2, "0.25")}},
            {"Typing a second text", false, {typing("B", 4, "unseen")}},
            {"Typing a note", false, {[this, clickNote] {
                 clickNote(true);
                 TypeOver("remark");
             }}},
            {"Cut, Paste and Clear Text", false,
             {editText(Cmd::EditCut), editText(Cmd::EditPaste), editText(Cmd::EditClear)}},
        };
        return part == 0 ? structureAndValues : clipboardNotesFontsAndTyping;
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
    // The kind the Change Node Type dialog is answered with.
    int chosenKind = DecisionNode;
    ReorderBranchesDialog::Presenter reorder;
    // Where and when the last press on the tree was.
    POINT lastPress{-100, -100};
    DWORD lastPressTime = 0;
};

TEST_F(UndoSteps, EachTreeUndoGivesBackTheSaveBeforeItsStepAndEachRedoTheSaveAfter)
{
    Check(TreeRows(0));
}

TEST_F(UndoSteps, EachTreeUndoOfClipboardNotesFontsAndTypingGivesBackTheSaveBeforeItsStep)
{
    Check(TreeRows(1));
}

// Every way to change a node's type (the menu, Ctrl+T, a script line), outside a Markov model and inside one:
// an end node made a chance node and then an end node again pays what it paid.
TEST_F(UndoSteps, EveryWayToChangeAnEndNodeAndBackKeepsItsPayoff)
{
    using Way = std::function<void(const char* path, int kind, bool inMarkov)>;
    const auto node = [this](const char* path) { return FindNodeByPath(Tree()->Document().Root, path); };
    // Back to an end node outside a Markov model, the change clears the history once the person agrees.
    const auto agreed = [this](int kind, bool inMarkov) {
        if (kind == TerminalNode && !inMarkov)
            boxes.Answer(IDOK);
    };
    const Way menu = [this, agreed](const char* path, int kind, bool inMarkov) {
        agreed(kind, inMarkov);
        ChangeType(path, kind, kind == TerminalNode && inMarkov);
    };
    const Way keys = [this, agreed, node](const char* path, int kind, bool inMarkov) {
        agreed(kind, inMarkov);
        RunScript(std::string("!SelectNode(") + path + ")\n");
        chosenKind = kind;
        ModalDialogDriver driver;
        if (kind == TerminalNode && inMarkov)
            driver.Press(IDOK);
        Keys("ctrl+t", false, [node, path, kind] { return node(path)->kind == kind; });
        chosenKind = DecisionNode;
    };
    const Way script = [this](const char* path, int kind, bool) {
        RunScript(std::string("!SelectNode(") + path + ")\n!ChangeNodeType(" + std::to_string(kind) + ")\n");
    };
    const struct {
        const char* way;
        Way change;
    } ways[] = {{"menu", menu}, {"Ctrl+T", keys}, {"script", script}};
    // "B" pays uMed; "Die", in the Markov model, is given 42.
    const struct {
        const char* path;
        bool inMarkov;
        const char* payoff;
    } places[] = {{"B", false, "uMed"}, {"CAA", true, "42"}};
    for (const auto& way : ways) {
        for (const auto& place : places) {
            SCOPED_TRACE(std::string(way.way) + " at " + place.path);
            Open(false);
            if (place.inMarkov)
                RunScript(std::string("!SelectNode(") + place.path + ")\n!SetNodePayoff(1," + place.payoff + ")\n");
            ASSERT_EQ(std::string(node(place.path)->payoffs[0].Text().Text()), place.payoff);
            way.change(place.path, ChanceNode, place.inMarkov);
            EXPECT_EQ(node(place.path)->kind, ChanceNode);
            way.change(place.path, TerminalNode, place.inMarkov);
            EXPECT_EQ(node(place.path)->kind, TerminalNode);
            EXPECT_EQ(std::string(node(place.path)->payoffs[0].Text().Text()), place.payoff);
            EXPECT_NE(Saved().find(place.payoff), std::string::npos);
            Close();
        }
    }
}

TEST_F(UndoSteps, EachDiagramUndoGivesBackTheSaveBeforeItsStepAndEachRedoTheSaveAfter)
{
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
    Check({
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
        {"Copy and Paste Nodes", true, {[copy = nodes({0, 1, 2}, Cmd::EditCopy), paste = nodes({}, Cmd::EditPaste)] {
             copy();
             paste();
         }}},
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
    });
}

} // namespace
