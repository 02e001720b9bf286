// The text prompt run modally, answered by a driver as a person would.

#include "widgets/PromptDialog.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

namespace {

int validatorCalls = 0;

// Accepts any text but the empty one.
int RefuseEmpty(const zString& text, int32_t argument)
{
    ++validatorCalls;
    EXPECT_EQ(77, argument);
    return text.IsEmpty() ? 0 : 1;
}

TEST(PromptForText, ValidatorKeepsTheDialogOpenUntilTheTextIsAcceptedAndCancelKeepsTheText)
{
    FocusTestLock focus;
    ScopedApplication app;
    for (bool severalLines : {false, true}) {
        zString text("old");
        validatorCalls = 0;
        bool helpUsable = true;
        std::string caption;
        ModalDialogDriver driver;
        driver
            .Then([&](DialogFrameCL& dialog) {
                HWND help = dialog.FindChild(PromptDialog::HelpButtonId)->Handle();
                RECT rect{};
                GetWindowRect(help, &rect);
                helpUsable = IsWindowEnabled(help) || rect.right > rect.left;
                char title[32] = {};
                GetWindowTextA(dialog.Handle(), title, sizeof title);
                caption = title;
            })
            .Type(Ctl::PromptOneLine::NameField, "")
            .Press(IDOK)
            .Type(Ctl::PromptOneLine::NameField, "new name")
            .Press(IDOK);
        EXPECT_EQ(1, PromptForText(text, RefuseEmpty, 77, nullptr, "Name:", 0, severalLines));
        EXPECT_STREQ("new name", text.Text());
        EXPECT_EQ(2, validatorCalls);
        EXPECT_FALSE(helpUsable);
        EXPECT_EQ("KIVO", caption);

        ModalDialogDriver cancel;
        cancel.Type(Ctl::PromptOneLine::NameField, "typed").Press(IDCANCEL);
        EXPECT_EQ(2, PromptForText(text, RefuseEmpty, 77, "Rename", "Name:", 1200, severalLines));
        EXPECT_STREQ("new name", text.Text());
    }
}

} // namespace
