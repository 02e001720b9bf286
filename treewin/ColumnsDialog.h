#pragma once
// Columns (dialog 4430): the tree's result columns edited on a working copy — their order, headers,
// calculations, number formats and fonts. OK, once the current column passes its checks, replaces the
// tree's list by the working one; Cancel leaves the tree's list as it was.

#include "widgets/AppDialog.h"
#include "model/DisplayColumnList.h"

#include <memory>

class EditCtrl;
class FontSampleControl;
class MenuButton;
class TreeWindow;

class ColumnsDialog : public AppDialog {
public:
    // The menus' commands: a format source or a calculation kind added to these.
    enum : unsigned { kFirstFormatCommand = 500, kFirstKindCommand = 800 };

    explicit ColumnsDialog(TreeWindow& window);
    ~ColumnsDialog() override;

    long OnCommandId(unsigned id, unsigned code, HWND control) override;

    // A list line: the header, a tab and, after a header, the bracketed calculation (a custom calculation's
    // formula itself).
    static zString ColumnLabel(const DisplayColumn& column, bool costEffectiveness);

private:
    enum class Stored { Failed, Kept, Discard };

    DisplayColumn* Current() const { return working.At(current); }
    void BuildMenus();
    void FillList(int select);
    void LoadColumn();
    Stored StoreColumn(bool silent, bool mayDiscard);
    void OnSelect();
    void PickFormatSource(int source);
    void PickKind(int kind);
    void ShowFormatSample();
    void ToggleFont();
    void Move(int by);
    void Add();
    void Delete();
    int OkResult() override;

    TreeWindow& window;
    bool costEffectiveness;
    DisplayColumnList working{4, true};
    int current = -1;
    MenuButton* calculationButton = nullptr;
    MenuButton* formatButton = nullptr;
    EditCtrl* formulaField = nullptr;
    std::unique_ptr<FontSampleControl> fontSample;
};

// Runs the dialog on the tree's columns; true after OK, when the tree has the edited columns.
bool RunColumnsDialog(TreeWindow& window);
