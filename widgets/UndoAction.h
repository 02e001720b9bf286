#pragma once
// An edit the user can take back: made by the command that makes the edit and handed to the window's undo
// history, which applies it once (Do) and then takes it back and applies it again (Toggle) as the user asks.

#include "foundation/zString.h"

class DocChildWindow;

class UndoAction {
public:
    UndoAction(DocChildWindow* window, const char* name) : window(window), name(name) {}
    virtual ~UndoAction() = default;
    UndoAction(const UndoAction&) = delete;
    UndoAction& operator=(const UndoAction&) = delete;

    // Takes the action back while it is applied, applies it again after it was taken back; false (nothing
    // changed) when what the action changed can no longer be found.
    virtual bool Toggle()
    {
        if (undone)
            Redo();
        else
            Undo();
        undone = undone ? 0 : 1;
        return true;
    }
    // The first application, once, when the history takes the action.
    virtual void Do() = 0;
    virtual void Undo() = 0;
    virtual void Redo() { Do(); }
    // Ends the collecting of further changes into the action.
    virtual void Close() { open = 0; }

    // 1 after the action was taken back.
    int undone = 0;
    // 1 while the action still collects changes (typing).
    int open = 0;
    DocChildWindow* window;
    // Shown in the Edit menu after "&Undo " and "Re&do ".
    zString name;
};
