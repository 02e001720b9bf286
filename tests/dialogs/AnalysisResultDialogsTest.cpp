// The threshold results and risk preference dialogs on the screen, answered as a person would.

#include "analysis/ThresholdAnalysis.h"
#include "analysis/VariableSubstitution.h"
#include "analysis/CEReport.h"
#include "widgets/MimicRunTime.h"
#include "dialogs/CEReportQuestionDialog.h"
#include "treewin/DefinitionChoiceDialog.h"
#include "foundation/NumericFormat.h"
#include "foundation/TextReport.h"
#include "dialogs/RiskPreferenceDialogs.h"
#include "dialogs/SensitivityDialogs.h"
#include "dialogs/ThresholdResultsDialog.h"
#include "framework/window/Clipboard.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "formula/CorrelationList.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/RiskPrefAssessment.h"
#include "analysis/RiskPreference.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/DialogControls.h"
#include "tests/support/MetafileText.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Stepped through by keys: a button disabled under the focus hands it on, Tab moves it, Escape closes.
TEST(AnalysisResultDialogs, ThresholdResultsStepThroughTheIntervals)
{
    OnScreen screen;
    ClipboardTestLock clipboardLock;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "X", "1");
    tree.Terminal(tree.Root(), "A", "", "(X - 5) * (X - 5)");
    tree.Terminal(tree.Root(), "B", "", "4");
    ThresholdSettings settings;
    settings.variable = "X";
    settings.low = FormattedValue{"0", 0.0};
    settings.high = FormattedValue{"10", 10.0};
    settings.intervals = 4;
    settings.tolerance = 0.01;
    InstallThresholdResultsDialog();
    // Keys typed on the dialog, held on top meanwhile; "Next &>>" takes Alt+>.
    const auto keys = [](DialogFrameCL& dialog, const char* typed) {
        ScreenOnTop onTop(dialog.Handle());
        RealInput::Keys(typed);
    };
    const auto focused = [] { return GetDlgCtrlID(GetFocus()); };
    bool leftOpen = false;
    ModalDialogDriver driver;
    driver
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::ThresholdAnalysisResults::ThresholdValuesFoundText), "2");
            EXPECT_FALSE(Enabled(dialog, Ctl::ThresholdAnalysisResults::Prev));
            EXPECT_EQ(focused(), Ctl::ThresholdAnalysisResults::Next);
            EXPECT_EQ(dialog.DefaultButtonId(), static_cast<unsigned>(IDCANCEL));
            keys(dialog, "alt+greater");
        })
        .Then([&](DialogFrameCL& dialog) { keys(dialog, "alt+greater"); })
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_TRUE(Enabled(dialog, Ctl::ThresholdAnalysisResults::Prev));
            EXPECT_FALSE(Enabled(dialog, Ctl::ThresholdAnalysisResults::Next));
            EXPECT_EQ(focused(), Ctl::ThresholdAnalysisResults::ToClipboard);
            EXPECT_EQ(TextOf(dialog, Ctl::ThresholdAnalysisResults::ValueText), "");
            EXPECT_NE(TextOf(dialog, Ctl::ThresholdAnalysisResults::IntervalText).find("choice is \"A\"."),
                      std::string::npos);
            keys(dialog, "Tab");
        })
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_EQ(focused(), IDCANCEL);
            keys(dialog, "alt+c");
        })
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_FALSE(Enabled(dialog, Ctl::ThresholdAnalysisResults::ToClipboard));
            EXPECT_EQ(focused(), IDCANCEL);
            keys(dialog, "Escape");
        })
        .Then([&](DialogFrameCL& dialog) {
            leftOpen = true;
            SendMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        });
    RunAnalysis(std::make_unique<ThresholdAnalysis>(tree.Root(), settings));
    while (tree.Document().CurrentAnalysis != nullptr)
        tree.Document().CurrentAnalysis->OnIdle();
    SetThresholdResultsPresenter(nullptr);
    EXPECT_FALSE(leftOpen);
    Clipboard clipboard(&screen.frame);
    std::unique_ptr<char[]> text(clipboard.GetText());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text.get()).rfind("KIVO(tm) Threshold Analysis:\r\nTolerance of +/- 0.01\r\n", 0), 0u);
}

