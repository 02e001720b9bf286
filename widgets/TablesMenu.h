#pragma once
// The tables menu of the program: a pop-up of the tables' names in registry order (ids from
// kFirstTableMenuId), made when the tables directory is loaded and built again whenever the tables change.

#include "foundation/Host.h"

#include <windows.h>

class NamePopupMenu;

// The menu; null while the tables directory is not loaded.
NamePopupMenu* TablesMenu();
// Follows a change of the tables: made and built on loading, built again on an edit, dropped when freed.
void UpdateTablesMenu(Host::TablesEvent event);
// Replaces the edit control's selection by the menu item's text and "[]" and puts the caret between the
// brackets; 1 when the id names a table item, else 0.
int InsertMenuItemText(unsigned id, HWND edit);
// Empties a list box and adds every table's name in registry order.
void FillTableNameControl(HWND list);
