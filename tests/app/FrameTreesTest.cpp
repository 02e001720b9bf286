// Tree windows in the main frame: New makes one, Save and Close keep the file, Revert reopens the saved
// tree in place but never gives up unsaved work for a file that no longer reads, and the status bar names
// the active tree's method. Every write of a tree or a diagram holds what is typed in its open editor.

#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "dialogs/NewDocumentDialog.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualStatusPane.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "script/ScriptManager.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramLoop.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/SampleDiagram.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/EnterPayoffWindow.h"
#include "treewin/TreeWindow.h"
#include "widgets/InPlaceEdit.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

class FrameTrees : public ::testing::Test {
protected:
    FrameTrees()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        const char* temp = std::getenv("TEMP");
        path = std::string(temp ? temp : ".") + "\\kivo_frame_tree.tre";
    }
    ~FrameTrees() override
    {
        while (!TreeWindow::OpenWindows().empty())
            delete TreeWindow::OpenWindows().back();
        delete frame;
        std::remove(path.c_str());
    }
    void Post(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        MSG pending;
        PumpMessagesUntil([&] { return !PeekMessageA(&pending, frame->Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE); });
        PumpMessagesFor(20);
    }
    TreeWindow* Active() const { return dynamic_cast<TreeWindow*>(frame->ActiveChild()); }
    std::string Indicator(int key) const
    {
        auto* field = dynamic_cast<VisualFieldItem*>(frame->StatusPane()->FindItem(key));
        return field ? field->Text() : "?";
    }
    // A saved one-node tree, opened and then given a branch that is not saved.
    TreeWindow* OpenModifiedTree()
    {
        {
            TreeWindow saved;
            zString message;
            EXPECT_TRUE(saved.SaveAs(path.c_str(), message)) << message.Text();
        }
        auto* tree = static_cast<TreeWindow*>(OpenFileByName(path.c_str()));
        PumpMessagesFor(50);
        tree->Document().AddChild(tree->Document().Root, TerminalNode, "Added");
        tree->SetModified(1);
        return tree;
    }
    static RECT PlaceOf(TreeWindow* tree)
    {
        RECT rect{};
        GetWindowRect(tree->Handle(), &rect);
        return rect;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    std::string path;
};

TEST_F(FrameTrees, NewMakesATreeOrADiagramAsChosenAndTheStatusBarNamesTheMethod)
{
    Post(1101);
    TreeWindow* tree = Active();
    ASSERT_NE(tree, nullptr);
    EXPECT_NE(tree->Pane(), nullptr);
    EXPECT_EQ(tree->Text(), std::string(tree->Document().Title().Text()));
    EXPECT_EQ("Payoff 1", Indicator(3));
    tree->Document().CalcPrefs.UseUtility = 1;
    tree->Document().UpdateStatusIndicators();
    EXPECT_EQ("RISK", Indicator(2));

    int offered = -1;
    NewDocumentDialog::Presenter previous = NewDocumentDialog::SetPresenter([&](NewDocumentDialog& dialog) {
        offered = dialog.Choice;
        dialog.Choice = NewDocumentDialog::InfluenceDiagram;
        return true;
    });
    Post(1115);
    NewDocumentDialog::SetPresenter(previous);
    EXPECT_EQ(offered, NewDocumentDialog::Tree);
    ASSERT_NE(frame->ActiveChild(), nullptr);
    EXPECT_EQ(std::string(frame->ActiveChild()->Text()).rfind("Untitled Influence Diagram ", 0), 0u);
    EXPECT_EQ(TreeWindow::OpenWindows().size(), 1u);
    delete frame->ActiveChild();
}