// Two segments ask one question; an answer outside the lottery is refused and the question stays.
TEST(AnalysisResultDialogs, RiskPreferencePointsFromOneQuestion)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "gamble");
    tree.Terminal(chance, "win", "0.5", "1000");
    tree.Terminal(chance, "lose", "0.5", "0");
    ModalDialogDriver driver;
    driver.Press(Ctl::EnterRiskPreferenceFunction::Two)
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::RiskPreferenceAssessment2570::CE1Text), "CE 1");
            EXPECT_EQ(TextOf(dialog, Ctl::RiskPreferenceAssessment2570::More), "D&one");
            EXPECT_EQ(TextOf(dialog, Ctl::RiskPreferenceAssessment2570::HighValueText), "1000");
        })
        .Type(Ctl::RiskPreferenceAssessment2570::CE1Edit, "1000")
        .Press(Ctl::RiskPreferenceAssessment2570::More)
        .Type(Ctl::RiskPreferenceAssessment2570::CE1Edit, "400")
        .Press(Ctl::RiskPreferenceAssessment2570::More);
    EXPECT_EQ(EnterRiskPreference(&tree.Document()), 1);
    EXPECT_EQ(boxes.Count(), 1u);
    const RiskPrefAssessment& function = tree.Document().RiskAssessment;
    ASSERT_EQ(function.type, 2);
    EXPECT_EQ(function.points[1].value, 400.0);
    EXPECT_EQ(function.points[1].utility, 0.5);
    EXPECT_EQ(function.points[2].value, 1000.0);
    EXPECT_EQ(tree.Document().Modified, 1);
}

// Constant risk aversion: the lottery is drawn with X and -X/2, with their amounts as X is typed.
TEST(AnalysisResultDialogs, RiskAversionLotteryFollowsTheTypedX)
{
    OnScreen screen;
    TreeBuilder tree;
    tree.Terminal(tree.Root(), "A", "", "10");
    const auto lottery = [](DialogFrameCL& dialog) {
        HDC dc = CreateMetaFileA(nullptr);
        SendMessageA(dialog.FindChild(Ctl::RiskPreferenceAssessment::ConstantLotteryArea)->Handle(), WM_PRINTCLIENT,
                     reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        HMETAFILE picture = CloseMetaFile(dc);
        std::string texts;
        for (const RecordedText& text : MetafileTexts(picture))
            texts += text.text + "|";
        DeleteMetaFile(picture);
        return texts;
    };
    ModalDialogDriver driver;
    driver.Press(IDOK)
        .Type(Ctl::RiskPreferenceAssessment::EnterTheMAXIMUMValueOfXForWhichYouWouldPreferToPlayTheAboveLotteryEdit, "")
        .Then([&](DialogFrameCL& dialog) { EXPECT_EQ(lottery(dialog), "0.5:  X|0.5:  -X/2|"); })
        .Type(Ctl::RiskPreferenceAssessment::EnterTheMAXIMUMValueOfXForWhichYouWouldPreferToPlayTheAboveLotteryEdit,
              "100")
        .Then([&](DialogFrameCL& dialog) {
            EXPECT_EQ(lottery(dialog), "0.5:  X = 100|0.5:  -X/2 = -50|");
            ExpectScreenEqualsRepaint(dialog.Handle());
        })
        .Press(IDOK);
    EXPECT_EQ(EnterRiskPreference(&tree.Document()), 1);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(tree.Document().RiskAssessment.coefficient, 100.0);
}

}  // namespace

