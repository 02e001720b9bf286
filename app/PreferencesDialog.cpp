#include "app/PreferencesDialog.h"

#include "widgets/FontSampleControl.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/Shell.h"
#include "treewin/CEParamsDialog.h"
#include "treewin/ColumnsDialog.h"
#include "treewin/MultiAttrWeightDialog.h"
#include "dialogs/NodeSizePreview.h"
#include "dialogs/NumericFormatDialog.h"
#include "dialogs/RiskPreferenceDialogs.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormatting.h"
#include "foundation/PreferenceRecord.h"
#include "foundation/PreferencesFonts.h"
#include "foundation/PreferencesStore.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/RadioGroup.h"
#include "framework/draw/MeasuringDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "graph/GraphWindow.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/TreeDocument.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <cstdint>
#include <iterator>
#include <optional>

namespace GlobalPreferencesPageIds = Ctl::GlobalPreferencesPage;

// A category of the list: the template of its page, 0 for a header line (shown, never selected).
struct PreferencesPage {
    int32_t pageId;
    const char* label;
};

namespace {

const PreferencesPage TreePages[] = {
    {0, "---- Calc Prefs"},
    {DialogRes::CalculationMethodPage, "Calculation Method"},
    {DialogRes::RollBackPage, "Roll Back"},
    {DialogRes::RiskPreferencesPage, "Risk Preferences"},
    {DialogRes::OtherCalcPrefsPage, "Other Calc Prefs"},
    {0, "---- Display Prefs"},
    {DialogRes::TerminalNodesPage, "Terminal Nodes"},
    {DialogRes::NodeDisplayPage, "Node Display"},
    {DialogRes::VariablesDisplayPage, "Variables Display"},
    {DialogRes::TreeDisplayPage, "Tree Display"},
    {DialogRes::FontsPage, "Fonts"},
    {DialogRes::NotesArrowsPage, "Notes & Arrows"},
    {DialogRes::PrintingOfATreePage, "Printing"},
    {0, "---- Other Prefs"},
    {DialogRes::GlobalPreferencesPage, "Global Prefs"},
    {0, nullptr},
};

const PreferencesPage GraphPages[] = {
    {0, "---- Other Prefs"},
    {DialogRes::PrintingOfAGraphPage, "Printing"},
    {DialogRes::GlobalPreferencesPage, "Global Prefs"},
    {0, nullptr},
};

const PreferencesPage DiagramPages[] = {
    {0, "---- Influence Diagram"},
    {DialogRes::TreeConversionPage, "Tree Conversion"},
    {DialogRes::NodeSizePage, "Node Size"},
    {DialogRes::ArcPrefsPage, "Arc Prefs"},
    {DialogRes::InfluenceDiagramFontsPage, "Fonts"},
    {DialogRes::PrintingOfAnInfluenceDiagramPage, "Printing"},
    {0, "---- Other Prefs"},
    {DialogRes::GlobalPreferencesPage, "Global Prefs"},
    {0, nullptr},
};

const PreferencesPage ApplicationPages[] = {
    {0, "---- Other Prefs"},
    {DialogRes::GlobalPreferencesPage, "Global Prefs"},
    {0, nullptr},
};

// The page rectangle right of the category list, in the system's dialog units.
constexpr POINT PageCorner{67, 7};
constexpr SIZE PageSize{119, 115};  // not a resource id: dialog units

// Check boxes of the tree's display record: page, control, key, and whether a change makes the layout stale.
struct DisplayCheck {
    int page;
    unsigned id;
    uint8_t TreeDisplayPrefs::*key;
    bool relayout;
};
const DisplayCheck DisplayChecks[] = {
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::DisplayPayoffNames, &TreeDisplayPrefs::AlwaysShowPayoffs,
     true},
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::Boxed, &TreeDisplayPrefs::BoxPayoffs, false},
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::AutomaticNodeNumbering,
     &TreeDisplayPrefs::ShowTermNodeNumbers, false},
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::ShowColumns, &TreeDisplayPrefs::ShowColumns, true},
    {DialogRes::NodeDisplayPage, Ctl::NodeDisplayPage::MarkNodesWithComments, &TreeDisplayPrefs::MarkNodesWithComments,
     false},
    {DialogRes::NodeDisplayPage, Ctl::NodeDisplayPage::HideAllNodeTexts, &TreeDisplayPrefs::Schematic, true},
    {DialogRes::NodeDisplayPage, Ctl::NodeDisplayPage::HideProbabilitiesOnly, &TreeDisplayPrefs::HideProbs, true},
    {DialogRes::VariablesDisplayPage, Ctl::VariablesDisplayPage::ExpandNodeToFitVariables, &TreeDisplayPrefs::WideVars,
     true},
    {DialogRes::VariablesDisplayPage, Ctl::VariablesDisplayPage::ShowMarkovInformation,
     &TreeDisplayPrefs::ShowMarkovInfo, true},
    {DialogRes::TreeDisplayPage, Ctl::TreeDisplayPage::MinimizeEmptySpace, &TreeDisplayPrefs::PackTreeVert, true},
    {DialogRes::TreeDisplayPage, Ctl::TreeDisplayPage::AlignEndnodes, &TreeDisplayPrefs::AlignEndNodes, true},
    {DialogRes::TreeDisplayPage, Ctl::TreeDisplayPage::BranchLinesAtRightAngles, &TreeDisplayPrefs::BranchesAt90, true},
    {DialogRes::TreeDisplayPage, Ctl::TreeDisplayPage::HideCloneCopySubtrees, &TreeDisplayPrefs::HideCloneCopies, true},
    {DialogRes::PrintingOfATreePage, Ctl::PrintingOfATreePage::ShowPageBreaksInTreeWindow,
     &TreeDisplayPrefs::ShowPageBreaksInTree, false},
    {DialogRes::PrintingOfATreePage, Ctl::PrintingOfATreePage::ShowPageHeadersInTreeWindow,
     &TreeDisplayPrefs::ShowPageHeadersInTree, false},
    {DialogRes::PrintingOfATreePage, Ctl::PrintingOfATreePage::CenterInPage, &TreeDisplayPrefs::CenterTreeOnPage,
     false},
    {DialogRes::RollBackPage, Ctl::RollBackPage::DisplayProbabilitiesAsNumericEquivs,
     &TreeDisplayPrefs::ShowProbsAsNumericEquiv, false},
    {DialogRes::RollBackPage, Ctl::RollBackPage::DisplayEVAtTerminalAnd, &TreeDisplayPrefs::ShowEVatTermEtc, false},
};
constexpr int DisplayCheckCount = static_cast<int>(std::size(DisplayChecks));

