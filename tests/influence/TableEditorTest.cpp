// A node's probability or value table filled in through the window's "&Probabilities..." and "V&alues...":
// the editor is driven by its control ids, and the diagram's table and undo history read back.

#include "app/MainFrame.h"
#include "app/StartProgram.h"
#include "treewin/DistributionPicker.h"
#include "influence/OutcomeTableEditor.h"
#include "treewin/ProbabilityWheel.h"
#include "formula/Distribution.h"
#include "formula/DistributionTypes.h"
#include "foundation/RecentFileList.h"
#include "framework/window/Clipboard.h"
#include "influence/InfluenceDiagramWindow.h"
#include "treewin/TreeWindow.h"
#include "widgets/DdeLinkManager.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProgramLinks.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/SampleDiagram.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace Id = Ctl::Assign;

class TableEditing : public ::testing::Test {
protected:
    TableEditing()
    {
        previousList = TheProgram()->ReplaceRecentFiles(std::make_unique<RecentFileList>());
        frame = new MainFrame;
        frame->EndStartup();
        MoveWindow(frame->Handle(), 0, 0, 900, 700, TRUE);
        frame->Show(SW_SHOWNOACTIVATE);
        window = new InfluenceDiagramWindow();
        bayes = BuildBayesDiagram(window->document);
        window->Show(SW_SHOWMAXIMIZED);
        WaitForMenusOf(*frame, window);
    }
    ~TableEditing() override
    {
        delete frame;
        TheProgram()->ReplaceRecentFiles(std::move(previousList));
    }

    // The command on the node, the editor driven by the steps; true when the steps all ran.
    bool Edit(InfluenceNodeRecord* node, unsigned command, ModalDialogDriver& driver)
    {
        window->SelectNode(node, false);
        SendMessageA(window->Handle(), WM_COMMAND, command, 0);
        return driver.Finished();
    }
    static std::string Field(DialogFrameCL& dialog)
    {
        char text[100] = {};
        GetDlgItemTextA(dialog.Handle(), Id::ProbabilityEdit, text, sizeof text);
        return text;
    }
    static int Row(DialogFrameCL& dialog) { return dynamic_cast<OutcomeTableEditor&>(dialog).CurrentRow(); }
    // Ctrl and the key pressed in the entry field.
    static void CtrlKey(DialogFrameCL& dialog, unsigned key)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        const BYTE control = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageA(GetDlgItem(dialog.Handle(), Id::ProbabilityEdit), WM_KEYDOWN, key, 0);
        keys[VK_CONTROL] = control;
        SetKeyboardState(keys);
    }
    std::string Cell(InfluenceNodeRecord* node, int table, std::vector<StateChoice> choices)
    {
        const DefinitionCell* cell = node->FindCell(choices, table, true);
        return cell == nullptr ? "?" : std::to_string(cell->kind) + ":" + cell->formula.Text() + cell->expression.Text();
    }
    // The number a new tree window takes in its "Untitled Tree n" title.
    static int NextUntitledNumber()
    {
        TreeWindow tree;
        int number = 0;
        std::sscanf(tree.Document().Title().Text(), "Untitled Tree %d", &number);
        return number;
    }
    // White pixels inside the frame of the menu button made over the template control: none on a face that
    // shows a text.
    static int WhiteInsideButtonOver(DialogFrameCL& dialog, unsigned controlId)
    {
        RECT place{};
        GetWindowRect(GetDlgItem(dialog.Handle(), controlId), &place);
        int white = 0;
        for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT rect{};
            GetWindowRect(child, &rect);
            if (!IsWindowVisible(child) || !EqualRect(&rect, &place))
                continue;
            HDC dc = GetDC(child);
            for (int y = 2; y < rect.bottom - rect.top - 2; ++y)
                for (int x = 2; x < rect.right - rect.left - 2; ++x)
                    white += GetPixel(dc, x, y) == RGB(255, 255, 255) ? 1 : 0;
            ReleaseDC(child, dc);
        }
        return white;
    }
    // The longest row of pixels of the colour inside the button's edge: an arrow's shaft is ten, longer
    // than any stroke of the button's text.
    static int LongestRun(DialogFrameCL& dialog, unsigned controlId, COLORREF colour)
    {
        HWND button = GetDlgItem(dialog.Handle(), controlId);
        RECT client{};
        GetClientRect(button, &client);
        HDC dc = GetDC(button);
        int longest = 0;
        for (int y = 3; y < client.bottom - 3; ++y)
            for (int x = 3, run = 0; x < client.right - 3; ++x) {
                run = GetPixel(dc, x, y) == colour ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        ReleaseDC(button, dc);
        return longest;
    }
    static void ExpectArrows(DialogFrameCL& dialog, bool prevEnabled, bool nextEnabled)
    {
        const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
        const COLORREF grey = GetSysColor(COLOR_3DSHADOW);
        EXPECT_EQ(LongestRun(dialog, Id::Prev, prevEnabled ? ink : grey) >= 10, true) << prevEnabled;
        EXPECT_EQ(LongestRun(dialog, Id::Prev, ink) >= 10, prevEnabled);
        EXPECT_EQ(LongestRun(dialog, Id::Next, nextEnabled ? ink : grey) >= 10, true) << nextEnabled;
        EXPECT_EQ(LongestRun(dialog, Id::Next, ink) >= 10, nextEnabled);
    }
    // The Edit menu's undo item without its key.
    std::string UndoText()
    {
        const std::string text = window->History().UndoMenuText().Text();
        return text.substr(0, text.find('\t'));
    }

    // Shown windows and the recent files' store: the locks every such test takes, in the same order.
    FocusTestLock focus;
    StoreTestLock store;
    ScopedApplication app;
    MessageBoxRecorder boxes;
    std::unique_ptr<RecentFileList> previousList;
    MainFrame* frame;
    InfluenceDiagramWindow* window;
    BayesDiagram bayes;
};

} // namespace

