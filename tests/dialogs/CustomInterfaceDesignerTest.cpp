// The designer's dialogs of a custom interface on the screen.

#include "treewin/CustomInterfaceDialog.h"
#include "framework/dialog/DialogFrameCL.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocVariable.h"
#include "model/TreeNode.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class DesignerOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    DesignerOnScreen()
    {
        for (const char* name : {"rate", "twice"})
            window.Document().EnsureVariable(name, nullptr);
        tree.Root->SetBinding("rate", "0.5", false);
        tree.Root->SetBinding("twice", "rate*2", false);
    }
    static std::string Text(DialogFrameCL& dialog, unsigned id)
    {
        char text[128] = "";
        GetDlgItemTextA(dialog.Handle(), static_cast<int>(id), text, sizeof text);
        return text;
    }
    static void Click(DialogFrameCL& dialog, unsigned id, bool checked)
    {
        CheckDlgButton(dialog.Handle(), static_cast<int>(id), checked ? BST_CHECKED : BST_UNCHECKED);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
    static void Choose(DialogFrameCL& dialog, unsigned list, int line)
    {
        SendDlgItemMessageA(dialog.Handle(), static_cast<int>(list), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), 0);
    }
};

// Basic parameters: the numeric default variables offered, one added through Add Parameter, whose checks
// come in their order; the choice of Extended is kept when the designer closes.
TEST_F(DesignerOnScreen, AddsAParameterThroughItsChecks)
{
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(Text(dialog, 3511), "Basic &Options");
        Click(dialog, 3517, true);
        EXPECT_EQ(Text(dialog, 3512), "Extended &Parameters");
        Click(dialog, 3517, false);
        Click(dialog, 3516, true);
        SendMessageA(dialog.Handle(), WM_COMMAND, 3512, 0);
    });
    person.Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog.Handle(), 3541, LB_GETCOUNT, 0, 0), 1);
        EXPECT_FALSE(IsWindowEnabled(dialog.Control(3542)));
        Choose(dialog, 3541, 0);
        SendMessageA(dialog.Handle(), WM_COMMAND, 3542, 0);
    });
    person.Then([&](DialogFrameCL& dialog) {
        EXPECT_EQ(Text(dialog, 3551) + " = " + Text(dialog, 3556), "rate = 0.5");
        SetDlgItemTextA(dialog.Handle(), 3552, "Interest rate");
        const struct {
            const char *low, *high, *fallback, *name;
            bool wheel, integer;
            const char* refusal;
        } cases[] = {
            {"0.2", "0.2", "0.2", "", false, false, "The high value must be greater than the low value."},
            {"0.5", "0.9", "0.5", "", false, true, "The high value must be greater than the low value."},
            {"0", "1", "1.5", "", false, false, "The default value must be between the low and high values."},
            {"0", "1.5", "1", "", true, false, "The probability wheel may only be used for values between zero and one."},
        };
        for (const auto& c : cases) {
            Click(dialog, 3557, c.integer);
            Click(dialog, 3561, c.wheel);
            SetDlgItemTextA(dialog.Handle(), 3553, c.low);
            SetDlgItemTextA(dialog.Handle(), 3554, c.high);
            SetDlgItemTextA(dialog.Handle(), 3555, c.fallback);
            const size_t before = boxes.Count();
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
            ASSERT_EQ(boxes.Count(), before + 1) << c.refusal;
            EXPECT_EQ(boxes.Last().text, c.refusal);
        }
        // A switch: low 0 and high 1, a default of 0.5 becomes 1; its name has at most 8 letters.
        Click(dialog, 3561, false);
        SetDlgItemTextA(dialog.Handle(), 3555, "0.5");
        Click(dialog, 3558, true);
        EXPECT_EQ(Text(dialog, 3553) + " " + Text(dialog, 3554) + " " + Text(dialog, 3555), "0 1 1");
        EXPECT_FALSE(IsWindowEnabled(dialog.Control(3553)));
        SetDlgItemTextA(dialog.Handle(), 3559, "Ninechars");
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        EXPECT_EQ(boxes.Last().text, "The name for the check box must be 8 letters or less.");
        SetDlgItemTextA(dialog.Handle(), 3559, "Use rate");
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Then([](DialogFrameCL& dialog) {
        char line[128] = "";
        SendDlgItemMessageA(dialog.Handle(), 3546, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
        EXPECT_STREQ(line, "Interest rate\trate\t0\t1\t1");
        EXPECT_EQ(SendDlgItemMessageA(dialog.Handle(), 3541, LB_GETCOUNT, 0, 0), 0);
        EXPECT_TRUE(IsWindowEnabled(dialog.Control(3543)));
        EXPECT_FALSE(IsWindowEnabled(dialog.Control(3544)));
        ExpectScreenEqualsRepaint(dialog.Handle());
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Then([](DialogFrameCL& dialog) {
        Click(dialog, 3516, false);
        Click(dialog, 3517, true);
        SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    window.OnCommand(Cmd::OptionsDesignCustomInterface);
    EXPECT_TRUE(person.Finished());
    ASSERT_EQ(boxes.Count(), 5u);
    const CustomInterfaceSettings& settings = *tree.CustomInterface;
    ASSERT_EQ(settings.Count(), 1);
    const CustomInterfaceParameter& parameter = *settings.At(0);
    EXPECT_EQ(std::string(parameter.switchLabel.Text()) + " " + parameter.valueText.Text(), "Use rate 0.5");
    EXPECT_EQ(parameter.onOffSwitch, 1);
    EXPECT_EQ(parameter.currentValue, 1.0);
    EXPECT_STREQ(window.Document().FindVariable("rate", false)->shortDescription.Text(), "Interest rate");
    EXPECT_EQ(settings.options.extended, 1);
    EXPECT_EQ(tree.Modified, 1);
}

// The options: a calculation method added and deleted again, the analyses mask rebuilt from the selection,
// and the variables ready for the Extended interface marked "+".
TEST_F(DesignerOnScreen, OptionsAndExtendedParameters)
{
    DocVariable* rate = window.Document().FindVariable("rate", false);
    rate->hasRange = 1;
    rate->shortDescription = "Interest rate";
    ModalDialogDriver person;
    person.Press(3511);
    person.Press(3525);
    person.Then([](DialogFrameCL& dialog) {
        SetDlgItemTextA(dialog.Handle(), 3531, "Costs");
        SendDlgItemMessageA(dialog.Handle(), 3532, CB_SETCURSEL, 4, 0);
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Then([&](DialogFrameCL& dialog) {
        char line[64] = "";
        SendDlgItemMessageA(dialog.Handle(), 3527, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
        EXPECT_STREQ(line, "Costs\tCost/Eff");
        EXPECT_EQ(tree.CustomInterface->options.Count(), 1);
        SendMessageA(dialog.Handle(), WM_COMMAND, 3526, 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog.Handle(), 3527, LB_GETCURSEL, 0, 0), LB_ERR);
        EXPECT_FALSE(IsWindowEnabled(dialog.Control(3526)));
        Click(dialog, 3529, true);
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Then([](DialogFrameCL& dialog) {
        Click(dialog, 3516, false);
        Click(dialog, 3517, true);
        SendMessageA(dialog.Handle(), WM_COMMAND, 3511, 0);
    });
    person.Then([](DialogFrameCL& dialog) {
        SendDlgItemMessageA(dialog.Handle(), 3801, LB_SETSEL, FALSE, -1);
        for (int bit : {0, 17})
            SendDlgItemMessageA(dialog.Handle(), 3801, LB_SETSEL, TRUE, bit);
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Press(3512);
    person.Then([](DialogFrameCL& dialog) {
        char line[64] = "";
        SendDlgItemMessageA(dialog.Handle(), 3811, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
        EXPECT_STREQ(line, "rate\t+");
        EXPECT_EQ(Text(dialog, 3814), "Interest rate");
        ExpectScreenEqualsRepaint(dialog.Handle());
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Press(IDCANCEL);
    window.OnCommand(Cmd::OptionsDesignCustomInterface);
    EXPECT_TRUE(person.Finished());
    const CustomInterfaceOptions& options = tree.CustomInterface->options;
    EXPECT_EQ(options.Count(), 0);
    EXPECT_EQ(options.analysesOffered, 1u | 1u << 17);
    EXPECT_EQ(options.allowSaveTree, 1);
    EXPECT_EQ(options.extended, 1);
}

// What changes the custom interface marks the tree changed, so that closing it asks to save the change: an
// option changed in Basic Options, a parameter moved; Basic Options left as they were does not.
TEST_F(DesignerOnScreen, BasicOptionsAndParametersMarkTheTreeChangedOnlyOnAChange)
{
    namespace Designer = Ctl::DesignCustomInterface;
    tree.CustomInterface = std::make_unique<CustomInterfaceSettings>();
    for (const char* name : {"rate", "twice"})
        tree.CustomInterface->Add(new CustomInterfaceParameter{name});
    const auto click = [](unsigned id, int line = -1) { return ModalDialogDriver::ClickingWithin(id, line); };
    const struct {
        const char* what;
        std::vector<ModalDialogDriver::Step> steps;
        int modified;
    } rows[] = {
        {"options as they were", {click(Designer::BasicOptions), click(IDOK)}, 0},
        {"tree hidden",
         {click(Designer::BasicOptions), click(Ctl::BasicCustomInterfaceOptions::AllowUserToViewTree), click(IDOK)},
         1},
        {"parameter moved down",
         {click(Designer::BasicParameters), click(Ctl::BasicCustomInterfaceParameters::DefaultList, 0),
          click(Ctl::BasicCustomInterfaceParameters::MoveDown), click(IDOK)},
         1},
    };
    for (const auto& row : rows) {
        window.SetModified(0);
        ModalDialogDriver person;
        for (const ModalDialogDriver::Step& step : row.steps)
            person.Then(step);
        person.Press(IDCANCEL);
        window.OnCommand(Cmd::OptionsDesignCustomInterface);
        EXPECT_TRUE(person.Finished()) << row.what;
        EXPECT_EQ(window.IsModified(), row.modified) << row.what;
    }
    EXPECT_EQ(tree.CustomInterface->options.allowViewTree, 0);
    EXPECT_STREQ(tree.CustomInterface->At(0)->variableName.Text(), "twice");
}

} // namespace