namespace {

// The set-up dialogs propose a variable's definition, refuse an empty range, remember the confirmed range in
// the variable without marking the tree changed, and share the interval count with the threshold dialog's
// degree of nonlinearity.
TEST(AnalysisResultDialogs, SetUpDialogsProposeCheckAndRemember)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "p", "0.3");
    TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
    tree.Terminal(a, "win", "p", "100");
    tree.Terminal(a, "lose", "#", "0");
    tree.Terminal(tree.Root(), "B", "", "50");
    // A correlated variable is named as it is written.
    DocVariable* partner = tree.Document().EnsureVariable("pSuccess", nullptr);
    CorrelationList entries;
    entries.Add(new CorrelationItem{zString("p")});
    SetVariableCorrelations(tree.Document(), *partner, &entries);

    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysis::CorrelationsText), "Correlations: pSuccess");
            EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysis::LowValueEdit), "0.3");
            EXPECT_FALSE(IsWindowVisible(
                dialog.FindChild(Ctl::SensitivityAnalysis::EachBranchOfThisDecisionNode)->Handle()));
        })
        .Type(Ctl::SensitivityAnalysis::LowValueEdit, "0")
        .Type(Ctl::SensitivityAnalysis::HighValueEdit, "0")
        .Press(IDOK)
        .Type(Ctl::SensitivityAnalysis::HighValueEdit, "1")
        .Type(Ctl::SensitivityAnalysis::NumberOfIntervalsEdit, "10")
        .Press(IDOK);
    tree.Document().SetModified(0);
    SensitivityDialog oneWay(&tree.Document(), tree.Root());
    ASSERT_EQ(oneWay.Run(), 1);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The high value must be greater than the low value.");
    EXPECT_EQ(oneWay.settings.intervals, 10);
    EXPECT_EQ(oneWay.settings.high.text, "1");
    EXPECT_EQ(tree.Document().FindVariable("p", false)->hasRange, 1);
    EXPECT_EQ(tree.Document().Modified, 0);

    // As the end user of a custom interface: the range is used but not kept.
    SetMimicRunTime(true);
    ModalDialogDriver thresholdDriver;
    thresholdDriver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysis::HighValueEdit), "1");
            EXPECT_EQ(SendMessageA(dialog.FindChild(Ctl::ThresholdAnalysis::Low)->Handle(), BM_GETCHECK, 0, 0),
                      BST_CHECKED);
        })
        .Then([](DialogFrameCL& dialog) {
            SendMessageA(dialog.FindChild(Ctl::ThresholdAnalysis::Low + 1)->Handle(), BM_CLICK, 0, 0);
        })
        .Type(Ctl::ThresholdAnalysis::ToleranceField, "0.01")
        .Type(Ctl::SensitivityAnalysis::HighValueEdit, "0.9")
        .Press(IDOK);
    ThresholdDialog threshold(&tree.Document(), tree.Root());
    ASSERT_EQ(threshold.Run(), 1);
    SetMimicRunTime(false);
    EXPECT_EQ(tree.Document().FindVariable("p", false)->high.value, 1.0);
    EXPECT_EQ(tree.Document().Modified, 0);
    ThresholdSettings settings = threshold.Threshold();
    EXPECT_EQ(settings.intervals, 8);
    EXPECT_EQ(settings.tolerance, 0.01);

    ThresholdResults results;
    auto previous = SetThresholdResultsPresenter([&results](const ThresholdResults& r) { results = r; });
    RunAnalysis(std::make_unique<ThresholdAnalysis>(tree.Root(), settings));
    while (tree.Document().CurrentAnalysis != nullptr)
        tree.Document().CurrentAnalysis->OnIdle();
    SetThresholdResultsPresenter(previous);
    ASSERT_EQ(results.Count(), 1);
    EXPECT_NEAR(results.thresholds[0].x, 0.5, 1e-9);

    ModalDialogDriver again;
    again.Then([](DialogFrameCL& dialog) { EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysis::NumberOfIntervalsEdit), "8"); })
        .Press(IDCANCEL);
    EXPECT_EQ(SensitivityDialog(&tree.Document(), tree.Root()).Run(), 0);
}

}  // namespace

