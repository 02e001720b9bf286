// Script files run as "Run Script" runs them, in the program's main frame: commands on the top tree, jumps
// and subroutines, parameters and variables, and every error ending the file with its message.

#include "app/MainFrame.h"
#include "app/StartProgram.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "model/TreeNode.h"
#include "script/ScriptManager.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/script/SavedTreeAB.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TempFile(const char* name)
{
    const char* temp = std::getenv("TEMP");
    return std::string(temp ? temp : ".") + "\\" + name;
}

// Its frame is shown: it waits for the focus lock, so that it never covers another test's screen check.
class ScriptFiles : public testing::Test, private HoldsFocusTestLock {
protected:
    ScriptFiles()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
    }
    ~ScriptFiles() override
    {
        delete frame;
        for (const char* name : {"kivo-script.txt", "kivo-script-tree.tre", "kivo-script-snap.trb"})
            std::remove(TempFile(name).c_str());
    }

    // A chance node as root over A (0.3, payoff 100) and B ("#", payoff 0), saved and closed; its path. With
    // the stored sensitivity of SaveTreeAB when asked for.
    std::string SaveChanceTree(const char* payoffOfB = "0", bool storedSensitivity = false)
    {
        const std::string path = TempFile("kivo-script-tree.tre");
        SaveTreeAB(path, payoffOfB, storedSensitivity);
        return path;
    }

    void Run(const std::string& text)
    {
        const std::string path = TempFile("kivo-script.txt");
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        script.RunScriptFile(path.c_str());
    }
    std::string Variable(const char* name) const
    {
        std::string value = "(missing)";
        script.GetVariableValue(name, value);
        return value;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : boxes.Boxes())
            texts.push_back(box.text);
        return texts;
    }
    TreeWindow* TopTree() const { return dynamic_cast<TreeWindow*>(frame->ActiveChild()); }

    ScopedApplication app;
    MainFrame* frame = nullptr;
    MessageBoxRecorder boxes;
    ScriptManager script;
};

TEST_F(ScriptFiles, TreeCommandsWorkOnTheTopTreeAndStoreResults)
{
    Run("!OpenFile(\"" + SaveChanceTree() + "\")\n"
        "!SelectRoot\n!RollBack\n!SelectRoot\n!ExpectedValue(EV,0)\n!StdDev(SD,0)\n!PathProb(PP,0)\n!GetSelNum(v,3)\n"
        "!GetSelNum(first, \" +1 \")\n"
        "!NumKids(kids)\n!TopWindowType(type)\n!SelectNode(\"@1,\")\n!GetNodeName(name)\n!GetNodeProb(prob)\n"
        "!SelectRoot\n!SetNodeVar(x,5)\n!SetNodePayoff(1,7)\n!GetSelList(list)\n");
    EXPECT_TRUE(Texts().empty()) << Texts()[0];
    EXPECT_EQ(Variable("EV"), "30");
    // The standard deviation: 100 times the root of 0.3 x 0.7.
    EXPECT_NEAR(std::stod(Variable("SD")), 45.8257569496, 1e-6);
    EXPECT_EQ(Variable("PP"), "1");
    EXPECT_EQ(Variable("v"), "(none)");
    EXPECT_EQ(Variable("first"), "@");
    EXPECT_EQ(Variable("kids"), "2");
    EXPECT_EQ(Variable("type"), "1");
    EXPECT_EQ(Variable("name"), "B");
    EXPECT_EQ(Variable("prob"), "#");
    EXPECT_EQ(Variable("list"), "@\r\n");
    TreeWindow* tree = TopTree();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->History().Count(), 2);
    EXPECT_STREQ(tree->History().UndoMenuText().Text(), "&Undo Change Payoff\tCtrl+Z");
    tree->Undo();
    EXPECT_STREQ(tree->History().UndoMenuText().Text(), "&Undo Define Variable \"x\"\tCtrl+Z");
}

