#include "treewin/TreeClipboard.h"

#include "framework/dialog/Menu.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeClipboardWindow.h"

#include <string>

namespace {

// A copy of the subtree belonging to no document; the contents of clone copies are left out.
TreeNode* DetachedCopy(const TreeNode& source)
{
    auto* copy = new TreeNode(source, true, false);
    ForEachInSubtree(copy, [](TreeNode* node) { node->SetDocument(nullptr); });
    return copy;
}

} // namespace

TreeClipboard::TreeClipboard() = default;
TreeClipboard::~TreeClipboard()
{
    delete window;
}

void TreeClipboard::Store(const TreeNode* node, int slot)
{
    slot = SlotIndex(slot);
    std::shared_ptr<TreeNode> stored(node ? DetachedCopy(*node) : nullptr);
    if (stored && stored->childCount > 0) {
        stored->kind = 0;
        stored->text.Clear();
        stored->probability.SetText("");
    }
    slots[slot] = std::move(stored);
    RefreshWindow();
    UpdateMenuItems(slot);
}

TreeNode* TreeClipboard::Fetch(int slot) const
{
    const TreeNode* stored = slots[SlotIndex(slot)].get();
    return stored ? DetachedCopy(*stored) : nullptr;
}

TreeNode* TreeClipboard::Get(int slot) const
{
    return slots[SlotIndex(slot)].get();
}

void TreeClipboard::SelectSlot(int slot)
{
    slot = SlotIndex(slot);
    if (slot == current)
        return;
    current = static_cast<int16_t>(slot);
    RefreshWindow();
    UpdateMenuItems(slot);
}

void TreeClipboard::SetArrow(const TreeArrow* source)
{
    arrow.reset(source ? new TreeArrow(*source) : nullptr);
}

void TreeClipboard::SlotItemText(int slot, zString& out) const
{
    slot = SlotIndex(slot);
    std::string text = "Tree Clipboard &" + std::to_string(slot + 1);
    if (const TreeNode* stored = slots[slot].get())
        text += stored->kind == 0 ? " (Subtree)" : " (Node)";
    out = text.c_str();
}

void TreeClipboard::UpdateMenuItems(int slot) const
{
    if (!menuBar || !menuBar->Handle())
        return;
    zString text;
    SlotItemText(slot, text);
    const UINT id = Cmd::EditTreeClipboard1 + static_cast<UINT>(slot);
    ModifyMenuA(menuBar->Handle(), id, MF_BYCOMMAND | MF_STRING, id, text.Text());
    for (int i = 0; i < kSlots; ++i)
        menuBar->CheckItem(Cmd::EditTreeClipboard1 + static_cast<UINT>(i), i == current);
}

void TreeClipboard::ShowInMenu(Menu* bar)
{
    menuBar = bar;
    for (int slot = 0; slot < kSlots; ++slot)
        UpdateMenuItems(slot);
}

void TreeClipboard::ToggleWindow()
{
    if (window != nullptr) {
        delete window;
        return;
    }
    window = new TreeClipboardWindow(*this);
    RefreshWindow();
    window->Show(SW_SHOWNORMAL);
}

void TreeClipboard::RefreshWindow()
{
    if (window != nullptr)
        window->Refresh();
}

void TreeClipboard::WindowClosed(const TreeClipboardWindow* closed)
{
    if (window == closed)
        window = nullptr;
}

TreeClipboard& TheTreeClipboard()
{
    static TreeClipboard clipboard;
    return clipboard;
}
