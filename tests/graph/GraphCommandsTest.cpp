// The Graph menu and the main-menu commands a graph answers: their states after the menu update, New Label
// and Clear Label, Copy Special as text or picture, Set Lines on a graph without a horizontal axis, and
// templates made from one graph and applied to another; the line graph's export, Show/Hide and Line to Table.

#include "analysis/LineGraphData.h"
#include "app/MainFrame.h"
#include "graph/ShowHideLinesDialog.h"
#include "dialogs/TablePropertiesDialog.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/TextReport.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "graph/LineGraph.h"
#include "graph/RegionGraph.h"
#include "treewin/TableGraphWindow.h"
#include "model/GraphTemplate.h"
#include "model/GraphTemplateFile.h"
#include "tests/support/ClipboardTestText.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

class GraphCommands : public ::testing::Test {
protected:
    GraphCommands()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        LineGraphData data;
        data.title = "Sensitivity Analysis on p";
        data.horizontal.label = "p";
        data.horizontal.top = 1.0;
        data.horizontal.interval = 0.5;
        data.vertical.label = "Value";
        data.vertical.top = 10.0;
        data.vertical.interval = 5.0;
        data.lines.push_back({"A", {0.0, 5.0, 10.0}});
        graph = OpenLineGraph(data);
        graph->SetModified(0);
        Activate(graph);
    }
    ~GraphCommands() override { delete frame; }

    // The frame's menu bar carries the active window's menus once the activation has gone through.
    void Activate(GraphWindow* window)
    {
        window->Activate();
        PumpMessagesUntil([&] {
            MSG pending;
            return frame->ActiveChild() == window &&
                   GetMenuState(GetMenu(frame->Handle()), Cmd::GraphNewLabel, MF_BYCOMMAND) != 0xFFFFFFFFu &&
                   !PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
        });
    }
    void Post(unsigned id) { SendMessageA(frame->Handle(), WM_COMMAND, id, 0); }
    void OpenMenu() { SendMessageA(frame->Handle(), WM_INITMENU, 0, 0); }
    std::string ItemText(UINT id) const
    {
        char text[64] = {};
        GetMenuStringA(GetMenu(frame->Handle()), id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    bool Grayed(UINT id) const { return MenuItemGrayed(GetMenu(frame->Handle()), id); }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    LineGraph* graph;
};

TEST_F(GraphCommands, ItemsFollowTheSelectionAndNewLabelsAreClearedAgain)
{
    OpenMenu();
    EXPECT_EQ(ItemText(Cmd::EditCopySpecial), "C&opy Special...");
    EXPECT_EQ(ItemText(Cmd::EditClear), "Clea&r Label\tDel");
    for (unsigned id : {Cmd::EditClear, Cmd::GraphCumulative, Cmd::GraphDisplayThresholdValues})
        EXPECT_TRUE(Grayed(id)) << id;
    for (unsigned id : {Cmd::GraphTextReport, Cmd::GraphNewLabel, Cmd::GraphSetLines, Cmd::FileSaveAs,
                        Cmd::GraphShowHide, Cmd::GraphLineToTable})
        EXPECT_FALSE(Grayed(id)) << id;
    graph->Select(&graph->horizontalAxis);
    OpenMenu();
    EXPECT_TRUE(Grayed(Cmd::EditClear));

    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            EXPECT_STREQ(dialog.Text(), "New Graph Label");
            EXPECT_STREQ(dialog.ItemText(2001).Text(), "New Label");
        })
        .Press(IDCANCEL)
        .Press(IDOK);
    Post(Cmd::GraphNewLabel);
    EXPECT_EQ(graph->freeLabels.Count(), 0);
    EXPECT_FALSE(graph->IsModified());
    Post(Cmd::GraphNewLabel);
    ASSERT_EQ(graph->freeLabels.Count(), 1);
    EXPECT_EQ(graph->freeLabels.Label(0)->text, "New Label");
    EXPECT_EQ(graph->Selected(), graph->freeLabels.Label(0));
    EXPECT_TRUE(graph->IsModified());
    OpenMenu();
    EXPECT_FALSE(Grayed(Cmd::EditClear));
    Post(Cmd::EditClear);
    EXPECT_EQ(graph->freeLabels.Count(), 0);
    EXPECT_EQ(graph->Selected(), nullptr);
    // The title is no label of the user's: Clear leaves it.
    graph->Select(&graph->title);
    Post(Cmd::EditClear);
    EXPECT_EQ(graph->Selected(), &graph->title);
}