// A's four cells (a1, a2 under s1, then under s2) typed in; the lone empty sibling shows "#". The zoom
// button shows a lens; Prev and Next show their arrows, greyed while disabled, and take Alt+N, Space and
// Enter (the focused one shows the default frame).
TEST_F(TableEditing, ProbabilitiesTypedCellByCellAreOneUndoStep)
{
    const int table = InfluenceNodeRecord::ProbabilityTable;
    for (int s = 0; s < 2; ++s)
        for (int a = 0; a < 2; ++a)
            SetDiagramCell(bayes.test, table, {{"S", s}, {"A", a}}, "");
    std::vector<std::string> seen;
    std::string caption;
    ModalDialogDriver driver;
    driver.Then([&](DialogFrameCL& d) {
              caption = WindowCL::TextOf(d.Handle()).Text();
              seen.push_back(Field(d));
              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d.Handle(), Id::Prev)));
              // The zoom button shows its lens, white inside.
              EXPECT_GT(WhiteInsideButtonOver(d, Id::ZoomText), 10);
              ExpectArrows(d, false, true);
          })
        .Type(Id::ProbabilityEdit, "0.8")
        .Press(Id::Next)
        .Then([&](DialogFrameCL& d) {
            seen.push_back(Field(d));
            // Alt+N in the entry field.
            PostMessageA(GetFocus(), WM_SYSCHAR, 'n', 1 << 29);
        })
        .Type(Id::ProbabilityEdit, "0.1")
        .Then([](DialogFrameCL& d) {
            HWND next = GetDlgItem(d.Handle(), Id::Next);
            SetFocus(next);
            PostMessageA(next, WM_KEYDOWN, VK_SPACE, 0);
            PostMessageA(next, WM_KEYUP, VK_SPACE, 0xC0000001);
        })
        .Then([&](DialogFrameCL& d) {
            seen.push_back(Field(d));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d.Handle(), Id::Next)));
            EXPECT_EQ(Row(d), 3);
            SetFocus(GetDlgItem(d.Handle(), Id::Define));
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        })
        .Then([&](DialogFrameCL& d) {
            // Tabbed to, Prev takes the default frame from OK and keeps its arrow; Enter presses Prev.
            HWND prev = GetDlgItem(d.Handle(), Id::Prev);
            EXPECT_EQ(GetFocus(), prev);
            ExpectScreenEqualsRepaint(d.Handle());
            ExpectArrows(d, true, false);
            RECT box{};
            GetClientRect(prev, &box);
            HDC dc = GetDC(prev);
            EXPECT_EQ(GetPixel(dc, 0, box.bottom / 2), GetSysColor(COLOR_WINDOWFRAME));
            ReleaseDC(prev, dc);
            EXPECT_EQ(GetWindowLongA(GetDlgItem(d.Handle(), IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
            PostMessageA(prev, WM_KEYDOWN, VK_RETURN, 0);
        })
        .Then([&](DialogFrameCL& d) { EXPECT_EQ(Row(d), 2); })
        .Press(IDOK);
    ASSERT_TRUE(Edit(bayes.test, Cmd::DiagramProbabilities, driver));
    EXPECT_EQ(caption, "Assign Probabilities");
    EXPECT_EQ(seen, (std::vector<std::string>{"", "#", "#"}));
    EXPECT_EQ(UndoText(), "&Undo Node Probabilities");
    EXPECT_EQ(Cell(bayes.test, table, {{"S", 0}, {"A", 0}}), "1:0.8");
    EXPECT_EQ(Cell(bayes.test, table, {{"S", 0}, {"A", 1}}), "3:#");
    EXPECT_EQ(Cell(bayes.test, table, {{"S", 1}, {"A", 0}}), "1:0.1");
    EXPECT_EQ(boxes.Count(), 0u);

    // Opened again it shows what was kept; Cancel keeps the table. The table's working tree is never shown
    // and uses up no "Untitled Tree" number.
    const int untitledBefore = NextUntitledNumber();
    seen.clear();
    ModalDialogDriver again;
    for (int i = 0; i < 4; ++i)
        again.Then([&](DialogFrameCL& d) { seen.push_back(Field(d)); }).Press(Id::Next);
    again.Press(IDCANCEL);
    ASSERT_TRUE(Edit(bayes.test, Cmd::DiagramProbabilities, again));
    EXPECT_EQ(seen, (std::vector<std::string>{"0.8", "#", "0.1", "#"}));
    EXPECT_EQ(NextUntitledNumber(), untitledBefore + 1);

    SendMessageA(frame->Handle(), WM_COMMAND, Cmd::EditUndo, 0);
    EXPECT_EQ(Cell(bayes.test, table, {{"S", 0}, {"A", 0}}), "0:");
    SendMessageA(frame->Handle(), WM_COMMAND, Cmd::EditRedo, 0);
    EXPECT_EQ(Cell(bayes.test, table, {{"S", 1}, {"A", 0}}), "1:0.1");
    ExpectScreenEqualsRepaint(frame->Handle());
}

// Each refused entry keeps its cell current and says why; a formula is checked by its syntax only.
TEST_F(TableEditing, EntriesAreCheckedAsTheirCellIsLeft)
{
    std::vector<int> rows;
    std::string kept;
    ModalDialogDriver driver;
    driver.Type(Id::ProbabilityEdit, "1.5")
        .Press(Id::Next)
        .Then([&](DialogFrameCL& d) { rows.push_back(Row(d)); })
        .Type(Id::ProbabilityEdit, "pUnknown*2")
        .Press(Id::Next)
        .Then([&](DialogFrameCL& d) { rows.push_back(Row(d)); })
        .Press(Id::Prev)
        .Then([&](DialogFrameCL& d) { kept = Field(d); })
        .Type(Id::ProbabilityEdit, "0.8")
        .Press(Id::Next)
        .Type(Id::ProbabilityEdit, "")
        .Press(Id::Next)
        .Press(IDOK)
        .Then([&](DialogFrameCL& d) { rows.push_back(Row(d)); })
        .Press(IDCANCEL);
    boxes.Answer(IDOK);
    boxes.Answer(IDNO);
    ASSERT_TRUE(Edit(bayes.test, Cmd::DiagramProbabilities, driver));
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(kept, "pUnknown*2");
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "If you enter a numeric probability value, it must be between 0 and 1.");
    EXPECT_EQ(boxes.Boxes()[1].text, "At least one node parsed incorrectly. Proceed anyway?");
    EXPECT_EQ(UndoText(), "&Undo ");

    // Values: "#" is refused, numbers kept as V's payoffs; the Insert menu types the events' names.
    boxes.Clear();
    std::string inserted;
    ModalDialogDriver values;
    values.Then([&](DialogFrameCL& d) { EXPECT_EQ(WindowCL::TextOf(d.Handle()), "Assign Values"); })
        .Type(Id::ProbabilityEdit, "#")
        .Press(Id::Next)
        .Type(Id::ProbabilityEdit, "")
        .Press(1101)
        .Then([&](DialogFrameCL& d) { inserted = Field(d); })
        .Type(Id::ProbabilityEdit, "250")
        .Press(IDOK);
    ASSERT_TRUE(Edit(bayes.value, Cmd::DiagramValues, values));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "You may only enter \"#\" when editing probabilities.");
    EXPECT_EQ(inserted, "D");
    EXPECT_EQ(UndoText(), "&Undo Node Values");
    EXPECT_EQ(Cell(bayes.value, InfluenceNodeRecord::ValueTable, {{"D", 0}, {"S", 0}}), "1:250");
}

