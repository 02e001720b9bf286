// A tree's Preferences: the pages edit the tree's records at OK, undoably; Cancel leaves them alone, and
// takes back what the pages' own dialogs stored (page header, weights) as well.

#include "tests/app/FrameByHand.h"
#include "tests/support/DescendantControl.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/ProgramLoop.h"
#include "tests/support/PumpMessages.h"
#include "framework/dialog/FontDialog.h"
#include "treewin/CEParamsDialog.h"
#include "treewin/MultiAttrWeightDialog.h"
#include "app/MainFrame.h"
#include "app/PreferencesDialog.h"
#include "graph/LineGraph.h"
#include "influence/InfluenceDiagramWindow.h"
#include "foundation/PreferencesStore.h"
#include "model/TreeDocument.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"
#include "tests/support/DialogControls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>

namespace {

// Picks an entry of a list as a click would: the selection, then its notice to the window holding it, with
// the mouse button down meanwhile.
void Pick(HWND holder, unsigned id, int index, bool combo)
{
    HWND list = GetDlgItem(holder, static_cast<int>(id));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(list, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(holder, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    keys[VK_LBUTTON] = 0;
    SetKeyboardState(keys);
}

HWND PageOf(DialogFrameCL& dialog)
{
    return dynamic_cast<HookedDialog&>(dialog).Page()->Handle();
}

} // namespace

TEST(PreferencesDialog, TreePagesChangeTheTreeUndoablyAndCancelChangesNothing)
{
    OnScreen screen;
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.CalcPrefs.CalcMethod = PayoffMethod;
    const uint8_t rightAngles = document.DisplayPrefs.BranchesAt90;
    const std::string weight = document.CalcPrefs.MultiAttrWeight[0].Text().Text();

    for (const unsigned closing : {IDCANCEL, IDOK}) {
        ModalDialogDriver driver;
        driver
            .Then([](DialogFrameCL& dialog) {
                // Multi-Attribute takes the payoff lists and High/Low away.
                Pick(PageOf(dialog), Ctl::CalculationMethodPage::MethodCombo, static_cast<int>(MultiAttributeMethod), true);
                EXPECT_FALSE(IsWindowVisible(GetDlgItem(PageOf(dialog), Ctl::CalculationMethodPage::PayoffCombo)));
                EXPECT_TRUE(IsWindowVisible(GetDlgItem(PageOf(dialog), Ctl::CalculationMethodPage::OptimalPathIsHigh)));
                // A header line is never shown: the page stays.
                Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 5, false);
                EXPECT_EQ(dynamic_cast<HookedDialog&>(dialog).PageId(), 4014);
                // The arrow keys pass over the headers: Down reaches the last page, Up the first; End and
                // Home go there at once, Home past the header on top.
                HWND list = GetDlgItem(dialog.Handle(), Ctl::Preferences::CategoryList);
                const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
                for (const WPARAM arrow : {VK_DOWN, VK_UP}) {
                    for (int step = 0; step < count; ++step)
                        SendMessageA(list, WM_KEYDOWN, arrow, 0);
                    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), arrow == VK_DOWN ? count - 1 : 1);
                }
                for (const WPARAM key : {VK_END, VK_HOME}) {
                    SendMessageA(list, WM_KEYDOWN, key, 0);
                    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), key == VK_END ? count - 1 : 1);
                    EXPECT_EQ(dynamic_cast<HookedDialog&>(dialog).PageId(),
                              key == VK_END ? DialogRes::GlobalPreferencesPage : DialogRes::CalculationMethodPage);
                }
                Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 9, false);
                SendMessageA(GetDlgItem(PageOf(dialog), 4026), BM_CLICK, 0, 0);
            })
            .Press(closing);
        window.OnCommand(1308);
        EXPECT_TRUE(driver.Finished());
    }
    EXPECT_EQ(document.CalcPrefs.CalcMethod, MultiAttributeMethod);
    EXPECT_NE(document.DisplayPrefs.BranchesAt90, rightAngles);
    // No risk function was ever entered: the tree still has none.
    EXPECT_EQ(document.RiskAssessment.type, 0);
    window.Undo();
    EXPECT_EQ(document.CalcPrefs.CalcMethod, PayoffMethod);
    EXPECT_EQ(document.DisplayPrefs.BranchesAt90, rightAngles);

    // The page header and the weights, accepted in their own dialogs, go again with Cancel.
    document.SetModified(0);
    ModalDialogDriver header;
    header
        .Then([](DialogFrameCL& dialog) {
            Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 12, false);
            SendMessageA(GetDlgItem(PageOf(dialog), 4029), BM_CLICK, 0, 0);
        })
        .Type(2811, "Page ^P")
        .Press(2814)
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 1, false);
            SendMessageA(GetDlgItem(PageOf(dialog), Ctl::CalculationMethodPage::SetWeightings), BM_CLICK, 0, 0);
        })
        .Type(Ctl::MultiAttributeWeighting::Edit3201, "0.75")
        .Press(IDOK)
        .Press(IDCANCEL);
    window.OnCommand(1308);
    EXPECT_TRUE(header.Finished());
    EXPECT_STREQ(document.DisplayPrefs.PageHeaderString.Text(), "");
    EXPECT_STREQ(document.CalcPrefs.MultiAttrWeight[0].Text().Text(), weight.c_str());
    EXPECT_EQ(document.Modified, 0);
}