TEST_F(FrameTrees, RevertReopensTheSavedTreeInPlaceUnlessTheFileNoLongerReads)
{
    TreeWindow* tree = OpenModifiedTree();
    ShowWindow(tree->Handle(), SW_RESTORE);
    MoveWindow(tree->Handle(), 20, 30, 300, 200, TRUE);
    const RECT before = PlaceOf(tree);
    boxes.Answer(IDOK);
    Post(1111);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("You will lose unsaved changes to \"kivo_frame_tree\". Revert to the last saved version?",
              boxes.Last().text);
    ASSERT_EQ(TreeWindow::OpenWindows().size(), 1u);
    TreeWindow* reopened = TreeWindow::OpenWindows().back();
    EXPECT_EQ(reopened->Document().Root->childCount, 0);
    EXPECT_EQ(reopened->IsModified(), 0);
    EXPECT_STRCASEEQ(reopened->FilePath().Text(), path.c_str());
    const RECT after = PlaceOf(reopened);
    EXPECT_EQ((std::vector<long>{before.left, before.top, before.right, before.bottom}),
              (std::vector<long>{after.left, after.top, after.right, after.bottom}));

    // A file damaged since it was opened: the unsaved branch stays.
    reopened->Document().AddChild(reopened->Document().Root, TerminalNode, "Kept");
    reopened->SetModified(1);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string("\x22\x00\x03\x05\x00\x01\x00\x03", 8);
    boxes.Clear();
    boxes.Answer(IDOK);
    Post(1111);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(boxes.Last().text.rfind("This tree file is damaged, and cannot be read.", 0), 0u);
    ASSERT_EQ(TreeWindow::OpenWindows().size(), 1u);
    EXPECT_EQ(TreeWindow::OpenWindows().back(), reopened);
    EXPECT_EQ(reopened->Document().Root->childCount, 1);
    EXPECT_EQ(reopened->IsModified(), 1);
}

TEST_F(FrameTrees, SaveAndTheCloseQuestionWriteTheTreeToItsFile)
{
    TreeWindow* tree = OpenModifiedTree();
    Post(1104);
    EXPECT_EQ(tree->IsModified(), 0);
    EXPECT_EQ(TreeWindow(path.c_str()).Document().Root->childCount, 1);

    tree->Document().AddChild(tree->Document().Root, TerminalNode, "Second");
    tree->SetModified(1);
    boxes.Answer(IDYES);
    Post(1107);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Save changes to \"kivo_frame_tree\" before closing?", boxes.Last().text);
    EXPECT_TRUE(TreeWindow::OpenWindows().empty());
    EXPECT_EQ(TreeWindow(path.c_str()).Document().Root->childCount, 2);
}

// Roll back changes nothing that is stored: once Save has written the rolled-back tree, Ctrl+F4 closes it
// without a question.
TEST_F(FrameTrees, SaveOfARolledBackTreeLeavesNothingUnsaved)
{
    {
        TreeWindow saved;
        TreeNode* chance = saved.Document().AddChild(saved.Document().Root, ChanceNode, "Surgery");
        saved.Document().AddChild(chance, TerminalNode, "Well", "0.8", "100");
        saved.Document().AddChild(chance, TerminalNode, "Ill", "0.2", "20");
        zString message;
        ASSERT_TRUE(saved.SaveAs(path.c_str(), message)) << message.Text();
    }
    auto* tree = static_cast<TreeWindow*>(OpenFileByName(path.c_str()));
    ASSERT_NE(tree, nullptr);
    ScreenOnTop top(frame->Handle());
    SetForegroundWindow(frame->Handle());
    RunProgramLoopUntil([] { return false; }, 100);
    RealInput::Keys("ctrl+r");
    EXPECT_TRUE(RunProgramLoopUntil([&] { return tree->Document().IsRolledBack(); }));
    std::remove(path.c_str());
    RealInput::Keys("ctrl+s");
    EXPECT_TRUE(RunProgramLoopUntil([&] { return std::ifstream(path).good(); }));
    RealInput::Keys("ctrl+F4");
    EXPECT_TRUE(RunProgramLoopUntil([&] { return TreeWindow::OpenWindows().empty(); }));
    for (const auto& box : boxes.Boxes())
        ADD_FAILURE() << box.text;
}