// Check boxes of the tree's calculation record.
struct CalcCheck {
    int page;
    unsigned id;
    uint8_t TreeCalcPrefs::*key;
};
const CalcCheck CalcChecks[] = {
    {DialogRes::RollBackPage, Ctl::RollBackPage::FastRollBack, &TreeCalcPrefs::FastRollBack},
    {DialogRes::RiskPreferencesPage, Ctl::RiskPreferencesPage::UseRiskPreferenceFunction, &TreeCalcPrefs::UseUtility},
    {DialogRes::OtherCalcPrefsPage, Ctl::OtherCalcPrefsPage::CalculateComplementaryProbabilities,
     &TreeCalcPrefs::CalcComplementaryProbs},
    {DialogRes::OtherCalcPrefsPage, Ctl::OtherCalcPrefsPage::AllowTerminalNodeNameToActAs,
     &TreeCalcPrefs::AllowTermNodeNameAsPayoff},
    {DialogRes::OtherCalcPrefsPage, Ctl::OtherCalcPrefsPage::TerminateMarkovMonteCarlo,
     &TreeCalcPrefs::MarkovMonteFastTerm},
};
constexpr int CalcCheckCount = static_cast<int>(std::size(CalcChecks));

// Radio runs over a numbered key: value v in 0..count-1 checks first + v; any other value checks first + other,
// and is written back as other.
struct DisplayChoice {
    int page;
    unsigned first;
    int count;
    int other;
    int32_t TreeDisplayPrefs::*key;
    bool relayout;
};
const DisplayChoice DisplayChoices[] = {
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::Triangles, 3, 2, &TreeDisplayPrefs::TermNodeStyle, false},
    {DialogRes::VariablesDisplayPage, Ctl::VariablesDisplayPage::NoDifferently, 3, 2,
     &TreeDisplayPrefs::MarkNodesWithVars, true},
    {DialogRes::NotesArrowsPage, Ctl::NotesArrowsPage::BorderSolid, 3, 1, &TreeDisplayPrefs::NoteBoxBorderKey, false},
    {DialogRes::NotesArrowsPage, Ctl::NotesArrowsPage::ArrowheadSizeSmall, 3, 2, &TreeDisplayPrefs::ArrowHeadSize,
     false},
    {DialogRes::NotesArrowsPage, Ctl::NotesArrowsPage::LineStyleSolid, 3, 2, &TreeDisplayPrefs::ArrowLineStyleKey,
     false},
};
constexpr int DisplayChoiceCount = static_cast<int>(std::size(DisplayChoices));

int ChoiceId(int value, unsigned first, int count, int other)
{
    return static_cast<int>(first) + (value >= 0 && value < count ? value : other);
}

int ChoiceValue(int id, unsigned first, int count, int other)
{
    const int index = id - static_cast<int>(first);
    return index >= 0 && index < count ? index : other;
}

// A check box that enables another control while it is checked (or while unchecked); an exclusive pair
// also clears the control it disables.
struct CheckRule {
    unsigned check;
    unsigned dependent;
    bool whenChecked;
    bool exclusive;
};
const CheckRule CheckRules[] = {
    {Ctl::TerminalNodesPage::DisplayPayoffNames, Ctl::TerminalNodesPage::Boxed, true, false},
    {Ctl::TerminalNodesPage::AutomaticNodeNumbering, Ctl::TerminalNodesPage::NumberingTextEdit, true, false},
    {Ctl::TerminalNodesPage::ShowColumns, Ctl::TerminalNodesPage::SetColumns, true, false},
    {Ctl::NodeDisplayPage::HideAllNodeTexts, Ctl::NodeDisplayPage::HideProbabilitiesOnly, false, false},
    {Ctl::TreeDisplayPage::AlignEndnodes, Ctl::TreeDisplayPage::MinimizeEmptySpace, false, true},
    {Ctl::TreeDisplayPage::MinimizeEmptySpace, Ctl::TreeDisplayPage::AlignEndnodes, false, true},
    {Ctl::PrintingOfATreePage::ShowPageBreaksInTreeWindow, Ctl::PrintingOfATreePage::ShowPageHeadersInTreeWindow, true,
     false},
};

// What changes what roll back computes cannot change while the tree is rolled back.
const unsigned RolledBackLocked[] = {Ctl::CalculationMethodPage::MethodCombo,
                                     Ctl::CalculationMethodPage::PayoffCombo,
                                     Ctl::CalculationMethodPage::SecondPayoffCombo,
                                     Ctl::CalculationMethodPage::SetWeightings,
                                     Ctl::CalculationMethodPage::CEParams,
                                     Ctl::CalculationMethodPage::OptimalPathIsHigh,
                                     Ctl::CalculationMethodPage::OptimalPathIsLow,
                                     Ctl::RollBackPage::DisplayEVAtTerminalAnd,
                                     Ctl::RollBackPage::RollBackCalculatesExpectedValues,
                                     Ctl::RollBackPage::RollBackCalculatesPathProbabilities,
                                     Ctl::RollBackPage::RollBackCalculatesPayoffsOnly,
                                     Ctl::RollBackPage::RollBackCalculatesMaximin,
                                     Ctl::OtherCalcPrefsPage::AllowTerminalNodeNameToActAs};

FontRecord TreeDisplayPrefs::*const TreeFonts[4] = {&TreeDisplayPrefs::TreeFont, &TreeDisplayPrefs::ProbFont,
                                                    &TreeDisplayPrefs::EVFont, &TreeDisplayPrefs::VariablesFont};
// Font buttons and samples of the Fonts page, and the application's default fonts they become when saved.
const unsigned FontButtons[4] = {Ctl::FontsPage::NodeFont, Ctl::FontsPage::ProbFont, Ctl::FontsPage::EVFont,
                                 Ctl::FontsPage::VariablesFont};
const unsigned FontSamples[4] = {Ctl::FontsPage::NodeFontSample, Ctl::FontsPage::ProbFontSample,
                                 Ctl::FontsPage::EVFontSample, Ctl::FontsPage::VariablesFontSample};