TEST(PreferencesDialog, CostEffectivenessLimitsSwitchedOffBecomeZero)
{
    TreeWindow window;
    CESensitivitySettings& settings = window.Document().CESettings;
    settings.useCostCeiling = 1;
    settings.costCeiling.SetText("5000");
    CEParamsDialog::SetPresenter([](CEParamsDialog& dialog) {
        dialog.useMaximum = 0;
        dialog.willingness = "50000";
        return IDOK;
    });
    EXPECT_EQ(OpenCEParameters(&window), 1);
    CEParamsDialog::SetPresenter(nullptr);
    EXPECT_EQ(settings.useCostCeiling, 0);
    EXPECT_STREQ(settings.costCeiling.Text().Text(), "0");
    EXPECT_STREQ(settings.willingnessToPay.Text().Text(), "50000");
}

// A diagram's Preferences open on "Tree Conversion"; every page's values reach the diagram's record at OK
// only, the node size as the preview's handle was dragged (from on the handle, never from beside it).
TEST(PreferencesDialog, DiagramPagesEditTheDiagramAtOkOnly)
{
    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    frame->EndStartup();
    auto* window = new InfluenceDiagramWindow();
    window->Show(SW_SHOWNORMAL);
    InfDiagPrefs& prefs = window->document.prefs;
    prefs.fixedSize = 0;
    const float width = prefs.sizeH;
    const float height = prefs.sizeV;
    const auto press = [](DialogFrameCL& dialog, unsigned id) {
        SendMessageA(GetDlgItem(PageOf(dialog), static_cast<int>(id)), BM_CLICK, 0, 0);
    };
    for (const unsigned closing : {IDCANCEL, IDOK}) {
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& dialog) {
            EXPECT_EQ(dynamic_cast<HookedDialog&>(dialog).PageId(), 4115);
            press(dialog, Ctl::TreeConversionPage::TimeFlowTopToBottom);
            press(dialog, Ctl::TreeConversionPage::OptimalPathLow);
            Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 2, false);
            press(dialog, Ctl::NodeSizePage::FixedNodeSize);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(PageOf(dialog), Ctl::NodeSizePage::TextSizeText)));
            // The handle's corner, where the text area ends.
            HWND area = GetDlgItem(PageOf(dialog), Ctl::NodeSizePage::TextSizeArea);
            HDC dc = GetDC(area);
            const int perInchX = GetDeviceCaps(dc, LOGPIXELSX), perInchY = GetDeviceCaps(dc, LOGPIXELSY);
            ReleaseDC(area, dc);
            const int right = static_cast<int>(std::lround(0.08 * perInchX)) +
                              static_cast<int>(std::lround(width * perInchX));
            const int bottom = static_cast<int>(std::lround(0.08 * perInchY)) +
                               static_cast<int>(std::lround(height * perInchY));
            for (const int from : {7, 3}) {
                const LPARAM to = MAKELPARAM(right - (from == 7 ? 30 : 10), bottom);
                SendMessageA(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right - from, bottom - from));
                SendMessageA(area, WM_MOUSEMOVE, MK_LBUTTON, to);
                SendMessageA(area, WM_LBUTTONUP, 0, to);
            }
            ExpectScreenEqualsRepaint(dialog.Handle());
            Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 3, false);
            press(dialog, Ctl::ArcPrefsPage::Print);
            Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 5, false);
            SetDlgItemTextA(PageOf(dialog), Ctl::PrintingOfAnInfluenceDiagramPage::PrintingZoomFactorEdit, "40");
        });
        driver.Press(closing);
        window->EditPreferences();
        EXPECT_TRUE(driver.Finished());
        const bool ok = closing == IDOK;
        EXPECT_EQ(prefs.verticalInf, ok ? 1 : 0);
        EXPECT_EQ(prefs.optHigh, ok ? 0 : 1);
        EXPECT_EQ(prefs.fixedSize, ok ? 1 : 0);
        EXPECT_EQ(prefs.printHidArcs, ok ? 1 : 0);
        EXPECT_EQ(window->document.diagram.printFactor, ok ? 40 : 100);
        EXPECT_NEAR(prefs.sizeV, height, ok ? 0.02 : 0.0);
        EXPECT_NEAR(prefs.sizeH, ok ? width - 0.1 : width, ok ? 0.02 : 0.0);
        EXPECT_EQ(window->IsModified() != 0, ok);
    }
    delete frame;
}