TEST_F(GraphCommands, CopySpecialCopiesTextOrAtOnceAPicture)
{
    ClipboardTestLock clipboardLock;
    ModalDialogDriver person;
    person.Press(IDOK);
    Post(Cmd::EditCopySpecial);
    EXPECT_EQ(ClipboardText().rfind("KIVO(tm) Line Graph", 0), 0u) << ClipboardText();

    // A strategy graph has no export.
    auto* regions = new StrategyRegionGraph(1);
    Activate(regions);
    OpenMenu();
    EXPECT_EQ(ItemText(Cmd::EditCopySpecial), "C&opy as Bitmap/Metafile");
    Post(Cmd::EditCopySpecial);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    delete regions;
}

// The export of two crossing lines: the values by X, the threshold values, then the same values by line.
TEST_F(GraphCommands, TheTextExportListsValuesThresholdsAndTheValuesByLine)
{
    ClipboardTestLock clipboardLock;
    LineGraphData data;
    data.title = "Sensitivity Analysis on p";
    data.subtitles.push_back("(p from 0 to 1)");
    data.variableName = "p";
    data.horizontal.label = "p";
    data.horizontal.top = 1.0;
    data.horizontal.interval = 0.5;
    data.horizontal.format = TwoDecimalsFormat;
    data.vertical.label = "Value";
    data.vertical.top = 10.0;
    data.vertical.interval = 5.0;
    data.vertical.format = TwoDecimalsFormat;
    data.lines.push_back({"Treat", {0.0, 5.0, 10.0}});
    data.lines.push_back({"Wait", {4.0, 4.0, 4.0}});
    data.thresholds.push_back(ThresholdPoint{0, 1, 0.4, 4.0});
    LineGraph* crossing = OpenLineGraph(data);
    Activate(crossing);
    OpenMenu();
    EXPECT_FALSE(Grayed(Cmd::GraphDisplayThresholdValues));
    ModalDialogDriver person;
    person.Press(IDOK);
    Post(Cmd::EditCopySpecial);
    EXPECT_EQ(ClipboardText(), "KIVO(tm) Line Graph\r\n"
                               "Sensitivity Analysis on p (p from 0 to 1)\r\n\r\n"
                               "p\tTreat\tWait\r\n0\t0\t4\r\n0.5\t5\t4\r\n1\t10\t4\r\n\r\n\r\n"
                               "Threshold Values:\r\n"
                               "Lines (Treat, Wait) p = 0.40/EV = 4.00\r\n\r\n"
                               "The following duplicate output may offer better import into other software.\r\n\r\n"
                               "p\t0\t0.5\t1\r\nTreat\t0\t5\t10\r\nWait\t4\t4\t4");
    delete crossing;
}

// The (index, value) entries of the table.
std::vector<std::pair<double, double>> Entries(LookupTable& table)
{
    std::vector<std::pair<double, double>> entries(table.EntryCount());
    for (int i = 0; i < table.EntryCount(); ++i)
        table.GetEntry(i, entries[i].first, entries[i].second);
    return entries;
}

