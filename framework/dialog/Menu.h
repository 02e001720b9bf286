#pragma once
// A menu object: owns a system menu handle and routes the menu's messages to its handlers.

#include "framework/dialog/CommandTarget.h"
#include "foundation/zString.h"

class Menu : public CommandTarget {
public:
    // An empty pop-up menu without an owner.
    Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    // Takes the menu off its owner's bar when it is still there, then destroys it.
    ~Menu() override;

    HMENU Handle() const { return menu_; }
    // The owner's window is gone and took the menu bar with it.
    void ForgetHandle() { menu_ = nullptr; }

    // Appends a string item with its command id.
    bool AppendItem(UINT id, const char* text);
    bool AppendSeparator();
    // Appends the child as a sub-menu under the text; the child's handle then belongs to this menu.
    bool AppendSubMenu(Menu& child, const char* text);
    // Removes and destroys every item, sub-menus included.
    void Clear();
    int ItemCount() const;
    // The text of the item with the command id, sub-menus included; false when there is none.
    bool ItemText(UINT id, zString& out) const;

protected:
    HMENU menu_ = nullptr;
};