// A graph's Preferences open on "Printing": a zoom outside 5 to 250 keeps the page, OK gives the graph its
// zoom and centring, and "Sa&ve settings" keeps them for new graphs.
TEST(PreferencesDialog, GraphPrintingGoesToTheGraphAndItsSavedSettings)
{
    FocusTestLock focus;
    StoreTestLock store;
    const int savedZoom = ReadProfileInt("GraphPrefs", "PrintZoomFact", 100);
    const int savedCentre = ReadProfileInt("GraphPrefs", "CenterGraphOnPage", 0);
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    frame->EndStartup();
    MessageBoxRecorder boxes;
    auto* graph = new LineGraph(1, 1);
    graph->Show(SW_SHOWNORMAL);
    graph->printZoom = 33;
    std::string shown;
    ModalDialogDriver driver;
    driver.Then([&](DialogFrameCL& dialog) {
        EXPECT_EQ(dynamic_cast<HookedDialog&>(dialog).PageId(), 4079);
        char text[16] = "";
        GetDlgItemTextA(PageOf(dialog), Ctl::PrintingOfAGraphPage::PrintingZoomFactorEdit, text, sizeof text);
        shown = text;
        SetDlgItemTextA(PageOf(dialog), Ctl::PrintingOfAGraphPage::PrintingZoomFactorEdit, "300");
        Pick(dialog.Handle(), Ctl::Preferences::CategoryList, 2, false);
        EXPECT_EQ(dynamic_cast<HookedDialog&>(dialog).PageId(), 4079);
        SetDlgItemTextA(PageOf(dialog), Ctl::PrintingOfAGraphPage::PrintingZoomFactorEdit, "40");
        SendMessageA(GetDlgItem(PageOf(dialog), Ctl::PrintingOfAGraphPage::CenterInPage), BM_CLICK, 0, 0);
        CheckDlgButton(dialog.Handle(), Ctl::Preferences::SaveSettings, BST_CHECKED);
    });
    driver.Press(IDOK);
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::DisplayPreferences, 0);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(shown, "33");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "This field takes integers between 5 and 250.");
    EXPECT_EQ(graph->GetPrintScale(), 0.4);
    EXPECT_EQ(graph->CentreOnePage(), 1);
    EXPECT_EQ(ReadProfileInt("GraphPrefs", "PrintZoomFact", 100), 40);
    EXPECT_EQ(ReadProfileInt("GraphPrefs", "CenterGraphOnPage", 0), 1);
    WriteProfileInt("GraphPrefs", "PrintZoomFact", savedZoom);
    WriteProfileInt("GraphPrefs", "CenterGraphOnPage", savedCentre);
    delete frame;
}