// Line to Table: with two lines shown the person chooses one by its legend text; with only the second shown
// that one is taken at once; the new table opens in its window; a graph without lines does not offer it.
TEST_F(GraphCommands, LineToTableTakesTheChosenOrTheOneShownLine)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string directory = std::string(temp) + "kivo_line_tables" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(directory.c_str(), nullptr);
    // Tables left by an earlier run of the same process id go first.
    auto removeTables = [&directory] {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((directory + "*.tbl").c_str(), &found);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
            DeleteFileA((directory + found.cFileName).c_str());
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
    };
    removeTables();
    SetTablesDirectory(directory.c_str());
    LoadTablesDirectory();
    int made = 0;
    TablePropertiesDialog::SetPresenter([&made](TablePropertiesDialog& dialog) {
        ++made;
        dialog.name = ("Line" + std::to_string(made)).c_str();
        dialog.file = ("line" + std::to_string(made)).c_str();
        return IDOK;
    });
    LineGraphData data;
    data.horizontal.top = 1.0;
    data.horizontal.interval = 0.5;
    data.vertical.top = 10.0;
    data.lines.push_back({"Treat", {0.0, 5.0, 10.0}});
    data.lines.push_back({"Wait", {4.0, 4.0, 4.0}});
    LineGraph* two = OpenLineGraph(data);
    auto command = [two](unsigned id) { SendMessageA(two->Handle(), WM_COMMAND, id, 0); };
    {
        ModalDialogDriver person;
        person.Then([](DialogFrameCL& dialog) {
            EXPECT_STREQ(dialog.Text(), "Line To Table");
            EXPECT_EQ(dialog.ItemText(2127), "Choose a &line to convert into a table:");
            SendDlgItemMessageA(dialog.Handle(), 2126, LB_SETCURSEL, 0, 0);
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        });
        command(Cmd::GraphLineToTable);
        EXPECT_TRUE(person.Finished());
    }
    ASSERT_NE(FindTable("Line1"), nullptr);
    EXPECT_EQ(Entries(*FindTable("Line1")), (std::vector<std::pair<double, double>>{{0, 0}, {0.5, 5}, {1, 10}}));
    // The new table opens in its window.
    auto* window = dynamic_cast<TableGraphWindow*>(frame->ActiveChild());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Table(), FindTable("Line1"));
    delete window;
    {
        ModalDialogDriver person;
        person
            .Then([](DialogFrameCL& dialog) {
                SendDlgItemMessageA(dialog.Handle(), Ctl::ShowHide::ClickOnAnyItemToToggleItsStateList, LB_SETSEL,
                                    FALSE, 0);
                SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
            })
            .Then([](DialogFrameCL& dialog) {
                ADD_FAILURE() << "asked: " << dialog.Text();
                SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
            });
        command(Cmd::GraphShowHide);
        command(Cmd::GraphLineToTable);
    }
    ASSERT_NE(FindTable("Line2"), nullptr);
    EXPECT_EQ(Entries(*FindTable("Line2")), (std::vector<std::pair<double, double>>{{0, 4}, {0.5, 4}, {1, 4}}));
    window = dynamic_cast<TableGraphWindow*>(frame->ActiveChild());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Table(), FindTable("Line2"));
    delete window;
    delete two;

    auto* none = new LineGraph(2, 1);
    none->Open(nullptr);
    Activate(none);
    OpenMenu();
    EXPECT_TRUE(Grayed(Cmd::GraphLineToTable));
    delete none;
    TablePropertiesDialog::SetPresenter(nullptr);
    FreeTables();
    removeTables();
    RemoveDirectoryA(directory.c_str());
}

TEST_F(GraphCommands, SetLinesWithoutAHorizontalAxisOffersOnlyTheHorizontalLine)
{
    graph->horizontalAxis.isHidden = 1;
    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            EXPECT_FALSE(IsWindowEnabled(dialog.Control(Ctl::GraphLines::DrawDottedVerticalLine)));
            EXPECT_FALSE(IsWindowEnabled(dialog.Control(Ctl::GraphLines::XEdit)));
            SendMessageA(dialog.Control(Ctl::GraphLines::DrawDottedHorizontalLine), BM_SETCHECK, BST_CHECKED, 0);
        })
        .Type(Ctl::GraphLines::YEdit, "2.5")
        .Press(IDOK);
    Post(Cmd::GraphSetLines);
    EXPECT_EQ(graph->horizontalLineFlag, 1);
    EXPECT_EQ(graph->horizontalLineY, 2.5);
    EXPECT_EQ(graph->verticalLineFlag, 0);
    EXPECT_TRUE(graph->IsModified());
}

TEST_F(GraphCommands, TemplatesCarryWhatTheGraphHadAndApplyOnlyTheirChoices)
{
    graph->title.font.pointSize = 30;
    graph->legendTexts.Label(0)->font.pointSize = 17;
    std::unique_ptr<GraphTemplate> made = graph->MakeTemplate();
    EXPECT_EQ(made->flags[GraphTemplate::HasSubtitle], 0);
    EXPECT_EQ(made->flags[GraphTemplate::HasLabels], 0);
    EXPECT_EQ(made->fonts[GraphTemplate::LabelFont].pointSize, 17);
    EXPECT_EQ(made->title, "Sensitivity Analysis on p");

    LineGraphData other;
    other.title = "Other";
    other.horizontal.top = 1.0;
    other.vertical.top = 1.0;
    other.lines.push_back({"B", {0.0, 1.0}});
    other.lines.push_back({"C", {1.0, 0.0}});
    LineGraph* target = OpenLineGraph(other);
    for (int& flag : made->flags)
        flag = 0;
    made->flags[GraphTemplate::ApplyFonts] = 1;
    made->title = "Not applied";
    target->ApplyTemplate(*made);
    EXPECT_EQ(target->title.font.pointSize, 30);
    EXPECT_EQ(target->subtitle.font.pointSize, 30);
    EXPECT_EQ(target->legendTexts.Label(1)->font.pointSize, 17);
    EXPECT_EQ(target->title.text, "Other");
    EXPECT_EQ(target->verticalLineFlag, 0);
    EXPECT_EQ(target->freeLabels.Count(), 0);
    delete target;
}

