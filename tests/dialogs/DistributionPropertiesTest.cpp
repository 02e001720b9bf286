// Distribution Properties from the Distributions list on the screen.

#include "treewin/DistributionsDialog.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionTypes.h"
#include "framework/dialog/DialogFrameCL.h"
#include "tests/support/DialogControls.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/EnterPayoffWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Steps of a person in the innermost dialog besides a click on a control: a click on a button by its text,
// on a line of a list, and a number typed over a field.
ModalDialogDriver::Step ClickOnButton(const char* text)
{
    return [text](DialogFrameCL& dialog) {
        RealInput::ClickAndDispatch(RealInput::Middle(FindWindowExA(dialog.Handle(), nullptr, "Button", text)));
    };
}
ModalDialogDriver::Step ClickLine(unsigned id, int line)
{
    return [id, line](DialogFrameCL& dialog) {
        RECT item{};
        SendMessageA(dialog.Control(id), LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
        const POINT at{item.left + 10, (item.top + item.bottom) / 2};
        RealInput::ClickAndDispatch(RealInput::OnScreen(dialog.Control(id), at));
    };
}
ModalDialogDriver::Step TypeOver(unsigned id, const char* text)
{
    return [id, text](DialogFrameCL& dialog) {
        RealInput::ClickAndDispatch(RealInput::Middle(dialog.Control(id)));
        RealInput::Keys("End shift+Home");
        RealInput::Type(text);
    };
}

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class DistributionPropertiesOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    DistributionPropertiesOnScreen()
    {
        for (int index : {1, 2}) {
            auto* record = new DistributionRecord();
            record->index = index;
            record->SetDistribution(new NormalDistribution());
            record->SetOwner(&tree);
            tree.Distributions.InsertSorted(record);
        }
    }
    static std::string Line(DialogFrameCL& dialog, int line)
    {
        char text[64] = "";
        SendDlgItemMessageA(dialog.Handle(), Ctl::Distributions::CommentList, LB_GETTEXT, static_cast<WPARAM>(line),
                            reinterpret_cast<LPARAM>(text));
        return text;
    }
};

TEST_F(DistributionPropertiesOnScreen, IndexCommentAndACancelledPick)
{
    tree.Distributions.RecordAt(0)->SetDistribution(MakeDistribution(2));
    ModalDialogDriver person;
    person.Press(Ctl::Distributions::Properties);
    person.Then([&](DialogFrameCL& dialog) {
        // An index another record uses is refused and the dialog stays.
        SetDlgItemTextA(dialog.Handle(), Ctl::DistributionProperties::IndexEdit, "2");
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "This index is being used by another sampling distribution.");
        SetDlgItemTextA(dialog.Handle(), Ctl::DistributionProperties::IndexEdit, "5");
        SetDlgItemTextA(dialog.Handle(), Ctl::DistributionProperties::CommentEdit, "growth");
        SendMessageA(dialog.Handle(), WM_COMMAND, Ctl::DistributionProperties::Edit, 0);
    });
    person.Press(IDCANCEL); // the picker
    person.Then([](DialogFrameCL& dialog) {
        ExpectScreenEqualsRepaint(dialog.Handle());
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Then([](DialogFrameCL& dialog) {
        // Re-sorted: the record's line follows the other's, with its comment.
        EXPECT_EQ(Line(dialog, 1), "5\tgrowth");
        SendMessageA(dialog.Handle(), WM_COMMAND, Ctl::Distributions::New, 0);
    });
    person.Press(IDOK);     // the picker: a new distribution
    person.Press(IDCANCEL); // its properties: the new record is dropped
    person.Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog.Handle(), Ctl::Distributions::CommentList, LB_GETCOUNT, 0, 0), 2);
        SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    tree.SetModified(0);
    window.RunCommandHandler(Cmd::ValuesDistributions);
    EXPECT_TRUE(person.Finished());
    ASSERT_EQ(tree.Distributions.Count(), 2);
    const DistributionRecord& edited = *tree.Distributions.RecordAt(1);
    EXPECT_EQ(edited.index, 5);
    EXPECT_STREQ(edited.comment.Text(), "growth");
    ASSERT_NE(edited.GetDistribution(), nullptr);
    EXPECT_EQ(edited.GetDistribution()->TypeCode(), 2);
    EXPECT_EQ(tree.Modified, 1);

    // A new record dropped at its properties leaves an unmodified tree unmodified.
    tree.SetModified(0);
    person.Press(Ctl::Distributions::New).Press(IDOK).Press(IDCANCEL).Press(IDCANCEL);
    window.RunCommandHandler(Cmd::ValuesDistributions);
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(tree.Distributions.Count(), 2);
    EXPECT_EQ(tree.Modified, 0);
}