// A snapshot needs a rolled-back tree; a value that failed to compute is never stored.
TEST_F(ScriptFiles, SnapshotsAndValuesNeedFinishedComputations)
{
    const std::string tree = SaveChanceTree();
    const std::string snapshot = TempFile("kivo-script-snap.trb");
    Run("!OpenFile(\"" + tree + "\")\n!SaveAsTRB(\"" + snapshot + "\")\n!Announce(after)\n");
    EXPECT_EQ(Texts(), std::vector<std::string>{"The tree is not rolled back: a snapshot holds the results of a roll "
                                                "back.\r\n\r\nCommand: !SaveAsTRB\r\nLine: 2"});
    boxes.Clear();
    Run("!SelectRoot\n!RollBack\n!SaveAsTRB(\"" + snapshot + "\")\n!SelectNode(\"@0,\")\n!SetNodeProb(\"1/0\")\n"
        "!SetScriptVar(EV,old)\n!SelectRoot\n!ExpectedValue(EV)\n!Announce(after)\n");
    EXPECT_EQ(Texts(), std::vector<std::string>{"Division by zero. Unable to evaluate probability of node \"A\"."});
    EXPECT_EQ(Variable("EV"), "old");
    TreeWindow reopened(snapshot.c_str());
    EXPECT_EQ(reopened.Document().RolledBack, RolledBackValues::Snapshot);
}

// A computation that fails says why in its own box, the only one, and the file ends there: the lines after
// it never run on a tree that has no results. A stored analysis the script waits for fails later, from the
// idle loop, and ends the file all the same.
TEST_F(ScriptFiles, AFailedComputationEndsTheFileWithItsOwnBox)
{
    const std::string open =
        "!OpenFile(\"" + SaveChanceTree("", true) + "\")\n!SelectRoot\n!SetScriptVar(v,old)\n";
    const std::string stored = std::string("!RunStoredAnalysis(\"") + kStoredSensitivityName + "\")";
    // The tree stays open from row to row: the change of calculation method comes last.
    for (const std::string& lines : {std::string("!RollBack(1)"), std::string("!ProbDist"),
                                     std::string("!ExpectedValue(v)"), std::string("!StdDev(v)"), stored,
                                     std::string("!SetCalcMethod(2)\n!RollBack")}) {
        SCOPED_TRACE(lines);
        boxes.Clear();
        Run(open + lines + "\n!Announce(after)\n");
        EXPECT_TRUE(PumpMessagesUntil([&] {
            TheApp->Idle()->Run();
            return !script.FileRunning();
        }));
        ASSERT_EQ(Texts().size(), 1u);
        EXPECT_EQ(Texts()[0].rfind("There is an empty formula. Unable to evaluate payoff of node", 0), 0u) << Texts()[0];
        EXPECT_EQ(Variable("v"), "old");
        EXPECT_FALSE(script.FileRunning());
    }
}

// Roll Back is the tree's own command: the edits before the results are shown leave the undo history, as
// they do from the menu.
TEST_F(ScriptFiles, RollBackClearsTheUndoHistoryAsTheMenuDoes)
{
    Run("!OpenFile(\"" + SaveChanceTree() + "\")\n!SelectRoot\n!SetNodeVar(x,5)\n");
    TreeWindow* tree = TopTree();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->History().Count(), 1);
    Run("!RollBack\n");
    EXPECT_EQ(tree->Document().RolledBack, RolledBackValues::Computed);
    EXPECT_EQ(tree->History().Count(), 0);
    Run("!RollBack(0)\n");
    EXPECT_EQ(tree->Document().RolledBack, RolledBackValues::None);
}

