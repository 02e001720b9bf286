// The formula tools of the node-bound windows and dialogs: the formula menus, the Distribution button, Enter
// and Escape, the Function Helper with its prompts and the Formula Editor, used as a person does.

#include "widgets/MenuButton.h"
#include "app/StartProgram.h"
#include "treewin/CEParamsDialog.h"
#include "treewin/DistributionsDialog.h"
#include "treewin/DistributionPicker.h"
#include "treewin/FunctionHelper.h"
#include "treewin/NodeValueWindow.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "formula/BuiltinRegistry.h"
#include "formula/DistributionRecord.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "framework/dialog/PopupMenu.h"
#include "model/DocumentVariableOps.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class FormulaTools : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    FormulaTools()
    {
        TheProgram()->CreateFormulaMenus(&frame);
        a = tree.AddChild(tree.Root, TerminalNode, "A", "", "1");
        window.Document().EnsureVariable("rate", nullptr);
        a->SetBinding("rate", "0.5", false);
        window.Selection.Add(a);
    }
    ~FormulaTools() override
    {
        DistributionsDialog::SetPresenter(nullptr);
        TheProgram()->DestroyFormulaMenus();
    }

    // The Define Variable window of "rate" at A, as the tree opens it.
    NodeValueWindow* OpenDefinition()
    {
        window.OpenNodeValueWindow(a, "rate");
        const int count = window.ChildWindows().Count();
        return count > 0 ? static_cast<NodeValueWindow*>(window.ChildWindows().At(count - 1)) : nullptr;
    }
    static std::string Text(HWND control)
    {
        char text[256] = "";
        GetWindowTextA(control, text, sizeof text);
        return text;
    }
    std::string Definition() const
    {
        const VariableDefinition* binding = a->FindBinding("rate", false);
        return binding != nullptr ? binding->definition.Text().Text() : "(none)";
    }
    // The list's entry is chosen and OK pressed.
    static ModalDialogDriver::Step Choose(const char* entry)
    {
        return [entry](DialogFrameCL& dialog) {
            const HWND list = dialog.Control(2731);
            SendMessageA(list, LB_SETCURSEL, SendMessageA(list, LB_FINDSTRINGEXACT, -1, LPARAM(entry)), 0);
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        };
    }

    TreeNode* a;
};

TEST_F(FormulaTools, MenuPicksAndTheDistributionButtonInsertIntoTheFocusedFormula)
{
    // A tables directory of this process holding one table.
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string directory = temp + std::string("kivo_formula_tables") + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(directory.c_str(), nullptr);
    SetTablesDirectory((directory + "\\").c_str());
    LoadTablesDirectory();
    ASSERT_NE(CreateTable("Rates", "rates", "", LookupTable::Truncation, true), nullptr);
    auto* record = new DistributionRecord();
    record->index = 2;
    tree.Distributions.InsertSorted(record);
    DistributionsDialog::SetPresenter([](DistributionsDialog& dialog) {
        dialog.selected = 0;
        return IDOK;
    });
    NodeValueWindow* bound = OpenDefinition();
    ASSERT_NE(bound, nullptr);
    // The five statics gave way to their buttons; the Markov keywords mean nothing at A.
    for (unsigned id : {31003u, 31004u, 31005u, 31006u, 31031u})
        EXPECT_FALSE(IsWindowVisible(bound->Control(id))) << id;
    const MenuButton* keywords = nullptr;
    for (HWND child = GetWindow(bound->Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)))
            keywords = button->ButtonMenu() == TheProgram()->KeywordsMenu() ? button : keywords;
    // Its button is there, greyed: drawn with its frame (the dark lower right corner), opening nothing.
    ASSERT_NE(keywords, nullptr);
    EXPECT_FALSE(IsWindowEnabled(keywords->Handle()));
    frame.Show(SW_SHOW);
    ExpectScreenEqualsRepaint(bound->Handle());
    RECT face{};
    GetWindowRect(keywords->Handle(), &face);
    {
        ScreenOnTop onTop(frame.Handle());
        const ScreenCapture shown = CaptureScreen(face);
        EXPECT_TRUE(shown.Dark(face.right - 1, face.bottom - 1));
    }
    const HWND edit = bound->Control(31011);
    const struct {
        unsigned command;
        const char* inserted;
        int caret;
    } cases[] = {
        {601, "+", 1},  // Operators
        {932, "Sqrt()", 5},  // Functions: the caret between the parentheses
        {701, "_stage", 6},  // Keywords
        {Cmd::FirstVariable, "rate", 4},  // the tree's variables
        {kFirstTableMenuId, "Rates[]", 6},  // Tables: the caret between the brackets
        {31025, "DistSamp(2)", 11},  // Distribution..., distribution 2 chosen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inserted);
        SetWindowTextA(edit, "");
        SetFocus(edit);
        SendMessageA(bound->Handle(), WM_COMMAND, c.command, 0);
        PumpMessagesFor(50);
        EXPECT_EQ(Text(edit), c.inserted);
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_EQ(static_cast<int>(start), c.caret);
        EXPECT_EQ(GetFocus(), edit);
    }
    SendMessageA(bound->Handle(), WM_COMMAND, IDCANCEL, 0);
    FreeTables();
    DeleteFileA((directory + "\\rates.tbl").c_str());
    RemoveDirectoryA(directory.c_str());
}