const DefaultFontIndex DefaultFontOf[5] = {TreeFont, ProbFont, EVFont, VariablesFont, PageHeaderFont};
const char* const DefaultFontNames[5] = {"Tree", "Prob", "EV", "Variables", "PageHeader"};

const char* const MethodNames[] = {"Simple", "Cost-Effectiveness", "Benefit-Cost", "Multi-Attribute", nullptr};
const char* const PayoffNames[] = {"1", "2", "3", "4", nullptr};

// Optimal-path directions as the High/Low radio ids: 1 high, 0 low, anything else neither.
int PathId(int32_t path)
{
    if (path == 1)
        return Ctl::CalculationMethodPage::OptimalPathIsHigh;
    return path == 0 ? static_cast<int>(Ctl::CalculationMethodPage::OptimalPathIsLow) : 0;
}

int32_t PathValue(int id)
{
    return id == Ctl::CalculationMethodPage::OptimalPathIsLow ? 0 : 1;
}

} // namespace

// The working copy of a diagram's display preferences while the dialog runs, and the controls of the page
// shown.
struct DiagramPreferenceValues {
    int fixedSize = 0;
    float size[2] = {};
    int showHidden = 0;
    int printHidden = 0;
    int dotHidden = 0;
    int timeFlow = 0;
    int optimalPath = 0;
    int centerPrint = 0;
    int zoom = 100;
    FontRecord fonts[2];
    // What Cancel gives back: the conversion format is edited in place by its own dialog.
    NumericFormat formatBefore;

    std::unique_ptr<WindowDisplay> display;
    std::unique_ptr<FontSampleControl> samples[2];
    std::unique_ptr<NodeSizePreview> preview;
};

// The working copy of a tree's settings while the dialog runs, and the controls of the page shown.
struct TreePreferenceValues {
    int displayChecks[DisplayCheckCount] = {};
    int calcChecks[CalcCheckCount] = {};
    int choices[DisplayChoiceCount] = {};
    int addAbove = 0;
    zString numberingText;
    int branchesPerNode = 0;
    int zoom = 0;
    FontRecord fonts[4];

    int method = 0;  // the method list's choice, the method's number
    CalcMethodKind Method() const { return static_cast<CalcMethodKind>(method); }
    int currentPayoff = 0;
    int bcCost = 0;
    int bcBenefit = 0;
    int ceCost = 0;
    int ceEff = 0;
    int optPath[4] = {};
    int multiAttrOptPath = 0;
    int costEffOptPath = Ctl::CalculationMethodPage::OptimalPathIsLow;
    int benCostOptPath = Ctl::CalculationMethodPage::OptimalPathIsHigh;
    // The optimal path the High/Low pair edits now.
    int* currentOptPath = nullptr;
    int riskKind = 0;
    int rollBackKind = 0;

    ComboBoxCtrl* methodList = nullptr;
    ComboBoxCtrl* payoffList = nullptr;
    ComboBoxCtrl* secondList = nullptr;
    std::unique_ptr<WindowDisplay> display;
    std::unique_ptr<FontSampleControl> samples[4];

    int* DisplayCheck(unsigned id)
    {
        for (int i = 0; i < DisplayCheckCount; ++i)
            if (DisplayChecks[i].id == id)
                return &displayChecks[i];
        return nullptr;
    }
};

PreferencesDialog::PreferencesDialog() : HookedDialog(DialogRes::Preferences), pages_(ApplicationPages) { }

PreferencesDialog::PreferencesDialog(TreeWindow& tree)
    : HookedDialog(DialogRes::Preferences), pages_(TreePages), tree_(&tree),
      rolledBack_(tree.Document().IsRolledBack()), values_(std::make_unique<TreePreferenceValues>())
{
    values_->display = std::make_unique<WindowDisplay>(this);
}

PreferencesDialog::PreferencesDialog(InfluenceDiagramWindow& diagram)
    : HookedDialog(DialogRes::Preferences), pages_(DiagramPages), diagram_(&diagram),
      diagramValues_(std::make_unique<DiagramPreferenceValues>())
{
    diagramValues_->display = std::make_unique<WindowDisplay>(this);
}

PreferencesDialog::PreferencesDialog(GraphWindow& graph)
    : HookedDialog(DialogRes::Preferences), pages_(GraphPages), graph_(&graph), graphZoom_(graph.printZoom),
      graphCentre_(graph.centreOnPage)
{
}

PreferencesDialog::~PreferencesDialog() = default;

int PreferencesDialog::Run()
{
    PlacePages(PageCorner.x, PageCorner.y, PageCorner.x + PageSize.cx, PageCorner.y + PageSize.cy);
    firstShow_ = true;
    selected_ = pages_[0].pageId == 0 ? 1 : 0;
    shown_ = selected_ - 1;
    categories_ = ListBoxCtrl::FromTemplate(this, Ctl::Preferences::CategoryList);
    for (const PreferencesPage* page = pages_; page->label; ++page)
        categories_->AddChars(page->label);
    categories_->SetCurSel(selected_);
    categories_->OnSelChange(this, &PreferencesDialog::OnCategoryChange);
    CheckBoxCtrl* save = CheckBoxCtrl::FromTemplate(this, Ctl::Preferences::SaveSettings, &save_);
    if (!tree_ && !diagram_ && !graph_)
        save->Disable();
    LoadFromDocument();
    OnCategoryChange(nullptr);
    // The pages' own dialogs (number formats, weights, page header, cost-effectiveness limits, risk
    // functions) store into the tree as they close: Cancel takes all of that back.
    struct Kept {
        TreeDisplayPrefs display;
        TreeCalcPrefs calc;
        RiskPrefAssessment risk;
        CESensitivitySettings costEffectiveness;
        uint8_t modified;
    };
    std::optional<Kept> kept;
    if (tree_) {
        const TreeDocument& document = tree_->Document();
        kept.emplace(Kept{document.DisplayPrefs, document.CalcPrefs, document.RiskAssessment, document.CESettings,
                          document.Modified});
    }
    if (RunModal()) {
        Apply();
        if (save_ && tree_)
            SaveTreeSettings();
        if (save_ && diagram_)
            SavePreferences(diagram_->document.prefs);
        if (save_ && graph_) {
            WriteProfileInt("GraphPrefs", "PrintZoomFact", graphZoom_);
            WriteProfileInt("GraphPrefs", "CenterGraphOnPage", graphCentre_ != 0 ? 1 : 0);
        }
    } else if (diagram_) {
        diagram_->document.prefs.numberFormat = diagramValues_->formatBefore;
    } else if (kept) {
        TreeDocument& document = tree_->Document();
        document.DisplayPrefs = kept->display;
        document.CalcPrefs = kept->calc;
        document.RiskAssessment = kept->risk;
        document.CESettings = kept->costEffectiveness;
        document.Modified = kept->modified;
        // Results were measured in a number format that is gone again.
        if (subDialogAccepted_ && rolledBack_) {
            tree_->Redraw();
            InvalidateRect(tree_->Handle(), nullptr, TRUE);
        }
    }
    if (values_)
        values_->display.reset();
    if (diagramValues_)
        diagramValues_->display.reset();
    return Result();
}

