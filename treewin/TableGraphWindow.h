#pragma once
// The window of one lookup table (template 32009, menu 117): a list of its entries, the Table menu to add,
// edit and delete entries and to open the table's properties, copy and paste of the whole table as text,
// and the table drawn as a line graph. The main frame keeps one such window per table. Every change is
// saved to the table's file at once, so nothing is lost when the program ends.

#include "treewin/TreeChildWindow.h"

#include "CommandIds.h"

class LineGraph;
class LookupTable;
class NotifyListCtrl;
class zString;

class TableGraphWindow : public TreeChildWindow {
public:

    explicit TableGraphWindow(LookupTable* table);
    // Leaves the frame's list of table windows.
    ~TableGraphWindow() override;

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void UpdateMenus(HMENU bar) override;
    // Whether the command is the window's, and whether its rule allows it now.
    static bool HasCommand(unsigned id);
    bool CommandAllowed(unsigned id);

    // The table's name equals the text, regardless of case.
    bool ShowsTable(const char* name) const;
    // The table shown; null once it left the tables directory (the window then closes).
    LookupTable* Table() const;

    // The list again from the table: a tab, the index, a tab, the value.
    void Refill();
    // The Edit Table Entry dialog on the selected row; on OK the pair replaces that entry.
    void EditSelectedEntry();
    // The Add Table Entry dialog; on OK its pairs are set in the table.
    void AddEntries();
    int SelectedRow() const;

    // The table form of a clipboard line: blanks, digits or decimal points, blanks, a tab, the same again,
    // then the end of the text or of the line. Signs and exponents do not pass.
    static bool IsTableText(const char* text);

private:
    struct CommandRow {
        unsigned id;
        void (TableGraphWindow::*handler)();
        bool (*rule)(TableGraphWindow& window);
    };
    static const CommandRow Commands[];

    void CopyTable();
    void PasteTable();
    void DeleteEntry();
    void EditProperties();
    void GraphTableCommand();
    void SetTitleFromName();
    // Saves the changed table and shows it with the row selected (-1: none).
    void Changed(int row);
    long OnEntryChosen(WindowEvent* event);

    LookupTable* table_;
    NotifyListCtrl* entryList_ = nullptr;
};

// The table's window: brought forward when open, else made and shown; null when no table has the name.
// Without the program's frame no window is kept.
TableGraphWindow* OpenTableGraph(const char* name);
// Closes the windows of the named table (it is about to go).
void CloseTableGraphs(const char* name);
// The line graph of a table with entries: the values over the indexes, laid out and shown.
LineGraph* GraphTable(LookupTable& table);