namespace {

// Several definitions of the swept variable: the person keeps the tree default's expression and sweeps the
// other; keeping every original expression leaves nothing to sweep.
TEST(AnalysisResultDialogs, DefinitionChoiceKeepsOnlyAcceptedDefinitions)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "p", "0.3");
    TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
    tree.Bind(a, "p", "0.2 * 2");
    tree.Terminal(a, "win", "p", "100");
    tree.Terminal(a, "lose", "#", "0");
    tree.Terminal(tree.Root(), "B", "", "50");
    InstallDefinitionChoiceDialog();
    OneWaySettings settings;
    settings.variable = "p";
    settings.low = FormattedValue{"0", 0.0};
    settings.high = FormattedValue{"1", 1.0};
    settings.intervals = 4;

    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysisOn::NodeText), "(None: Default for Tree)");
            EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysisOn::OriginalValueText), "0.3");
        })
        .Press(Ctl::SensitivityAnalysisOn::KeepThisButton)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysisOn::OriginalExpressionText), "0.2 * 2");
            EXPECT_EQ(TextOf(dialog, Ctl::SensitivityAnalysisOn::OriginalValueText), "0.4");
        })
        .Press(Ctl::SensitivityAnalysisOn::ThisDefinition);
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(tree.Root(), settings));
    auto* run = static_cast<OneWaySensitivityAnalysis*>(tree.Document().CurrentAnalysis);
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(run->ranges.RangeAt(0)->bindings.Count(), 1);
    EXPECT_EQ(run->ranges.RangeAt(0)->bindings.At(0)->node, a);
    // A run still going when its document goes ends with it and leaves no idle task behind.
    {
        TreeBuilder other;
        other.Bind(other.Root(), "p", "0.2");
        other.Terminal(other.Root(), "A", "", "p");
        other.Terminal(other.Root(), "B", "", "0.1");
        RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(other.Root(), settings));
        ASSERT_NE(other.Document().CurrentAnalysis, nullptr);
    }
    run->End(nullptr);
    TheApp->Idle()->Run();

    ModalDialogDriver keepAll;
    keepAll.Press(Ctl::SensitivityAnalysisOn::KeepRemainingButton);
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(tree.Root(), settings));
    EXPECT_EQ(tree.Document().CurrentAnalysis, nullptr);
    EXPECT_EQ(boxes.Last().text, "No non-degenerate variable definitions exist. The analysis will not be completed.");
    SetDefinitionChooser(nullptr);
}

}  // namespace

namespace {

// A cost-effectiveness report with several strategies asks once whether extended dominance eliminates.
TEST(AnalysisResultDialogs, ReportQuestionDecidesTheElimination)
{
    OnScreen screen;
    TreeBuilder tree;
    tree.Terminal(tree.Root(), "A", "", "0");
    tree.Terminal(tree.Root(), "B", "", "0");
    SensitivityResultGrid grid(tree.Root(), 1, 2, 0.0, 1.0);
    InstallCEReportQuestionDialog();
    int asked = 0;
    auto install = SetExtendedDominanceQuestion(nullptr);
    SetExtendedDominanceQuestion([&](int initial) {
        ++asked;
        return install(initial);
    });
    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            SendMessageA(dialog.FindChild(Ctl::TextReport2220::Yes)->Handle(), BM_CLICK, 0, 0);
        })
        .Press(IDOK);
    NumericFormat format(true);
    TextReport report;
    grid.CEOptimalByStep(report, "x", nullptr, CEFormats{format, format, format}, -1);
    SetExtendedDominanceQuestion(nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(report.Lines().Count(), 6);
}

}  // namespace

namespace {

// Runs of consecutive rows in one column whose pixel is the colour.
int RunsOf(const uint32_t* pixels, int width, int height, int x, uint32_t colour)
{
    int runs = 0;
    bool inside = false;
    for (int y = 0; y < height; ++y) {
        const bool match = (pixels[y * width + x] & 0xFFFFFF) == colour;
        runs += match && !inside;
        inside = match;
    }
    return runs;
}

}  // namespace