// Text typed in an open editor is what every write of the document holds, as a click elsewhere would have
// taken it in: Save, Save As, the close question's Yes, Close All and a script's SaveFileAs, for a tree's
// node name and a diagram's label, also a label left open in a sub-model window when it or the diagram's own
// window saves; until then the typing counts as a change, so that closing asks.
TEST_F(FrameTrees, EveryWriteHoldsTheTextTypedInTheOpenEditor)
{
    const std::string diagramPath = path.substr(0, path.size() - 4) + ".ind";
    ScriptManager script;
    // Save As's file dialog answers with the file the tree came from.
    const FileDialogPresenter previousDialogs = SetFileDialogPresenter([this](OPENFILENAMEA& dialog, bool) {
        std::strcpy(dialog.lpstrFile, path.c_str());
        return 1;
    });
    const auto keys = [this](const char* keys) {
        return [this, keys] {
            SetForegroundWindow(frame->Handle());
            RealInput::Keys(keys);
        };
    };
    enum Editor { TreeName, DiagramLabel, SubModelLabel };
    struct Case {
        const char* name;
        Editor editor;
        std::function<void()> write;
        const char* question;
        const char* holds;
    } cases[] = {
        {"Save", TreeName, keys("ctrl+s"), nullptr, "MedicineZed"},
        {"Save As", TreeName, keys("F12"), nullptr, "MedicineZed"},
        {"close question", TreeName, keys("ctrl+F4"), "Save changes to \"kivo_frame_tree\" before closing?",
         "MedicineZed"},
        {"Close All", TreeName, [this] { Post(Cmd::WindowCloseAll); },
         "Save changes to \"kivo_frame_tree\" before closing?", "MedicineZed"},
        {"script", TreeName, [&] { script.ExecuteLine("!SaveFileAs(\"" + path + "\")"); }, nullptr, "MedicineZed"},
        {"diagram Save", DiagramLabel, keys("ctrl+s"), nullptr, "ValueZed"},
        {"diagram close question", DiagramLabel, keys("ctrl+F4"),
         "Save changes to \"kivo_frame_tree\" before closing?", "ValueZed"},
        {"sub-model, then the diagram's Save", SubModelLabel, keys("ctrl+F6 ctrl+s"), nullptr, "Drug costZed"},
        {"sub-model's own Save", SubModelLabel, keys("ctrl+s"), nullptr, "Drug costZed"},
    };
    ScreenOnTop top(frame->Handle());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string& file = c.editor == TreeName ? path : diagramPath;
        if (c.editor == TreeName) {
            TreeWindow tree;
            tree.Document().AddChild(tree.Document().Root, TerminalNode, "Medicine");
            zString message;
            ASSERT_TRUE(tree.SaveAs(path.c_str(), message)) << message.Text();
        } else {
            InfluenceDiagramWindow diagram;
            BuildSampleDiagram(diagram.document);
            ASSERT_TRUE(diagram.SaveAs(diagramPath.c_str()));
        }
        DocumentWindow* document = OpenFileByName(file.c_str());
        ASSERT_NE(document, nullptr);
        std::function<InPlaceEdit*()> editor;
        if (auto* tree = dynamic_cast<TreeWindow*>(document)) {
            editor = [tree] { return tree->InPlaceEditor; };
            tree->SelectNode(tree->Document().Root->GetChild(0), 1, nullptr, false);
        } else {
            auto* diagram = static_cast<InfluenceDiagramWindow*>(document);
            std::vector<InfluenceNodeRecord*>& nodes = diagram->document.diagram.nodes;
            if (c.editor == SubModelLabel)
                diagram = diagram->OpenSubModel(nodes[3]);
            editor = [diagram] { return diagram->LabelEditor(); };
            diagram->SelectNode(diagram->Diagram().nodes[c.editor == SubModelLabel ? 0 : 2], true);
        }
        ASSERT_TRUE(RunProgramLoopUntil([&] { return editor() != nullptr; }));
        SetForegroundWindow(frame->Handle());
        RunProgramLoopUntil([] { return false; }, 100);
        RealInput::Keys("End");
        RealInput::Type("Zed");
        const std::string shown = c.holds;
        ASSERT_TRUE(RunProgramLoopUntil([&] { return editor() != nullptr && editor()->GetText().Text() == shown; }))
            << (editor() != nullptr ? editor()->GetText().Text() : "(closed)");
        EXPECT_EQ(document->IsModified(), 1);
        boxes.Clear();
        c.write();
        const auto written = [&] {
            std::ifstream in(file, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {}).find(shown) != std::string::npos;
        };
        EXPECT_TRUE(RunProgramLoopUntil(written, 3000));
        ASSERT_EQ(boxes.Count(), c.question != nullptr ? 1u : 0u);
        if (c.question != nullptr) {
            EXPECT_EQ(c.question, boxes.Last().text);
        }
        // A close the question let through finishes before the windows left are deleted.
        RunProgramLoopUntil([] { return false; }, 300);
        while (MDIchildCL* open = frame->ActiveChild())
            delete open;
    }
    SetFileDialogPresenter(previousDialogs);
    std::remove(diagramPath.c_str());
}

