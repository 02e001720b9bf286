// The graph window's commands: the Graph menu's common items and the main-menu commands a graph answers,
// each with the rule that greys its item and refuses it while the rule says no.

#include "graph/GraphWindow.h"

#include "widgets/CursorStack.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/Shell.h"
#include "widgets/ZoomPane.h"
#include "graph/GraphCommandDialogs.h"
#include "dialogs/NumericFormatDialog.h"
#include "foundation/TextReport.h"
#include "framework/draw/Display.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/window/Clipboard.h"
#include "model/GraphTemplateFile.h"

#include "CommandIds.h"

#include <string>

namespace {

bool Always(GraphWindow&)
{
    return true;
}

bool Never(GraphWindow&)
{
    return false;
}

bool SelectedHasFont(GraphWindow& graph)
{
    return graph.Selected() != nullptr && graph.Selected()->Font() != nullptr;
}

bool SelectedHasFormat(GraphWindow& graph)
{
    return graph.Selected() != nullptr && graph.Selected()->Format() != nullptr;
}

bool SelectedIsUserLabel(GraphWindow& graph)
{
    const GraphElement* selected = graph.Selected();
    return selected != nullptr && (graph.freeLabels.Contains(selected) || graph.bottomLabels.Contains(selected) ||
                                   graph.sideLabels.Contains(selected));
}

bool TemplatesExist(GraphWindow&)
{
    return TemplatesAvailable();
}

bool HasExport(GraphWindow& graph)
{
    return graph.HasTextExport();
}

}  // namespace

const GraphWindow::CommandRow GraphWindow::Commands[] = {
    {Cmd::FileSave, [](GraphWindow& graph) { graph.SaveToFile(); }, Always},
    {Cmd::FileSaveAs, [](GraphWindow& graph) { graph.SaveAs(nullptr); }, Always},
    {Cmd::FileSnapshot, [](GraphWindow& graph) { graph.SnapshotPicture(); }, Always},
    {Cmd::EditCopySpecial, [](GraphWindow& graph) { graph.CopySpecial(); }, Always},
    {Cmd::EditClear, [](GraphWindow& graph) { graph.ClearLabel(); }, SelectedIsUserLabel},
    {Cmd::DisplayFont, [](GraphWindow& graph) { graph.ChangeFont(); }, SelectedHasFont},
    {Cmd::DisplayNumericFormatting, [](GraphWindow& graph) { graph.ChangeFormat(); }, SelectedHasFormat},
    {Cmd::GraphTextReport, [](GraphWindow& graph) { graph.TextReportCommand(); }, HasExport},
    {Cmd::GraphNewLabel, [](GraphWindow& graph) { graph.NewLabel(); }, Always},
    {Cmd::GraphSetLines, [](GraphWindow& graph) { graph.SetLines(); }, Always},
    {Cmd::DisplayPreferences, [](GraphWindow& graph) { graph.EditPreferences(); }, Always},
    // The kinds' own commands, grey until a kind answers them.
    {Cmd::GraphShowHide, nullptr, Never},
    {Cmd::GraphCumulative, nullptr, Never},
    {Cmd::GraphDistributionStatistics, nullptr, Never},
    {Cmd::GraphDisplayThresholdValues, nullptr, Never},
    {Cmd::GraphLineToTable, nullptr, Never},
    {Cmd::GraphStrategyGraph, nullptr, Never},
    {Cmd::GraphCreateTemplate, [](GraphWindow& graph) { graph.CreateTemplate(); }, Always},
    {Cmd::GraphApplyTemplate, [](GraphWindow& graph) { graph.ApplyTemplateCommand(); }, TemplatesExist},
    {Cmd::GraphMaintainTemplates, [](GraphWindow& graph) { graph.MaintainTemplates(); }, TemplatesExist},
};

bool GraphWindow::HasCommand(unsigned id)
{
    for (const CommandRow& row : Commands)
        if (row.id == id)
            return true;
    return false;
}

const GraphWindow::CommandRow* GraphWindow::FindCommand(unsigned id) const
{
    for (const CommandRow& row : KindCommands())
        if (row.id == id)
            return &row;
    for (const CommandRow& row : Commands)
        if (row.id == id)
            return &row;
    return nullptr;
}

