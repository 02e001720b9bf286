#pragma once
// A pop-up menu of names with command ids (the tables menu, a tree's variables menu). Names are collected
// first and the menu is made by Build; more than 25 names are grouped into sub-menus by initial character.

#include "framework/dialog/Menu.h"

#include <memory>
#include <string>
#include <vector>

class NamePopupMenu {
public:
    static constexpr int kMaxFlatItems = 25;

    NamePopupMenu() = default;

    // Forgets the names and empties the menu.
    void Rebuild();
    void AddName(unsigned id, const char* name);
    void Build();

    int NameCount() const { return static_cast<int>(names.size()); }
    const Menu& GetMenu() const { return menu; }
    HMENU Handle() const { return menu.Handle(); }
    // The text of the item with the command id; false when there is none.
    bool ItemText(unsigned id, zString& out) const { return menu.ItemText(id, out); }
    // The command id of the i-th name added, 0 when out of range.
    unsigned IdAt(int i) const;

private:
    struct Entry {
        unsigned id;
        std::string name;
    };
    std::vector<Entry> names;
    std::vector<std::unique_ptr<Menu>> subMenus;
    Menu menu;
};