// Steps a person takes in a system dialog (the file dialogs), each when its condition holds, from a thread
// timer while the dialog's own loop runs.
class SystemDialogSteps {
public:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    explicit SystemDialogSteps(std::vector<Step> steps) : steps_(std::move(steps))
    {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 50, &SystemDialogSteps::Tick);
    }
    ~SystemDialogSteps()
    {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    bool Finished() const { return next_ == steps_.size(); }

private:
    static SystemDialogSteps*& Current()
    {
        static SystemDialogSteps* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        SystemDialogSteps* steps = Current();
        if (steps == nullptr || steps->busy_ || steps->Finished() || !steps->steps_[steps->next_].ready())
            return;
        steps->busy_ = true;
        steps->steps_[steps->next_++].act();
        steps->busy_ = false;
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    bool busy_ = false;
    UINT_PTR timer_;
};

// The file dialogs by their keys: Save As opens with the proposed name selected, so that a typed path takes
// its place; a path longer than a file's full path can be is refused with a message, the dialog staying open
// for another name, in Save As and in Open.
TEST_F(FrameTrees, TypedNamesReplaceTheProposedOneAndNamesTooLongAreRefused)
{
    TreeWindow* tree = OpenModifiedTree();
    const std::string folder = path.substr(0, path.rfind('\\') + 1);
    const std::string typed = folder + "kivo_typed_name.tre";
    const std::string tooLong = folder + std::string(260 - folder.size(), 'h') + ".tre";
    const char refusal[] = "The file name is too long. A full path can have at most 255 characters.";
    const auto dialogShown = [] {
        HWND dialog = RunningFileDialog();
        return dialog != nullptr && IsWindowVisible(dialog) && GetForegroundWindow() == dialog &&
               IsChild(dialog, GetFocus());
    };
    const auto typeAndEnter = [](const std::string& text) {
        return [text] {
            RealInput::Type(text);
            RealInput::Keys("Return");
        };
    };
    const auto boxesShown = [this](size_t count) { return [this, count] { return boxes.Count() == count; }; };
    ScreenOnTop top(frame->Handle());
    SetForegroundWindow(frame->Handle());
    RunProgramLoopUntil([] { return false; }, 100);
    {
        SystemDialogSteps person({{dialogShown, typeAndEnter(typed)}});
        RealInput::Keys("F12");
        EXPECT_TRUE(RunProgramLoopUntil([&] { return person.Finished() && RunningFileDialog() == nullptr; }, 8000));
    }
    EXPECT_STRCASEEQ(typed.c_str(), tree->FilePath().Text());
    EXPECT_EQ(0, tree->IsModified());
    EXPECT_EQ(1, TreeWindow(typed.c_str()).Document().Root->childCount);
    tree->SetModified(1);
    for (const char* keys : {"F12", "ctrl+o"}) {
        SCOPED_TRACE(keys);
        const size_t shown = boxes.Count();
        SystemDialogSteps person({{dialogShown, typeAndEnter(tooLong)},
                                  {boxesShown(shown + 1), [] { RealInput::Keys("Escape"); }}});
        RealInput::Keys(keys);
        EXPECT_TRUE(RunProgramLoopUntil([&] { return person.Finished() && RunningFileDialog() == nullptr; }, 8000));
        ASSERT_EQ(shown + 1, boxes.Count());
        EXPECT_EQ(refusal, boxes.Last().text);
    }
    EXPECT_EQ(1, tree->IsModified());
    EXPECT_EQ(1u, TreeWindow::OpenWindows().size());
    std::remove(typed.c_str());
}

// A payoff typed in the Enter Payoff window and not taken with OK is taken as OK takes it when the window is
// closed by its frame (Ctrl+F4), when the program is quit (Alt+F4: the tree then asks to be saved; Cancel
// here) and when the tree is written (Ctrl+S on the tree); Escape drops it.
TEST_F(FrameTrees, APayoffTypedAndNotTakenIsKeptByClosingQuittingAndSaving)
{
    enum Window { Closes, Stays, Either };
    const struct {
        const char* keys;
        const char* typed;
        bool kept;
        Window window;
        bool written;
        const char* question;
    } cases[] = {
        {"ctrl+F4", "41", true, Closes, false, nullptr},
        {"alt+F4", "42", true, Either, false, "Save changes to \"kivo_frame_tree\" before quitting?"},
        {"ctrl+F6 ctrl+s", "43", true, Stays, true, nullptr},
        {"Escape", "44", false, Closes, false, nullptr},
        // A payoff that does not parse: its error is the one box, and the window keeps it for mending.
        {"ctrl+F4", "4)", false, Stays, false, "parse"},
        {"alt+F4", "4)", false, Stays, false, "parse"},
        {"ctrl+F6 ctrl+s", "4)", false, Stays, false, "parse"},
        {"ctrl+F6 ctrl+F4", "4)", false, Stays, false, "parse"},
    };
    ScreenOnTop top(frame->Handle());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        {
            TreeWindow saved;
            saved.Document().AddChild(saved.Document().Root, TerminalNode, "Medicine");
            zString message;
            ASSERT_TRUE(saved.SaveAs(path.c_str(), message)) << message.Text();
        }
        auto* tree = static_cast<TreeWindow*>(OpenFileByName(path.c_str()));
        ASSERT_NE(tree, nullptr);
        TreeNode* node = tree->Document().Root->GetChild(0);
        tree->SelectNode(node, 1, nullptr, false);
        Post(Cmd::ValuesChangePayoff);
        const auto payoffWindow = [this] { return frame->ActiveChild() != nullptr &&
                                                  std::string(frame->ActiveChild()->Text()).find(": Enter Payoff") !=
                                                      std::string::npos; };
        ASSERT_TRUE(RunProgramLoopUntil(payoffWindow));
        const auto payoffOpen = [tree] {
            for (int i = 0; i < tree->ChildWindows().Count(); ++i)
                if (dynamic_cast<EnterPayoffWindow*>(static_cast<TreeChildWindow*>(tree->ChildWindows().At(i))))
                    return true;
            return false;
        };
        SetForegroundWindow(frame->Handle());
        RunProgramLoopUntil([] { return false; }, 100);
        RealInput::Type(c.typed);
        RunProgramLoopUntil([] { return false; }, 200);
        boxes.Clear();
        boxes.Answer(IDCANCEL);
        RealInput::Keys(c.keys);
        const std::string expected = c.kept ? c.typed : "";
        EXPECT_TRUE(RunProgramLoopUntil([&] {
            zString text;
            node->GetPayoffText(text, 0);
            return text.Text() == expected && (c.window == Either || payoffOpen() == (c.window == Stays)) &&
                   (c.question == nullptr || boxes.Count() > 0);
        }, 3000));
        zString text;
        node->GetPayoffText(text, 0);
        EXPECT_EQ(expected, text.Text());
        if (c.window != Either)
            EXPECT_EQ(c.window == Stays, payoffOpen());
        EXPECT_EQ(tree->IsModified(), c.kept && !c.written ? 1 : 0);
        zString stored;
        TreeWindow(path.c_str()).Document().Root->GetChild(0)->GetPayoffText(stored, 0);
        EXPECT_EQ(c.written ? expected : std::string(), stored.Text());
        ASSERT_EQ(c.question != nullptr ? 1u : 0u, boxes.Count());
        if (c.question != nullptr && std::string(c.question) == "parse") {
            EXPECT_EQ(boxes.Last().caption, "Parser Error") << boxes.Last().text;
            char left[32] = {};
            for (int i = 0; i < tree->ChildWindows().Count(); ++i)
                if (auto* payoff = dynamic_cast<EnterPayoffWindow*>(static_cast<TreeChildWindow*>(tree->ChildWindows().At(i))))
                    GetWindowTextA(FindWindowExA(payoff->Handle(), nullptr, "Edit", nullptr), left, sizeof left);
            EXPECT_STREQ(c.typed, left);
        } else if (c.question != nullptr)
            EXPECT_EQ(c.question, boxes.Last().text);
        tree->SetModified(0);
        while (MDIchildCL* open = frame->ActiveChild())
            delete open;
    }
}

