// The main frame's command table and handler, the active window's commands, its menu update and its tool-bar
// refresh. The File commands are in MainFrameFileCommands.cpp, the Window commands in MainFrameWindowCommands.cpp.

#include "app/BarLayoutRule.h"
#include "widgets/CommandLine.h"
#include "widgets/DocChildWindow.h"
#include "widgets/DocumentWindow.h"
#include "widgets/FilePathDialogs.h"
#include "app/MainFrame.h"
#include "widgets/MainToolbar.h"
#include "widgets/OnlineHelp.h"
#include "app/OpenFileByName.h"
#include "widgets/ProgramPreferences.h"
#include "app/RecentFilesMenu.h"
#include "widgets/SaveQuestions.h"
#include "widgets/StatusMessage.h"
#include "app/StartProgram.h"
#include "widgets/ZoomPane.h"
#include "app/PreferencesDialog.h"
#include "dialogs/PrintPagesDialog.h"
#include "dialogs/ZoomDialog.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RecentFileList.h"
#include "framework/dialog/Menu.h"
#include "framework/window/MDIchildCL.h"
#include "script/ScriptManager.h"
#include "treewin/TreeClipboard.h"

#include "CommandIds.h"

#include <iterator>

namespace {

// Items the active window enables again when they apply to it.
const unsigned GrayedUntilTheWindowSays[] = {
    Cmd::FileSave, Cmd::FileSaveAs, Cmd::FileConvertToOutline, Cmd::FileSnapshot, Cmd::DisplayNumericFormatting,
    Cmd::EditCut, Cmd::EditCopy, Cmd::EditCopySpecial, Cmd::EditPaste, Cmd::EditPasteLink, Cmd::EditClear,
    Cmd::EditLinks, Cmd::EditBreakLink, Cmd::EditAttachClone, Cmd::EditCreateClone, Cmd::EditClones,
    Cmd::EditTreeClipboard1, Cmd::EditTreeClipboard2, Cmd::EditTreeClipboard3, Cmd::EditTreeClipboard4,
    Cmd::DisplayCreateNote, Cmd::DisplayBindNote, Cmd::DisplayCreateArrow, Cmd::DisplayFont,
    Cmd::DisplayShowVariablesWindow, Cmd::DisplaySkipGeneration, Cmd::DisplayUnskipGeneration,
    Cmd::DisplayCollapseSubtree, Cmd::DisplayExpandSubtreeOnce, Cmd::DisplayExpandEntireSubtree,
    Cmd::ValuesDefineValues, Cmd::ValuesInsertVariable, Cmd::ValuesChangePayoff, Cmd::ValuesMarkovStateInformation,
    Cmd::ValuesMarkovTermination, Cmd::ValuesOpenEvaluator, Cmd::ValuesCreateSlider, Cmd::ValuesProbabilityWheel,
    Cmd::ValuesMultiAttributeWeights, Cmd::ValuesDistributions, Cmd::ReportTablesUsed, Cmd::ReportVariables,
};
// The Edit items whose texts a window may have changed.
const struct {
    unsigned id;
    const char* text;
} PlainEditTexts[] = {
    {Cmd::EditCut, "Cu&t\tCtrl+X"}, {Cmd::EditCopy, "&Copy\tCtrl+C"}, {Cmd::EditCopySpecial, "C&opy Special..."},
    {Cmd::EditPaste, "&Paste\tCtrl+V"}, {Cmd::EditClear, "Clea&r\tDel"},
};

const char* const NoPrinterMessage = "Unable to print: No Printer drivers.";

void SetMenuItemText(Menu* menu, unsigned id, const char* text)
{
    ModifyMenuA(menu->Handle(), id, MF_BYCOMMAND | MF_STRING, id, text);
}

DocChildWindow* AsDocChild(MDIchildCL* window)
{
    return dynamic_cast<DocChildWindow*>(window);
}

} // namespace

// The frame's commands. A command is taken while its rule allows it, and one without a rule is refused;
// a row without a handler passes the command on to the active window. With activeFirst the active window
// may take the command before the frame's handler does.
struct MainFrame::CommandRow {
    unsigned id;
    long (MainFrame::*handler)();
    bool (*rule)(const MainFrame& frame);
    bool activeFirst;
};