// A command whose menu item is grayed is refused without a word, as a key is: under the custom interface
// the node type and the roll back stay as they are, and the same lines act once it is hidden.
TEST_F(ScriptFiles, CommandsOfGrayedMenuItemsAreRefused)
{
    Run("!OpenFile(\"" + SaveChanceTree() + "\")\n");
    TreeWindow* tree = TopTree();
    ASSERT_NE(tree, nullptr);
    const std::string lines = "!SelectRoot\n!ChangeNodeType(2)\n!RollBack\n";
    tree->CustomInterfaceShown = 1;
    Run(lines);
    EXPECT_EQ(tree->Document().Root->kind, ChanceNode);
    EXPECT_EQ(tree->Document().RolledBack, RolledBackValues::None);
    tree->CustomInterfaceShown = 0;
    Run(lines);
    EXPECT_EQ(tree->Document().Root->kind, DecisionNode);
    EXPECT_EQ(tree->Document().RolledBack, RolledBackValues::Computed);
    // Save is grayed over an opened snapshot: its results stay in the file.
    const std::string snapshot = TempFile("kivo-script-snap.trb");
    Run("!SaveAsTRB(\"" + snapshot + "\")\n!OpenFile(\"" + snapshot + "\")\n!SaveFile\n");
    EXPECT_EQ(TreeWindow(snapshot.c_str()).Document().RolledBack, RolledBackValues::Snapshot);
    EXPECT_TRUE(Texts().empty()) << Texts()[0];
}

