#include "dialogs/GraphTemplateDialogs.h"

#include "widgets/FontSampleControl.h"
#include "widgets/Shell.h"
#include "dialogs/ChoiceControls.h"
#include "widgets/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NameList.h"
#include "foundation/PreferencesFonts.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "model/GraphTemplate.h"
#include "model/GraphTemplateFile.h"

#include "CommandIds.h"

#include <memory>

namespace {

namespace Props = Ctl::CreateGraphTemplate;
namespace Fonts = Ctl::ModifyTemplateFonts;
namespace Texts = Ctl::ModifyTemplateTexts;

// Each box of the properties dialog and the apply choice it holds; the availability flag that greys it, or
// -1 when the choice is always offered.
struct ApplyBox {
    unsigned id;
    int apply;
    int available;
};
const ApplyBox kApplyBoxes[] = {
    {Props::Title, GraphTemplate::ApplyTitle, -1},
    {Props::Title3838, GraphTemplate::ApplySubtitle, GraphTemplate::HasSubtitle},
    {Props::XAxisLabel, GraphTemplate::ApplyHorizontalLabel, -1},
    {Props::YAxisLabel, GraphTemplate::ApplyVerticalLabel, -1},
    {Props::CustomLabels, GraphTemplate::ApplyLabels, GraphTemplate::HasLabels},
    {Props::Fonts, GraphTemplate::ApplyFonts, -1},
    {Props::NumericFormats, GraphTemplate::ApplyFormats, -1},
    {Props::CustomHorizontalLine, GraphTemplate::ApplyHorizontalLine, GraphTemplate::HasHorizontalLine},
    {Props::CustomVerticalLine, GraphTemplate::ApplyVerticalLine, GraphTemplate::HasVerticalLine},
};

// The font rows of Modify Template Fonts: button, sample and the template's font.
struct FontRow {
    unsigned button;
    unsigned sample;
    int font;
};
const FontRow kFontRows[] = {
    {Fonts::Change, Fonts::TitlesText, GraphTemplate::TitleFont},
    {Fonts::Change3874, Fonts::LabelsText, GraphTemplate::LabelFont},
    {Fonts::Change3876, Fonts::XAxisLabelText, GraphTemplate::HorizontalLabelFont},
    {Fonts::Change3878, Fonts::YAxisLabelText, GraphTemplate::VerticalLabelFont},
    {Fonts::Change3880, Fonts::XValuesText, GraphTemplate::HorizontalAxisFont},
    {Fonts::Change3882, Fonts::YValuesText, GraphTemplate::VerticalAxisFont},
};

// The default fonts of new graphs, with the preference each is saved under, in template font order.
struct DefaultGraphFont {
    DefaultFontIndex font;
    const char* preference;
};
const DefaultGraphFont kDefaultGraphFonts[] = {
    {GraphTitleFont, "GraphTitle"},           {GraphLabelFont, "GraphLbl"},
    {GraphHAxisLabelFont, "GraphHAxisLabel"}, {GraphVAxisLabelFont, "GraphVAxisLabel"},
    {GraphAxisFont, "GraphAxis"},             {GraphVAxisFont, "GraphVAxis"},
};

void FillTemplateList(ListBoxCtrl& list, const GraphTemplateList& templates)
{
    list.Clear();
    for (int i = 0; i < templates.Count(); ++i)
        list.AddString(templates.Template(i)->description);
}

// The list box of the descriptions with the row selected and the keyboard focus.
ListBoxCtrl* TemplateList(ProgramDialog& dialog, unsigned id, const GraphTemplateList& templates, int* selected,
                          unsigned flags)
{
    ListBoxCtrl* list = NotifyListCtrl::FromTemplateIndex(&dialog, id, selected, flags);
    if (list == nullptr)
        return nullptr;
    FillTemplateList(*list, templates);
    list->Load();
    SetFocus(list->Handle());
    return list;
}

} // namespace

bool RunTemplatePropertiesDialog(GraphTemplate& graphTemplate, int& useForNewGraphs)
{
    GraphTemplate copy;
    copy.Assign(graphTemplate);
    ProgramDialog dialog(DialogRes::CreateGraphTemplate);
    EditCtrl* description = TextEditCtrl::FromTemplate(&dialog, Props::DescriptionEdit, &copy.description);
    for (const ApplyBox& box : kApplyBoxes) {
        const bool offered = box.available < 0 || copy.flags[box.available] != 0;
        if (!offered)
            copy.flags[box.apply] = 0;
        CheckBoxCtrl::FromTemplate(&dialog, box.id, &copy.flags[box.apply]);
        dialog.EnableItem(box.id, offered);
    }
    // The size is always part of a template: shown checked, not a choice.
    int sizeApplied = 1;
    CheckBoxCtrl::FromTemplate(&dialog, Props::GraphSize, &sizeApplied);
    dialog.EnableItem(Props::GraphSize, false);
    CheckBoxCtrl::FromTemplate(&dialog, Props::UseForNewGraphs, &useForNewGraphs);
    dialog.OnButton(Props::SetFonts, [&copy] { RunTemplateFontsDialog(copy); });
    dialog.OnButton(Props::SetTexts, [&copy] { RunTemplateTextsDialog(copy); });
    if (description) {
        SetFocus(description->Handle());
        description->SetSelection(0, -1);
    }
    if (dialog.Run() != IDOK)
        return false;
    graphTemplate.Assign(copy);
    if (useForNewGraphs) {
        ShowInfoBox(nullptr, "Only the graph size and fonts will be used for new graphs.", -1);
        SaveTemplateAsDefaults(graphTemplate);
    }
    return true;
}