long PreferencesDialog::OnCategoryChange(WindowEvent*)
{
    if (firstShow_) {
        firstShow_ = false;
    } else {
        selected_ = categories_->GetCurSel();
        if (selected_ == shown_)
            return 1;
        // A header is never selected: a key that moves onto one goes on to the page beyond it, so every page
        // can be reached from the keyboard; a click on a header leaves the page shown.
        const bool clicked = GetKeyState(VK_LBUTTON) < 0 || GetCapture() == categories_->Handle();
        if (pages_[selected_].pageId == 0 && !clicked) {
            const int step = selected_ > shown_ ? 1 : -1;
            const int count = categories_->GetCount();
            int next = selected_;
            while (next >= 0 && next < count && pages_[next].pageId == 0)
                next += step;
            if (next >= 0 && next < count) {
                selected_ = next;
                categories_->SetCurSel(selected_);
                InvalidateRect(categories_->Handle(), nullptr, TRUE);
            }
        }
    }
    const int32_t pageId = pages_[selected_].pageId;
    if (pageId == 0 || !ShowPage(pageId)) {
        selected_ = shown_;
        categories_->SetCurSel(shown_);
        // Set back inside the list's own click, the selection would leave the focus mark on the line
        // clicked: the list repaints whole.
        InvalidateRect(categories_->Handle(), nullptr, TRUE);
    } else {
        shown_ = selected_;
    }
    if (categories_->Handle())
        SetFocus(categories_->Handle());
    return 1;
}

HWND PreferencesDialog::Item(unsigned id) const
{
    return Page() ? Page()->Control(id) : nullptr;
}

void PreferencesDialog::EnableItem(unsigned id, bool enable) const
{
    if (Page())
        Page()->EnableItem(id, enable);
}

void PreferencesDialog::ShowItem(unsigned id, bool show) const
{
    if (Page())
        Page()->ShowItem(id, show);
}

void PreferencesDialog::BuildPage()
{
    if (PageId() == static_cast<int>(DialogRes::GlobalPreferencesPage)) {
        CheckBoxCtrl::FromTemplate(Page(), GlobalPreferencesPageIds::ExportBitmapMetafileInBlackWhite,
                                   &exportBlackAndWhite_);
        CheckBoxCtrl::FromTemplate(Page(), GlobalPreferencesPageIds::AllowTrueTypeFontsOnly, &trueTypeOnly_);
        CheckBoxCtrl::FromTemplate(Page(), GlobalPreferencesPageIds::UsePrinterForSizing, &usePrinterForSizing_);
    } else if (tree_) {
        BuildTreePage();
    } else if (diagram_) {
        BuildDiagramPage();
    } else if (graph_ && PageId() == static_cast<int>(DialogRes::PrintingOfAGraphPage)) {
        CheckBoxCtrl::FromTemplate(Page(), Ctl::PrintingOfAGraphPage::CenterInPage, &graphCentre_);
        AddPageIntegerField(Ctl::PrintingOfAGraphPage::PrintingZoomFactorEdit, &graphZoom_, 5, 250);
    }
}

void PreferencesDialog::BuildDiagramPage()
{
    DiagramPreferenceValues& v = *diagramValues_;
    DialogPage* page = Page();
    switch (PageId()) {
    case DialogRes::TreeConversionPage:
        new RadioGroup(page, Ctl::TreeConversionPage::TimeFlowLeftToRight, Ctl::TreeConversionPage::TimeFlowTopToBottom,
                       &v.timeFlow, 0);
        new RadioGroup(page, Ctl::TreeConversionPage::OptimalPathHigh, Ctl::TreeConversionPage::OptimalPathLow,
                       &v.optimalPath, 0);
        ShowConversionNumericSample();
        break;
    case DialogRes::NodeSizePage:
        CheckBoxCtrl::FromTemplate(page, Ctl::NodeSizePage::FixedNodeSize, &v.fixedSize);
        v.preview = std::make_unique<NodeSizePreview>(page, Ctl::NodeSizePage::TextSizeArea, v.size, v.fixedSize != 0);
        ShowItem(Ctl::NodeSizePage::TextSizeText, v.fixedSize != 0);
        break;
    case DialogRes::ArcPrefsPage:
        CheckBoxCtrl::FromTemplate(page, Ctl::ArcPrefsPage::ShowInWindow, &v.showHidden);
        CheckBoxCtrl::FromTemplate(page, Ctl::ArcPrefsPage::Print, &v.printHidden);
        CheckBoxCtrl::FromTemplate(page, Ctl::ArcPrefsPage::Dotted, &v.dotHidden);
        break;
    case DialogRes::InfluenceDiagramFontsPage:
        v.samples[0] = std::make_unique<FontSampleControl>(page, Ctl::InfluenceDiagramFontsPage::DefaultFont, &v.fonts[0],
                                                           Ctl::InfluenceDiagramFontsPage::Text4112, v.display.get());
        v.samples[1] = std::make_unique<FontSampleControl>(page, Ctl::InfluenceDiagramFontsPage::ArcFont, &v.fonts[1],
                                                           Ctl::InfluenceDiagramFontsPage::Text4114, v.display.get());
        break;
    case DialogRes::PrintingOfAnInfluenceDiagramPage:
        CheckBoxCtrl::FromTemplate(page, Ctl::PrintingOfAnInfluenceDiagramPage::CenterInPage, &v.centerPrint);
        AddPageIntegerField(Ctl::PrintingOfAnInfluenceDiagramPage::PrintingZoomFactorEdit, &v.zoom, 5, 250);
        break;
    default:
        break;
    }
}