TEST_F(ScriptFiles, EachErrorShowsOneBoxAndEndsTheFile)
{
    const struct {
        bool tree;
        const char* script;
        const char* box;
    } rows[] = {
        {true, "!SetCalcMethod(5)", "Bad parameter \"5\".\r\n\r\nCommand: !SetCalcMethod\r\nLine: 1"},
        {true, "# a comment\n\n!Foo(1)", "Unrecognized command \"Foo\".\r\n\r\nCommand: !Foo\r\nLine: 3"},
        {false, "!123", "Unrecognized command \"123\".\r\n\r\nCommand: !123\r\nLine: 1"},
        {false, "! SetNodeName(x)",
         "Unrecognized command \" SetNodeName\".\r\n\r\nCommand: ! SetNodeName\r\nLine: 1"},
        {true, "!SelectRoot\n!SetNodeName(\"abc)", "Bad parameter \"abc)\".\r\n\r\nCommand: !SetNodeName\r\nLine: 2"},
        {false, "!Delay(abc)", "Bad parameter \"abc\".\r\n\r\nCommand: !Delay\r\nLine: 1"},
        {false, "!TextBox(text, soon)", "Bad parameter \"soon\".\r\n\r\nCommand: !TextBox\r\nLine: 1"},
        // A number, a flag or a choice that does not read, or a number out of its range, never reads as 0.
        {true, "!GetSelNum(v, abc)", "Bad parameter \"abc\".\r\n\r\nCommand: !GetSelNum\r\nLine: 1"},
        {true, "!SetActivePayoff(yes)", "Bad parameter \"yes\".\r\n\r\nCommand: !SetActivePayoff\r\nLine: 1"},
        {true, "!SelectIf(7, 0, x)", "Bad parameter \"7\".\r\n\r\nCommand: !SelectIf\r\nLine: 1"},
        {true, "!SelectIf(1, 0, chance)", "Bad parameter \"chance\".\r\n\r\nCommand: !SelectIf\r\nLine: 1"},
        {true, "!SelectRoot\n!ExpectedValue(ev, abc)",
         "Bad parameter \"abc\".\r\n\r\nCommand: !ExpectedValue\r\nLine: 2"},
        {false, "!UserInput(p, v, low, 1)", "Bad parameter \"low\".\r\n\r\nCommand: !UserInput\r\nLine: 1"},
        // A save that failed says why in its own box, and that is the only one.
        {true, "!SaveFileAs(Z:\\no\\such\\copy.tre)",
         "The folder of this file cannot be found. \"Z:\\no\\such\\copy.tre\" was not saved."},
        {false, "!SetCalcMethod", "The top window is not a tree window.\r\n\r\nCommand: !SetCalcMethod\r\nLine: 1"},
        {true, "!GetSelNum(v)", "Wrong number of parameters.\r\n\r\nCommand: !GetSelNum\r\nLine: 1"},
        {true, "!DeselectAll\r\n!GetNodeName(v)",
         "No node is selected in the active tree.\r\n\r\nCommand: !GetNodeName\r\nLine: 2"},
        {true, "!SetNodeVar(1x,2)", "Bad variable name \"1x\".\r\n\r\nCommand: !SetNodeVar\r\nLine: 1"},
        {false, ":S\n!Gosub(S)", "Subroutines nested too deeply.\r\n\r\nCommand: !Gosub\r\nLine: 2"},
        {false, "!Return", "No subroutine to return to.\r\n\r\nCommand: !Return\r\nLine: 1"},
        {false, "\n!Goto(X)", "Label \"X\" not found.\r\n\r\nCommand: !Goto\r\nLine: 2"},
        {false, "!DisplayScriptVar(none)",
         "The script variable \"none\" was not found.\r\n\r\nCommand: !DisplayScriptVar\r\nLine: 1"},
        {false, "!OpenFile(Z:\\no\\such.tre)", "File \"Z:\\no\\such.tre\" not found.\r\n\r\nCommand: !OpenFile\r\nLine: 1"},
        // A command that cannot do what it says is refused, never passed over.
        {true, "!SelectNode(\"@99,99,\")", "Bad parameter \"@99,99,\".\r\n\r\nCommand: !SelectNode\r\nLine: 1"},
        {true, "!SelectNodeToo(\"\", Z)", "Bad parameter \"Z\".\r\n\r\nCommand: !SelectNodeToo\r\nLine: 1"},
        {true, "!SelectRoot\n!SelectNodeRel(>)\n!SelectNodeRel(.B)",
         "Bad parameter \".B\".\r\n\r\nCommand: !SelectNodeRel\r\nLine: 3"},
        {false, "!TableVal(a,b,c)", "Bad parameter \"a\".\r\n\r\nCommand: !TableVal\r\nLine: 1"},
        {true, "!SelectRoot\n!ChangeNodeType(77)", "Bad parameter \"77\".\r\n\r\nCommand: !ChangeNodeType\r\nLine: 2"},
        {true, "!SelectRoot\n!ChangeNodeType(0)", "Bad parameter \"0\".\r\n\r\nCommand: !ChangeNodeType\r\nLine: 2"},
        {true, "!SelectRoot\n!ChangeNodeType(abc)", "Bad parameter \"abc\".\r\n\r\nCommand: !ChangeNodeType\r\nLine: 2"},
        {false, "!EndBranch", "Unspecifiable error.\r\n\r\nCommand: !EndBranch\r\nLine: 1"},
        {true, "!CopyNodeVars(1,2,3,4,5)", "Wrong number of parameters.\r\n\r\nCommand: !CopyNodeVars\r\nLine: 1"},
        {false, "!OpenFile", "Wrong number of parameters.\r\n\r\nCommand: !OpenFile\r\nLine: 1"},
        // Parameters a command does not take are refused, never passed over: a path is never dropped.
        {true, "!SelectRoot(1)", "Wrong number of parameters.\r\n\r\nCommand: !SelectRoot\r\nLine: 1"},
        {true, "!RollBack(1,2)", "Wrong number of parameters.\r\n\r\nCommand: !RollBack\r\nLine: 1"},
        {true, "!SetNodeVar(zz,1,2)", "Wrong number of parameters.\r\n\r\nCommand: !SetNodeVar\r\nLine: 1"},
        {true, "!SaveFileAs(Z:\\x.tre, b)", "Wrong number of parameters.\r\n\r\nCommand: !SaveFileAs\r\nLine: 1"},
        {false, "!CloseTopWindow(1,1)", "Wrong number of parameters.\r\n\r\nCommand: !CloseTopWindow\r\nLine: 1"},
        {true, "!SelectNode()", "Wrong number of parameters.\r\n\r\nCommand: !SelectNode\r\nLine: 1"},
        {true, "!SelectNodeToo", "Wrong number of parameters.\r\n\r\nCommand: !SelectNodeToo\r\nLine: 1"},
        {true, "!SelectRoot\n!SelectNodeRel", "Wrong number of parameters.\r\n\r\nCommand: !SelectNodeRel\r\nLine: 2"},
        {true, "!DeselectAll\n!AddBranches",
         "No node is selected in the active tree.\r\n\r\nCommand: !AddBranches\r\nLine: 2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        boxes.Clear();
        std::unique_ptr<TreeWindow> tree(row.tree ? new TreeWindow : nullptr);
        if (tree)
            tree->Show(SW_SHOWNORMAL);
        Run(std::string(row.script) + "\n!Announce(after)\n");
        EXPECT_EQ(Texts(), std::vector<std::string>{row.box});
        EXPECT_FALSE(script.FileRunning());
    }
}

// Paths are taken as written ("\\t" and "\\n" in them are no escapes; in other texts they are), and a file
// open already comes to the front instead of failing.
TEST_F(ScriptFiles, OpenFileTakesPathsAsWrittenAndBringsOpenFilesToTheFront)
{
    const std::string folder = TempFile("tnk");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string first = folder + "\\new.tre", second = SaveChanceTree();
    ASSERT_TRUE(CopyFileA(second.c_str(), first.c_str(), FALSE));
    Run("!OpenFile(\"" + first + "\")\n!OpenFile(\"" + second + "\")\n!OpenFile(\"" + first + "\")\n"
        "!TopWindowName(top,1)\n!SetScriptVar(text,a\\tb\\nc)\n");
    EXPECT_TRUE(Texts().empty()) << Texts()[0];
    EXPECT_EQ(Variable("top"), first);
    EXPECT_EQ(Variable("text"), "a\tb\r\nc");
    std::vector<WindowCL*> windows;
    frame->CollectWindows(windows);
    EXPECT_EQ(windows.size(), 2u);
    std::remove(first.c_str());
    RemoveDirectoryA(folder.c_str());
}

// A script that loops for ever stops at Escape; closing the frame ends it first and then asks about the
// unsaved work as always.
TEST_F(ScriptFiles, EscapeOrClosingTheFrameStopsALoopingScript)
{
    std::unique_ptr<ScriptManager> saved = TheProgram()->ReplaceScripts(std::make_unique<ScriptManager>());
    ScriptManager& running = *TheProgram()->Scripts();
    const std::string path = TempFile("kivo-script.txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("!SetScriptVar(n,0)\n:a\n!CatScriptVar(n,1)\n!Goto(a)\n", file);
    std::fclose(file);
    PostMessageA(frame->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    running.RunScriptFile(path.c_str());
    EXPECT_FALSE(running.FileRunning());
    std::string ones;
    EXPECT_TRUE(running.GetVariableValue("n", ones) && ones.size() > 1) << ones;

    auto* tree = new TreeWindow;
    tree->Show(SW_SHOWNORMAL);
    tree->SetModified(1);
    boxes.Answer(IDCANCEL);
    PostMessageA(frame->Handle(), WM_CLOSE, 0, 0);
    running.RunScriptFile(path.c_str());
    EXPECT_FALSE(running.FileRunning());
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(PumpMessagesUntil([&] { return boxes.Count() > 0; }));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Save changes to \"" + std::string(tree->Text()) + "\" before quitting?"});
    EXPECT_TRUE(IsWindow(frame->Handle()));
    TheProgram()->ReplaceScripts(std::move(saved));
}

// Quoted separators, empty parameters, variables in parameters, line breaks, labels in any case, and
// subroutines returning after their call.
TEST_F(ScriptFiles, ParametersLabelsAndSubroutines)
{
    Run("!SetScriptVar(@Total,5)\n!DisplayScriptVar(total)\n"
        "!SetScriptVar(pair, \"a, b\")\n!SetScriptVar(lines, one\\ntwo)\n!SetScriptVar(copy, @lines)\n"
        "!SetScriptVar(literal, @nothing)\n!CatScriptVar(TOTAL, 0)\n"
        "!SetScriptVar(k,2)\n!BranchVar(k,,Second)\n!SetScriptVar(skipped,1)\n:second\n"
        "!Goto(LOOP,)\n!SetScriptVar(skipped,2)\n:loop\n"
        "!Gosub [:Sub]\n!CatScriptVar(trail,c)\n!SetScriptVar(k,0)\n!BranchVar(k,Never)\n!SetScriptVar(k,2)\n"
        "!BranchVar(k,Never)\n!Goto(End)\n"
        ":Sub  # the subroutine\n!CatScriptVar(trail,s)\n!Return\n:End \t\n");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "KIVOScript");
    EXPECT_EQ(boxes.Last().text, "Script Variable: Total\rValue: 5");
    EXPECT_EQ(Variable("pair"), "a, b");
    EXPECT_EQ(Variable("lines"), "one\r\ntwo");
    EXPECT_EQ(Variable("copy"), "one\r\ntwo");
    EXPECT_EQ(Variable("literal"), "@nothing");
    EXPECT_EQ(Variable("total"), "50");
    EXPECT_EQ(Variable("skipped"), "(missing)");
    EXPECT_EQ(Variable("trail"), "sc");
    // A byte-order mark before the first line is no part of it.
    boxes.Clear();
    Run("\xEF\xBB\xBF!SetScriptVar(bom,1)\n!DisplayScriptVar(bom)\n");
    EXPECT_EQ(Texts(), std::vector<std::string>{"Script Variable: bom\rValue: 1"});
}