namespace {

bool Always(const MainFrame&) { return true; }
bool WindowOpen(const MainFrame& frame) { return frame.MDIframeCL::ActiveChild() != nullptr; }
DocChildWindow* ActiveDocChild(const MainFrame& frame) { return AsDocChild(frame.MDIframeCL::ActiveChild()); }
bool CanPrintActive(const MainFrame& frame)
{
    DocChildWindow* window = ActiveDocChild(frame);
    return window != nullptr && window->CanPrint();
}
bool CanRevertActive(const MainFrame& frame)
{
    auto* saved = dynamic_cast<DocumentWindow*>(frame.MDIframeCL::ActiveChild());
    return saved != nullptr && saved->IsDocument() && saved->IsModified() && !saved->FilePathObject().IsEmpty();
}
const ZoomPane* ActivePane(const MainFrame& frame)
{
    const DocChildWindow* window = ActiveDocChild(frame);
    return window != nullptr ? window->Pane() : nullptr;
}

} // namespace

const MainFrame::CommandRow MainFrame::Commands[] = {
    {Cmd::NewTree, &MainFrame::NewTree, Always, false},
    {Cmd::FileOpen, &MainFrame::OpenFile, Always, false},
    // Save and Save As belong to the active document window.
    {Cmd::FileSave, nullptr, Always, false},
    {Cmd::FileSaveAs, nullptr, Always, false},
    // The diagram window converts itself into a tree; others gray the item.
    {Cmd::FileConvertToOutline, nullptr, Always, false},
    {Cmd::FileClose, &MainFrame::CloseActive, WindowOpen, false},
    {Cmd::FilePrint, &MainFrame::PrintActive, CanPrintActive, false},
    {Cmd::FilePageSetup, &MainFrame::PageSetupActive, CanPrintActive, false},
    {Cmd::FileRevertToSaved, &MainFrame::RevertActive, CanRevertActive, false},
    {Cmd::FilePrintPreview, &MainFrame::PrintPreviewActive, CanPrintActive, false},
    // Grayed while a script runs.
    {Cmd::FileRunScript, &MainFrame::RunScript,
     [](const MainFrame&) {
         const ScriptManager* scripts = TheProgram()->Scripts();
         return !(scripts && scripts->FileRunning());
     }, false},
    {Cmd::FileNew, &MainFrame::NewDocument, Always, false},
    {Cmd::ReopenReverted, &MainFrame::ReopenReverted, Always, false},
    {Cmd::RelayoutWindows, &MainFrame::RelayoutWindows, Always, false},
    // Start-up has ended: a script job of the command line runs now.
    {Cmd::SplashEnded, &MainFrame::RunStartupScript, Always, false},
    {Cmd::FileExit, &MainFrame::Exit, Always, false},
    {Cmd::EditUndo, &MainFrame::UndoActive,
     [](const MainFrame& frame) {
         const DocChildWindow* window = ActiveDocChild(frame);
         return window != nullptr && window->History().Current() != nullptr;
     },
     false},
    {Cmd::EditRedo, &MainFrame::RedoActive,
     [](const MainFrame& frame) {
         const DocChildWindow* window = ActiveDocChild(frame);
         return window != nullptr && window->History().NextRedo() != nullptr;
     },
     false},
    // The active window edits its own preferences when it can; otherwise the application's are edited.
    {Cmd::DisplayPreferences, &MainFrame::EditAppPreferences, Always, true},
    {Cmd::DisplayToolBar, &MainFrame::ToggleToolBar, Always, false},
    {Cmd::DisplayHideStatusBar, &MainFrame::ToggleStatusBar, Always, false},
    {Cmd::EditShowTreeClipboard, &MainFrame::ToggleTreeClipboard, Always, false},
    {Cmd::DisplayRedrawWindow, &MainFrame::RedrawActive,
     [](const MainFrame& frame) { return ActivePane(frame) != nullptr; }, false},
    // The active window zooms itself when it can; otherwise the frame steps its pane.
    {Cmd::DisplayZoomIn, &MainFrame::ZoomInActive,
     [](const MainFrame& frame) { return ActivePane(frame) != nullptr && ActivePane(frame)->CanZoomIn(); }, true},
    {Cmd::DisplayZoomOut, &MainFrame::ZoomOutActive,
     [](const MainFrame& frame) { return ActivePane(frame) != nullptr && ActivePane(frame)->CanZoomOut(); }, true},
    {Cmd::DisplayZoom, &MainFrame::ZoomDialogActive,
     [](const MainFrame& frame) {
         const ZoomPane* pane = ActivePane(frame);
         return pane != nullptr && (pane->CanZoomIn() || pane->CanZoomOut());
     },
     false},
    {Cmd::ToggleNavigating, &MainFrame::ToggleNavigating, Always, false},
    {Cmd::HelpOnContext, &MainFrame::HelpOnContext, Always, false},
    {Cmd::WindowCascade, &MainFrame::CascadeWindows, Always, false},
    {Cmd::WindowTile, &MainFrame::TileWindows, Always, false},
    {Cmd::WindowArrangeIcons, &MainFrame::ArrangeWindowIcons, Always, false},
    {Cmd::WindowCloseAll, &MainFrame::CloseAll, WindowOpen, false},
    {Cmd::WindowCloseAllExceptTrees, &MainFrame::CloseAllExceptTrees, WindowOpen, false},
    {Cmd::HelpContents, &MainFrame::HelpContents, Always, false},
    {Cmd::HelpSearchForHelpOn, &MainFrame::HelpSearch, Always, false},
    {Cmd::HelpAboutKIVO, &MainFrame::About, Always, false},
};