// Distribution over two branches: the lower half of a uniform on [0, 4] and the rest, to 3 decimals; the
// wheel then gives s1 a quarter, and a "#" branch keeps its "#".
TEST_F(TableEditing, DistributionAndTheWheelShareOutTheBranchesProbabilities)
{
    auto previous = DistributionPicker::SetPresenter([](DistributionPicker& picker) {
        picker.chosen = MakeDistribution(DistUniform);
        picker.chosen->Parameter(0)->SetText("0");
        picker.chosen->Parameter(1)->SetText("4");
        return IDOK;
    });
    ModalDialogDriver driver;
    driver.Press(Cmd::OptionsDistributeChildren).Press(IDOK);
    const bool ran = Edit(bayes.state, Cmd::DiagramProbabilities, driver);
    DistributionPicker::SetPresenter(previous);
    ASSERT_TRUE(ran);
    const int table = InfluenceNodeRecord::ProbabilityTable;
    EXPECT_EQ(Cell(bayes.state, table, {{"S", 0}}), "1:0.500");
    EXPECT_EQ(Cell(bayes.state, table, {{"S", 1}}), "1:0.500");

    SetDiagramCell(bayes.state, table, {{"S", 1}}, "#");
    auto wheelBefore = ProbabilityWheelDialog::SetPresenter([](ProbabilityWheelDialog& wheel) {
        wheel.shares = {0.25, 0.75};
        return IDOK;
    });
    ModalDialogDriver wheel;
    wheel.Press(Cmd::ValuesProbabilityWheel).Press(IDOK);
    const bool turned = Edit(bayes.state, Cmd::DiagramProbabilities, wheel);
    ProbabilityWheelDialog::SetPresenter(wheelBefore);
    ASSERT_TRUE(turned);
    EXPECT_EQ(Cell(bayes.state, table, {{"S", 0}}), "1:0.250");
    EXPECT_EQ(Cell(bayes.state, table, {{"S", 1}}), "3:#");
}

