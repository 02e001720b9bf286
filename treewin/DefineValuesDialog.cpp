#include "treewin/DefineValuesDialog.h"
#include "treewin/TableGraphWindow.h"

#include "widgets/MenuButton.h"
#include "widgets/MultiSelectListBox.h"
#include "widgets/ProgramDialog.h"
#include "treewin/VariablePropertiesDialog.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/Menu.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/EventTarget.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/NameRules.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <memory>

namespace Ids = Ctl::DefineValues;

namespace {

// The left edges of the headings "Defined", "Tracker" and "Shown" from the list's left edge, in dialog
// units.
constexpr int kColumnUnits[3] = {65, 100, 135};

// "&Show Tables" keeps its state from one opening to the next.
int showTables = 1;

// A menu button of the dialog over the static, with the first pop-up of the menu resource.
MenuButton* MenuOver(ProgramDialog& dialog, unsigned menuId, unsigned control)
{
    std::unique_ptr<Menu> menu(Menu::PopupFromResource(ResourceId(menuId, nullptr)));
    return MakeOwningMenuButton(std::move(menu), &dialog, control);
}

// The list draws its lines itself: a line's name is cut short before the first heading, and each mark
// after a tab begins at the left edge of its heading, whatever the name's length.
class DefineValuesScreen : public EventTarget {
public:
    explicit DefineValuesScreen(DefineValuesDialog& values)
        : values(values), document(values.window.Document()), dialog(DialogRes::DefineValues),
          list(&dialog, Ids::ShownList)
    {
        PlaceColumns();
        dialog.AddHandler(this, &DefineValuesScreen::OnDrawItem, WM_DRAWITEM);
        MenuOver(dialog, MenuRes::DefineValuesNewPopup, Ids::NewText);
        valueButton = MenuOver(dialog, MenuRes::DefineValuesValuePopup, Ids::ValueText);
        CheckBoxCtrl::FromTemplate(&dialog, Ids::ShowTables, &showTables);
        dialog.OnNotification(Ids::ShownList, LBN_SELCHANGE, [this] { Update(); });
        dialog.OnButton(Ids::ShowTables, [this] {
            showTables = dialog.IsItemChecked(Ids::ShowTables);
            Fill();
        });
        dialog.OnButton(Cmd::DefineValuesAtSelectedNodes, [this] { AtSelectedNodes(); });
        dialog.OnButton(Cmd::DefineValuesTreeDefault, [this] { DefaultForTree(); });
        dialog.OnButton(Cmd::DefineValuesNewVariable, [this] { NewVariable(); });
        dialog.OnButton(Cmd::DefineValuesNewTable, [this] {
            if (LookupTable* table = NewTable())
                Fill(table->Name().Text());
        });
        dialog.OnButton(Ids::Properties, [this] { Properties(); });
        dialog.OnButton(Ids::Delete, [this] { Delete(); });
        Fill();
        if (Count() > 0)
            list.Select(0, true);
        Update();
    }

    int Run() { return dialog.Run(); }

private:
    int Count() const { return list.Box()->GetCount(); }

    // The font the list draws its lines in.
    HGDIOBJ ListFont() const { return reinterpret_cast<HGDIOBJ>(list.Box()->Send(WM_GETFONT)); }

    // The headings' left edges in the list's client coordinates, and lines as high as the list's font.
    void PlaceColumns()
    {
        const HWND box = list.Box()->Handle();
        RECT edge{};
        GetWindowRect(box, &edge);
        POINT origin{0, 0};
        ClientToScreen(box, &origin);
        ScopedScreenInfoContext dc;
        ScopedSelection font(dc.Get(), dialog.DialogFont());
        const zDialogUnit units(dc.Get());
        for (int i = 0; i < 3; ++i)
            columns[i] = edge.left + units.ToPixelsX(kColumnUnits[i]) - origin.x;
        ScopedSelection listFont(dc.Get(), ListFont());
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.Get(), &metrics);
        list.Box()->Send(LB_SETITEMHEIGHT, 0, metrics.tmHeight);
    }