TEST_F(FormulaTools, EnterAppliesEscapeClosesAndARenameFollows)
{
    NodeValueWindow* bound = OpenDefinition();
    ASSERT_NE(bound, nullptr);
    HWND edit = bound->Control(31011);
    // Enter with a syntax error: the message, the window open, the edit focused, nothing stored.
    SetWindowTextA(edit, "(rate");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(window.ChildWindows().Count(), 1);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Definition(), "0.5");
    // The value the definition gives at A, and its label.
    SetWindowTextA(edit, "rate*3");
    EXPECT_DOUBLE_EQ(bound->CurrentValue(), 1.5);
    zString label;
    bound->ValueLabel(label);
    EXPECT_STREQ(label.Text(), "Value of \"rate\"");
    // A rename while open: caption, label and whole-word uses, in any case.
    SetWindowTextA(edit, "RATE*2+rate_x");
    RenameVariable(tree, "rate", "cost");
    EXPECT_EQ(Text(bound->Handle()).substr(Text(bound->Handle()).size() - 24), ": Define Variable \"cost\"");
    EXPECT_EQ(Text(bound->Control(31007)), "cost &=");
    EXPECT_EQ(Text(edit), "cost*2+rate_x");
    // Escape closes without storing; Enter stores and closes.
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(window.ChildWindows().Count(), 0);
    EXPECT_EQ(a->FindBinding("cost", false)->definition.Text(), zString("0.5"));
    window.OpenNodeValueWindow(a, "cost");
    bound = static_cast<NodeValueWindow*>(window.ChildWindows().At(0));
    edit = bound->Control(31011);
    SetWindowTextA(edit, "0.25");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(window.ChildWindows().Count(), 0);
    EXPECT_EQ(a->FindBinding("cost", false)->definition.Text(), zString("0.25"));
}

