#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/OkCancelDialog.h"
#include "framework/window/FrameworkApp.h"
#include "tests/framework/dialog/DialogScript.h"
#include "tests/framework/dialog/TestRangeValidator.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

namespace {

HWND ItemOf(DialogFrameCL& dialog, unsigned id)
{
    return dialog.FindChild(id)->Handle();
}

struct Fixture {
    FocusTestLock focusLock;
    ScopedApplication app;
    RecordingTopWindow top;
    Fixture() { top.Create(); }
};

TEST(OkCancelDialog, OkFocusesTheFirstRefusingControlWithItsRangeAndStoresOnlyWhenAllAccept)
{
    Fixture fixture;
    OkCancelDialog dialog(&fixture.top, ResourceId(61100u, nullptr));
    zString name("");
    double tiny = 1e-8;
    int checked = 1;
    EditCtrl::FromTemplate(&dialog, 101, &name);
    auto* number = RealEdit::FromTemplate(&dialog, 102, new TestRangeValidator(0, 10), 0, &tiny);
    CheckBoxCtrl::FromTemplate(&dialog, 103, &checked);
    const zString loadedText = number->GetText();
    EXPECT_EQ(loadedText, "+0");
    EXPECT_EQ(SendMessageA(ItemOf(dialog, 103), BM_GETCHECK, 0, 0), BST_CHECKED);

    DialogScript script(dialog);
    script
        .Then([&] {
            SendMessageA(ItemOf(dialog, 103), BM_SETCHECK, BST_UNCHECKED, 0);
            number->SetText("+20");
        })
        .Press(IDOK)
        .Then([&] {
            // The empty name refuses first; nothing was stored.
            EXPECT_EQ(GetFocus(), ItemOf(dialog, 101));
            EXPECT_TRUE(IsWindowVisible(dialog.Handle()));
            EXPECT_EQ(checked, 1);
            SetWindowTextA(ItemOf(dialog, 101), "Name");
        })
        .Press(IDOK)
        .Then([&] {
            EXPECT_EQ(GetFocus(), number->Handle());
            const EditCtrl::Selection selection = number->GetSelection();
            EXPECT_EQ(selection.low, 0);
            EXPECT_EQ(selection.high, 3);
            EXPECT_EQ(name, "");
            number->SetText(loadedText);
        })
        .Press(IDOK);
    script.Run();

    EXPECT_EQ(dialog.Result(), 1);
    EXPECT_EQ(name, "Name");
    // An untouched number field keeps a value that "%f" shows as 0.
    EXPECT_EQ(tiny, 1e-8);
    EXPECT_EQ(checked, 0);
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    EXPECT_TRUE(IsWindowEnabled(fixture.top.Handle()));
}

TEST(OkCancelDialog, DisabledControlsAreSkippedAndCancelStoresNothing)
{
    Fixture fixture;
    zString name("kept");
    int checked = 0;
    {
        OkCancelDialog dialog(&fixture.top, ResourceId(61100u, nullptr));
        EditCtrl::FromTemplate(&dialog, 101, &name);
        CheckBoxCtrl::FromTemplate(&dialog, 103, &checked);
        DialogScript script(dialog);
        script.Then([&] {
            SetWindowTextA(ItemOf(dialog, 101), "changed");
            SendMessageA(ItemOf(dialog, 103), BM_SETCHECK, BST_CHECKED, 0);
        });
        script.Press(IDCANCEL);
        script.Run();
        EXPECT_EQ(dialog.Result(), 0);
        EXPECT_EQ(name, "kept");
        EXPECT_EQ(checked, 0);
    }
    OkCancelDialog dialog(&fixture.top, ResourceId(61100u, nullptr));
    EditCtrl::FromTemplate(&dialog, 101, &name);
    CheckBoxCtrl::FromTemplate(&dialog, 103, &checked);
    DialogScript script(dialog);
    script.Then([&] {
        // An empty, disabled field would refuse: it is neither validated nor stored.
        SetWindowTextA(ItemOf(dialog, 101), "");
        EnableWindow(ItemOf(dialog, 101), FALSE);
        SendMessageA(ItemOf(dialog, 103), BM_SETCHECK, BST_CHECKED, 0);
    });
    script.Press(IDOK);
    script.Run();
    EXPECT_EQ(dialog.Result(), 1);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(checked, 1);
}

struct CheckedOkDialog : OkCancelDialog {
    CheckedOkDialog(WindowCL* parent, int check, int okResult)
        : OkCancelDialog(parent, ResourceId(61100u, nullptr)), check_(check), okResult_(okResult) {}
    int OkPreCheck() override { return check_; }
    int OkResult() override { return okResult_; }
    int check_, okResult_;
};

TEST(OkCancelDialog, PreCheckAndResultSteerOk)
{
    struct Case {
        int check, okResult;
        const char* name;
        bool staysOpen;
        int stored, result;
    };
    const Case cases[] = {
        {1, 1, "x", true, 0, 0},   // stays open; nothing stored
        {3, 1, "", false, 0, 0},   // ends at once keeping the result word
        {2, 2, "", false, 0, 2},   // the refusing name is not validated; nothing stored
        {0, 0, "x", true, 1, 0},   // stored, and the result 0 keeps it open
    };
    Fixture fixture;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        zString name("");
        int checked = 0;
        bool open = false;
        int storedAtOk = -1;
        CheckedOkDialog dialog(&fixture.top, c.check, c.okResult);
        EditCtrl::FromTemplate(&dialog, 101, &name);
        CheckBoxCtrl::FromTemplate(&dialog, 103, &checked);
        DialogScript script(dialog);
        script.Then([&] {
            SetWindowTextA(ItemOf(dialog, 101), c.name);
            SendMessageA(ItemOf(dialog, 103), BM_SETCHECK, BST_CHECKED, 0);
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            open = IsWindowVisible(dialog.Handle()) != 0;
            storedAtOk = checked;
            if (open)
                SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        script.Run();
        EXPECT_EQ(open, c.staysOpen);
        EXPECT_EQ(storedAtOk, c.stored);
        EXPECT_EQ(dialog.Result(), c.result);
    }
}

TEST(ModalDialog, AClickOnTheDialogClosesTheFocusedDropDown)
{
    Fixture fixture;
    DialogFrameCL dialog(&fixture.top, ResourceId(61100u, nullptr));
    SetForegroundWindow(dialog.Handle());
    for (unsigned id : {107u, 108u}) {
        HWND combo = ItemOf(dialog, id);
        // The drop-down combo's focus is on its edit.
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        SetFocus(edit ? edit : combo);
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) << id;
        SendMessageA(dialog.Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
        EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) << id;
    }
}

TEST(ModalDialog, NestedDialogsDisableAndEnableTheirOwnersInOrder)
{
    Fixture fixture;
    HWND top = fixture.top.Handle();
    OkCancelDialog outer(&fixture.top, ResourceId(61100u, nullptr));
    std::vector<std::string> seen;
    auto state = [&](const char* when, HWND window) {
        seen.push_back(std::string(when) + (IsWindowEnabled(window) ? " enabled" : " disabled"));
    };
    DialogScript script(outer);
    script
        .Then([&] {
            state("outer running: top", top);
            OkCancelDialog inner(&outer, ResourceId(61400u, nullptr));
            DialogScript innerScript(inner);
            innerScript.Then([&] {
                state("inner running: outer", outer.Handle());
                state("inner running: top", top);
            });
            innerScript.Press(IDCANCEL);
            innerScript.Run();
            state("inner ended: outer", outer.Handle());
            state("inner ended: top", top);
            EXPECT_EQ(DialogFrameCL::ModalStack().size(), 1u);
        })
        .Press(IDCANCEL);
    script.Run();
    state("outer ended: top", top);
    EXPECT_EQ(seen, (std::vector<std::string>{"outer running: top disabled", "inner running: outer disabled",
                                              "inner running: top disabled", "inner ended: outer enabled",
                                              "inner ended: top disabled", "outer ended: top enabled"}));
    EXPECT_TRUE(DialogFrameCL::ModalStack().empty());
}

TEST(ModalDialog, TheApplicationsQuitEndsTheModalLoopAndReachesTheOuterLoop)
{
    Fixture fixture;
    OkCancelDialog dialog(&fixture.top, ResourceId(61100u, nullptr));
    DialogScript script(dialog);
    script.Then([&] { TheApp->Quit(); });
    script.Run();
    EXPECT_TRUE(DialogFrameCL::ModalStack().empty());
    EXPECT_TRUE(IsWindowEnabled(fixture.top.Handle()));
    EXPECT_TRUE(DrainQuitMessage());
}

TEST(ModalDialog, KeyboardNavigationWrapsAndTheLoopGivesTabAndEnterToTheDialog)
{
    Fixture fixture;
    OkCancelDialog dialog(&fixture.top, ResourceId(61100u, nullptr));
    DialogScript script(dialog);
    script
        .Then([&] {
            EXPECT_EQ(GetFocus(), ItemOf(dialog, 101));
            // Tab through the loop, as a person presses it.
            PostMessageA(ItemOf(dialog, 101), WM_KEYDOWN, VK_TAB, 0);
        })
        .Then([&] {
            EXPECT_EQ(GetFocus(), ItemOf(dialog, 102));
            SetFocus(ItemOf(dialog, IDCANCEL));
            SendMessageA(dialog.Handle(), WM_NEXTDLGCTL, 0, 0);
            EXPECT_EQ(GetFocus(), ItemOf(dialog, 101));
            SendMessageA(dialog.Handle(), WM_NEXTDLGCTL, 1, 0);
            EXPECT_EQ(GetFocus(), ItemOf(dialog, 101));
            // Focus memory across deactivation.
            SetFocus(ItemOf(dialog, 102));
            SendMessageA(dialog.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
            SetFocus(ItemOf(dialog, 101));
            SendMessageA(dialog.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
            EXPECT_EQ(GetFocus(), ItemOf(dialog, 102));
            SetFocus(ItemOf(dialog, 108));
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        });
    // Tab on from the last combo box: a push button reached shows the default frame, and OK shows it again
    // once the focus has left the push buttons.
    struct Tab {
        unsigned focus, framed;
    };
    for (const Tab tab : {Tab{IDOK, IDOK}, Tab{IDCANCEL, IDCANCEL}, Tab{101, IDOK}})
        script.Then([&dialog, tab] {
            EXPECT_EQ(GetFocus(), ItemOf(dialog, tab.focus));
            for (unsigned button : {IDOK, IDCANCEL})
                EXPECT_EQ(GetWindowLongA(ItemOf(dialog, button), GWL_STYLE) & BS_TYPEMASK,
                          button == tab.framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) << tab.focus << " " << button;
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        });
    // Enter on a focused push button presses it, not the default OK.
    script.Then([&] {
        SetFocus(ItemOf(dialog, IDCANCEL));
        PostMessageA(ItemOf(dialog, IDCANCEL), WM_KEYDOWN, VK_RETURN, 0);
    });
    script.Run();
    EXPECT_EQ(dialog.Result(), 0);
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
}

class CommandRecorder : public EventTarget {
public:
    long Record(WindowEvent* event)
    {
        commands.push_back(LOWORD(event->wParam));
        return 1;
    }
    std::vector<unsigned> commands;
};

TEST(ModalDialog, EnterFromAnEditPressesTheDefaultButtonOrOk)
{
    Fixture fixture;
    CommandRecorder recorder;
    DialogFrameCL withDefault(&fixture.top, ResourceId(61100u, nullptr));
    DialogFrameCL without(&fixture.top, ResourceId(61200u, nullptr));
    for (DialogFrameCL* dialog : {&withDefault, &without}) {
        dialog->AddHandler(&recorder, &CommandRecorder::Record, WM_COMMAND);
        SendMessageA(dialog->Handle(), DialogFrameCL::EnterFromEdit, 0x1000, 0x1000);
        EXPECT_EQ(SendMessageA(dialog->Handle(), DM_GETDEFID, 0, 0),
                  dialog == &withDefault ? MAKELRESULT(IDOK, DC_HASDEFID) : 0);
    }
    EXPECT_EQ(recorder.commands, (std::vector<unsigned>{IDOK, IDOK}));
}

} // namespace
