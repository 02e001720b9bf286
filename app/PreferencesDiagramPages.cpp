// The pages of a diagram window's display preferences: tree conversion, node size, arcs, fonts, printing.

#include "app/PreferencesDialog.h"

#include "dialogs/NumericFormatDialog.h"
#include "app/PreferencesPageValues.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/RadioGroup.h"
#include "influence/InfluenceDiagramWindow.h"

#include "CommandIds.h"

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

// A button of a diagram page; false for one that is not the diagram's.
bool PreferencesDialog::OnDiagramPageClick(unsigned id)
{
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
    return false;
}

void PreferencesDialog::LoadDiagramValues()
{
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
