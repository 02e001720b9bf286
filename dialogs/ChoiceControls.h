#pragma once
// Control bindings the program's choice dialogs share on the screen: a run of radio buttons with some of
// them unavailable, and the list chooser (dialog 2125: a prompt over a list, a double click is OK).

#include "widgets/ProgramDialog.h"

#include <functional>

class NameList;

// Runs the dialog with its radio buttons first..last showing `checked` (a button id), those `available`
// refuses disabled and the checked one focused; after OK `checked` is the chosen button. IDOK or IDCANCEL.
int RunRadioChoice(ProgramDialog& dialog, unsigned first, unsigned last, int& checked,
                   const std::function<bool(unsigned)>& available);

// Runs the list chooser with one row per name and `selected` preselected (the first row when out of range);
// after OK `selected` is the chosen row. IDOK or IDCANCEL.
int ShowListChooser(const char* caption, const char* prompt, const NameList& rows, int& selected);