// What a Markov window holds beyond its edits' modified flags is taken as typed when the tree is written
// (Ctrl+S on the tree) or the window closed by its frame (Ctrl+F4): a page typed into and left for another
// (the edits then show the new page, not modified), the default condition chosen by its button, the tunnel
// box and its count.
TEST_F(FrameTrees, WhatAMarkovWindowKeepsBeyondItsEditsIsTakenBySavingAndClosing)
{
    const auto termination = [](TreeNode* markov) {
        zString text;
        markov->GetMarkovTerminationText(text, 0);
        return std::string(text.Text());
    };
    const auto initialReward = [](TreeNode* markov) {
        zString text;
        markov->GetChild(0)->GetMarkovRewardText(0, text, 0);
        return std::string(text.Text());
    };
    const auto tunnel = [](TreeNode* markov) {
        const MarkovInfo* info = markov->GetChild(0)->markovInfo.get();
        return std::to_string(info != nullptr ? info->tunnelCount + 1 : 0);
    };
    const char* const kDefault = "_stage > 10 & (_stage > 100 | _stage_reward < .001)";
    const struct {
        unsigned command;
        const char* before;
        const char* typed;
        const char* after;
        std::function<std::string(TreeNode*)> stored;
        const char* expected;
        const char* inFile;
    } cases[] = {
        {Cmd::ValuesMarkovTermination, "", "_stage > 7", "shift+Tab Down ctrl+F6 ctrl+s", termination, "_stage > 7",
         "_stage > 7"},
        {Cmd::ValuesMarkovTermination, "", "_stage > 7", "shift+Tab Down ctrl+F4", termination, "_stage > 7",
         "_stage > 2"},
        {Cmd::ValuesMarkovTermination, "", "", "alt+d ctrl+F6 ctrl+s", termination, kDefault, kDefault},
        {Cmd::ValuesMarkovStateInformation, "", "5", "shift+Tab Down ctrl+F6 ctrl+s", initialReward, "5", "5"},
        {Cmd::ValuesMarkovStateInformation, "alt+t alt+s", "4", "ctrl+F6 ctrl+s", tunnel, "4", "4"},
    };
    ScreenOnTop top(frame->Handle());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " " + c.typed + " " + c.after);
        {
            TreeWindow saved;
            TreeNode* markov = saved.Document().AddChild(saved.Document().Root, MarkovNode, "M");
            markov->SetMarkovTerminationText("_stage > 2", 0);
            saved.Document().AddChild(saved.Document().AddChild(markov, ChanceNode, "Well", "1"), TerminalNode,
                                      "Die", "1");
            zString message;
            ASSERT_TRUE(saved.SaveAs(path.c_str(), message)) << message.Text();
        }
        auto* tree = static_cast<TreeWindow*>(OpenFileByName(path.c_str()));
        ASSERT_NE(tree, nullptr);
        TreeNode* markov = tree->Document().Root->GetChild(0);
        const bool onState = c.command == Cmd::ValuesMarkovStateInformation;
        tree->SelectNode(onState ? markov->GetChild(0) : markov, 1, nullptr, false);
        const int bound = tree->ChildWindows().Count();
        Post(c.command);
        ASSERT_TRUE(RunProgramLoopUntil([&] { return tree->ChildWindows().Count() > bound; }));
        SetForegroundWindow(frame->Handle());
        RunProgramLoopUntil([] { return false; }, 100);
        if (*c.before != '\0')
            RealInput::Keys(c.before);
        if (*c.typed != '\0')
            RealInput::Type(c.typed);
        RunProgramLoopUntil([] { return false; }, 200);
        boxes.Clear();
        RealInput::Keys(c.after);
        EXPECT_TRUE(RunProgramLoopUntil([&] { return c.stored(markov) == c.expected; }, 3000));
        EXPECT_EQ(c.expected, c.stored(markov));
        EXPECT_EQ(c.inFile, c.stored(TreeWindow(path.c_str()).Document().Root->GetChild(0)));
        EXPECT_EQ(0u, boxes.Count());
        tree->SetModified(0);
        while (MDIchildCL* open = frame->ActiveChild())
            delete open;
    }
}

} // namespace
