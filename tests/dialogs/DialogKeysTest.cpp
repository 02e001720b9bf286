// The keys a person closes and accepts dialogs with, posted to the focus through the program's message loop:
// Escape closes a dialog that only shows something, Enter in a field presses the default button.

#include "graph/DistributionDialogs.h"
#include "tests/app/FrameByHand.h"
#include "tests/support/DescendantControl.h"
#include "tests/support/ProgramLoop.h"
#include "tests/support/PumpMessages.h"
#include "dialogs/GraphTemplateDialogs.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/TextReport.h"
#include "model/GraphTemplate.h"
#include "tests/support/DialogControls.h"
#include "tests/support/ModalDialogDriver.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

TEST(DialogKeys, EscapeClosesAndEnterPressesTheDefaultButton)
{
    OnScreen screen;
    InstallTextReportDialog();
    TextReport report;
    report.SetTitle("KIVO(tm) Keys");
    report.AddLine(zString("row\t1"));
    OutcomeDistribution outcomes(4, true);
    outcomes.Add(1.0, 0.5, "a", false);
    outcomes.Add(3.0, 0.5, "b", false);
    GraphTemplate graphTemplate;
    bool accepted = false;
    const struct {
        const char* what;
        unsigned dialogId;
        // The control focused before the key; 0 leaves the focus where the dialog put it.
        unsigned focus;
        UINT key;
        std::function<void()> open;
    } rows[] = {
        {"Text Report", DialogRes::TextReport, 0, VK_ESCAPE, [&] { ShowTextReport(report, "Show"); }},
        {"Distribution Statistics", DialogRes::DistributionStatistics, 0, VK_ESCAPE,
         [&] { DistStatsDialog(outcomes, NumericFormat()).Run(); }},
        {"Modify Template Texts", DialogRes::ModifyTemplateTexts, Ctl::ModifyTemplateTexts::TitleEdit, VK_RETURN,
         [&] { accepted = RunTemplateTextsDialog(graphTemplate); }},
    };
    for (const auto& row : rows) {
        bool leftOpen = false;
        ModalDialogDriver person;
        person
            .Then([&row](DialogFrameCL& dialog) {
                if (row.focus)
                    SetFocus(dialog.Control(row.focus));
                if (row.focus == Ctl::ModifyTemplateTexts::TitleEdit)
                    SetWindowTextA(dialog.Control(row.focus), "Typed");
                PostMessageA(GetFocus(), WM_KEYDOWN, row.key, 1);
            })
            .Then([&](DialogFrameCL& dialog) {
                // Reached only when the key left the dialog open.
                leftOpen = dialog.Id() == row.dialogId;
                SendMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
            });
        row.open();
        EXPECT_FALSE(leftOpen) << row.what;
    }
    EXPECT_TRUE(accepted);
    EXPECT_STREQ(graphTemplate.title.Text(), "Typed");

    // Ctrl+A in a field selects its text; the frame's Add Branches key does not take it.
    DWORD selection = 0;
    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            HWND field = dialog.Control(Ctl::ModifyTemplateTexts::TitleEdit);
            SetFocus(field);
            SetWindowTextA(field, "Whole");
            SendMessageA(field, EM_SETSEL, 0, 0);
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[VK_CONTROL] = 0x80;
            SetKeyboardState(keys);
            PostMessageA(field, WM_KEYDOWN, 'A', 1);
        })
        .Then([&selection](DialogFrameCL& dialog) {
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[VK_CONTROL] = 0;
            SetKeyboardState(keys);
            selection = static_cast<DWORD>(
                SendMessageA(dialog.Control(Ctl::ModifyTemplateTexts::TitleEdit), EM_GETSEL, 0, 0));
            SendMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        });
    RunTemplateTextsDialog(graphTemplate);
    EXPECT_EQ(selection, static_cast<DWORD>(MAKELONG(0, 5)));
    SetTextReportPresenter(nullptr);
}

} // namespace

namespace {

class DialogKeysByHand : public FrameByHand {};

// A field reached by the letter of its label (Alt+letter) has its text selected, so a number typed there
// replaces the one shown rather than joining it: in a dialog and in a page of Preferences.
TEST_F(DialogKeysByHand, FieldReachedByItsLetterIsTypedOver)
{
    const auto tick = [](unsigned id) {
        return [id](DialogFrameCL& dialog) {
            ScreenOnTop onTop(dialog.Handle());
            RealInput::ClickAndDispatch(RealInput::Middle(FindDescendant(dialog.Handle(), id)));
        };
    };
    const auto category = [](int line) {
        return [line](DialogFrameCL& dialog) {
            const HWND list = dialog.Control(Ctl::Preferences::CategoryList);
            RECT item{};
            SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
            ScreenOnTop onTop(dialog.Handle());
            RealInput::ClickAndDispatch(
                RealInput::OnScreen(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}));
        };
    };
    const struct Row {
        const char* what;
        const char* opening;
        std::vector<ModalDialogDriver::Step> reach;
        const char* letter;
        unsigned field;
        const char* typed;
    } rows[] = {
        {"Variable Properties", "ctrl+d",
         {[](DialogFrameCL& dialog) {
              SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Cmd::DefineValuesNewVariable, BN_CLICKED), 0);
          },
          tick(Ctl::VariableProperties::DefineNumerically)},
         "alt+v", Ctl::VariableProperties::ValueEdit, "70"},
        {"Decimal places", "F11", {tick(Ctl::CalculationMethodPage::SetNumericFormat)}, "alt+d",
         Ctl::NumericFormattingPreferences::DecimalPlacesEdit, "4"},
        {"Branches per node", "F11", {category(9)}, "alt+r", Ctl::TreeDisplayPage::DefaultBranchesPerNodeEdit, "3"},
        {"Printing zoom", "F11", {category(12)}, "alt+z", Ctl::PrintingOfATreePage::PrintingZoomFactorEdit, "70"},
    };
    NewTree();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string shown;
        ModalDialogDriver person;
        for (const auto& step : row.reach)
            person.Then(step);
        person.Then([&](DialogFrameCL& dialog) {
            const HWND field = FindDescendant(dialog.Handle(), row.field);
            ASSERT_NE(field, nullptr);
            ScreenOnTop onTop(dialog.Handle());
            SetForegroundWindow(dialog.Handle());
            RealInput::Keys(row.letter);
            EXPECT_TRUE(RunProgramLoopUntil([&] { return GetFocus() == field; }));
            RealInput::Type(row.typed);
            EXPECT_TRUE(RunProgramLoopUntil([&] {
                char text[32] = "";
                GetWindowTextA(field, text, sizeof text);
                shown = text;
                return shown.find(row.typed) != std::string::npos;
            }));
            PumpMessagesFor(100);
            char text[32] = "";
            GetWindowTextA(field, text, sizeof text);
            shown = text;
            SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
        });
        // Whatever the field opened from is closed again.
        person.Then([](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0); });
        Press(row.opening);
        RunProgramLoopUntil([] { return DialogFrameCL::ModalStack().empty(); });
        EXPECT_EQ(shown, row.typed);
    }
}

} // namespace
