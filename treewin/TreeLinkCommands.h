#pragma once
// The tree window's link commands (TreeLinkCommands.cpp). Copy Special (1216) on one node: its picture, or a
// link to one of its values on the clipboard; Paste Link (1217) types the formula of the clipboard's link into
// the open probability; Break Link (1218) the node's links; Links (1213) and Clones (1220) their dialogs. Each
// is refused where its menu item is grayed.

class TreeWindow;

namespace TreeLinks {

bool CanCopySpecial(const TreeWindow& tree);
bool CanPasteLinkHere(const TreeWindow& tree);
bool CanBreakLink(const TreeWindow& tree);
void CopySpecial(TreeWindow& tree);
void PasteLinkIntoEditor(TreeWindow& tree);
void BreakLink(TreeWindow& tree);
void ShowLinks(TreeWindow& tree);
void ShowClones(TreeWindow& tree);

} // namespace TreeLinks