// Ways through Distribution Properties and the picker by hand, each ending in Cancel there: the records,
// the saved file and the tree's changed mark stay as they were (the record's distribution once went with a
// picker's OK on an unchanged type, and a picker's Cancel kept its edits).
TEST_F(DistributionPropertiesOnScreen, CancelledPropertiesLeaveTheRecordsAsTheyWere)
{
    namespace Ids = Ctl::DistributionProperties;
    namespace ListIds = Ctl::Distributions;
    auto* beta = MakeDistribution(3);
    Expression values[Distribution::kMaxParameters + 1];
    values[0].SetText("1");
    values[1].SetText("8");
    values[2].SetText("4");
    beta->SetParameters(values);
    tree.Distributions.RecordAt(1)->SetDistribution(beta);
    frame.Show(SW_SHOW);
    window.Show(SW_SHOW);
    window.SelectNode(tree.Root, 0, nullptr, false);
    ScreenOnTop top(frame.Handle());
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string path = temp + std::string("kivo-distributions-") + std::to_string(GetCurrentProcessId()) + ".tre";
    zString message;
    ASSERT_TRUE(window.SaveCopyAs(path.c_str(), message)) << message.Text();
    const std::vector<char> before = FileBytes(path);
    const auto click = ModalDialogDriver::Clicking;
    const ModalDialogDriver::Step ok = click(IDOK), cancel = click(IDCANCEL), edit = click(Ids::Edit);
    const struct {
        const char* way;
        bool fromPayoff;  // the list as the chooser of Enter Payoff's "Distribution..."
        std::vector<ModalDialogDriver::Step> steps;
    } cases[] = {
        {"New, OK, Edit, OK, Cancel", false, {click(ListIds::New), ok, edit, ok, cancel}},
        {"Edit, Mean 5, Cancel, Edit, OK, Cancel", false,
         {click(ListIds::Properties), edit, TypeOver(Ctl::Distribution::FirstParameterEdit, "5"), cancel, edit, ok,
          cancel}},
        {"Edit, Uniform, OK, Edit, OK, Cancel", false,
         {click(ListIds::Properties), edit, ClickOnButton("Uniform"), ok, edit, ok, cancel}},
        {"Enter Payoff: New, OK, Edit, OK, Cancel", true, {click(ListIds::New), ok, edit, ok, cancel}},
        {"Beta: Edit, real-numbered, Cancel, Cancel", false,
         {ClickLine(ListIds::CommentList, 1), click(ListIds::Properties), edit, click(Ctl::Distribution::SecondMode),
          cancel, cancel}},
        // The record being edited keeps its index from a new one made in a chooser inside its dialog.
        {"Edit, ..., Distribution, New, OK, Cancel all", false,
         {click(ListIds::Properties), edit, click(Ctl::Distribution::FirstParameterButton),
          click(Ctl::FormulaEditor::Distribution), click(ListIds::New), ok,
          [](DialogFrameCL& dialog) { EXPECT_EQ(TextOf(dialog, Ids::IndexEdit), "3"); }, cancel, cancel, cancel,
          cancel, cancel}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        tree.SetModified(0);
        ModalDialogDriver person;
        for (const auto& step : c.steps)
            person.Then(step);
        person.Then(cancel);  // the list
        if (c.fromPayoff) {
            window.RunCommandHandler(Cmd::ValuesChangePayoff);
            auto* payoff = dynamic_cast<EnterPayoffWindow*>(window.ChildWindows().At(window.ChildWindows().Count() - 1));
            ASSERT_NE(payoff, nullptr);
            RealInput::ClickAndDispatch(RealInput::Middle(payoff->Control(Ctl::EnterPayoff::Distribution)));
            ASSERT_TRUE(PumpMessagesUntil([&] { return person.Finished() && DialogFrameCL::ModalStack().empty(); }));
            SendMessageA(payoff->Handle(), WM_COMMAND, IDCANCEL, 0);
        } else {
            window.RunCommandHandler(Cmd::ValuesDistributions);
        }
        EXPECT_TRUE(person.Finished());
        ASSERT_TRUE(window.SaveCopyAs(path.c_str(), message)) << message.Text();
        EXPECT_EQ(FileBytes(path), before);
        EXPECT_EQ(tree.Modified, 0);
    }
    DeleteFileA(path.c_str());
}

} // namespace
