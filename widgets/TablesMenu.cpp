#include "widgets/TablesMenu.h"

#include "widgets/NamePopupMenu.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"

#include <memory>

namespace {

std::unique_ptr<NamePopupMenu>& TheTablesMenu()
{
    static std::unique_ptr<NamePopupMenu> menu;
    return menu;
}

void RebuildTablesMenu()
{
    NamePopupMenu* menu = TheTablesMenu().get();
    if (!menu)
        return;
    menu->Rebuild();
    const TableRegistry& registry = Tables();
    for (int i = 0; i < registry.Count(); ++i)
        menu->AddName(kFirstTableMenuId + i, registry.EntryAt(i)->table->Name().Text());
    menu->Build();
}

}  // namespace

NamePopupMenu* TablesMenu()
{
    return TheTablesMenu().get();
}

void UpdateTablesMenu(Host::TablesEvent event)
{
    switch (event) {
    case Host::TablesLoaded:
        TheTablesMenu() = std::make_unique<NamePopupMenu>();
        RebuildTablesMenu();
        break;
    case Host::TablesEdited:
        RebuildTablesMenu();
        break;
    case Host::TablesFreed:
        TheTablesMenu().reset();
        break;
    }
}

int InsertMenuItemText(unsigned id, HWND edit)
{
    NamePopupMenu* menu = TheTablesMenu().get();
    zString text;
    if (!menu || !menu->ItemText(id, text))
        return 0;
    if (text.Length() > 50)
        text.Truncate(50);
    text += "[]";
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.Text()));
    PostMessageA(edit, WM_KEYDOWN, VK_LEFT, 0);
    SetFocus(edit);
    return 1;
}

void FillTableNameControl(HWND list)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const TableRegistry& registry = Tables();
    for (int i = 0; i < registry.Count(); ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(registry.EntryAt(i)->table->Name().Text()));
}
