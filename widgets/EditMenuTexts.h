#pragma once
// The titles of the Edit menu's Cut, Copy, Clear and Paste, which name what each would act on: "Cu&t Node",
// "&Copy..." when it would ask among several kinds. A context menu shows them without '&' and key texts.

#include <string>

// The item's verb followed by the word (null: "..."; empty: the verb alone); on the menu bar with its key
// text ("\tCtrl+X").
std::string EditItemText(unsigned id, const char* word, bool popup);