bool MainFrame::HasCommand(unsigned id)
{
    for (const CommandRow& row : Commands)
        if (row.id == id)
            return true;
    return false;
}

long MainFrame::OnCommandId(unsigned id, unsigned code, HWND control)
{
    // While starting up every command is ignored (and taken, so that nothing else acts on it).
    if (startupBusy_)
        return 1;
    if (id >= Cmd::FirstRecentFile && id < Cmd::FirstRecentFile + RecentFileList::Capacity) {
        OpenRecentFile(id);
        if (MDIframeCL::ActiveChild())
            RefreshCommands();
        return 1;
    }
    for (const CommandRow& row : Commands) {
        if (row.id != id)
            continue;
        MDIchildCL* active = MDIframeCL::ActiveChild();
        if (row.activeFirst && active && active->OnCommandId(id, code, control))
            return 1;
        if (row.rule == nullptr || !row.rule(*this))
            return 1;
        if (row.handler == nullptr)
            return 0;
        (this->*row.handler)();
        // A command that closed or hid the last window leaves the frame to speak for none.
        if (!ending_ && (MDIframeCL::ActiveChild() || active))
            RefreshCommands();
        return 1;
    }
    // Everything else goes on to the active document window.
    return 0;
}

long MainFrame::EditAppPreferences()
{
    PreferencesDialog().Run();
    return 1;
}

long MainFrame::ZoomInActive()
{
    ZoomActive(true);
    return 1;
}

long MainFrame::ZoomOutActive()
{
    ZoomActive(false);
    return 1;
}

long MainFrame::HelpOnContext()
{
    ShowHelpForContext();
    return 1;
}

long MainFrame::HelpContents()
{
    ShowHelpContents();
    return 1;
}

long MainFrame::HelpSearch()
{
    ShowHelpIndex();
    return 1;
}

long MainFrame::ToggleTreeClipboard()
{
    TheTreeClipboard().ToggleWindow();
    return 1;
}

long MainFrame::CloseActive()
{
    AskSaveChanges(this, MDIframeCL::ActiveChild(), false);
    return 1;
}

long MainFrame::PrintPreviewActive()
{
    DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild());
    if (window && window->CanPrint())
        ShowPrintPreview(window);
    return 1;
}

long MainFrame::PrintActive()
{
    DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild());
    if (!window || !window->CanPrint())
        return 1;
    // Without a printer the frame says so; otherwise the window's printing reports its own failures, and a
    // cancelled print dialog is no failure, so no second box follows.
    if (!window->HasPrinter())
        ShowErrorBox(nullptr, NoPrinterMessage, 0);
    else
        window->Print(0);
    return 1;
}