// A's probabilities where the arc S -> A skips A after s2: only s1's two cells are rows (s2 ends in a line);
// skipping after both states leaves no cell, and the editor does not open.
TEST_F(TableEditing, SkippedStatesHaveNoCellsAndATableWithoutCellsIsRefused)
{
    InfluenceArc* arc = bayes.state->arcsOut.front();
    arc->settings.rows[1].influenceType = ArcInfluenceRow::Skip;
    std::vector<int> rows;
    ModalDialogDriver driver;
    driver.Then([&](DialogFrameCL& d) { CtrlKey(d, VK_DOWN); })
        .Then([&](DialogFrameCL& d) {
            rows.push_back(Row(d));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d.Handle(), Id::Next)));
            CtrlKey(d, VK_DOWN);
            rows.push_back(Row(d));
            CtrlKey(d, VK_UP);
            rows.push_back(Row(d));
        })
        .Press(IDCANCEL);
    ASSERT_TRUE(Edit(bayes.test, Cmd::DiagramProbabilities, driver));
    EXPECT_EQ(rows, (std::vector<int>{1, 1, 0}));

    arc->settings.rows[0].influenceType = ArcInfluenceRow::Skip;
    window->SelectNode(bayes.test, false);
    SendMessageA(window->Handle(), WM_COMMAND, Cmd::DiagramProbabilities, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "This model cannot be converted. The most likely cause is an incompatible set of "
                                 "\"skip\" or \"skip all\" arcs.");

    // A -> B -> S closes the loop S -> A -> B -> S: the node that closes it is selected.
    InfluenceNodeRecord* other =
        AddDiagramNode(window->document, window->document.diagram, InfluenceKind::Chance, "B", 3, 3, {"b1", "b2"});
    AddDiagramArc(window->document.diagram, bayes.test, other);
    AddDiagramArc(window->document.diagram, other, bayes.state);
    window->SelectNode(other, false);
    SendMessageA(window->Handle(), WM_COMMAND, Cmd::DiagramProbabilities, 0);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Last().text, "This node may not be edited because there is an influence-loop.");
    EXPECT_EQ(window->SelectedNodes(), std::vector<InfluenceNodeRecord*>{other});
}

