#pragma once
// The program's host: the core's requests reach the program's message boxes, status-bar progress, cursor
// stack, status line, frame commands, idle list and dialogs; the engines' outcomes reach its boxes and tree
// windows. Installed for the life of the program (and by the test main, so that tests see what the program
// does).

#include "formula/SpreadsheetAutomation.h"
#include "formula/RunOutcome.h"
#include "foundation/Host.h"
#include "model/LegacyTreeImporter.h"

#include <map>
#include <memory>

class AppHost : public Host {
public:
    AppHost();
    ~AppHost() override;

    int PresentMessage(const MessageBoxRequest& request) override;
    bool EscapePressed() override;
    uint32_t TickCount() override;
    bool ShiftAndControlHeld() override;
    int32_t PushProgress(const char* text, double total) override;
    void StepProgress(int32_t handle, double position) override;
    void PopProgress(int32_t handle) override;
    void PushWaitCursor() override;
    void PopCursor() override;
    PixelsPerInch ScreenResolution() override;
    bool DefaultFont(const char* name, FontRecord& font) override;
    void ShowStatus(const char* text) override;
    void CommandsChanged() override;
    void AddIdleTask(IdleWork* task) override;
    void RemoveIdleTask(IdleWork* task) override;
    void TablesChanged(TablesEvent event) override;
    TableConflictChoice ChooseTableConflict(const char* tableName) override;
    PasteChoice ChoosePasteMerge() override;
    bool EditTableProperties(const LookupTable* table, TableProperties& properties) override;
    void ShowVariableDefinitions(const char* name, const NameList& lines) override;
    bool LocateFile(const char* title, const char* initial, const char* const* filters, zString& path) override;

private:
    class IdleEntry;
    // The outcome presenter in charge before this host installed the program's.
    OutcomePresenter previousPresenter;
    // The spreadsheet contact of the program (automation) replaces the one in charge before.
    SpreadsheetAutomationMaker previousSpreadsheetMaker;
    // The importer of older text trees asks through the program's dialogs.
    LegacyImportPrompts previousImportPrompts;
    std::map<IdleWork*, std::unique_ptr<IdleEntry>> idleEntries;
};