TEST_F(FormulaTools, TheFunctionHelperFinishesTheCall)
{
    const struct {
        const char* function;
        std::vector<const char*> arguments; // typed into the prompt's edits; none: no prompt
        const char* inserted;
        size_t boxes;
    } cases[] = {
        {"Sqrt", {"2"}, "Sqrt(2)", 0},
        {"Root", {"8", "3"}, "Root(8;3)", 0},
        {"Sum", {"1;2;3"}, "Sum(1;2;3)", 0},
        {"Sqrt", {"1;2;3"}, "", 1}, // refused in a one-number prompt, then cancelled
        {"Pi", {}, "Pi()", 0},
        {nullptr, {}, "", 0}, // the helper cancelled
    };
    NodeValueWindow* bound = OpenDefinition();
    ASSERT_NE(bound, nullptr);
    const HWND edit = bound->Control(31011);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inserted);
        boxes.Clear();
        SetWindowTextA(edit, "");
        SetFocus(edit);
        ModalDialogDriver driver;
        if (c.function == nullptr) {
            driver.Press(IDCANCEL);
        } else {
            driver.Then(Choose(c.function));
            for (size_t i = 0; i < c.arguments.size(); ++i)
                driver.Type(2742 + 2 * static_cast<unsigned>(i), c.arguments[i]);
            if (!c.arguments.empty())
                driver.Press(IDOK);
            if (c.boxes > 0)
                driver.Press(IDCANCEL);
        }
        SendMessageA(bound->Handle(), WM_COMMAND, Cmd::FunctionsHelper, 0);
        EXPECT_TRUE(driver.Finished());
        EXPECT_EQ(Text(edit), c.inserted);
        EXPECT_EQ(boxes.Count(), c.boxes);
    }
    SendMessageA(bound->Handle(), WM_COMMAND, IDCANCEL, 0);
    // Without a tree there are no distributions to sample.
    zString call;
    EXPECT_FALSE(PromptFunctionArguments(BuiltinDistSamp, call, nullptr));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Sampling distributions may only be used in trees.");
}

// The picker's pictures: Normal's pressed and focused at first, drawn from its bitmap; Table refused without
// tables; Beta's real mode relabels the rows.
TEST_F(FormulaTools, ThePickerShowsItsTypesAsPictures)
{
    ModalDialogDriver driver;
    driver.Then([](DialogFrameCL& picker) {
        HWND normal = picker.Control(2461);
        ASSERT_NE(normal, nullptr);
        EXPECT_EQ(SendMessageA(normal, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(GetFocus(), normal);
        EXPECT_FALSE(IsWindowEnabled(picker.Control(2476)));
        EXPECT_EQ(Text(normal), "Normal");
        RECT place{};
        GetClientRect(normal, &place);
        // Every label fits inside its picture's face (the button less its pressed border).
        for (unsigned id = 2461; id <= 2479; ++id) {
            HWND button = picker.Control(id);
            RECT face{};
            GetClientRect(button, &face);
            HDC dc = GetDC(button);
            HGDIOBJ was = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)));
            const std::string label = Text(button);
            SIZE size{};
            GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &size);
            SelectObject(dc, was);
            ReleaseDC(button, dc);
            EXPECT_LE(size.cx, face.right - 8) << label;
        }
        // The bell of the Normal bitmap is pure blue on the screen.
        ScreenOnTop top(picker.Handle());
        UpdateWindow(normal);
        HDC dc = GetDC(normal);
        int blue = 0;
        for (int y = 0; y < place.bottom; ++y)
            for (int x = 0; x < place.right; ++x)
                blue += GetPixel(dc, x, y) == RGB(0, 0, 255);
        ReleaseDC(normal, dc);
        EXPECT_GT(blue, 100);
        // The grey Table picture keeps its label: ink in its lower part, no wider than a word.
        const HWND table = picker.Control(2476);
        RECT tableFace{};
        GetClientRect(table, &tableFace);
        HDC tableDc = GetDC(table);
        int left = tableFace.right, right = -1;
        for (int y = tableFace.bottom * 3 / 5; y < tableFace.bottom - 5; ++y)
            for (int x = 5; x < tableFace.right - 5; ++x)
                if (GetPixel(tableDc, x, y) != GetSysColor(COLOR_BTNFACE)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ReleaseDC(table, tableDc);
        EXPECT_GT(right, left);
        EXPECT_LT(right - left, (tableFace.right - 10) * 3 / 4);
        ExpectScreenEqualsRepaint(picker.Handle());
        SendMessageA(picker.Handle(), WM_COMMAND, 2463, 0);
        EXPECT_EQ(SendMessageA(normal, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(SendMessageA(picker.Control(2463), BM_GETCHECK, 0, 0), BST_CHECKED);
    });
    driver.Type(2484, "3").Then([](DialogFrameCL& picker) {
        SendMessageA(picker.Control(2493), BM_CLICK, 0, 0);
        EXPECT_EQ(Text(picker.Control(2481)), "&alpha:");
        EXPECT_EQ(Text(picker.Control(2484)), "3");
    });
    driver.Press(IDOK);
    std::unique_ptr<Distribution> picked(RunDistributionPicker(&window, nullptr, true));
    EXPECT_TRUE(driver.Finished());
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(picked->TypeCode(), 3);
    EXPECT_EQ(picked->Variant(), 2);
}

TEST_F(FormulaTools, TheFormulaEditorEditsADistributionParameter)
{
    const struct {
        TreeWindow* tree;
        std::vector<const char*> typed; // each followed by OK; the last one closes the editor
        bool cancel;
        const char* field;              // the parameter's field afterwards; null: as it was
        size_t boxes;
    } cases[] = {
        {&window, {"(1", "rate+1"}, false, "rate+1", 1}, // a syntax error keeps the editor open
        {&window, {"7"}, true, nullptr, 0},             // Cancel leaves the field as it was
        {nullptr, {"2*3"}, false, "2*3", 0},
    };
    for (const auto& c : cases) {
        boxes.Clear();
        bool distributionShown = true;
        std::string variablesText = "?", before;
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& picker) {
            before = Text(picker.Control(2484));
            SendMessageA(picker.Handle(), WM_COMMAND, 2489, 0);
        });
        driver.Then([&](DialogFrameCL& editor) {
            distributionShown = IsWindowVisible(editor.Control(5002)) != FALSE;
            variablesText = Text(editor.Control(5008));
        });
        for (const char* text : c.typed)
            driver.Type(5004, text).Press(c.cancel ? IDCANCEL : IDOK);
        driver.Then([&](DialogFrameCL& picker) {
            EXPECT_EQ(Text(picker.Control(2484)), c.field != nullptr ? c.field : before);
            SendMessageA(picker.Handle(), WM_COMMAND, IDCANCEL, 0);
        });
        delete RunDistributionPicker(c.tree, nullptr, false);
        EXPECT_TRUE(driver.Finished());
        EXPECT_EQ(boxes.Count(), c.boxes);
        // Without a tree: no Distribution button and no variables.
        EXPECT_EQ(distributionShown, c.tree != nullptr);
        EXPECT_EQ(variablesText.empty(), c.tree == nullptr);
    }
}

