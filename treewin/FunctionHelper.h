#pragma once
// The Functions menu of every formula field and its "Helper...": a function chosen from a list with a short
// description (dialog 2730), its arguments asked for in a prompt made for that function (dialogs 2740,
// 2749-2751), and the finished call inserted into the field.

#include <windows.h>

class TreeWindow;
class zString;


// A pick of the Functions menu into the edit: the function's name and "()" with the caret between them, or,
// for "Helper...", the call the Function Helper finishes (nothing when it is cancelled). The edit takes the
// focus. False when the Functions menu has no such command.
bool InsertFunctionFromMenu(unsigned command, TreeWindow* tree, HWND edit);
// Runs the helper list and then the function's prompt; true with the finished call.
bool RunFunctionHelper(zString& call, TreeWindow* tree);
// The call of the built-in function with the arguments the person gives ("Pi()" without a prompt, a
// DistSamp call picked from the tree's distributions); false when cancelled or refused.
bool PromptFunctionArguments(int function, zString& call, TreeWindow* tree);