long MainFrame::PageSetupActive()
{
    DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild());
    if (window && window->CanPrint() && !window->PrintSetup())
        ShowErrorBox(nullptr, NoPrinterMessage, 0);
    return 1;
}

long MainFrame::UndoActive()
{
    if (DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild()))
        window->Undo();
    return 1;
}

long MainFrame::RedoActive()
{
    if (DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild()))
        window->Redo();
    return 1;
}

long MainFrame::RedrawActive()
{
    if (DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild()); window && window->Pane())
        window->InvalidateAll();
    return 1;
}

void MainFrame::ZoomActive(bool in)
{
    DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild());
    ZoomPane* pane = window ? window->Pane() : nullptr;
    if (!pane || !(in ? pane->CanZoomIn() : pane->CanZoomOut()))
        return;
    pane->ZoomStep(in);
    window->InvalidateAll();
}

long MainFrame::ZoomDialogActive()
{
    DocChildWindow* window = AsDocChild(MDIframeCL::ActiveChild());
    ZoomPane* pane = window ? window->Pane() : nullptr;
    if (pane && (pane->CanZoomIn() || pane->CanZoomOut()))
        ZoomDialog(pane).RunModal();
    return 1;
}

long MainFrame::About()
{
    ShowInfoBox("About KIVO", "KIVO 3.5\nDecision analysis", 0);
    return 1;
}

void MainFrame::UpdateMenus()
{
    Menu* bar = menuBar_;
    if (!bar)
        return;
    // The texts first: setting one enables its item.
    DocChildWindow* document = AsDocChild(MDIframeCL::ActiveChild());
    const UndoHistory none;
    const UndoHistory& history = document ? document->History() : none;
    SetMenuItemText(bar, Cmd::EditUndo, history.UndoMenuText().Text());
    SetMenuItemText(bar, Cmd::EditRedo, history.RedoMenuText().Text());
    // A diagram window names the item after what it converts to.
    SetMenuItemText(bar, Cmd::FileConvertToOutline, "Convert to Outline");
    for (const auto& item : PlainEditTexts)
        SetMenuItemText(bar, item.id, item.text);
    SetMenuItemText(bar, Cmd::EditShowTreeClipboard,
                    TheTreeClipboard().Window() ? "Hide Tr&ee Clipboard" : "Show Tr&ee Clipboard");
    SetMenuItemText(bar, Cmd::DisplayHideStatusBar, StatusBarVisible() ? "Hide Status Ba&r" : "Show Status Ba&r");
    SetMenuItemText(bar, Cmd::DisplayToolBar, ToolBarVisible() ? "Hide &Tool Bar" : "Show &Tool Bar");
    // Then the states: the frame's commands by their rules; those the active window takes are its to state.
    for (const CommandRow& row : Commands)
        if (row.handler != nullptr || row.rule == nullptr)
            bar->GrayItem(row.id, row.rule == nullptr || !row.rule(*this));
    for (unsigned id : GrayedUntilTheWindowSays)
        bar->GrayItem(id, 1);
    if (document)
        document->UpdateMenus(bar->Handle());
}

void MainFrame::RefreshCommands()
{
    ApplyCommandStates();
    if (!refreshPosted_ && handle_ != nullptr && PostMessageA(handle_, RefreshCommandsMessage, 0, 0))
        refreshPosted_ = true;
}

long MainFrame::OnRefreshCommands(WindowEvent*)
{
    refreshPosted_ = false;
    // Without a window the states were set once and for all.
    auto* child = dynamic_cast<DocChildWindow*>(ActiveChild());
    if (child != nullptr && !ending_ && !startupBusy_)
        child->SetDefaultCommandStates();
    return 1;
}

void MainFrame::ApplyCommandStates()
{
    if (auto* child = dynamic_cast<DocChildWindow*>(ActiveChild())) {
        child->SetDefaultCommandStates();
    } else {
        EnableSaveCommand(0);
        EnablePrintCommands(0);
        // No window gives the buttons a rule.
        EnableToolbarButtons([](unsigned) { return false; });
        CheckRollBackButton(false);
        SelectDefaultMode();
        // The last window's texts leave with it.
        ClearStatusIndicators();
        ShowStatusMessage("");
    }
    SetNavigatingButton(ThePreferences().navigating ? 1 : 0);
}
