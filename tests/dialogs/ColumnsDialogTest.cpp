// The Columns dialog as a person reaches it: Preferences, the Terminal Nodes page, "Show columns" and its
// "&Set...".

#include "treewin/ColumnsDialog.h"
#include "dialogs/HookedDialog.h"
#include "app/PreferencesDialog.h"
#include "model/DisplayColumnList.h"
#include "model/TreeNode.h"
#include "foundation/NumericFormat.h"
#include "treewin/ResultBoxes.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using D = ColumnsDialog;

std::string Line(DialogFrameCL& dialog, int line)
{
    char text[256] = {};
    SendDlgItemMessageA(dialog.Handle(), Ctl::Columns::List, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string Text(DialogFrameCL& dialog, unsigned id)
{
    char text[256] = {};
    GetWindowTextA(dialog.Control(id), text, sizeof text);
    return text;
}

bool Enabled(DialogFrameCL& dialog, unsigned id)
{
    return IsWindowEnabled(dialog.Control(id)) != 0;
}

// The line's text ends inside the list: its last dark pixel stands clear of the right edge.
void ExpectLineShownWhole(DialogFrameCL& dialog, int line)
{
    const HWND list = dialog.Control(Ctl::Columns::List);
    ScreenOnTop top(dialog.Handle());
    UpdateWindow(list);
    RECT item{}, client{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
    GetClientRect(list, &client);
    HDC dc = GetDC(list);
    int last = -1;
    for (int y = item.top; y < item.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetRValue(GetPixel(dc, x, y)) < 128)
                last = std::max(last, x);
    ReleaseDC(list, dc);
    EXPECT_GT(last, 0) << Line(dialog, line);
    EXPECT_LT(last, client.right - 2) << Line(dialog, line);
}

class ColumnsOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    // Preferences, Terminal Nodes, "Show columns" ticked and "&Set...": the steps go on in Columns, and
    // Preferences is closed with OK after them.
    void InColumns(const std::vector<ModalDialogDriver::Step>& steps)
    {
        ModalDialogDriver person;
        person.Then([](DialogFrameCL& dialog) {
            const HWND categories = dialog.Control(Ctl::Preferences::CategoryList);
            SendMessageA(categories, LB_SETCURSEL, 6, 0);
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Preferences::CategoryList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(categories));
            const HWND page = dynamic_cast<HookedDialog&>(dialog).Page()->Handle();
            if (!IsDlgButtonChecked(page, Ctl::TerminalNodesPage::ShowColumns))
                SendMessageA(GetDlgItem(page, Ctl::TerminalNodesPage::ShowColumns), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(page, Ctl::TerminalNodesPage::SetColumns), BM_CLICK, 0, 0);
        });
        for (const auto& step : steps)
            person.Then(step);
        person.Press(IDOK);
        window.OnCommand(1308);
        EXPECT_TRUE(person.Finished());
    }
};

ModalDialogDriver::Step Press(unsigned id)
{
    return [id](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

ModalDialogDriver::Step Type(unsigned id, const char* text)
{
    return [id, text](DialogFrameCL& dialog) { SetWindowTextA(dialog.Control(id), text); };
}

TEST_F(ColumnsOnScreen, ColumnsAddedCheckedMovedAndKeptAtOk)
{
    // No columns: one empty line, and OK asks whether to discard it.
    std::string first;
    InColumns({[&](DialogFrameCL& dialog) { first = Line(dialog, 0); }, Press(IDOK)});
    EXPECT_EQ(first, "\t");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "You have left this column empty. Discard it?");
    EXPECT_EQ(tree.RollBackColumns.Count(), 0);
    EXPECT_EQ(tree.DisplayPrefs.ShowColumns, 1);

    boxes.Clear();
    std::string edited;
    std::vector<bool> moves;
    bool enterLeftOpen = false;
    InColumns({Type(Ctl::Columns::HeaderEdit, "EV"), Press(Ctl::Columns::Add),
               // An unchanged "New Header" is no header: nothing more is added.
               Press(Ctl::Columns::Add), Type(Ctl::Columns::HeaderEdit, "Twice"),
               Press(D::kFirstKindCommand + DisplayColumn::kCustomCalculation), Press(IDOK),
               [&](DialogFrameCL& dialog) {
                   moves = {Enabled(dialog, Ctl::Columns::MoveUp), Enabled(dialog, Ctl::Columns::MoveDown),
                            Enabled(dialog, Ctl::Columns::FormulaEditorButton)};
                   SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Columns::FormulaEditorButton, BN_CLICKED),
                                0);
               },
               Type(5004, "x*2"), Press(IDOK),
               [&](DialogFrameCL& dialog) {
                   edited = Text(dialog, Ctl::Columns::FormulaField);
                   SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Columns::MoveUp, BN_CLICKED), 0);
                   moves.push_back(Enabled(dialog, Ctl::Columns::MoveUp));
                   ExpectScreenEqualsRepaint(dialog.Handle());
                   ExpectLineShownWhole(dialog, 1);
                   // Enter in a field presses OK.
                   SetFocus(dialog.Control(Ctl::Columns::HeaderEdit));
                   PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
               },
               [&](DialogFrameCL& dialog) {
                   enterLeftOpen = dialog.Id() == DialogRes::Columns;
                   if (enterLeftOpen)
                       Press(IDOK)(dialog);
               }});
    std::vector<std::string> texts;
    for (const auto& box : boxes.Boxes())
        texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"You must assign a header to this column.",
                                               "You must assign a formula for calculations."}));
    EXPECT_EQ(moves, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(edited, "x*2");
    EXPECT_FALSE(enterLeftOpen);
    ASSERT_EQ(tree.RollBackColumns.Count(), 2);
    const DisplayColumn& twice = *tree.RollBackColumns.At(0);
    EXPECT_STREQ(twice.header.Text(), "Twice");
    EXPECT_EQ(twice.kind, DisplayColumn::kCustomCalculation);
    EXPECT_STREQ(twice.formula.Text(), "x*2");
    EXPECT_EQ(twice.reserved, -1);
    EXPECT_STREQ(tree.RollBackColumns.At(1)->header.Text(), "EV");
    EXPECT_STREQ(D::ColumnLabel(twice, false).Text(), "Twice\tx*2");
    EXPECT_STREQ(D::ColumnLabel(*tree.RollBackColumns.At(1), true).Text(), "EV\t[ C/E Ratio ]");
}

// A Path Probability column is a probability: it takes the probability format, with the probability's
// places, also when the tree's values are whole currency amounts.
TEST_F(ColumnsOnScreen, PathProbabilityColumnShowsProbabilities)
{
    NumericFormat& format = tree.CalcPrefs.PayoffFormats[0];
    format.unitsKind = NumericFormat::UnitsCurrency;
    format.expValDigits = 0;
    format.probDigits = 3;
    TreeNode* chance = tree.AddChild(tree.Root, ChanceNode, "C");
    tree.AddChild(chance, TerminalNode, "Up", "0.6", "10");
    tree.AddChild(chance, TerminalNode, "Down", "#", "20");
    InColumns({Type(Ctl::Columns::HeaderEdit, "Path"), Press(D::kFirstKindCommand + DisplayColumn::kPathProbability),
               Press(IDOK)});
    window.OnCommand(Cmd::AnalysisRollBack);
    zString table;
    ResultBoxes::WriteTableText(window, table);
    EXPECT_STREQ(table.Text(), "Node\tPath\r\nUp\t0.600\r\nDown\t0.400\r\n");
}

} // namespace