// A person answering what a script shows: an empty field gets a value, then the first branch or OK.
void CALLBACK AnswerAsAPerson(HWND, UINT, UINT_PTR, DWORD)
{
    const auto& stack = DialogFrameCL::ModalStack();
    if (stack.empty() || !IsWindowVisible(stack.back()->Handle()))
        return;
    const HWND dialog = stack.back()->Handle();
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[16] = {};
        GetClassNameA(child, kind, sizeof kind);
        if (lstrcmpiA(kind, "Edit") == 0 && GetWindowTextLengthA(child) == 0)
            SetWindowTextA(child, "0.5");
    }
    const int firstBranch = 3232;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgItem(dialog, firstBranch) ? firstBranch : IDOK, BN_CLICKED), 0);
}

// Every example of the script reference runs as it stands, with no script error, on a tree whose root is
// selected: the reference's folders Z:\trees and Z:\out are the test's own.
TEST_F(ScriptFiles, EveryExampleOfTheReferenceRuns)
{
    ClipboardTestLock clipboard;
    const std::string folder = TempFile("kivo-examples");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string base = folder + "\\base.tre";
    {
        TreeWindow tree;
        TreeDocument& document = tree.Document();
        document.Root->SetText("Treatment", false);
        document.EnsureVariable("pSuccess", nullptr);
        document.Root->SetBinding("pSuccess", "0.8", false);
        TreeNode* surgery = document.AddChild(document.Root, ChanceNode, "Surgery");
        document.AddChild(surgery, TerminalNode, "Cured", "pSuccess", "100");
        document.AddChild(surgery, TerminalNode, "Not cured", "#", "20");
        document.AddChild(document.Root, TerminalNode, "Medicine", "", "70");
        zString message;
        ASSERT_TRUE(tree.SaveAs(base.c_str(), message)) << message.Text();
    }
    SetTablesDirectory((folder + "\\").c_str());
    LoadTablesDirectory();
    LookupTable* rates = CreateTable("Rates", "rates", "", LookupTable::Interpolation, false);
    ASSERT_NE(rates, nullptr);

    std::ifstream reference(KIVO_TEST_DATA "/../../docs/SCRIPTING.md");
    std::vector<std::string> examples;
    bool inExamples = false, inBlock = false;
    for (std::string line; std::getline(reference, line);) {
        inExamples = inExamples || line == "## An example script";
        const bool code = line.rfind("    ", 0) == 0;
        if (inExamples && code)
            (inBlock ? examples.back() : examples.emplace_back()) += line.substr(4) + "\n";
        inBlock = code;
    }
    ASSERT_GT(examples.size(), 60u);

    // What an example holding the text does, read back after it: the value a line then stores, or the status
    // bar's method pane.
    const struct {
        const char* example;
        const char* check;
        const char* value;
    } effects[] = {
        {"!SetNodePayoff(", "!GetNodePayoff(1, effect)", "cTreat + 200"},
        {"!GetNodePayoff(", "!SetScriptVar(effect, @cost)", "70"},
        {"!GetNodeProb(", "!SetScriptVar(effect, @p)", "pSuccess"},
        {"!SelectIf(", "!GetSelCount(effect)", "1"},
        {"!ChangeNodeType(", "!SelectIf(1, 0, 2)\n!GetSelCount(effect)", "2"},
        {"!SetActivePayoff(", nullptr, "Payoff 2"},
    };
    const auto methodPane = [&] {
        auto* field = dynamic_cast<VisualFieldItem*>(frame->StatusPane()->FindItem(3));
        return field ? std::string(field->Text()) : "?";
    };

    const UINT_PTR person = SetTimer(nullptr, 0, 50, AnswerAsAPerson);
    for (std::string example : examples) {
        SCOPED_TRACE(example);
        std::string forward = folder + "/";
        std::replace(forward.begin(), forward.end(), '\\', '/');
        for (const char* named : {"Z:\\trees\\", "Z:\\out\\", "Z:/trees/"})
            for (size_t at = example.find(named); at != std::string::npos; at = example.find(named))
                example.replace(at, std::strlen(named), named[2] == '/' ? forward : folder + "\\");
        // An example that rolls back runs also on a tree rolled back already.
        const bool rollsBack = example.find("!RollBack(1)") != std::string::npos;
        const auto effect = std::find_if(std::begin(effects), std::end(effects), [&](const auto& row) {
            return example.find(row.example) != std::string::npos;
        });
        const bool checked = effect != std::end(effects);
        const std::string check = checked && effect->check != nullptr ? effect->check + std::string("\n") : "";
        for (const char* start : {"", "!RollBack(1)\n"}) {
            if (*start != '\0' && !rollsBack)
                continue;
            boxes.Clear();
            script.ExecuteLine("!SetScriptVar(ended,0)");
            Run("!OpenFile(\"" + base + "\")\n!SelectRoot\n" + start + example + check + "!SetScriptVar(ended,1)\n");
            // A print that fails for want of a printer ends the script with its own box, as any failure does.
            const bool noPrinter = Texts().size() == 1 && Texts()[0].rfind("Unable to print:", 0) == 0;
            EXPECT_TRUE(Variable("ended") == "1" || noPrinter) << start;
            if (checked)
                EXPECT_EQ(effect->check != nullptr ? Variable("effect") : methodPane(), effect->value);
            // No script error, and no "@name" shown as written where a value was meant.
            for (const std::string& text : Texts()) {
                EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos) << text;
                EXPECT_EQ(text.find('@'), std::string::npos) << text;
            }
        }
        script.ExecuteLine("!FlushScriptVars");
        script.ExecuteLine("!ClipAdviseVars(0)");
        std::vector<WindowCL*> windows;
        frame->CollectWindows(windows);
        for (WindowCL* window : windows)
            delete window;
    }
    KillTimer(nullptr, person);
    DeleteTable(rates);
    FreeTables();
    for (const char* name : {"base.tre", "copy.tre", "result.trb"})
        std::remove((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

// A roll back resumes the script without nesting it: a thousand passes, each rolling back, run to the end.
TEST_F(ScriptFiles, ThousandRollBackPassesRunToTheEnd)
{
    Run("!OpenFile(\"" + SaveChanceTree() + "\")\n!SelectRoot\n!SetScriptVar(n,0)\n:Again\n"
        "!SelectNode(\"@0,\")\n!SetNodePayoff(1,@n)\n!RollBack\n!SetScriptVar(f,@n)\n!CatScriptVar(f,+1)\n!Evaluate(@f,n,0)\n"
        "!SetScriptVar(f,@n)\n!CatScriptVar(f,>=1000)\n!Evaluate(@f,done,0)\n!BranchVar(done,Stop)\n!Goto(Again)\n"
        ":Stop\n!SelectRoot\n!ExpectedValue(EV,0)\n");
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(Variable("n"), "1000");
    EXPECT_EQ(Variable("EV"), "299.7");
}

} // namespace
