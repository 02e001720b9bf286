#pragma once
// A pop-up menu of names with command ids (the tables menu, a tree's variables menu). Names are collected
// first, kept sorted by their key (the name in upper case without "_"), and the menu is made by Build. More
// than 25 names are grouped into sub-menus by ranges of initial characters ("0"-"9", then "A"-"Z"), each
// group at most 25 names; a single initial with more than 25 splits again on the following character.
// Names beginning with other characters stay in the menu that splits, above its sub-menus.

#include "framework/dialog/Menu.h"

#include <memory>
#include <string>
#include <vector>

struct NameEntry {
    std::string name; // as shown
    std::string key;  // for sorting and splitting
    unsigned commandId;
};

class NamePopupMenu {
public:
    static constexpr int kMaxFlatItems = 25;

    NamePopupMenu() = default;
    NamePopupMenu(const NamePopupMenu&) = delete;
    NamePopupMenu& operator=(const NamePopupMenu&) = delete;

    // Empties the menu and forgets the names (Reset), then builds what is left: an empty menu.
    void Rebuild();
    // Inserts the name before the first entry whose key is equal or greater.
    void AddName(unsigned id, const char* name);
    // Splits, collapses and fills the menu; the entries then live on as menu items.
    void Build();

    // Names added since the last reset.
    int NameCount() const { return static_cast<int>(added_.size()); }
    const Menu& GetMenu() const { return menu_; }
    Menu& GetMenu() { return menu_; }
    HMENU Handle() const { return menu_.Handle(); }
    // The text of the item with the command id, sub-menus included; false when there is none.
    bool ItemText(unsigned id, zString& out) const { return menu_.ItemText(id, out); }
    // The command id of the i-th name added, 0 when out of range.
    unsigned IdAt(int i) const;

private:
    NamePopupMenu(std::string title, int position);

    void Reset();
    void SplitByInitial();
    void MakeSubMenu(char low, char high);
    void Collapse();
    void Fill();

    std::vector<NameEntry> entries_; // sorted by key
    std::vector<std::unique_ptr<NamePopupMenu>> subMenus_;
    int position_ = 0;  // the key character this menu splits on
    std::string title_; // the prefix that leads to this menu
    std::vector<unsigned> added_;
    Menu menu_;
};

// A new menu holding a deep copy of the menu's items and sub-menus (item texts cut to 63 characters).
std::unique_ptr<Menu> CopyMenu(HMENU menu);
