// Distribution Properties from the Distributions list on the screen.

#include "treewin/DistributionsDialog.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionTypes.h"
#include "framework/dialog/DialogFrameCL.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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

} // namespace
