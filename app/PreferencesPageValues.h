#pragma once
// The Preferences dialog's working copies of the settings while it runs, shared by the files of its frame and
// its pages, and the tables of the tree's check boxes and radio runs those copies are sized by.

#include "widgets/FontSampleControl.h"
#include "dialogs/NodeSizePreview.h"
#include "foundation/FontRecord.h"
#include "foundation/NumericFormat.h"
#include "foundation/zString.h"
#include "framework/draw/WindowDisplay.h"
#include "model/TreeCalcPrefs.h"
#include "model/TreeDisplayPrefs.h"

#include "CommandIds.h"

#include <cstdint>
#include <iterator>
#include <memory>

class ComboBoxCtrl;

// Check boxes of the tree's display record: page, control, key, and whether a change makes the layout stale.
struct DisplayCheck {
    int page;
    unsigned id;
    uint8_t TreeDisplayPrefs::*key;
    bool relayout;
};
inline constexpr DisplayCheck DisplayChecks[] = {
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::DisplayPayoffNames, &TreeDisplayPrefs::AlwaysShowPayoffs,
     true},
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::Boxed, &TreeDisplayPrefs::BoxPayoffs, false},
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::AutomaticNodeNumbering,
     &TreeDisplayPrefs::ShowTermNodeNumbers, true},
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
inline constexpr int DisplayCheckCount = static_cast<int>(std::size(DisplayChecks));

// Check boxes of the tree's calculation record.
struct CalcCheck {
    int page;
    unsigned id;
    uint8_t TreeCalcPrefs::*key;
};
inline constexpr CalcCheck CalcChecks[] = {
    {DialogRes::RollBackPage, Ctl::RollBackPage::FastRollBack, &TreeCalcPrefs::FastRollBack},
    {DialogRes::RiskPreferencesPage, Ctl::RiskPreferencesPage::UseRiskPreferenceFunction, &TreeCalcPrefs::UseUtility},
    {DialogRes::OtherCalcPrefsPage, Ctl::OtherCalcPrefsPage::CalculateComplementaryProbabilities,
     &TreeCalcPrefs::CalcComplementaryProbs},
    {DialogRes::OtherCalcPrefsPage, Ctl::OtherCalcPrefsPage::AllowTerminalNodeNameToActAs,
     &TreeCalcPrefs::AllowTermNodeNameAsPayoff},
    {DialogRes::OtherCalcPrefsPage, Ctl::OtherCalcPrefsPage::TerminateMarkovMonteCarlo,
     &TreeCalcPrefs::MarkovMonteFastTerm},
};
inline constexpr int CalcCheckCount = static_cast<int>(std::size(CalcChecks));

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
inline constexpr DisplayChoice DisplayChoices[] = {
    {DialogRes::TerminalNodesPage, Ctl::TerminalNodesPage::Triangles, 3, 2, &TreeDisplayPrefs::TermNodeStyle, false},
    {DialogRes::VariablesDisplayPage, Ctl::VariablesDisplayPage::NoDifferently, 3, 2,
     &TreeDisplayPrefs::MarkNodesWithVars, true},
    {DialogRes::NotesArrowsPage, Ctl::NotesArrowsPage::BorderSolid, 3, 1, &TreeDisplayPrefs::NoteBoxBorderKey, false},
    {DialogRes::NotesArrowsPage, Ctl::NotesArrowsPage::ArrowheadSizeSmall, 3, 2, &TreeDisplayPrefs::ArrowHeadSize,
     false},
    {DialogRes::NotesArrowsPage, Ctl::NotesArrowsPage::LineStyleSolid, 3, 2, &TreeDisplayPrefs::ArrowLineStyleKey,
     false},
};
inline constexpr int DisplayChoiceCount = static_cast<int>(std::size(DisplayChoices));

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