// Paste Link in a cell: the cell reads the link, and the diagram keeps the link once the table is kept.
TEST_F(TableEditing, PasteLinkMakesACellReadTheLinkThatTheDiagramKeeps)
{
    ClipboardTestLock clipboardLock;
    Clipboard clipboard{window};
    ProgramLinks links{&clipboard, "KIVO_Node"};
    links.Manager().CopyLinkToClipboard("C:\\other.tre", "DDE_4", "0.25");
    std::string field;
    ModalDialogDriver driver;
    driver.Press(Cmd::EditPasteLink).Then([&](DialogFrameCL& d) { field = Field(d); }).Press(IDOK);
    ASSERT_TRUE(Edit(bayes.test, Cmd::DiagramProbabilities, driver));
    EXPECT_EQ(field, "Sub(1)");
    EXPECT_EQ(Cell(bayes.test, InfluenceNodeRecord::ProbabilityTable, {{"S", 0}, {"A", 0}}), "3:Sub(1)");
    ASSERT_NE(window->document.links.Find(1), nullptr);
    EXPECT_STREQ(window->document.links.Find(1)->value.Text(), "0.25");
}

// Define... gives a typed name its value; a number typed over that cell asks before the definition goes.
TEST_F(TableEditing, ADefinedVariableCellAsksBeforeANumberReplacesIt)
{
    std::string shown;
    int row = -1;
    ModalDialogDriver driver;
    driver.Type(Id::ProbabilityEdit, "cost")
        .Press(Id::Define)
        .Type(Ctl::DefineVariable::EnterANumericValueToBeAssignedToThisVariableEdit, "12")
        .Press(IDOK)
        .Then([&](DialogFrameCL& d) { shown = WindowCL::TextOf(GetDlgItem(d.Handle(), Id::ProbabilityText3722)).Text(); })
        .Type(Id::ProbabilityEdit, "15")
        .Press(Id::Next)
        .Then([&](DialogFrameCL& d) { row = Row(d); })
        .Type(Id::ProbabilityEdit, "cost")
        .Press(IDOK);
    boxes.Answer(IDNO);
    ASSERT_TRUE(Edit(bayes.value, Cmd::DiagramValues, driver));
    EXPECT_EQ(shown, "= 12");
    EXPECT_EQ(row, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "You are about to eliminate a variable definition. Proceed?");
    EXPECT_EQ(Cell(bayes.value, InfluenceNodeRecord::ValueTable, {{"D", 0}, {"S", 0}}), "2:cost12");
}

// An influence drawn before its source has outcomes keys the table once they are given, whatever the order
// of the edits: Result's entry typed before Disease had outcomes stays under each of them.
TEST_F(TableEditing, AnArcDrawnBeforeItsSourceHasOutcomesKeysTheTableOnceItHas)
{
    InfluenceDocument& document = window->document;
    InfluenceNodeRecord* disease = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Disease", 1, 5);
    InfluenceNodeRecord* result = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Result", 3, 5);
    AddDiagramArc(document.diagram, disease, result);
    window->UpdateExtent();
    const auto giveOutcomes = [&](InfluenceNodeRecord* node, const char* first, const char* second) {
        namespace Add = Ctl::AddOutcomes;
        ModalDialogDriver driver;
        driver.Press(Ctl::EditNodeOutcomes::Add).Type(Add::NameEdit, first).Press(Add::More);
        driver.Type(Add::NameEdit, second).Press(IDOK).Press(IDOK);
        EXPECT_TRUE(Edit(node, Cmd::DiagramOutcomes, driver));
    };
    // Every cell of Result's table, row by row.
    const auto fields = [&] {
        std::vector<std::string> seen;
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& d) {
            for (seen.push_back(Field(d)); IsWindowEnabled(GetDlgItem(d.Handle(), Id::Next)); seen.push_back(Field(d)))
                SendMessageA(d.Handle(), WM_COMMAND, Id::Next, 0);
        });
        driver.Press(IDCANCEL);
        EXPECT_TRUE(Edit(result, Cmd::DiagramProbabilities, driver));
        return seen;
    };
    giveOutcomes(result, "Pos", "Neg");
    ModalDialogDriver typing;
    typing.Type(Id::ProbabilityEdit, "0.3").Press(Id::Next).Type(Id::ProbabilityEdit, "#").Press(IDOK);
    ASSERT_TRUE(Edit(result, Cmd::DiagramProbabilities, typing));
    giveOutcomes(disease, "Yes", "No");
    EXPECT_EQ(fields(), (std::vector<std::string>{"0.3", "#", "0.3", "#"}));
    EXPECT_EQ(boxes.Count(), 0u);
}