// Each "..." of the Cost-Effectiveness Parameters edits its formula in the editor.
TEST_F(FormulaTools, TheCostEffectivenessFormulasOpenTheEditor)
{
    ModalDialogDriver driver;
    driver.Then([](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, 4396, 0); })
        .Type(5004, "rate*1000")
        .Press(IDOK)
        .Press(IDOK);
    EXPECT_EQ(OpenCEParameters(&window), 1);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(std::string(tree.CESettings.willingnessToPay.Text().Text()), "rate*1000");
}

// An optional formula's field and "..." follow its box, clicked off and on.
TEST_F(FormulaTools, EachCostEffectivenessBoxRulesItsFieldAndEditor)
{
    namespace Ids = Ctl::CostEffectivenessParameters;
    const struct {
        unsigned box;
        unsigned field;
        unsigned editor;
    } rows[] = {{Ids::MinimumEffectiveness, Ids::MinimumEdit, Ids::MinimumEditor},
                {Ids::MaximumCost, Ids::MaximumEdit, Ids::MaximumEditor}};
    tree.CESettings.useEffectivenessFloor = 0;
    tree.CESettings.useCostCeiling = 0;
    ModalDialogDriver driver;
    for (const auto& row : rows) {
        const auto usable = [row](bool on) {
            return [row, on](DialogFrameCL& dialog) {
                SCOPED_TRACE(row.box);
                EXPECT_EQ(IsWindowEnabled(dialog.Control(row.field)) != 0, on);
                EXPECT_EQ(IsWindowEnabled(dialog.Control(row.editor)) != 0, on);
            };
        };
        const ModalDialogDriver::Step box = ModalDialogDriver::Clicking(row.box);
        driver.Then(usable(false)).Then(box).Then(usable(true)).Then(box).Then(usable(false));
    }
    driver.Press(IDCANCEL);
    EXPECT_EQ(OpenCEParameters(&window), 0);
    EXPECT_TRUE(driver.Finished());
}

} // namespace