void PreferencesDialog::ShowConversionNumericSample()
{
    zString text;
    FormatNumber(diagram_->document.prefs.numberFormat, 1234567.8901234, text, true, true, -100);
    if (Page())
        Page()->SetItemText(Ctl::TreeConversionPage::NumericFormatText, text.Text());
}

void PreferencesDialog::BuildTreePage()
{
    TreePreferenceValues& v = *values_;
    DialogPage* page = Page();
    const int id = PageId();
    for (int i = 0; i < DisplayCheckCount; ++i)
        if (DisplayChecks[i].page == id)
            CheckBoxCtrl::FromTemplate(page, DisplayChecks[i].id, &v.displayChecks[i]);
    for (int i = 0; i < CalcCheckCount; ++i)
        if (CalcChecks[i].page == id)
            CheckBoxCtrl::FromTemplate(page, CalcChecks[i].id, &v.calcChecks[i]);
    for (int i = 0; i < DisplayChoiceCount; ++i) {
        const DisplayChoice& choice = DisplayChoices[i];
        if (choice.page != id)
            continue;
        auto* group = new RadioGroup(page, choice.first, choice.first + choice.count - 1, &v.choices[i], 0);
        if (choice.first == Ctl::VariablesDisplayPage::NoDifferently)
            group->SetNotification(this, &PreferencesDialog::OnVariableMarkingChange);
    }
    switch (id) {
    case DialogRes::CalculationMethodPage:
        BuildMethodPage();
        break;
    case DialogRes::RollBackPage:
        new RadioGroup(page, Ctl::RollBackPage::RollBackCalculatesExpectedValues,
                       Ctl::RollBackPage::RollBackCalculatesExpectedValues + 3, &v.rollBackKind, 0);
        break;
    case DialogRes::RiskPreferencesPage: {
        new RadioGroup(page, Ctl::RiskPreferencesPage::ConstantRiskAversion, Ctl::RiskPreferencesPage::NonConstantRisk,
                       &v.riskKind, 0);
        const RiskPrefAssessment& risk = tree_->Document().RiskAssessment;
        const bool locked = rolledBack_ || v.Method() != PayoffMethod;
        if (!risk.pointsAssessed)
            EnableItem(Ctl::RiskPreferencesPage::NonConstantRisk, false);
        if (!risk.constantAssessed)
            EnableItem(Ctl::RiskPreferencesPage::ConstantRiskAversion, false);
        if (locked || (!risk.pointsAssessed && !risk.constantAssessed))
            for (unsigned control : {4070u, 4071u, 4072u})
                EnableItem(control, false);
        if (locked) {
            EnableItem(Ctl::RiskPreferencesPage::EnterConstantRiskAversion, false);
            EnableItem(Ctl::RiskPreferencesPage::EnterNonConstantRisk, false);
        }
        break;
    }
    case DialogRes::TerminalNodesPage:
        EditCtrl::FromTemplate(page, Ctl::TerminalNodesPage::NumberingTextEdit, &v.numberingText,
                               CtrlWindowCL::MayBeEmpty)
            ->Load();
        break;
    case DialogRes::VariablesDisplayPage:
        OnVariableMarkingChange(nullptr);
        break;
    case DialogRes::TreeDisplayPage:
        AddPageIntegerField(Ctl::TreeDisplayPage::DefaultBranchesPerNodeEdit, &v.branchesPerNode, 1, 20);
        new RadioGroup(page, Ctl::TreeDisplayPage::AddBranchesAtTop, Ctl::TreeDisplayPage::AddBranchesAtBottom,
                       &v.addAbove, 0);
        break;
    case DialogRes::FontsPage:
        for (int i = 0; i < 4; ++i)
            v.samples[i] = std::make_unique<FontSampleControl>(page, FontButtons[i], &v.fonts[i], FontSamples[i],
                                                               v.display.get());
        break;
    case DialogRes::PrintingOfATreePage:
        AddPageIntegerField(Ctl::PrintingOfATreePage::PrintingZoomFactorEdit, &v.zoom, 5, 250);
        break;
    default:
        break;
    }
    for (const CheckRule& rule : CheckRules) {
        HWND check = Item(rule.check);
        if (check && IsWindowEnabled(check))
            EnableItem(rule.dependent, (*v.DisplayCheck(rule.check) != 0) == rule.whenChecked);
    }
    if (rolledBack_)
        for (unsigned control : RolledBackLocked)
            EnableItem(control, false);
}

void PreferencesDialog::BuildMethodPage()
{
    TreePreferenceValues& v = *values_;
    v.methodList = ComboIndexCtrl::FromTemplate(Page(), Ctl::CalculationMethodPage::MethodCombo, &v.method, 0);
    v.methodList->AddStrings(MethodNames);
    v.methodList->Load();
    v.methodList->OnSelChange(this, &PreferencesDialog::OnMethodChange);
    v.payoffList = ComboIndexCtrl::FromTemplate(Page(), Ctl::CalculationMethodPage::PayoffCombo, &v.currentPayoff, 0);
    v.secondList = ComboIndexCtrl::FromTemplate(Page(), Ctl::CalculationMethodPage::SecondPayoffCombo, &v.ceEff, 0);
    for (ComboBoxCtrl* list : {v.payoffList, v.secondList}) {
        list->AddStrings(PayoffNames);
        list->Load();
        list->OnSelChange(this, &PreferencesDialog::OnPayoffChange);
    }
    Page()->SetItemText(Ctl::CalculationMethodPage::PayoffNote, "for \"Cost\"");
    OnMethodChange(nullptr);
}

void PreferencesDialog::StoreMethodLists()
{
    for (ComboBoxCtrl* list : {values_->methodList, values_->payoffList, values_->secondList})
        if (list && list->Handle() && IsWindowEnabled(list->Handle()))
            list->Store();
}

void PreferencesDialog::CheckOptimalPath(bool checked)
{
    const int* path = values_->currentOptPath;
    if (path && *path != 0 && Page())
        Page()->CheckItem(static_cast<unsigned>(*path), checked);
}

