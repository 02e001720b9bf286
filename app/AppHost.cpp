#include "app/AppHost.h"

#include "widgets/CursorStack.h"
#include "widgets/EscapeKey.h"
#include "widgets/FrameCommands.h"
#include "widgets/MessageBoxes.h"
#include "widgets/MessageOwnerWindow.h"
#include "app/OutcomeBoxes.h"
#include "app/ProgressWindow.h"
#include "app/StartProgram.h"
#include "widgets/StatusMessage.h"
#include "widgets/TablesMenu.h"
#include "widgets/WindowPlacement.h"
#include "foundation/FontRecord.h"
#include "dialogs/LegacyImportDialogs.h"
#include "dialogs/PasteTableDialog.h"
#include "dialogs/TableConflictDialog.h"
#include "dialogs/TablePropertiesDialog.h"
#include "dialogs/VariableDefsDialog.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/window/BusyAnswer.h"
#include "framework/window/EventTarget.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "framework/window/ScreenMetrics.h"
#include "widgets/ComSpreadsheet.h"

// An idle task as the framework's idle list calls it.
class AppHost::IdleEntry : public EventTarget {
public:
    explicit IdleEntry(IdleWork* task) : task(task) {}
    // The task may remove itself, and so this entry, while it runs: nothing here is touched after it.
    long Run()
    {
        task->OnIdle();
        return 0;
    }

private:
    IdleWork* task;
};

AppHost::AppHost()
    : previousPresenter(SetOutcomePresenter(ShowOutcomeInWindows)),
      previousSpreadsheetMaker(SetSpreadsheetAutomationMaker(MakeComSpreadsheet)),
      previousImportPrompts(SetLegacyImportPrompts(LegacyImportDialogs()))
{
}

AppHost::~AppHost()
{
    SetOutcomePresenter(previousPresenter);
    SetSpreadsheetAutomationMaker(previousSpreadsheetMaker);
    SetLegacyImportPrompts(previousImportPrompts);
    for (auto& entry : idleEntries)
        if (TheApp != nullptr)
            TheApp->Idle()->Remove(entry.second.get(), &IdleEntry::Run);
}

int AppHost::PresentMessage(const MessageBoxRequest& request)
{
    return PresentMessageBox(request);
}

bool AppHost::EscapePressed()
{
    AnswerSentMessages();
    return ::EscapePressed();
}

bool AppHost::ShiftAndControlHeld()
{
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0 && (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

uint32_t AppHost::TickCount()
{
    return ::TickCount();
}

int32_t AppHost::PushProgress(const char* text, double total)
{
    return static_cast<int32_t>(ProgressWindow::Push(text, 0.0, total));
}

void AppHost::StepProgress(int32_t handle, double position)
{
    ProgressWindow::Step(static_cast<uint32_t>(handle), position);
    AnswerSentMessages();
}

void AppHost::PopProgress(int32_t handle)
{
    ProgressWindow::Pop(static_cast<uint32_t>(handle));
}

void AppHost::PushWaitCursor()
{
    ::PushWaitCursor();
}

void AppHost::PopCursor()
{
    ::PopCursor();
}

PixelsPerInch AppHost::ScreenResolution()
{
    const ScreenMetrics& screen = Screen();
    return {static_cast<double>(screen.logPixelsX), static_cast<double>(screen.logPixelsY)};
}

void AppHost::ShowStatus(const char* text)
{
    ShowStatusMessage(text);
    AnswerSentMessages();
}

void AppHost::CommandsChanged()
{
    RefreshFrameCommands();
}

void AppHost::AddIdleTask(IdleWork* task)
{
    if (TheApp == nullptr || idleEntries.count(task) != 0)
        return;
    auto entry = std::make_unique<IdleEntry>(task);
    TheApp->Idle()->Add(entry.get(), &IdleEntry::Run);
    idleEntries[task] = std::move(entry);
}

void AppHost::RemoveIdleTask(IdleWork* task)
{
    const auto found = idleEntries.find(task);
    if (found == idleEntries.end())
        return;
    if (TheApp != nullptr)
        TheApp->Idle()->Remove(found->second.get(), &IdleEntry::Run);
    idleEntries.erase(found);
}

void AppHost::TablesChanged(TablesEvent event)
{
    UpdateTablesMenu(event);
}

Host::TableConflictChoice AppHost::ChooseTableConflict(const char* tableName)
{
    TableConflictDialog dialog(tableName);
    switch (dialog.Run()) {
    case TableConflictDialog::Rename:
        return RenameNewTable;
    case TableConflictDialog::Overwrite:
        return OverwriteOldTable;
    default:
        return IgnoreNewTable;
    }
}

Host::PasteChoice AppHost::ChoosePasteMerge()
{
    switch (PasteTableDialog::Ask()) {
    case PasteTableDialog::KeepLast:
        return KeepLastEntry;
    case PasteTableDialog::KeepFirst:
        return KeepFirstEntry;
    case PasteTableDialog::Cancel:
        return CancelPaste;
    default:
        return SumEntries;
    }
}

bool AppHost::EditTableProperties(const LookupTable* table, TableProperties& properties)
{
    TablePropertiesDialog dialog(table, properties.name.Text(), properties.file.Text(), properties.comment.Text(),
                                 properties.method, properties.offEdgeIsError);
    if (!dialog.RunModal())
        return false;
    properties.name = dialog.name;
    properties.file = dialog.file;
    properties.comment = dialog.comment;
    properties.method = dialog.Method();
    properties.offEdgeIsError = dialog.offEdgeIsError != 0;
    return true;
}

bool AppHost::DefaultFont(const char* name, FontRecord& font)
{
    const FontRecord* found = TheProgram()->DefaultFontNamed(name);
    if (found == nullptr)
        return false;
    font = *found;
    return true;
}

void AppHost::ShowVariableDefinitions(const char* name, const NameList& lines)
{
    VariableDefsDialog(name, lines).Run();
}

bool AppHost::LocateFile(const char* title, const char* initial, const char* const* filters, zString& path)
{
    FileDialogResult result;
    ShowOpenFileDialog(result, MessageOwnerWindow(), title, initial, filters, PlaceDialogInFrame);
    if (!result.chosen)
        return false;
    path = result.path;
    return true;
}
