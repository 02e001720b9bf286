// The graph window's commands: the Graph menu's common items and the main-menu commands a graph answers,
// each with the rule that greys its item and refuses it while the rule says no.

#include "graph/GraphWindow.h"

#include "widgets/CursorStack.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/MainToolbar.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/Shell.h"
#include "widgets/ZoomPane.h"
#include "graph/GraphCommandDialogs.h"
#include "dialogs/NumericFormatDialog.h"
#include "foundation/TextReport.h"
#include "framework/draw/Display.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/window/Clipboard.h"

#include "CommandIds.h"

#include <string>

// The common commands' handlers; each runs once its row's rule allowed it.
struct GraphWindow::CommandHandlers {
    // Copy Special: the picture, or the text export when the kind has one and it is chosen.
    static void CopySpecial(GraphWindow& graph);
    // Clear Label: the selected label of the person's own.
    static void ClearLabel(GraphWindow& graph);
    static void ChangeFont(GraphWindow& graph);
    static void ChangeFormat(GraphWindow& graph);
    static void TextReportCommand(GraphWindow& graph);
    static void NewLabel(GraphWindow& graph);
    static void SetLines(GraphWindow& graph);
    // Preferences of the graph: its print zoom and centring, and the application's settings.
    static void EditPreferences(GraphWindow& graph);
    // The canvas placed in the window again and every element laid out again, as after a change of size.
    static void Relayout(GraphWindow& graph);
};

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

bool HasExport(GraphWindow& graph)
{
    return graph.HasTextExport();
}

}  // namespace

const GraphWindow::CommandRow GraphWindow::Commands[] = {
    {Cmd::FileSave, [](GraphWindow& graph) { graph.SaveToFile(); }, Always},
    {Cmd::FileSaveAs, [](GraphWindow& graph) { graph.SaveAs(nullptr); }, Always},
    {Cmd::FileSnapshot, [](GraphWindow& graph) { graph.SnapshotPicture(); }, Always},
    {Cmd::EditCopySpecial, &CommandHandlers::CopySpecial, Always},
    {Cmd::EditClear, &CommandHandlers::ClearLabel, SelectedIsUserLabel},
    {Cmd::DisplayFont, &CommandHandlers::ChangeFont, SelectedHasFont},
    {Cmd::DisplayNumericFormatting, &CommandHandlers::ChangeFormat, SelectedHasFormat},
    {Cmd::GraphTextReport, &CommandHandlers::TextReportCommand, HasExport},
    {Cmd::GraphNewLabel, &CommandHandlers::NewLabel, Always},
    {Cmd::GraphSetLines, &CommandHandlers::SetLines, Always},
    {Cmd::DisplayPreferences, &CommandHandlers::EditPreferences, Always},
    {Cmd::GraphRelayout, &CommandHandlers::Relayout, Always},
    // The kinds' own commands, grey until a kind answers them.
    {Cmd::GraphShowHide, nullptr, Never},
    {Cmd::GraphCumulative, nullptr, Never},
    {Cmd::GraphDistributionStatistics, nullptr, Never},
    {Cmd::GraphDisplayThresholdValues, nullptr, Never},
    {Cmd::GraphLineToTable, nullptr, Never},
    {Cmd::GraphStrategyGraph, nullptr, Never},
    {Cmd::GraphCreateTemplate, [](GraphWindow& graph) { graph.CreateTemplate(); }, Always},
    {Cmd::GraphApplyTemplate, [](GraphWindow& graph) { graph.ApplyTemplateCommand(); }, Always},
    {Cmd::GraphMaintainTemplates, [](GraphWindow& graph) { graph.MaintainTemplates(); }, Always},
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

void GraphWindow::SetDefaultCommandStates()
{
    DocumentWindow::SetDefaultCommandStates();
    // The tool bar's buttons follow the same rows as the menus (Font while a label is selected).
    EnableToolbarButtons([this](unsigned id) { return CommandAllowed(id); });
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

void GraphWindow::CommandHandlers::CopySpecial(GraphWindow& graph)
{
    if (!graph.HasTextExport()) {
        graph.CopyPicture();
        return;
    }
    const int choice = RunCopyGraphDialog();
    if (choice == 0) {
        graph.CopyPicture();
    } else if (choice == 1) {
        TextReport report;
        {
            WaitCursorScope wait;
            graph.WriteTextExport(report);
        }
        std::string text;
        report.ClipboardText(text);
        Clipboard clipboard(&graph);
        clipboard.Empty();
        clipboard.PutText(text.c_str());
    }
}

void GraphWindow::CommandHandlers::ClearLabel(GraphWindow& graph)
{
    GraphElement* selected = graph.selected_;
    for (GraphElementList* list : {&graph.freeLabels, &graph.bottomLabels, &graph.sideLabels}) {
        if (!list->Contains(selected))
            continue;
        graph.Deselect();
        list->DeletePtr(selected);
        graph.SetModified(1);
        graph.InvalidateLogicalRect(nullptr);
        return;
    }
}

void GraphWindow::CommandHandlers::ChangeFont(GraphWindow& graph)
{
    FontRecord* font = graph.selected_ != nullptr ? graph.selected_->Font() : nullptr;
    if (font == nullptr)
        return;
    FontRecord edited = *font;
    if (!EditFontRecord(edited, graph.Handle(), ThePreferences().trueTypeFontsOnly))
        return;
    *font = edited;
    graph.Changed(graph.selected_);
}

void GraphWindow::CommandHandlers::ChangeFormat(GraphWindow& graph)
{
    NumericFormat* format = graph.selected_ != nullptr ? graph.selected_->Format() : nullptr;
    if (format == nullptr)
        return;
    NumericFormat edited = *format;
    if (RunNumericFormatDialog(edited, -1, -1) != 1)
        return;
    *format = edited;
    format->axisFormat = 1;
    graph.Changed(graph.selected_);
    graph.FormatChanged();
}

void GraphWindow::CommandHandlers::TextReportCommand(GraphWindow& graph)
{
    TextReport report;
    {
        WaitCursorScope wait;
        graph.WriteTextExport(report);
    }
    ShowTextReport(report);
}

void GraphWindow::CommandHandlers::NewLabel(GraphWindow& graph)
{
    auto* label = new GraphLabel("New Label");
    label->owner = &graph;
    if (!label->Prompt(true)) {
        delete label;
        return;
    }
    label->MoveTo(graph.graphRect.left + 0.1f, graph.graphRect.top + 0.1f);
    if (!graph.freeLabels.Add(label)) {
        delete label;
        return;
    }
    graph.Changed(label);
    graph.Select(label);
}

void GraphWindow::CommandHandlers::SetLines(GraphWindow& graph)
{
    if (graph.horizontalAxis.isHidden)
        graph.verticalLineFlag = kLineNotOffered;
    if (graph.verticalAxis.isHidden)
        graph.horizontalLineFlag = kLineNotOffered;
    if (GraphLinesDialog(graph.verticalLineFlag, graph.horizontalLineFlag, graph.verticalLineX, graph.horizontalLineY)
            .Run() != 1)
        return;
    graph.Changed(nullptr);
}

void GraphWindow::CommandHandlers::EditPreferences(GraphWindow& graph)
{
    TheShell().RunPreferences(graph);
}

void GraphWindow::CommandHandlers::Relayout(GraphWindow& graph)
{
    graph.PlaceCanvas();
    graph.Layout();
    graph.Refit();
    graph.InvalidateLogicalRect(nullptr);
}
