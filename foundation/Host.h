#pragma once
// The host seam: the one way the computing core (foundation, formula, model, analysis) reaches what only the
// program running it can give: message boxes, progress entries, the Escape key and the clock, the wait
// cursor, the status line, idle tasks, and the dialogs that core operations open. The program installs its
// implementation at start-up; without one the core runs headless (boxes take their first button, no key is
// ever pressed, progress and cursors are only counted, dialogs give their initial answer).

#include "foundation/zString.h"

#include <cstdint>

class FontRecord;
class LookupTable;
class NameList;

// What one message box asks of the user: caption (already defaulted), text, MessageBox style bits (MB_...)
// and help context.
struct MessageBoxRequest {
    const char* caption;
    const char* text;
    unsigned style;
    int help;
};

// Work done in slices while the program is idle: the host calls OnIdle until the task removes itself.
class IdleWork {
public:
    virtual ~IdleWork() = default;
    virtual void OnIdle() = 0;
};

// The values the table properties dialog edits (method: LookupTable's method numbers).
struct TableProperties {
    zString name;
    zString file;
    zString comment;
    int32_t method = 0;
    bool offEdgeIsError = false;
};

// What a host can be told to keep from the person for a while: notices (error and information boxes;
// questions still ask), and formula messages (a formula's error message and its offers to create a missing
// variable or table).
enum class Silence : int { Notices, FormulaMessages };

// A screen's resolution.
struct PixelsPerInch {
    double x;
    double y;
};

class Host {
public:
    // Answers of the table conflict dialog and of the paste table dialog.
    enum TableConflictChoice : int { IgnoreNewTable = 0, RenameNewTable = 3402, OverwriteOldTable = 3403 };
    enum PasteChoice : int { KeepLastEntry = 0, KeepFirstEntry = 1, SumEntries = 2, CancelPaste = 3 };
    // What happened to the lookup tables: the directory was loaded, a table was made, renamed or deleted,
    // the tables were freed.
    enum TablesEvent : int { TablesLoaded, TablesEdited, TablesFreed };

    virtual ~Host() = default;

    // Shows the box and returns the Win32 id of the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int PresentMessage(const MessageBoxRequest& request);

    // True when Escape was pressed since the last question; milliseconds since the system started.
    virtual bool EscapePressed();
    virtual uint32_t TickCount();
    // True while the person holds Shift and Control down (a tree opened so has its formulas parsed anew).
    virtual bool ShiftAndControlHeld();

    // Status-bar progress: pushes an entry (handle 1 and above), moves its bar, pops it.
    virtual int32_t PushProgress(const char* text, double total);
    virtual void StepProgress(int32_t handle, double position);
    virtual void PopProgress(int32_t handle);

    // The wait cursor, pushed and popped in nested pairs.
    virtual void PushWaitCursor();
    virtual void PopCursor();

    // The screen's resolution (96 by 96 without a screen): records stored in screen pixels convert by it.
    virtual PixelsPerInch ScreenResolution();

    // The program's default font of that name ("Tree", "Prob", "EV", "Variables", "PageHeader", ...) into
    // font; false, the font unchanged, when there is none.
    virtual bool DefaultFont(const char* name, FontRecord& font);

    // The text of the status line (empty clears it).
    virtual void ShowStatus(const char* text);
    // A change of state that enables or disables commands (an analysis starting or ending).
    virtual void CommandsChanged();

    // Idle tasks; a task removes itself from inside OnIdle when its work is done.
    virtual void AddIdleTask(IdleWork* task);
    virtual void RemoveIdleTask(IdleWork* task);

    // The lookup tables changed (the program keeps its tables menu by them).
    virtual void TablesChanged(TablesEvent event);

    // Dialogs of core operations.
    // A table of that name exists already: ignore, rename or overwrite the new one.
    virtual TableConflictChoice ChooseTableConflict(const char* tableName);
    // Pasted pairs meet indexes the table holds already (CancelPaste: paste nothing).
    virtual PasteChoice ChoosePasteMerge();
    // Edits a new (table null) or existing table's properties; true when the person confirmed.
    virtual bool EditTableProperties(const LookupTable* table, TableProperties& properties);
    // Lists every definition of one variable (a line per node) until the person closes the list.
    virtual void ShowVariableDefinitions(const char* name, const NameList& lines);
    // Asks for an existing file ("Locate Payoffs File"); false when the person cancels.
    virtual bool LocateFile(const char* title, const char* initial, const char* const* filters, zString& path);

    // True while a HostSilence scope of that kind lives. The silence holds for whichever host is in
    // charge, so a host that wraps another (to record messages) keeps it.
    static bool Silenced(Silence kind);

private:
    friend class HostSilence;
    static int silenced[2];
};

// The host in charge (the headless one until the program installs its own).
Host& TheHost();
// Installs a host (null: the headless one again) and returns the one it replaces (null for the headless one).
Host* SetHost(Host* host);

// Silences one kind of message for the scope's lifetime; scopes nest.
class HostSilence {
public:
    explicit HostSilence(Silence kind) : index(static_cast<int>(kind)) { ++Host::silenced[index]; }
    ~HostSilence() { --Host::silenced[index]; }
    HostSilence(const HostSilence&) = delete;
    HostSilence& operator=(const HostSilence&) = delete;

private:
    int index;
};

// Holds the wait cursor for its lifetime.
class HostWaitCursor {
public:
    HostWaitCursor() { TheHost().PushWaitCursor(); }
    ~HostWaitCursor() { TheHost().PopCursor(); }
    HostWaitCursor(const HostWaitCursor&) = delete;
    HostWaitCursor& operator=(const HostWaitCursor&) = delete;
};