// Shows the payoff lists and the optimal-path choice of the method chosen, bound to that method's values.
long PreferencesDialog::OnMethodChange(WindowEvent*)
{
    TreePreferenceValues& v = *values_;
    StoreMethodLists();
    CheckOptimalPath(false);
    const bool ratio = v.Method() == CostEffectivenessMethod || v.Method() == BenefitCostMethod;
    if (v.Method() == CostEffectivenessMethod) {
        v.currentOptPath = &v.costEffOptPath;
        v.payoffList->SetIndexBuffer(&v.ceCost, 0);
        v.secondList->SetIndexBuffer(&v.ceEff, 0);
        Page()->SetItemText(Ctl::CalculationMethodPage::SecondPayoffNote, "for \"Effectiveness\"");
    } else if (v.Method() == BenefitCostMethod) {
        v.currentOptPath = &v.benCostOptPath;
        v.payoffList->SetIndexBuffer(&v.bcCost, 0);
        v.secondList->SetIndexBuffer(&v.bcBenefit, 0);
        Page()->SetItemText(Ctl::CalculationMethodPage::SecondPayoffNote, "for \"Benefit\"");
    } else {
        v.currentOptPath = v.Method() == MultiAttributeMethod ? &v.multiAttrOptPath : &v.optPath[v.currentPayoff & 3];
        v.payoffList->SetIndexBuffer(&v.currentPayoff, 0);
        // Hidden, and showing what it is bound to, so that storing it changes nothing.
        v.secondList->SetIndexBuffer(&v.ceCost, 0);
    }
    const bool simple = v.Method() == PayoffMethod;
    ShowItem(Ctl::CalculationMethodPage::PayoffText, ratio || simple);
    ShowItem(Ctl::CalculationMethodPage::PayoffCombo, ratio || simple);
    for (unsigned control : {4078u, 4067u, 4068u, static_cast<unsigned>(Ctl::CalculationMethodPage::SecondPayoffCombo)})
        ShowItem(control, ratio);
    v.payoffList->Load();
    v.secondList->Load();
    for (unsigned control : {4138u, static_cast<unsigned>(Ctl::CalculationMethodPage::OptimalPathIsHigh),
                             static_cast<unsigned>(Ctl::CalculationMethodPage::OptimalPathIsLow)})
        ShowItem(control, !ratio);
    if (!ratio) {
        EnableItem(Ctl::CalculationMethodPage::OptimalPathIsHigh, !rolledBack_);
        EnableItem(Ctl::CalculationMethodPage::OptimalPathIsLow, !rolledBack_);
    }
    ShowItem(Ctl::CalculationMethodPage::CEParams, v.Method() == CostEffectivenessMethod);
    ShowItem(Ctl::CalculationMethodPage::SetWeightings, v.Method() == MultiAttributeMethod);
    CheckOptimalPath(true);
    ShowNumericSample();
    return 1;
}

long PreferencesDialog::OnPayoffChange(WindowEvent*)
{
    TreePreferenceValues& v = *values_;
    StoreMethodLists();
    if (v.Method() == PayoffMethod) {
        CheckOptimalPath(false);
        v.currentOptPath = &v.optPath[v.currentPayoff & 3];
        CheckOptimalPath(true);
    }
    ShowNumericSample();
    return 1;
}

long PreferencesDialog::OnVariableMarkingChange(WindowEvent*)
{
    const bool full = Page() && Page()->IsItemChecked(Ctl::VariablesDisplayPage::FullDefinitionsInTree);
    for (unsigned control : {4028u, 4057u}) {
        if (!full && Page())
            Page()->CheckItem(control, false);
        EnableItem(control, full);
    }
    return 1;
}

void PreferencesDialog::ShowNumericSample()
{
    TreeCalcPrefs& calc = tree_->Document().CalcPrefs;
    const CalcMethodKind method = values_->Method();
    const NumericFormat& format = method == CostEffectivenessMethod ? calc.CostEffFormat
                                  : method == BenefitCostMethod     ? calc.BenCostFormat
                                  : method == MultiAttributeMethod  ? calc.MultiAttrFormat
                                                                    : calc.PayoffFormat(values_->currentPayoff);
    zString text;
    FormatNumber(format, 1234567.8901234, text, true, true, DigitsOfFormat);
    if (Page())
        Page()->SetItemText(Ctl::CalculationMethodPage::NumericFormatText, text.Text());
}

int PreferencesDialog::ValidatePage()
{
    if (!tree_ || PageId() != static_cast<int>(DialogRes::CalculationMethodPage))
        return 1;
    const TreePreferenceValues& v = *values_;
    if ((v.Method() == CostEffectivenessMethod && v.ceCost == v.ceEff) ||
        (v.Method() == BenefitCostMethod && v.bcCost == v.bcBenefit)) {
        ShowInfoBox(nullptr, "The two payoffs must be different.", 0);
        return 0;
    }
    return 1;
}

void PreferencesDialog::ReleasePage()
{
    if (diagram_) {
        diagramValues_->preview.reset();
        for (auto& sample : diagramValues_->samples)
            sample.reset();
    }
    if (!tree_)
        return;
    values_->methodList = values_->payoffList = values_->secondList = nullptr;
    for (auto& sample : values_->samples)
        sample.reset();
}

