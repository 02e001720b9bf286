#pragma once
// The formula menus that every formula field offers: Operators (menu 120), Functions (122), the tree's
// variables, Keywords (119) and Tables, as menu buttons over a window's statics, and a pick of one of them
// inserted into a formula edit. Also the checks and the distribution call that formula fields share.

#include "framework/window/EventTarget.h"

#include <windows.h>

class EditCtrl;
class MenuButton;
class TextField;
class TreeWindow;
class WindowCL;
class zString;

// The statics the buttons sit on; 0 where the window has none.
struct FormulaMenuControls {
    unsigned operators;
    unsigned functions;
    unsigned variables;
    unsigned keywords;
    unsigned tables;
};

// Makes the buttons; their picks come to the window as commands. Without a tree the variables static
// shows no text and gets no button. Returns the keywords button, null without one.
MenuButton* MakeFormulaMenuButtons(WindowCL* window, const FormulaMenuControls& controls, TreeWindow* tree);

// A pick into the edit: a function with "()" (the Function Helper's call for "Helper..."), a table's name
// with "[]", the caret between them; an operator, keyword or variable as it reads (at most 50
// characters). The edit takes the focus. False when no formula menu has the command.
bool InsertFormulaMenuPick(unsigned command, TreeWindow* tree, HWND edit);

// The item text (at most 50 characters) of the command in the Operators, Keywords or tree's variables menu;
// false when none of them has it.
bool PlainMenuItemText(unsigned command, TreeWindow* tree, zString& text);

// The text parses as a formula (names need not resolve); otherwise the error is shown and the field takes
// the focus.
bool FormulaSyntaxOk(const zString& text, TextField* field, const char* formulaName);

// The call "DistSamp(n)" of the distribution the person chooses in the tree's Distributions dialog; false
// when none is chosen.
bool ChooseDistributionCall(TreeWindow* tree, zString& call);

// A dialog's formula menus: the buttons, and their picks inserted into the tracked edit that had the focus
// last (the first one tracked until then).
class FormulaPicks : public EventTarget {
public:
    FormulaPicks(WindowCL* dialog, TreeWindow* tree, const FormulaMenuControls& controls);
    ~FormulaPicks() override;
    FormulaPicks(const FormulaPicks&) = delete;
    FormulaPicks& operator=(const FormulaPicks&) = delete;

    void Track(EditCtrl* edit);
    // Inserts a call or text into the edit that had the focus last, replacing its selection.
    void Insert(const char* text);

private:
    long OnCommand(WindowEvent* event);
    long OnFocus(WindowEvent* event);

    TreeWindow* tree_;
    HWND edit_ = nullptr;
};
