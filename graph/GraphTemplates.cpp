// Graph templates from and onto a graph window, and the Graph menu's template commands.

#include "graph/GraphWindow.h"

#include "graph/GraphCommandDialogs.h"
#include "dialogs/GraphTemplateDialogs.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/Display.h"
#include "model/GraphTemplate.h"
#include "model/GraphTemplateFile.h"

#include <memory>
#include <string>

namespace {

// Reads the templates file; a file that fails to read is reported, and the caller leaves it alone.
bool ReadTemplatesFile()
{
    std::string message;
    if (ReadGraphTemplates(message) != TemplateFileRead::Failed)
        return true;
    ShowErrorBox(nullptr, message.c_str(), 0);
    return false;
}

void WriteTemplatesFile()
{
    std::string message;
    if (!WriteGraphTemplates(message))
        ShowErrorBox(nullptr, message.c_str(), 0);
}

// Apply and Maintain stay offered without templates, so that the person learns why nothing happens.
bool TemplatesToChooseFrom()
{
    if (TemplatesAvailable())
        return true;
    ShowInfoBox(nullptr, "There are no templates available.", 0);
    return false;
}

}  // namespace

std::unique_ptr<GraphTemplate> GraphWindow::MakeTemplate()
{
    auto made = std::make_unique<GraphTemplate>();
    made->width = graphRect.right - graphRect.left;
    made->height = graphRect.bottom - graphRect.top;
    made->verticalLineX = verticalLineX;
    made->horizontalLineY = horizontalLineY;
    made->flags[GraphTemplate::HasVerticalLine] = static_cast<int8_t>(verticalLineFlag);
    made->flags[GraphTemplate::HasHorizontalLine] = static_cast<int8_t>(horizontalLineFlag);
    CopyFormatSettings(made->horizontalFormat, horizontalAxis.numberFormat);
    CopyFormatSettings(made->verticalFormat, verticalAxis.numberFormat);
    made->fonts[GraphTemplate::TitleFont] = title.font;
    if (legendTexts.Count() > 0)
        made->fonts[GraphTemplate::LabelFont] = legendTexts.Label(0)->font;
    else if (freeLabels.Count() > 0)
        made->fonts[GraphTemplate::LabelFont] = freeLabels.Label(0)->font;
    made->fonts[GraphTemplate::HorizontalLabelFont] = horizontalLabel.font;
    made->fonts[GraphTemplate::VerticalLabelFont] = verticalLabel.font;
    made->fonts[GraphTemplate::HorizontalAxisFont] = horizontalAxis.font;
    made->fonts[GraphTemplate::VerticalAxisFont] = verticalAxis.font;
    for (int i = 0; i < freeLabels.Count(); ++i) {
        const GraphLabel& label = *freeLabels.Label(i);
        auto* kept = new TemplateLabel;
        kept->rect = label.rect;
        kept->vertical = label.vertical;
        kept->secondFlag = label.secondFlag;
        kept->font = label.font;
        kept->text = label.text;
        made->labels.Add(kept);
    }
    made->flags[GraphTemplate::HasLabels] = freeLabels.Count() > 0 ? 1 : 0;
    made->horizontalLabel = horizontalLabel.text;
    made->verticalLabel = verticalLabel.text;
    made->title = title.text;
    made->subtitle = subtitle.text;
    made->flags[GraphTemplate::HasSubtitle] = subtitle.text.IsEmpty() ? 0 : 1;
    return made;
}

