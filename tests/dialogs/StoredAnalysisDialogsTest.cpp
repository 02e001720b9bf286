// Save Last Analysis and Run Old Analysis on the screen, opened from the tree window's commands.

#include "analysis/NodeValueRecord.h"
#include "app/MainFrame.h"
#include "treewin/StoredAnalysisDialogs.h"
#include "model/GraphTemplate.h"
#include "model/GraphTemplateFile.h"
#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"
#include "tests/support/DialogControls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The typed name is required, then stored with the last analysis; Run Old lists it, shows its summary when
// it is picked and runs it.
TEST(StoredAnalysisDialogs, SavedUnderTheTypedNameAndRunFromTheList)
{
    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    frame->EndStartup();
    MessageBoxRecorder boxes;
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.AddChild(document.Root, TerminalNode, "A", "", "5");
    std::vector<int> shown;
    NodeValuePresenter previous = SetNodeValuePresenter(
        [&shown](TreeDocument*, int command, double, const NodeChildList&, const NodeChildList*) {
            shown.push_back(command);
        });
    window.SelectNode(document.Root, 1, nullptr, false);
    window.OnCommand(1605);
    ASSERT_NE(document.LastAnalysis, nullptr);

    std::string summary;
    bool stayedOpen = false;
    ModalDialogDriver save;
    save.Then([&](DialogFrameCL& dialog) { summary = TextOf(dialog, Ctl::SaveAnalysis::Summary); })
        .Type(Ctl::SaveAnalysis::EnterANameForTheAnalysisEdit, "")
        .Press(IDOK)
        .Then([&](DialogFrameCL& dialog) { stayedOpen = IsWindowVisible(dialog.Handle()) != 0; })
        .Type(Ctl::SaveAnalysis::EnterANameForTheAnalysisEdit, "Base case")
        .Press(IDOK);
    window.OnCommand(1615);
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(summary.empty());
    ASSERT_EQ(window.Document().StoredAnalyses().Count(), 1);
    EXPECT_STREQ(window.Document().StoredAnalyses().At(0)->name.Text(), "Base case");
    EXPECT_EQ(document.LastAnalysis, nullptr);
    EXPECT_EQ(document.Modified, 1);

    // Run Old opens on the first entry: its summary shows, and Enter runs it.
    std::string listed;
    std::string picked;
    ModalDialogDriver run;
    run.Then([&](DialogFrameCL& dialog) {
        const HWND list = GetDlgItem(dialog.Handle(), Ctl::RunAnalysis::AnalysesList);
        char text[64] = {};
        SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
        listed = text;
        picked = TextOf(dialog, Ctl::RunAnalysis::Summary);
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    });
    shown.clear();
    window.OnCommand(1616);
    EXPECT_TRUE(run.Finished());
    EXPECT_EQ(listed, "Base case");
    EXPECT_EQ(picked, summary);
    EXPECT_EQ(shown, std::vector<int>{1605});
    SetNodeValuePresenter(previous);

    // A summary longer than its box scrolls to its last line.
    StoredAnalysis* sensitivity = StoredAnalysis::New();
    sensitivity->name = "Sensitivity";
    sensitivity->kind = OneWaySensitivityKind;
    for (const char* item : {"@0,", "p", "0", "1", "4", "1"})
        sensitivity->parameters->AddText(item);
    document.StoredAnalyses().Add(sensitivity);
    int lines = 0;
    int firstShown = 0;
    ModalDialogDriver scroll;
    scroll.Then([](DialogFrameCL& dialog) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_DOWN, 1); })
        .Then([&](DialogFrameCL& dialog) {
            const HWND summary = dialog.Control(Ctl::RunAnalysis::Summary);
            SendMessageA(summary, WM_VSCROLL, SB_BOTTOM, 0);
            lines = static_cast<int>(SendMessageA(summary, EM_GETLINECOUNT, 0, 0));
            firstShown = static_cast<int>(SendMessageA(summary, EM_GETFIRSTVISIBLELINE, 0, 0));
        })
        .Press(IDCANCEL);
    window.OnCommand(1616);
    EXPECT_TRUE(scroll.Finished());
    EXPECT_GE(lines, 4);
    EXPECT_GT(firstShown, 0);
}

// "&Template..." of a stored analysis that draws a graph: the template chosen from the templates file is kept
// as the record's own copy, one record's choice leaves the other's, the note about copies is said once a run,
// and the file is left as it was.
TEST(StoredAnalysisDialogs, TemplateChosenFromTheFileIsKeptAsACopy)
{
    FocusTestLock focus;
    ProgramFilesTestLock files;
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    frame->EndStartup();
    MessageBoxRecorder boxes;
    TreeWindow window;
    for (const char* description : {"Plain", "Wide"}) {
        auto* made = new GraphTemplate;
        made->description = description;
        GraphTemplates().Add(made);
    }
    std::string message;
    ASSERT_TRUE(WriteGraphTemplates(message)) << message;
    StoredAnalysis* records[2];
    for (StoredAnalysis*& record : records) {
        record = new StoredAnalysis;
        record->name = &record == &records[0] ? "Graph" : "Other";
        record->templateAllowed = 1;
        window.Document().StoredAnalyses().Add(record);
    }
    StoredAnalysis* record = records[0];
    std::string shown;
    auto choose = [](int index) {
        return [index](DialogFrameCL& chooser) {
            const unsigned list = Ctl::ChooseTemplate::ChooseATemplateForGraphsCreatedWithThisAnalysisList;
            SendMessageA(chooser.Control(list), LB_SETCURSEL, index, 0);
        };
    };
    ModalDialogDriver person;
    person.Press(Ctl::MaintainStoredAnalyses::Template)
        .Then(choose(1))
        .Press(IDOK)
        .Then([&shown](DialogFrameCL& dialog) {
            shown = TextOf(dialog, Ctl::MaintainStoredAnalyses::GraphTemplateText);
            const HWND list = dialog.Control(Ctl::MaintainStoredAnalyses::AnalysesList);
            SendMessageA(list, LB_SETCURSEL, 1, 0);
            SendMessageA(dialog.Handle(), WM_COMMAND,
                         MAKEWPARAM(Ctl::MaintainStoredAnalyses::AnalysesList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        })
        .Press(Ctl::MaintainStoredAnalyses::Template)
        .Then(choose(0))
        .Press(IDOK)
        .Press(IDCANCEL);
    StoredAnalysesDialog(&window.Document(), window.Document().StoredAnalyses()).Run();
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(shown, "Wide");
    ASSERT_NE(record->graphTemplate, nullptr);
    EXPECT_STREQ(record->graphTemplate->description.Text(), "Wide");
    ASSERT_NE(records[1]->graphTemplate, nullptr);
    EXPECT_STREQ(records[1]->graphTemplate->description.Text(), "Plain");
    int notes = 0;
    for (const auto& box : boxes.Boxes())
        notes += box.text == "A complete copy of the template will be permanently stored with the analysis.";
    EXPECT_EQ(notes, 1);
    EXPECT_EQ(GraphTemplates().Count(), 0);
    EXPECT_EQ(ReadGraphTemplates(message), TemplateFileRead::Read);
    EXPECT_EQ(GraphTemplates().Count(), 2);
    GraphTemplates().Clear();
    DeleteFileA(TemplateFilePath().c_str());
}
