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
#include "app/PreferencesPageValues.h"
#include "foundation/PreferenceRecord.h"
#include "foundation/PreferencesStore.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/draw/MeasuringDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "graph/GraphWindow.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/TreeDocument.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <cstdint>
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
} // namespace

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
    // The list tells of a change a click made after the button is up: what came last, a press or a key, says
    // how the change was made.
    for (const UINT input : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_KEYDOWN})
        categories_->AddMessageHandler(this, &PreferencesDialog::OnCategoryInput, input);
    CheckBoxCtrl* save = CheckBoxCtrl::FromTemplate(this, Ctl::Preferences::SaveSettings, &save_);
    if (!tree_ && !diagram_ && !graph_)
        save->Disable();
    LoadFromDocument();
    OnCategoryChange(nullptr);
    // The pages' own dialogs (number formats, weights, page header, cost-effectiveness limits, risk
    // functions, result columns) store into the tree as they close: Cancel takes all of that back.
    struct Kept {
        TreeDisplayPrefs display;
        TreeCalcPrefs calc;
        RiskPrefAssessment risk;
        CESensitivitySettings costEffectiveness;
        uint8_t modified;
    };
    std::optional<Kept> kept;
    DisplayColumnList keptColumns(4, true);
    if (tree_) {
        const TreeDocument& document = tree_->Document();
        kept.emplace(Kept{document.DisplayPrefs, document.CalcPrefs, document.RiskAssessment, document.CESettings,
                          document.Modified});
        keptColumns.Copy(document.RollBackColumns, true);
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
        document.RollBackColumns.DeleteAll();
        document.RollBackColumns.Copy(keptColumns, true);
        // Through the window, so that the frame's Save follows.
        tree_->SetModified(kept->modified);
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

long PreferencesDialog::OnCategoryInput(WindowEvent* event)
{
    categoryClicked_ = event->message != WM_KEYDOWN;
    return 0;
}

long PreferencesDialog::OnCategoryChange(WindowEvent*)
{
    if (firstShow_) {
        firstShow_ = false;
    } else {
        selected_ = categories_->GetCurSel();
        if (selected_ == shown_)
            return 1;
        // A header is never selected: a key that moves onto one goes on to the page beyond it, or back to the
        // nearest page when none is beyond (Home onto the first header), so every page can be reached from the
        // keyboard; a click on a header leaves the page shown.
        const bool clicked = categoryClicked_ || GetKeyState(VK_LBUTTON) < 0;
        if (pages_[selected_].pageId == 0 && !clicked) {
            const int count = categories_->GetCount();
            const auto pageFrom = [&](int step) {
                int next = selected_;
                while (next >= 0 && next < count && pages_[next].pageId == 0)
                    next += step;
                return next;
            };
            const int step = selected_ > shown_ ? 1 : -1;
            int next = pageFrom(step);
            if (next < 0 || next >= count)
                next = pageFrom(-step);
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
    if (IsEnterOnPageButton(id, code))
        return PressOk();
    if (diagram_ && Page() && code == BN_CLICKED && OnDiagramPageClick(id))
        return 1;
    if (!tree_ || !Page() || code != BN_CLICKED)
        return HookedDialog::OnCommandId(id, code, control);
    return OnTreePageClick(id, code, control);
}

void PreferencesDialog::LoadFromDocument()
{
    exportBlackAndWhite_ = ThePreferences().exportBlackAndWhite ? 1 : 0;
    trueTypeOnly_ = ThePreferences().trueTypeFontsOnly ? 1 : 0;
    usePrinterForSizing_ = MeasuringOnScreen() ? 0 : 1;
    if (diagram_)
        LoadDiagramValues();
    if (tree_)
        LoadTreeValues();
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