bool RunTemplateFontsDialog(GraphTemplate& graphTemplate)
{
    GraphTemplate copy;
    copy.Assign(graphTemplate);
    ProgramDialog dialog(DialogRes::ModifyTemplateFonts);
    std::vector<std::unique_ptr<FontSampleControl>> samples;
    for (const FontRow& row : kFontRows)
        samples.push_back(
            std::make_unique<FontSampleControl>(&dialog, row.button, &copy.fonts[row.font], row.sample, nullptr));
    if (dialog.Run() != IDOK)
        return false;
    for (FontRecord& font : graphTemplate.fonts)
        font = copy.fonts[&font - graphTemplate.fonts];
    return true;
}

bool RunTemplateTextsDialog(GraphTemplate& graphTemplate)
{
    GraphTemplate copy;
    copy.Assign(graphTemplate);
    ProgramDialog dialog(DialogRes::ModifyTemplateTexts);
    const std::pair<unsigned, zString*> fields[] = {{Texts::TitleEdit, &copy.title},
                                                    {Texts::TitleEdit3902, &copy.subtitle},
                                                    {Texts::XLabelEdit, &copy.horizontalLabel},
                                                    {Texts::YLabelEdit, &copy.verticalLabel}};
    for (const auto& [id, text] : fields)
        TextEditCtrl::FromTemplate(&dialog, id, text, CtrlWindowCL::MayBeEmpty);
    if (dialog.Run() != IDOK)
        return false;
    graphTemplate.Assign(copy);
    return true;
}

GraphTemplate* RunApplyTemplateDialog(const GraphTemplateList& templates)
{
    NameList descriptions;
    for (int i = 0; i < templates.Count(); ++i)
        descriptions.AddText(templates.Template(i)->description.Text());
    int chosen = 0;
    if (ShowListChooser("Apply Template", "Choose a &template to apply to the current graph:", descriptions,
                        chosen) != IDOK)
        return nullptr;
    return templates.Template(chosen);
}

bool RunChooseTemplateDialog(const GraphTemplateList& templates, GraphTemplate*& chosen)
{
    namespace Choose = Ctl::ChooseTemplate;
    int selected = 0;
    bool none = false;
    ProgramDialog dialog(DialogRes::ChooseTemplate);
    TemplateList(dialog, Choose::ChooseATemplateForGraphsCreatedWithThisAnalysisList, templates, &selected, 0);
    dialog.OnNotification(Choose::ChooseATemplateForGraphsCreatedWithThisAnalysisList, LBN_DBLCLK,
                          [&dialog] { dialog.Accept(); });
    dialog.OnButton(Choose::None, [&dialog, &none] {
        none = true;
        dialog.EndModal();
    });
    const bool accepted = dialog.Run() == IDOK;
    chosen = accepted ? templates.Template(selected) : nullptr;
    return accepted || none;
}

bool RunMaintainTemplatesDialog(GraphTemplateList& templates)
{
    namespace Maintain = Ctl::MaintainTemplates;
    int selected = 0;
    bool changed = false;
    ProgramDialog dialog(DialogRes::MaintainTemplates);
    // Deleting the last template leaves the list empty; Close still closes.
    ListBoxCtrl* list =
        TemplateList(dialog, Maintain::TemplatesList, templates, &selected, CtrlWindowCL::MayBeEmpty);
    const auto updateButtons = [&] {
        const bool valid = list && templates.IsValidIndex(list->GetCurSel());
        dialog.EnableItem(Maintain::Properties, valid);
        dialog.EnableItem(Maintain::Delete, valid);
    };
    const auto refresh = [&] {
        if (list) {
            const int previous = list->GetCurSel();
            FillTemplateList(*list, templates);
            list->SetCurSel(previous < templates.Count() ? previous : templates.Count() - 1);
        }
        updateButtons();
    };
    const auto properties = [&] {
        GraphTemplate* chosen = list ? templates.Template(list->GetCurSel()) : nullptr;
        int useForNewGraphs = 0;
        if (chosen && RunTemplatePropertiesDialog(*chosen, useForNewGraphs)) {
            changed = true;
            refresh();
        }
    };
    dialog.OnButton(Maintain::Properties, properties);
    dialog.OnNotification(Maintain::TemplatesList, LBN_DBLCLK, properties);
    dialog.OnNotification(Maintain::TemplatesList, LBN_SELCHANGE, updateButtons);
    dialog.OnButton(Maintain::Delete, [&] {
        const int index = list ? list->GetCurSel() : -1;
        if (!templates.IsValidIndex(index))
            return;
        templates.DeleteAt(index);
        changed = true;
        refresh();
    });
    updateButtons();
    dialog.Run();
    return changed;
}

void SaveTemplateAsDefaults(const GraphTemplate& graphTemplate)
{
    for (int i = 0; i < 6; ++i) {
        FontRecord font = graphTemplate.fonts[i];
        if (FontRecord* preference = TheShell().DefaultFont(kDefaultGraphFonts[i].font))
            *preference = font;
        SaveFontPreference(font, kDefaultGraphFonts[i].preference);
    }
    WriteDefaultGraphSize(graphTemplate.width, graphTemplate.height);
}