bool GraphWindow::CommandAllowed(unsigned id)
{
    const CommandRow* row = FindCommand(id);
    return row != nullptr && row->rule(*this);
}

long GraphWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    const CommandRow* row = FindCommand(id);
    if (row == nullptr)
        return DocumentWindow::OnCommandId(id, code, control);
    if (row->handler != nullptr && row->rule(*this))
        row->handler(*this);
    return 1;
}

void GraphWindow::UpdateMenus(HMENU bar)
{
    for (const CommandRow& row : Commands)
        EnableMenuItem(bar, row.id, MF_BYCOMMAND | (CommandAllowed(row.id) ? MF_ENABLED : MF_GRAYED));
    const UINT copyState = MF_BYCOMMAND | MF_STRING;
    ModifyMenuA(bar, Cmd::EditCopySpecial, copyState, Cmd::EditCopySpecial,
                HasTextExport() ? "C&opy Special..." : "C&opy as Bitmap/Metafile");
    ModifyMenuA(bar, Cmd::EditClear, copyState | (SelectedIsUserLabel(*this) ? MF_ENABLED : MF_GRAYED), Cmd::EditClear,
                "Clea&r Label\tDel");
}

void GraphWindow::Changed(GraphElement* element)
{
    if (element != nullptr)
        if (Display* display = PaneDisplay()) {
            DisplayLock lock(*display);
            element->Fit(*display);
        }
    SetModified(1);
    InvalidateLogicalRect(nullptr);
}

void GraphWindow::CopySpecial()
{
    if (!HasTextExport()) {
        CopyPicture();
        return;
    }
    const int choice = RunCopyGraphDialog();
    if (choice == 0) {
        CopyPicture();
    } else if (choice == 1) {
        TextReport report;
        {
            WaitCursorScope wait;
            WriteTextExport(report);
        }
        std::string text;
        report.ClipboardText(text);
        Clipboard clipboard(this);
        clipboard.Empty();
        clipboard.PutText(text.c_str());
    }
}

void GraphWindow::ClearLabel()
{
    GraphElement* selected = selected_;
    for (GraphElementList* list : {&freeLabels, &bottomLabels, &sideLabels}) {
        if (!list->Contains(selected))
            continue;
        Deselect();
        list->DeletePtr(selected);
        SetModified(1);
        InvalidateLogicalRect(nullptr);
        return;
    }
}

void GraphWindow::ChangeFont()
{
    FontRecord* font = selected_ != nullptr ? selected_->Font() : nullptr;
    if (font == nullptr)
        return;
    FontRecord edited = *font;
    if (!EditFontRecord(edited, handle_, ThePreferences().trueTypeFontsOnly))
        return;
    *font = edited;
    Changed(selected_);
}

void GraphWindow::ChangeFormat()
{
    NumericFormat* format = selected_ != nullptr ? selected_->Format() : nullptr;
    if (format == nullptr)
        return;
    NumericFormat edited = *format;
    if (RunNumericFormatDialog(edited, -1, -1) != 1)
        return;
    *format = edited;
    format->axisFormat = 1;
    Changed(selected_);
    FormatChanged();
}

void GraphWindow::TextReportCommand()
{
    TextReport report;
    {
        WaitCursorScope wait;
        WriteTextExport(report);
    }
    ShowTextReport(report);
}

void GraphWindow::NewLabel()
{
    auto* label = new GraphLabel("New Label");
    label->owner = this;
    if (!label->Prompt(true)) {
        delete label;
        return;
    }
    label->MoveTo(graphRect.left + 0.1f, graphRect.top + 0.1f);
    if (!freeLabels.Add(label)) {
        delete label;
        return;
    }
    Changed(label);
    Select(label);
}

void GraphWindow::SetLines()
{
    if (horizontalAxis.isHidden)
        verticalLineFlag = kLineNotOffered;
    if (verticalAxis.isHidden)
        horizontalLineFlag = kLineNotOffered;
    if (GraphLinesDialog(verticalLineFlag, horizontalLineFlag, verticalLineX, horizontalLineY).Run() != 1)
        return;
    Changed(nullptr);
}

void GraphWindow::EditPreferences()
{
    TheShell().RunPreferences(*this);
}
