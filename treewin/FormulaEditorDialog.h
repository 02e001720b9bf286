#pragma once
// The Formula Editor (dialog 5000): the text of another dialog's formula field edited in a larger edit,
// with the formula menus and, for a tree's fields, the Distributions chooser. OK, once the formula parses,
// puts the text back into the field; Cancel leaves the field as it was.

class EditCtrl;
class TreeWindow;

// The three texts go into the statics above, between and below (null: empty); a caption replaces the
// dialog's. True when the field took the edited text.
bool RunFormulaEditor(TreeWindow* tree, EditCtrl& field, const char* above, const char* between, const char* below,
                      const char* caption);
