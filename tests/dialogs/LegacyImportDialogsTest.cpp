// Opening a tree of the older text form asks for the options, lets the person choose which of several trees
// to convert, and shows what the import rewrote.

#include "foundation/PreferencesStore.h"
#include "model/TreeNode.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/ClipboardTestText.h"
#include "tests/support/DialogControls.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ListLines(DialogFrameCL& dialog, unsigned id)
{
    std::vector<std::string> lines;
    for (LRESULT i = 0; i < Lines(dialog, id); ++i) {
        char text[256] = {};
        SendMessageA(dialog.FindChild(id)->Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

TEST(LegacyImportDialogs, OptionsChoiceOfTreeAndResultsShowAroundTheImport)
{
    namespace Options = Ctl::FileImportOptions;
    namespace Conversion = Ctl::FileConversion;
    namespace Results = Ctl::FileImportResults;
    OnScreen screen;
    StoreTestLock store;
    ClipboardTestLock clipboard;
    SavedRegistryValue savedOptions[] = {{"ImportPrefs", "UseClones"}, {"ImportPrefs", "ExplicitHashMark"},
                                         {"ImportPrefs", "Truncate8Chars"}};
    for (const char* key : {"UseClones", "ExplicitHashMark", "Truncate8Chars"})
        WriteProfileInt("ImportPrefs", key, 1);
    MessageBoxRecorder boxes;
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp ? temp : ".") + "\\kivo_two_trees.tre";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        << "First(T)\r\nU: = 1\r\n=\r\nSecond(D)\r\nTO: End\r\n-\r\n=\r\nEnd(T)\r\nU: = verylongname\r\n=\r\n";

    std::vector<bool> checks;
    std::vector<std::string> roots, report;
    ModalDialogDriver person;
    person.Then([&](DialogFrameCL& dialog) {
        for (unsigned id : {Options::UseClonesForDuplicatedSubtrees, Options::UseHashMarkExplicitlyInLastBranch,
                            Options::TruncateIdentifiersTo8Characters})
            checks.push_back(Checked(dialog, id));
        CheckDlgButton(dialog.Handle(), Options::TruncateIdentifiersTo8Characters, BST_UNCHECKED);
    });
    person.Press(IDOK).Then([&](DialogFrameCL& dialog) {
        roots = ListLines(dialog, Conversion::SelectOneSubtreeForConversionList);
        HWND list = dialog.FindChild(Conversion::SelectOneSubtreeForConversionList)->Handle();
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        SendMessageA(dialog.Handle(), WM_COMMAND,
                     MAKEWPARAM(Conversion::SelectOneSubtreeForConversionList, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
    });
    person.Then([&](DialogFrameCL& dialog) { report = ListLines(dialog, Results::List4386); });
    person.Press(Results::ToClipboard).Press(IDOK);
    TreeWindow window(path.c_str());
    EXPECT_TRUE(person.Finished());
    std::remove(path.c_str());

    EXPECT_EQ(checks, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(roots, (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(report, (std::vector<std::string>{"These nodes were not used:", "   First", ""}));
    EXPECT_EQ(ClipboardText(), "These nodes were not used:\r\n   First\r\n\r\n");
    EXPECT_EQ(ReadProfileInt("ImportPrefs", "Truncate8Chars", -1), 0);
    EXPECT_STREQ(window.Document().Root->text.Text(), "Second");
    ASSERT_EQ(window.Document().Root->childCount, 1);
    zString payoff;
    window.Document().Root->GetChild(0)->GetPayoffText(payoff, 0);
    EXPECT_STREQ(payoff.Text(), "verylongname");
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