// The keyboard crosses between the dialog and a graph's or a diagram's page: Tab from the page's last stop
// reaches OK and Shift+Tab comes back, Alt+G and Alt+V reach the dialog's own controls, Escape in the page
// cancels and Enter there accepts what was typed.
TEST(PreferencesDialog, KeyboardCrossesDialogAndPageForGraphsAndDiagrams)
{
    FocusTestLock focus;
    StoreTestLock store;
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    frame->EndStartup();
    auto* graph = new LineGraph(1, 1);
    graph->Show(SW_SHOWNORMAL);
    auto* diagram = new InfluenceDiagramWindow();
    diagram->Show(SW_SHOWNORMAL);
    const auto key = [](HWND to, UINT message, WPARAM code, bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(to, message, code, message == WM_SYSCHAR ? 1 << 29 : 0);
    };
    struct Kind {
        DocChildWindow* window;
        int printingCategory;
        std::function<bool()> zoomTaken;
    };
    const Kind kinds[] = {
        {graph, -1, [graph] { return graph->GetPrintScale() == 0.4; }},
        {diagram, 5, [diagram] { return diagram->document.diagram.printFactor == 40; }},
    };
    for (const Kind& kind : kinds) {
        for (const UINT ending : {VK_ESCAPE, VK_RETURN}) {
            HWND last = nullptr;
            HWND edit = nullptr;
            ModalDialogDriver driver;
            driver
                .Then([&](DialogFrameCL& dialog) {
                    // A graph's Preferences open on its printing page.
                    if (kind.printingCategory >= 0)
                        Pick(dialog.Handle(), Ctl::Preferences::CategoryList, kind.printingCategory, false);
                    for (HWND c = GetWindow(PageOf(dialog), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                        if ((GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(c) && IsWindowEnabled(c))
                            last = c;
                    SetFocus(last);
                    key(last, WM_KEYDOWN, VK_TAB, false);
                })
                .Then([&](DialogFrameCL& dialog) {
                    EXPECT_EQ(GetFocus(), dialog.Control(IDOK));
                    key(GetFocus(), WM_KEYDOWN, VK_TAB, true);
                })
                .Then([&](DialogFrameCL& dialog) {
                    EXPECT_EQ(GetFocus(), last);
                    key(GetFocus(), WM_SYSCHAR, 'g', false);
                })
                .Then([&](DialogFrameCL& dialog) {
                    EXPECT_EQ(GetFocus(), dialog.Control(Ctl::Preferences::CategoryList));
                    EXPECT_FALSE(IsDlgButtonChecked(dialog.Handle(), Ctl::Preferences::SaveSettings));
                    key(GetFocus(), WM_SYSCHAR, 'v', false);
                })
                .Then([&](DialogFrameCL& dialog) {
                    EXPECT_TRUE(IsDlgButtonChecked(dialog.Handle(), Ctl::Preferences::SaveSettings));
                    CheckDlgButton(dialog.Handle(), Ctl::Preferences::SaveSettings, BST_UNCHECKED);
                    edit = GetDlgItem(PageOf(dialog), Ctl::PrintingOfAGraphPage::PrintingZoomFactorEdit);
                    SetWindowTextA(edit, "40");
                    SetFocus(edit);
                    key(edit, WM_KEYDOWN, ending, false);
                });
            SendMessageA(kind.window->Handle(), WM_COMMAND, Cmd::DisplayPreferences, 0);
            EXPECT_TRUE(driver.Finished());
            EXPECT_EQ(kind.zoomTaken(), ending == VK_RETURN);
        }
    }
    delete frame;
}

namespace {

// Preferences opened by F11 on a document of the frame, worked by a person's clicks.
class PreferencesByHand : public FrameByHand {
protected:
    static std::string Bytes(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::string Saved(DocumentWindow& document)
    {
        zString message;
        if (auto* tree = dynamic_cast<TreeWindow*>(&document))
            EXPECT_TRUE(tree->SaveAs(savePath.c_str(), message)) << message.Text();
        else
            EXPECT_EQ(document.SaveAs(savePath.c_str()), 1);
        return Bytes(savePath);
    }
    ~PreferencesByHand() override { std::remove(savePath.c_str()); }

    const std::string savePath = TempFilePath("kivo-preferences-cancel");
};

} // namespace

// Every dialog a page of Preferences opens stores into the document as it closes with OK: Cancel in
// Preferences then takes it all back, so the document saves as before and is not marked changed.
TEST_F(PreferencesByHand, CancelTakesBackWhatThePagesOwnDialogsStored)
{
    using Answer = std::function<void(ModalDialogDriver&)>;
    const auto typeAndOk = [](unsigned field, const char* text) -> Answer {
        return [field, text](ModalDialogDriver& d) { d.Type(field, text).Press(IDOK); };
    };
    struct Row {
        const char* name;
        bool diagram;
        CalcMethodKind method;
        int category;
        std::vector<unsigned> clicks;
        Answer answer;
    };
    namespace Method = Ctl::CalculationMethodPage;
    const Row rows[] = {
        {"Number format", false, PayoffMethod, 1, {Method::SetNumericFormat},
         typeAndOk(Ctl::NumericFormattingPreferences::DecimalPlacesEdit, "5")},
        {"Weights", false, MultiAttributeMethod, 1, {Method::SetWeightings},
         typeAndOk(Ctl::MultiAttributeWeighting::Edit3201, "0.75")},
        {"Cost-effectiveness limits", false, CostEffectivenessMethod, 1, {Method::CEParams},
         typeAndOk(Ctl::CostEffectivenessParameters::WillingnessToPayEdit, "777")},
        {"Constant risk aversion", false, PayoffMethod, 3, {Ctl::RiskPreferencesPage::EnterConstantRiskAversion},
         typeAndOk(Ctl::RiskPreferenceAssessment::EnterTheMAXIMUMValueOfXForWhichYouWouldPreferToPlayTheAboveLotteryEdit,
                   "40")},
        {"Risk function", false, PayoffMethod, 3, {Ctl::RiskPreferencesPage::EnterNonConstantRisk},
         [](ModalDialogDriver& d) {
             d.Press(IDOK).Type(Ctl::RiskPreferenceAssessment::
                                    EnterTheMAXIMUMValueOfXForWhichYouWouldPreferToPlayTheAboveLotteryEdit,
                                "60")
                 .Press(IDOK);
         }},
        {"Columns", false, PayoffMethod, 6, {Ctl::TerminalNodesPage::ShowColumns, Ctl::TerminalNodesPage::SetColumns},
         typeAndOk(Ctl::Columns::HeaderEdit, "Value")},
        {"Node font", false, PayoffMethod, 10, {Ctl::FontsPage::NodeFont}, nullptr},
        {"Page header", false, PayoffMethod, 12, {Ctl::PrintingOfATreePage::PageHeader},
         typeAndOk(Ctl::PageHeaderFooter::HeaderEdit, "Page ^P")},
        {"Conversion number format", true, PayoffMethod, 1, {Ctl::TreeConversionPage::Set},
         typeAndOk(Ctl::NumericFormattingPreferences::DecimalPlacesEdit, "5")},
        {"Diagram font", true, PayoffMethod, 4, {Ctl::InfluenceDiagramFontsPage::DefaultFont}, nullptr},
    };
    const FontDialogPresenter previousFonts = SetFontDialogPresenter([](CHOOSEFONTA& d) {
        d.lpLogFont->lfHeight = -24;
        d.iPointSize = 180;
        return 1;
    });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        newKind = row.diagram ? NewDocumentDialog::InfluenceDiagram : NewDocumentDialog::Tree;
        Command(Cmd::FileNew);
        auto* document = dynamic_cast<DocumentWindow*>(frame->ActiveChild());
        ASSERT_NE(document, nullptr);
        if (auto* tree = dynamic_cast<TreeWindow*>(document))
            tree->Document().CalcPrefs.CalcMethod = row.method;
        const std::string before = Saved(*document);
        ModalDialogDriver person;
        person.Then(ModalDialogDriver::ClickingWithin(Ctl::Preferences::CategoryList, row.category));
        for (const unsigned id : row.clicks)
            person.Then(ModalDialogDriver::ClickingWithin(id));
        if (row.answer)
            row.answer(person);
        person.Then(ModalDialogDriver::ClickingWithin(IDCANCEL));
        Press("F11");
        EXPECT_TRUE(PumpMessagesUntil([&] { return person.Finished() && DialogFrameCL::ModalStack().empty(); }));
        EXPECT_EQ(document->IsModified(), 0);
        EXPECT_TRUE(Saved(*document) == before);
        document->SetModified(0);
        delete document;
    }
    SetFontDialogPresenter(previousFonts);
}

// By a person's clicks and keys: a click on a header line leaves the page shown, and Enter on a page's push
// button acts on O&K as from anywhere in the page.
TEST_F(PreferencesByHand, ClickedHeaderLeavesThePageAndEnterOnAPageButtonActsOnOk)
{
    TreeWindow* tree = NewTree();
    ASSERT_NE(tree, nullptr);
    int shownAfterHeader = 0;
    LRESULT selectedAfterHeader = -1;
    bool focusOnSet = false;
    bool columnsOpened = false;
    ModalDialogDriver person;
    person.Then(ModalDialogDriver::ClickingWithin(Ctl::Preferences::CategoryList, 5))
        .Then([&](DialogFrameCL& dialog) {
            shownAfterHeader = dynamic_cast<HookedDialog&>(dialog).PageId();
            selectedAfterHeader = SendMessageA(dialog.Control(Ctl::Preferences::CategoryList), LB_GETCURSEL, 0, 0);
        })
        .Then(ModalDialogDriver::ClickingWithin(Ctl::Preferences::CategoryList, 6))
        .Then(ModalDialogDriver::ClickingWithin(Ctl::TerminalNodesPage::ShowColumns))
        .Then([&](DialogFrameCL& dialog) {
            const HWND set = FindDescendant(dialog.Handle(), Ctl::TerminalNodesPage::SetColumns);
            ScreenOnTop onTop(dialog.Handle());
            RealInput::Keys("Tab");
            focusOnSet = RunProgramLoopUntil([set] { return GetFocus() == set; });
            RealInput::Keys("Return");
            RunProgramLoopUntil([&] {
                const auto& stack = DialogFrameCL::ModalStack();
                return stack.empty() || stack.back() != &dialog || !IsWindowVisible(dialog.Handle());
            });
        })
        .Then([&](DialogFrameCL& dialog) {
            columnsOpened = dialog.Id() == DialogRes::Columns;
            SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
        })
        // Reached only when Enter left Preferences open.
        .Press(IDCANCEL);
    Press("F11");
    RunProgramLoopUntil([] { return DialogFrameCL::ModalStack().empty(); });
    EXPECT_EQ(shownAfterHeader, DialogRes::CalculationMethodPage);
    EXPECT_EQ(selectedAfterHeader, 1);
    EXPECT_TRUE(focusOnSet);
    EXPECT_FALSE(columnsOpened);
    // OK took the box ticked on the page.
    EXPECT_EQ(tree->Document().DisplayPrefs.ShowColumns, 1);
}