TEST(AnalysisResultDialogs, AssessmentPictureMarksTheCurrentLotteryInRed)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "gamble");
    tree.Terminal(chance, "win", "0.5", "1000");
    tree.Terminal(chance, "lose", "#", "0");
    RiskPointAssessment assessment;
    ASSERT_TRUE(assessment.Begin(&tree.Document(), 4));
    ASSERT_TRUE(assessment.Answer(400));
    ASSERT_DOUBLE_EQ(assessment.LotteryHigh(), 400);

    const int width = 400;
    const int height = 120;
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT area{0, 0, width, height};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawAssessmentPicture(dc, area, assessment);
    GdiFlush();
    // Three points so far (0, 400, 1000): the lottery's two branches are red, the third grey.
    const auto* pixels = static_cast<const uint32_t*>(bits);
    EXPECT_EQ(RunsOf(pixels, width, height, width - 160, 0xFF0000), 2);
    EXPECT_EQ(RunsOf(pixels, width, height, width - 160, 0x808080), 1);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

namespace {

// Two-way set-up: an empty range and the same variable twice are refused; the chosen ranges come back and are
// remembered in the variables.
TEST(AnalysisResultDialogs, TwoWaySetUpChecksBlocksAndRemembersRanges)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "p", "0.3");
    tree.Bind(tree.Root(), "v", "50");
    // More variables than the dropped list has room for.
    for (const char* name : {"y0", "y1", "y2", "y3", "y4", "y5", "y6", "y7", "y8", "y9"})
        tree.Bind(tree.Root(), name, "1");
    TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
    tree.Terminal(a, "win", "p", "100");
    tree.Terminal(a, "lose", "#", "0");
    tree.Terminal(tree.Root(), "B", "", "v");
    const auto& ids = SensitivityAxesDialog::kBlockIds;
    ModalDialogDriver driver;
    driver.Press(IDOK)
        .Type(ids[0][3], "1")
        .Type(ids[1][2], "0")
        .Type(ids[1][3], "1")
        .Press(IDOK)
        .Then([&ids](DialogFrameCL& dialog) {
            ScreenOnTop top(dialog.Handle());
            SetForegroundWindow(dialog.Handle());
            SetFocus(dialog.Control(ids[1][0]));
            RealInput::Keys("alt+Down");
        })
        .Then([&ids](DialogFrameCL& dialog) {
            // The dropped list shows whole rows, its last one too.
            const HWND combo = dialog.Control(ids[1][0]);
            ASSERT_TRUE(PumpMessagesUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
            COMBOBOXINFO parts{sizeof parts};
            ASSERT_TRUE(GetComboBoxInfo(combo, &parts));
            RECT client{};
            GetClientRect(parts.hwndList, &client);
            const LRESULT height = SendMessageA(parts.hwndList, LB_GETITEMHEIGHT, 0, 0);
            EXPECT_EQ(client.bottom % height, 0) << client.bottom << " / " << height;
            EXPECT_LT(client.bottom / height, SendMessageA(parts.hwndList, LB_GETCOUNT, 0, 0));
            ScreenOnTop top(dialog.Handle());
            RealInput::Keys("Escape");
        })
        .Then([&ids](DialogFrameCL& dialog) {
            const HWND combo = dialog.Control(ids[1][0]);
            ASSERT_TRUE(PumpMessagesUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
            SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("v"));
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(ids[1][0], CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            EXPECT_EQ(TextOf(dialog, ids[1][2]), "50");
        })
        .Type(ids[1][2], "0")
        .Type(ids[1][3], "100")
        .Type(ids[1][1], "5")
        .Press(IDOK);
    TwoWaySensitivityDialog dialog(&tree.Document(), tree.Root());
    ASSERT_EQ(dialog.Run(), 1);
    EXPECT_TRUE(driver.Finished());
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "The high values must be greater than the low values.");
    EXPECT_EQ(boxes.Boxes()[1].text, "The variables must be different.");
    const TwoWaySettings settings = dialog.Settings();
    EXPECT_EQ(std::string(settings.x.variable.Text()), "p");
    EXPECT_EQ(std::string(settings.y.variable.Text()), "v");
    EXPECT_EQ(settings.y.high.value, 100.0);
    EXPECT_EQ(settings.y.intervals, 5);
    EXPECT_EQ(tree.Document().FindVariable("v", false)->hasRange, 1);
}

}  // namespace
