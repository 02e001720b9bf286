#pragma once
// The program's own clipboard for nodes and subtrees, apart from the system clipboard: four numbered slots,
// one of them current, and one slot for an arrow. A stored node with children is a subtree: its root keeps
// no kind (0) and no texts. Stored trees belong to no document. Each slot's Edit-menu item (1208 to 1211)
// tells what it holds: "Tree Clipboard &2 (Node)", "... (Subtree)" or nothing after the number when empty.

#include "foundation/zString.h"

#include "CommandIds.h"

#include <memory>

struct TreeArrow;
struct TreeNode;
class Menu;
class TreeClipboardWindow;

class TreeClipboard {
public:
    static constexpr int kSlots = 4;

    TreeClipboard();
    ~TreeClipboard();
    TreeClipboard(const TreeClipboard&) = delete;
    TreeClipboard& operator=(const TreeClipboard&) = delete;

    // A slot outside 0 to 3 means the current slot throughout.
    // Replaces the slot's tree by a copy of the node's subtree (clone copies left empty), or empties it.
    void Store(const TreeNode* node, int slot);
    // A new copy of the slot's tree, owned by the caller; null when the slot is empty.
    TreeNode* Fetch(int slot) const;
    // The stored tree itself, or null.
    TreeNode* Get(int slot) const;
    // The stored tree, shared: a stored tree is never changed, and a holder keeps it after the slot is
    // stored over.
    std::shared_ptr<const TreeNode> Share(int slot) const { return slots[SlotIndex(slot)]; }
    void SelectSlot(int slot);
    int Current() const { return current; }

    // The arrow slot holds a copy of the arrow, or nothing for null.
    void SetArrow(const TreeArrow* arrow);
    const TreeArrow* Arrow() const { return arrow.get(); }

    // The Edit-menu text of the slot's item.
    void SlotItemText(int slot, zString& out) const;
    // From now on the four slot items of this menu bar (null: none) show the slots' titles and the current
    // slot's check; they are set at once.
    void ShowInMenu(Menu* bar);

    // The window showing the current slot (command 1212): closed when it is open, else made and shown.
    void ToggleWindow();
    TreeClipboardWindow* Window() const { return window; }
    // The window shows the current slot again; nothing without a window.
    void RefreshWindow();
    // Called by the window as it goes.
    void WindowClosed(const TreeClipboardWindow* closed);

private:
    int SlotIndex(int slot) const { return slot >= 0 && slot < kSlots ? slot : current; }
    // Puts the slot's text on its item of the menu bar and checks the current slot's item.
    void UpdateMenuItems(int slot) const;

    std::shared_ptr<TreeNode> slots[kSlots];
    int16_t current = 0;
    std::unique_ptr<TreeArrow> arrow;
    TreeClipboardWindow* window = nullptr;
    Menu* menuBar = nullptr; // the frame's, which shows the slots
};

// The program's tree clipboard, made on first use.
TreeClipboard& TheTreeClipboard();