    long OnDrawItem(WindowEvent* event)
    {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(event->lParam);
        if (item.CtlID != Ids::ShownList)
            return 0;
        const HDC dc = item.hDC;
        if (item.itemID != static_cast<UINT>(-1)) {
            const bool selected = (item.itemState & ODS_SELECTED) != 0;
            FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            SetBkMode(dc, TRANSPARENT);
            ScopedSelection font(dc, ListFont());
            zString line;
            list.Box()->GetString(line, static_cast<int>(item.itemID));
            const std::string text(line.Text());
            // Field 0 is the name (or a table line, which has no tab and takes the whole width).
            size_t start = 0;
            for (int field = 0; field <= 3 && start <= text.size(); ++field) {
                const size_t end = std::min(text.find('\t', start), text.size());
                const bool last = end == text.size();
                RECT place = item.rcItem;
                place.left = field == 0 ? item.rcItem.left + 2 : item.rcItem.left + columns[field - 1];
                if (!last && field < 3)
                    place.right = item.rcItem.left + columns[field] - 6;
                DrawTextA(dc, text.c_str() + start, static_cast<int>(end - start), &place,
                          DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
                start = end + 1;
            }
        }
        if ((item.itemState & ODS_FOCUS) != 0)
            DrawFocusRect(dc, &item.rcItem);
        return 1;
    }

    bool IsTable(int index) const { return tablesStart >= 0 && index > tablesStart; }
    bool IsVariable(int index) const { return tablesStart < 0 || index < tablesStart; }

    // The list again; the line of the name, when given, is selected.
    void Fill(const char* select = nullptr)
    {
        NameList lines(8, true);
        FillVariableRows(document, lines, 1, &values.window.Selection);
        NameList tables(4, true);
        ListTableNames(tables);
        tablesStart = -1;
        if (showTables && tables.Count() > 0) {
            tablesStart = lines.Count();
            lines.AddText(" ---- Tables ----");
            for (int i = 0; i < tables.Count(); ++i)
                lines.AddText((std::string(tables.At(i)->Text()) + "  [ ]").c_str());
        }
        ListBoxCtrl& box = *list.Box();
        box.Clear();
        for (int i = 0; i < lines.Count(); ++i)
            box.AddString(*lines.At(i));
        if (select != nullptr) {
            zString wanted(select);
            wanted.MakeUpper();
            for (int i = 0; i < lines.Count(); ++i) {
                zString name(*lines.At(i));
                NormalizeVariableName(name);
                name.MakeUpper();
                if (name == wanted) {
                    SetFocus(box.Handle());
                    list.Select(i, false);
                    break;
                }
            }
        }
        Update();
    }

    // The selected lines' names, normalised.
    zString NameAt(int i)
    {
        zString name;
        list.SelectedText(i, name);
        NormalizeVariableName(name);
        return name;
    }

    void Update()
    {
        const int count = list.ReadSelection();
        bool anyVariable = false;
        bool anyTable = false;
        for (int i = 0; i < count; ++i) {
            anyVariable = anyVariable || (tablesStart != 0 && IsVariable(list.SelectedAt(i)));
            anyTable = anyTable || IsTable(list.SelectedAt(i));
        }
        if (valueButton != nullptr) {
            Menu* valueMenu = valueButton->ButtonMenu();
            valueMenu->GrayItem(Cmd::DefineValuesAtSelectedNodes,
                                values.selectedCount == 0 || !anyVariable || anyTable);
            valueMenu->GrayItem(Cmd::DefineValuesTreeDefault, count == 0);
            valueButton->SetFaceText(anyTable && !anyVariable ? "Values..." : "Value...");
        }
        dialog.EnableItem(Ids::Properties,
                          count == 1 && (IsTable(list.SelectedAt(0)) || IsVariable(list.SelectedAt(0))));
        dialog.EnableItem(Ids::Delete, anyVariable || anyTable);
        zString information;
        if (count == 1 && IsTable(list.SelectedAt(0))) {
            if (LookupTable* table = FindTable(NameAt(0)))
                information = table->Comment();
        } else if (count == 1 && IsVariable(list.SelectedAt(0))) {
            GetVariableDescription(document, NameAt(0).Text(), information);
        }
        dialog.SetItemText(Ids::Information, information.Text());
    }

    void StoreSelection()
    {
        values.chosen.DeleteAll();
        for (int i = 0; i < list.ReadSelection(); ++i) {
            zString line;
            list.SelectedText(i, line);
            values.chosen.AddText(line.Text());
        }
    }

    void AtSelectedNodes()
    {
        namespace Choice = Ctl::DefineVariable2715;
        int checked = Choice::UseTheSameDefinitionAtAllNodes;
        if (values.selectedCount > 1 &&
            ProgramDialog::RunRadioChoice(DialogRes::DefineVariable2715, Choice::UseTheSameDefinitionAtAllNodes,
                                          Choice::UseADifferentDefinitionAtEachNode, checked) != IDOK)
            return;
        StoreSelection();
        values.defaultForTree = false;
        values.windowPerNode = checked == Choice::UseADifferentDefinitionAtEachNode;
        dialog.Accept();
    }

    void DefaultForTree()
    {
        StoreSelection();
        for (int i = 0; i < list.SelectionCount; ++i) {
            const DocVariable* variable = IsVariable(list.SelectedAt(i))
                                              ? document.FindVariable(NameAt(i).Text(), false) : nullptr;
            if (variable != nullptr && variable->tFlag) {
                ShowInfoBox(nullptr, "Monte Carlo tracking variables cannot have a default definition.", 0);
                return;
            }
        }
        values.defaultForTree = true;
        dialog.Accept();
    }

    void NewVariable()
    {
        VariablePropertiesDialog properties(values.window, nullptr);
        properties.RunModal();
        if (!properties.AppliedName().IsEmpty())
            Fill(properties.AppliedName().Text());
    }

    void Properties()
    {
        if (list.ReadSelection() != 1)
            return;
        if (IsTable(list.SelectedAt(0))) {
            LookupTable* table = FindTable(NameAt(0));
            if (table != nullptr && EditTableProperties(table))
                Fill(table->Name().Text());
            return;
        }
        DocVariable* variable = document.FindVariable(NameAt(0).Text(), false);
        if (variable == nullptr)
            return;
        VariablePropertiesDialog properties(values.window, *variable);
        properties.RunModal();
        if (!properties.AppliedName().IsEmpty())
            Fill(properties.AppliedName().Text());
    }

    void Delete()
    {
        const int count = list.ReadSelection();
        if (count == 0)
            return;
        std::string text = count == 1 ? "Deleting the item \"" + std::string(NameAt(0).Text()) + "\""
                                      : std::string("Deleting these items");
        text += " will destroy any definitions, and may leave unresolved references in formulas. Deleting cannot "
                "be undone, and the undo history will be cleared.";
        if (AskOkCancel("Delete", text.c_str(), 30002, 0) != 1)
            return;
        bool variables = false;
        for (int i = 0; i < count; ++i) {
            const zString name = NameAt(i);
            if (name.IsEmpty())
                continue;
            if (IsTable(list.SelectedAt(i))) {
                if (LookupTable* table = FindTable(name)) {
                    CloseTableGraphs(name.Text());
                    DeleteTable(table);
                }
            } else if (IsVariable(list.SelectedAt(i))) {
                DeleteVariable(document, name.Text());
                variables = true;
            }
        }
        if (variables) {
            document.VariablesChanged();
            // An undone edit would bring back definitions of a variable that no longer exists.
            values.window.ClearUndoHistory();
            values.window.SetModified(1);
        }
        list.ClearSelection();
        Fill();
    }

    DefineValuesDialog& values;
    TreeDocument& document;
    ProgramDialog dialog;
    MultiSelectListBox list;
    MenuButton* valueButton = nullptr;
    int tablesStart = -1;
    int columns[3] = {};
};

} // namespace

int DefineValuesDialog::Run()
{
    const int answer = HasPresenter() ? Present() : DefineValuesScreen(*this).Run();
    return answer == IDOK && chosen.Count() > 0 ? 1 : 0;
}