long PreferencesDialog::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (diagram_ && Page() && code == BN_CLICKED) {
        DiagramPreferenceValues& v = *diagramValues_;
        if (id == Ctl::NodeSizePage::FixedNodeSize && v.preview) {
            v.preview->ToggleFixed();
            v.fixedSize = Page()->IsItemChecked(id) ? 1 : 0;
            ShowItem(Ctl::NodeSizePage::TextSizeText, v.fixedSize != 0);
            return 1;
        }
        if (id == Ctl::TreeConversionPage::Set) {
            RunNumericFormatDialog(diagram_->document.prefs.numberFormat, 0, -1);
            ShowConversionNumericSample();
            return 1;
        }
    }
    if (!tree_ || !Page() || code != BN_CLICKED)
        return HookedDialog::OnCommandId(id, code, control);
    TreePreferenceValues& v = *values_;
    TreeDocument& document = tree_->Document();
    TreeCalcPrefs& calc = document.CalcPrefs;
    for (const CheckRule& rule : CheckRules) {
        if (rule.check != id)
            continue;
        int* checked = v.DisplayCheck(id);
        *checked = Page()->IsItemChecked(id) ? 1 : 0;
        const bool enable = (*checked != 0) == rule.whenChecked;
        EnableItem(rule.dependent, enable);
        if (rule.exclusive && !enable) {
            Page()->CheckItem(rule.dependent, false);
            *v.DisplayCheck(rule.dependent) = 0;
        }
        return 1;
    }
    switch (id) {
    case Ctl::CalculationMethodPage::OptimalPathIsHigh:
    case Ctl::CalculationMethodPage::OptimalPathIsLow:
        CheckOptimalPath(false);
        if (v.currentOptPath)
            *v.currentOptPath = static_cast<int>(id);
        CheckOptimalPath(true);
        return 1;
    case Ctl::CalculationMethodPage::SetNumericFormat:
        StoreMethodLists();
        if (v.Method() == CostEffectivenessMethod)
            subDialogAccepted_ |= RunNumericFormatPrefsDialog(calc.CostEffFormat, calc.PayoffFormat(v.ceCost),
                                                              calc.PayoffFormat(v.ceEff), v.ceCost, v.ceEff) != 0;
        else
            subDialogAccepted_ |=
                RunNumericFormatDialog(calc.CurrentNumericFormat(), v.method, v.payoffList->GetCurSel()) != 0;
        ShowNumericSample();
        return 1;
    case Ctl::CalculationMethodPage::SetWeightings:
        OpenMultiAttributeWeighting(tree_);
        return 1;
    case Ctl::TerminalNodesPage::SetColumns:
        RunColumnsDialog(*tree_);
        return 1;
    case Ctl::PrintingOfATreePage::PageHeader:
        tree_->EditPageHeader();
        return 1;
    case Ctl::CalculationMethodPage::CEParams:
        OpenCEParameters(tree_);
        return 1;
    case Ctl::RiskPreferencesPage::EnterConstantRiskAversion:
    case Ctl::RiskPreferencesPage::EnterNonConstantRisk: {
        const int done = id == Ctl::RiskPreferencesPage::EnterConstantRiskAversion
                             ? AssessConstantRiskAversion(&document)
                             : EnterRiskPreference(&document);
        if (done) {
            tree_->SetModified(1);
            const RiskPrefAssessment& risk = document.RiskAssessment;
            EnableItem(Ctl::RiskPreferencesPage::ConstantRiskAversion, risk.constantAssessed != 0);
            EnableItem(Ctl::RiskPreferencesPage::NonConstantRisk, risk.pointsAssessed != 0);
            EnableItem(Ctl::RiskPreferencesPage::UseRiskPreferenceFunction, true);
        }
        return 1;
    }
    default:
        return HookedDialog::OnCommandId(id, code, control);
    }
}

void PreferencesDialog::LoadFromDocument()
{
    exportBlackAndWhite_ = ThePreferences().exportBlackAndWhite ? 1 : 0;
    trueTypeOnly_ = ThePreferences().trueTypeFontsOnly ? 1 : 0;
    usePrinterForSizing_ = MeasuringOnScreen() ? 0 : 1;
    if (diagram_) {
        DiagramPreferenceValues& v = *diagramValues_;
        const InfDiagPrefs& prefs = diagram_->document.prefs;
        v.fixedSize = prefs.fixedSize;
        v.size[0] = prefs.sizeH;
        v.size[1] = prefs.sizeV;
        v.showHidden = prefs.showHidArcs;
        v.printHidden = prefs.printHidArcs;
        v.dotHidden = prefs.dotHidArcs;
        v.timeFlow = static_cast<int>(prefs.verticalInf == 0 ? Ctl::TreeConversionPage::TimeFlowLeftToRight
                                                             : Ctl::TreeConversionPage::TimeFlowTopToBottom);
        v.optimalPath = static_cast<int>(prefs.optHigh != 0 ? Ctl::TreeConversionPage::OptimalPathHigh
                                                            : Ctl::TreeConversionPage::OptimalPathLow);
        v.centerPrint = prefs.centerPrint;
        v.zoom = diagram_->document.diagram.printFactor;
        v.fonts[0] = prefs.nodeFont;
        v.fonts[1] = prefs.arcFont;
        v.formatBefore = prefs.numberFormat;
    }
    if (!tree_)
        return;
    TreePreferenceValues& v = *values_;
    const TreeDocument& document = tree_->Document();
    const TreeDisplayPrefs& display = document.DisplayPrefs;
    const TreeCalcPrefs& calc = document.CalcPrefs;
    for (int i = 0; i < DisplayCheckCount; ++i)
        v.displayChecks[i] = display.*DisplayChecks[i].key;
    for (int i = 0; i < CalcCheckCount; ++i)
        v.calcChecks[i] = calc.*CalcChecks[i].key;
    for (int i = 0; i < DisplayChoiceCount; ++i) {
        const DisplayChoice& choice = DisplayChoices[i];
        v.choices[i] = ChoiceId(display.*choice.key, choice.first, choice.count, choice.other);
    }
    v.addAbove =
        display.AddAbove != 0 ? Ctl::TreeDisplayPage::AddBranchesAtTop : Ctl::TreeDisplayPage::AddBranchesAtBottom;
    v.numberingText = display.TermNumString.IsEmpty() ? zString("{^}") : display.TermNumString;
    v.branchesPerNode = display.BranchesPerNode;
    v.zoom = display.PrintZoomFact;
    for (int i = 0; i < 4; ++i)
        v.fonts[i] = display.*TreeFonts[i];
    v.method = static_cast<int>(calc.CalcMethod);
    v.currentPayoff = calc.CurrentPayoff;
    v.bcCost = calc.BCCostPayoff;
    v.bcBenefit = calc.BCBenefitPayoff;
    v.ceCost = calc.CECostPayoff;
    v.ceEff = calc.CEEffPayoff;
    for (int i = 0; i < 4; ++i)
        v.optPath[i] = PathId(calc.OptPath[i]);
    v.multiAttrOptPath = PathId(calc.MultiAttrOptPath);
    const RiskPrefAssessment& risk = document.RiskAssessment;
    v.riskKind = risk.type == 1 || !risk.pointsAssessed ? Ctl::RiskPreferencesPage::ConstantRiskAversion
                                                        : Ctl::RiskPreferencesPage::NonConstantRisk;
    v.rollBackKind = ChoiceId(calc.RollBackCalculatesKey, Ctl::RollBackPage::RollBackCalculatesExpectedValues, 4, 0);
}

