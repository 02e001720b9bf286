#pragma once
// The script commands' handlers, one for each row of the command table (ScriptCommandTable.cpp). A handler
// runs after the checks its row asks for: a tree command's top window is a tree window, a command on the
// selected node has one, and its parameter count is within the row's bounds.

#include "script/ScriptManager.h"

struct ScriptManager::Handlers {
    using Run = void(ScriptManager& script, const Parameters& parameters);

    // Flow and script variables (ScriptFlowCommands.cpp).
    static Run BeginBranch, Branch, EndBranch, Goto, Gosub, Return, TextBox, UserInput, ClipAdviseVars, Delay;
    static Run SetScriptVar, CatScriptVar, FlushScriptVars, CopyScriptVar, PasteIntoScriptVar, DisplayScriptVar;
    static Run Announce, YesNo, BranchVar;

    // Files and windows of the frame (ScriptFileCommands.cpp).
    static Run OpenFile, SaveFile, SaveFileAs, CloseTopWindow, CopyPicture, PrintFile, TopWindowType;
    static Run TopWindowName, TableVal, SetNumberDigits;

    // The top tree's selection (ScriptSelectionCommands.cpp).
    static Run SelectNode, SelectNodeToo, SelectNodeRel, SelectRoot, SelectNodeRelName;
    static Run SelectIf, DeselectAll, GetSelCount, GetSelList, GetSelNum;

    // The top tree (ScriptTreeCommands.cpp). TreeMenuCommand runs the tree's own command of the row's id
    // through the tree's command table, as a key does.
    static Run TreeMenuCommand;
    static Run ChangeNodeType, RollBack, SetCalcMethod, SetActivePayoff, SaveAsTRB, RunStoredAnalysis;
    static Run NumKids, GetNodeName, SetNodeName, GetNodeProb, SetNodeProb, CopyNodeVars, GetNodeVar, SetNodeVar;
    static Run GetNodePayoff, SetNodePayoff, CopyDocVariables;
    static Run ExpectedValue, PathProb, StdDev, Evaluate;
};
