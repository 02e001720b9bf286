// The program's dialogs as a person sees them, with what the program puts in them at run time: the pages
// of Preferences and Select Nodes beside their categories, the distribution pictures, the tool windows.

#include "app/StartProgram.h"
#include "treewin/DistributionsDialog.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "formula/DistributionRecord.h"
#include "dialogs/HookedDialog.h"
#include "app/PreferencesDialog.h"
#include "treewin/VariablesWindow.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "model/TreeNode.h"
#include "tests/support/DialogLayoutCheck.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::IsEmpty;

class DialogLayoutOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    DialogLayoutOnScreen()
    {
        if (!TheProgram()->CurrentDialogFont())
            TheProgram()->CreateDialogFont();
        frame.Show(SW_SHOW);
    }
};

// Each check runs in the last step, which also closes the dialog: the screen check waits for idle, and no
// later step may run meanwhile.
void CheckAndClose(DialogFrameCL& dialog)
{
    EXPECT_THAT(DialogLayoutFaults(dialog.Handle()), IsEmpty());
    ExpectScreenEqualsRepaint(dialog.Handle());
    SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
}

// The dialogs that show a page per category beside their list: Preferences and Select Nodes.
TEST_F(DialogLayoutOnScreen, EveryPageShowsWholeBesideTheCategories)
{
    // Cost-effectiveness shows the most controls of the first Preferences page: both payoffs and their labels.
    tree.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    const struct {
        int command;
        unsigned categoryList;
    } cases[] = {{1308, Ctl::Preferences::CategoryList}, {1415, 3120}};
    for (const auto& paged : cases) {
        SCOPED_TRACE("command " + std::to_string(paged.command));
        ModalDialogDriver person;
        person.Then([&paged](DialogFrameCL& dialog) {
            // Nothing is selected: Select Nodes' "Search branches of" is grey, with the rest of its text.
            if (paged.command == 1415)
                for (unsigned id : {Ctl::SelectNodes::SearchBranchesOf, Ctl::SelectNodes::SelectedNodeOnlyText})
                    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.Handle(), static_cast<int>(id)))) << id;
            HWND list = GetDlgItem(dialog.Handle(), static_cast<int>(paged.categoryList));
            const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
            for (int index = 0; index < count; ++index) {
                // A click on the line, as a person picks it.
                RECT line{};
                SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&line));
                const LPARAM at = MAKELPARAM(line.left + 4, (line.top + line.bottom) / 2);
                SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
                SendMessageA(list, WM_LBUTTONUP, 0, at);
                const HookedDialog& hooked = dynamic_cast<HookedDialog&>(dialog);
                SCOPED_TRACE("page " + std::to_string(hooked.PageId()));
                // The page is a child of the dialog: it stays clear of the list and the buttons.
                EXPECT_THAT(DialogLayoutFaults(dialog.Handle()), IsEmpty());
                EXPECT_THAT(DialogLayoutFaults(hooked.Page()->Handle()), IsEmpty());
                ExpectScreenEqualsRepaint(dialog.Handle());
            }
            SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
        });
        window.OnCommand(paged.command);
        EXPECT_TRUE(person.Finished());
    }
}

// Define Values, and the distribution pictures that the picker puts on its placeholders.
TEST_F(DialogLayoutOnScreen, ModalDialogsShowTheirControlsWhole)
{
    for (const int command : {1502, 1515}) {
        SCOPED_TRACE("command " + std::to_string(command));
        ModalDialogDriver person;
        if (command == 1515)
            person.Press(Ctl::Distributions::New);
        person.Then(CheckAndClose);
        if (command == 1515)
            person.Press(IDCANCEL);
        window.RunCommandHandler(static_cast<unsigned>(command));
        EXPECT_TRUE(person.Finished());
    }
}

// The Distributions list and Distribution Properties show the text of every type's distribution whole, with
// the type's own parameters.
TEST_F(DialogLayoutOnScreen, DistributionPropertiesShowsEachTypeWhole)
{
    auto* record = new DistributionRecord();
    record->index = 1;
    record->SetOwner(&tree);
    tree.Distributions.InsertSorted(record);
    for (int32_t type = 1; type <= 19; ++type) {
        if (type == 16)  // sampling a table: its name is the text
            continue;
        SCOPED_TRACE("type " + std::to_string(type));
        record->SetDistribution(MakeDistribution(type));
        const auto whole = [](DialogFrameCL& dialog) { EXPECT_THAT(DialogLayoutFaults(dialog.Handle()), IsEmpty()); };
        ModalDialogDriver person;
        person.Then(whole).Press(Ctl::Distributions::Properties).Then(whole).Press(IDCANCEL).Press(IDCANCEL);
        window.RunCommandHandler(Cmd::ValuesDistributions);
        EXPECT_TRUE(person.Finished());
    }
}

// The tool windows: Enter Payoff's buttons stand apart; the Variables list shows lines and grows with its
// sizing border.
TEST_F(DialogLayoutOnScreen, ToolWindowsShowTheirControlsWholeAndTheVariablesListGrows)
{
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        tree.Root->SetBinding(name, "1", false);
    window.Show(SW_SHOW);
    window.SelectNode(tree.Root, 0, nullptr, false);
    window.RunCommandHandler(Cmd::ValuesChangePayoff);
    ASSERT_EQ(window.ChildWindows().Count(), 1);
    HWND payoffs = static_cast<WindowCL*>(window.ChildWindows().At(0))->Handle();
    EXPECT_THAT(DialogLayoutFaults(payoffs), IsEmpty());
    ExpectScreenEqualsRepaint(frame.Handle());

    window.OnCommand(1306);
    VariablesWindow* variables = window.VariablesView;
    ASSERT_NE(variables, nullptr);
    variables->Show(SW_SHOW);
    HWND list = variables->List()->Handle();
    const auto listHeight = [list] {
        RECT client{};
        GetClientRect(list, &client);
        return static_cast<int>(client.bottom);
    };
    const int lineHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(listHeight(), 6 * lineHeight);
    EXPECT_THAT(DialogLayoutFaults(variables->Handle()), IsEmpty());
    ASSERT_TRUE(GetWindowLongA(variables->Handle(), GWL_STYLE) & WS_THICKFRAME);
    const int before = listHeight();
    RECT place{};
    GetWindowRect(variables->Handle(), &place);
    MapWindowPoints(nullptr, GetParent(variables->Handle()), reinterpret_cast<POINT*>(&place), 2);
    MoveWindow(variables->Handle(), place.left, place.top, place.right - place.left, place.bottom - place.top + 40,
               TRUE);
    // The list keeps to whole lines.
    EXPECT_GT(listHeight(), before + 40 - lineHeight);
    ExpectScreenEqualsRepaint(frame.Handle());
}

} // namespace