void GraphWindow::ApplyTemplate(const GraphTemplate& applied)
{
    const int32_t* flags = applied.flags;
    // A line the graph cannot show stays unavailable.
    if (flags[GraphTemplate::ApplyVerticalLine] && verticalLineFlag != kLineNotOffered) {
        verticalLineFlag = 1;
        verticalLineX = applied.verticalLineX;
    }
    if (flags[GraphTemplate::ApplyHorizontalLine] && horizontalLineFlag != kLineNotOffered) {
        horizontalLineFlag = 1;
        horizontalLineY = applied.horizontalLineY;
    }
    if (flags[GraphTemplate::ApplyFormats]) {
        CopyFormatSettings(horizontalAxis.numberFormat, applied.horizontalFormat);
        CopyFormatSettings(verticalAxis.numberFormat, applied.verticalFormat);
        horizontalAxis.numberFormat.axisFormat = verticalAxis.numberFormat.axisFormat = 1;
    }
    if (flags[GraphTemplate::ApplyFonts]) {
        title.font = subtitle.font = applied.fonts[GraphTemplate::TitleFont];
        horizontalLabel.font = applied.fonts[GraphTemplate::HorizontalLabelFont];
        verticalLabel.font = applied.fonts[GraphTemplate::VerticalLabelFont];
        horizontalAxis.font = applied.fonts[GraphTemplate::HorizontalAxisFont];
        verticalAxis.font = applied.fonts[GraphTemplate::VerticalAxisFont];
        for (int i = 0; i < legendTexts.Count(); ++i)
            legendTexts.Label(i)->font = applied.fonts[GraphTemplate::LabelFont];
    }
    if (flags[GraphTemplate::ApplyLabels]) {
        Display* display = PaneDisplay();
        for (int i = 0; i < applied.labels.Count(); ++i) {
            const TemplateLabel& kept = *applied.labels.Label(i);
            auto* label = new GraphLabel(kept.text.Text());
            label->rect = kept.rect;
            label->vertical = kept.vertical;
            label->secondFlag = kept.secondFlag;
            label->font = kept.font;
            label->owner = this;
            if (display != nullptr) {
                DisplayLock lock(*display);
                label->Fit(*display);
            }
            if (!freeLabels.Add(label))
                delete label;
        }
    }
    const struct {
        int flag;
        GraphLabel& label;
        const zString& text;
    } texts[] = {{GraphTemplate::ApplyHorizontalLabel, horizontalLabel, applied.horizontalLabel},
                 {GraphTemplate::ApplyVerticalLabel, verticalLabel, applied.verticalLabel},
                 {GraphTemplate::ApplyTitle, title, applied.title},
                 {GraphTemplate::ApplySubtitle, subtitle, applied.subtitle}};
    for (const auto& text : texts)
        if (flags[text.flag])
            text.label.text = text.text;
}

void GraphWindow::CreateTemplate()
{
    std::unique_ptr<GraphTemplate> made = MakeTemplate();
    int useForNewGraphs = 0;
    if (!RunTemplatePropertiesDialog(*made, useForNewGraphs) || !ReadTemplatesFile())
        return;
    if (GraphTemplates().Add(made.get()))
        made.release();
    WriteTemplatesFile();
}

void GraphWindow::Open(const GraphTemplate* kept)
{
    if (kept)
        ApplyTemplate(*kept);
    Layout();
    if (kept && kept->width > 0.01f && kept->height > 0.01f) {
        KeepPlacements();
        SetGraphRect(LogicalRect{graphRect.left, graphRect.top, graphRect.left + kept->width,
                                 graphRect.top + kept->height});
        Refit();
    }
    Show(SW_SHOWNORMAL);
}

void GraphWindow::ApplyTemplateCommand()
{
    if (!TemplatesToChooseFrom() || !ReadTemplatesFile())
        return;
    if (const GraphTemplate* chosen = RunApplyTemplateDialog(GraphTemplates())) {
        ApplyTemplate(*chosen);
        if (Display* display = PaneDisplay()) {
            DisplayLock lock(*display);
            ForEachElement([display](GraphElement& element) { element.Fit(*display); });
        }
        KeepPlacements();
        SetGraphRect(LogicalRect{graphRect.left, graphRect.top, graphRect.left + chosen->width,
                                 graphRect.top + chosen->height});
        // Its texts and the plot changed width: the title is centred over them again.
        CentreTitles();
        InvalidateLogicalRect(nullptr);
        Refit();
        SetModified(1);
    }
    WriteTemplatesFile();
}

void GraphWindow::MaintainTemplates()
{
    if (!TemplatesToChooseFrom() || !ReadTemplatesFile())
        return;
    RunMaintainTemplatesDialog(GraphTemplates());
    WriteTemplatesFile();
}