// The tree's part first (display, then calculation), then the application's settings, which take effect and
// are stored at once whether or not "Sa&ve settings" is checked.
void PreferencesDialog::Apply()
{
    if (tree_) {
        ApplyTreeDisplay();
        ApplyTreeCalculation();
    }
    if (diagram_)
        ApplyDiagram();
    ThePreferences().exportBlackAndWhite = exportBlackAndWhite_ != 0;
    ThePreferences().trueTypeFontsOnly = trueTypeOnly_ != 0;
    const int useScreen = usePrinterForSizing_ ? 0 : 1;
    SetMeasuringOnScreen(useScreen != 0);
    WriteProfileInt("General", "ExportBW", exportBlackAndWhite_ ? 1 : 0);
    WriteProfileInt("General", "TrueTypeOnly", trueTypeOnly_ ? 1 : 0);
    WriteProfileInt("General", "UseScreenForSizing", useScreen);
    if (graph_) {
        graph_->printZoom = static_cast<uint8_t>(graphZoom_);
        graph_->centreOnPage = static_cast<uint8_t>(graphCentre_ != 0 ? 1 : 0);
    }
}

void PreferencesDialog::ApplyDiagram()
{
    const DiagramPreferenceValues& v = *diagramValues_;
    InfDiagPrefs& prefs = diagram_->document.prefs;
    prefs.fixedSize = static_cast<uint8_t>(v.fixedSize);
    prefs.showHidArcs = static_cast<uint8_t>(v.showHidden);
    prefs.printHidArcs = static_cast<uint8_t>(v.printHidden);
    prefs.dotHidArcs = static_cast<uint8_t>(v.dotHidden);
    prefs.sizeH = v.size[0];
    prefs.sizeV = v.size[1];
    prefs.nodeFont = v.fonts[0];
    prefs.arcFont = v.fonts[1];
    diagram_->document.diagram.printFactor = static_cast<int16_t>(v.zoom);
    prefs.verticalInf = v.timeFlow == static_cast<int>(Ctl::TreeConversionPage::TimeFlowLeftToRight) ? 0 : 1;
    prefs.optHigh = v.optimalPath == static_cast<int>(Ctl::TreeConversionPage::OptimalPathHigh) ? 1 : 0;
    prefs.centerPrint = static_cast<uint8_t>(v.centerPrint);
}

void PreferencesDialog::ApplyTreeDisplay()
{
    const TreePreferenceValues& v = *values_;
    TreeDisplayPrefs& display = tree_->Document().DisplayPrefs;
    display.AddAbove = v.addAbove == Ctl::TreeDisplayPage::AddBranchesAtBottom ? 0 : 1;
    for (int i = 0; i < DisplayCheckCount; ++i) {
        uint8_t& key = display.*DisplayChecks[i].key;
        const auto value = static_cast<uint8_t>(v.displayChecks[i]);
        if (DisplayChecks[i].relayout && key != value)
            relayout_ = 1;
        key = value;
    }
    for (int i = 0; i < DisplayChoiceCount; ++i) {
        const DisplayChoice& choice = DisplayChoices[i];
        int32_t& key = display.*choice.key;
        const int32_t value = ChoiceValue(v.choices[i], choice.first, choice.count, choice.other);
        if (choice.relayout && key != value)
            relayout_ = 1;
        key = value;
    }
    display.TermNumString = v.numberingText;
    display.BranchesPerNode = static_cast<uint8_t>(v.branchesPerNode);
    display.PrintZoomFact = static_cast<uint8_t>(v.zoom);
    for (int i = 0; i < 4; ++i) {
        FontRecord& font = display.*TreeFonts[i];
        if (!(font == v.fonts[i]))
            relayout_ = 1;
        font = v.fonts[i];
    }
}

void PreferencesDialog::ApplyTreeCalculation()
{
    const TreePreferenceValues& v = *values_;
    TreeDocument& document = tree_->Document();
    const TreeDisplayPrefs& display = document.DisplayPrefs;
    TreeCalcPrefs& calc = document.CalcPrefs;
    // Payoff names and variable marks show the payoffs the method uses: a change moves them.
    const bool payoffsShown = display.MarkNodesWithVars != 0 || display.AlwaysShowPayoffs != 0;
    if (payoffsShown && (calc.CalcMethod != v.Method() || calc.CurrentPayoff != v.currentPayoff ||
                         calc.BCCostPayoff != v.bcCost || calc.BCBenefitPayoff != v.bcBenefit ||
                         calc.CECostPayoff != v.ceCost || calc.CEEffPayoff != v.ceEff))
        relayout_ = 1;
    calc.CalcMethod = v.Method();
    calc.CurrentPayoff = static_cast<int8_t>(v.currentPayoff);
    calc.BCCostPayoff = static_cast<int8_t>(v.bcCost);
    calc.BCBenefitPayoff = static_cast<int8_t>(v.bcBenefit);
    calc.CECostPayoff = static_cast<int8_t>(v.ceCost);
    calc.CEEffPayoff = static_cast<int8_t>(v.ceEff);
    for (int i = 0; i < CalcCheckCount; ++i)
        calc.*CalcChecks[i].key = static_cast<uint8_t>(v.calcChecks[i]);
    // Only a function that has been assessed becomes the tree's: a kind never entered has no values.
    RiskPrefAssessment& risk = document.RiskAssessment;
    if (v.riskKind == Ctl::RiskPreferencesPage::ConstantRiskAversion && risk.constantAssessed)
        risk.type = 1;
    else if (v.riskKind == Ctl::RiskPreferencesPage::NonConstantRisk && risk.pointsAssessed)
        risk.type = 2;
    calc.RollBackCalculatesKey = ChoiceValue(v.rollBackKind, Ctl::RollBackPage::RollBackCalculatesExpectedValues, 4, 0);
    for (int i = 0; i < 4; ++i)
        calc.OptPath[i] = PathValue(v.optPath[i]);
    calc.MultiAttrOptPath = PathValue(v.multiAttrOptPath);
    calc.CostEffOptPath = PathValue(v.costEffOptPath);
    calc.BenCostOptPath = PathValue(v.benCostOptPath);
}

// "Sa&ve settings": the tree's records become the saved preferences, and its fonts the default fonts.
void PreferencesDialog::SaveTreeSettings()
{
    TreeDisplayPrefs& display = tree_->Document().DisplayPrefs;
    SavePreferences(display);
    SavePreferences(tree_->Document().CalcPrefs);
    const FontRecord* fonts[5] = {&display.TreeFont, &display.ProbFont, &display.EVFont, &display.VariablesFont,
                                  &display.PageHeaderFont};
    for (int i = 0; i < 5; ++i) {
        if (FontRecord* preference = TheShell().DefaultFont(DefaultFontOf[i])) {
            *preference = *fonts[i];
            SaveFontPreference(*preference, DefaultFontNames[i]);
        }
    }
}