// Create Template writes the graph's template to the templates file; Apply Template on another graph gives it
// the template's size and fonts and writes the file back.
TEST_F(GraphCommands, ATemplateCreatedFromOneGraphIsAppliedToAnother)
{
    ProgramFilesTestLock filesLock;
    const std::string path = TemplateFilePath();
    DeleteFileA(path.c_str());
    // Without templates Apply and Maintain are offered and say why they cannot go on.
    OpenMenu();
    for (unsigned id : {Cmd::GraphApplyTemplate, Cmd::GraphMaintainTemplates}) {
        EXPECT_FALSE(Grayed(id)) << id;
        boxes.Clear();
        Post(id);
        ASSERT_EQ(boxes.Count(), 1u) << id;
        EXPECT_EQ(boxes.Last().text, "There are no templates available.");
    }
    boxes.Clear();
    graph->title.font.pointSize = 30;
    graph->SetGraphRect(LogicalRect{graph->graphRect.left, graph->graphRect.top, graph->graphRect.left + 4.0f,
                                    graph->graphRect.top + 3.0f});
    ModalDialogDriver person;
    person.Type(Ctl::CreateGraphTemplate::DescriptionEdit, "Wide").Press(IDOK).Press(IDOK);
    Post(Cmd::GraphCreateTemplate);
    ASSERT_TRUE(TemplatesAvailable());

    LineGraphData other;
    other.title = "Other";
    other.horizontal.top = 1.0;
    other.vertical.top = 1.0;
    other.lines.push_back({"B", {0.0, 1.0}});
    LineGraph* target = OpenLineGraph(other);
    Activate(target);
    OpenMenu();
    EXPECT_FALSE(Grayed(Cmd::GraphApplyTemplate));
    Post(Cmd::GraphApplyTemplate);
    EXPECT_NEAR(target->graphRect.right - target->graphRect.left, 4.0f, 1e-5);
    EXPECT_NEAR(target->graphRect.bottom - target->graphRect.top, 3.0f, 1e-5);
    EXPECT_EQ(target->title.font.pointSize, 30);
    EXPECT_EQ(target->title.text, "Other");
    EXPECT_TRUE(target->IsModified());
    // The larger title stands centred, where laying the graph out again puts it.
    const LogicalRect title = target->title.rect;
    Post(Cmd::GraphRelayout);
    EXPECT_NEAR(target->title.rect.left, title.left, 1e-4);
    EXPECT_NEAR(target->title.rect.right, title.right, 1e-4);
    std::string message;
    ASSERT_EQ(ReadGraphTemplates(message), TemplateFileRead::Read);
    EXPECT_EQ(GraphTemplates().Count(), 1);
    GraphTemplates().Clear();
    EXPECT_TRUE(boxes.Boxes().empty());
    delete target;
    DeleteFileA(path.c_str());
}

// The Text Report shows every column header whole, however long the axis label it repeats.
TEST_F(GraphCommands, TheTextReportShowsLongColumnHeadersWhole)
{
    const TextReportPresenter previous = SetTextReportPresenter(nullptr);
    InstallTextReportDialog();
    graph->horizontalLabel.text = "P surgery success";
    int columns = 0;
    ModalDialogDriver person;
    person
        .Then([&columns](DialogFrameCL& dialog) {
            const HWND list = GetDlgItem(dialog.Handle(), Ctl::TextReport::ListArea);
            const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
            columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < columns; ++i) {
                char text[64] = {};
                LVCOLUMNA column{};
                column.mask = LVCF_TEXT;
                column.pszText = text;
                column.cchTextMax = sizeof text;
                SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
                const LRESULT needed = SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text));
                // The header draws its text with a margin of 6 pixels on either side.
                EXPECT_GE(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0), needed + 12) << text;
            }
        })
        .Press(IDOK);
    Post(Cmd::GraphTextReport);
    EXPECT_EQ(columns, 2);
    SetTextReportPresenter(previous);
}

TEST_F(GraphCommands, NewGraphsAreCountedAndStartUnsaved)
{
    auto* first = new LineGraph(1, 1);
    auto* second = new LineGraph(1, 1);
    int number = 0;
    ASSERT_EQ(std::sscanf(first->Text(), "Untitled Graph %d", &number), 1) << first->Text();
    EXPECT_EQ(second->Text(), "Untitled Graph " + std::to_string(number + 1));
    EXPECT_TRUE(first->IsModified());
    delete first;
    delete second;
}

}  // namespace
