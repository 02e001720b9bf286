#pragma once
// The undo history of a window: at most ten actions, the first `Position()` of them applied. A new action
// drops those that were taken back (there is nothing to redo after it) and, when ten are held, the oldest.

#include "widgets/UndoAction.h"

#include <memory>
#include <vector>

class UndoHistory {
public:
    static constexpr int kCapacity = 10;

    // Keeps the action, after the redo tail and beyond-capacity oldest are deleted, and applies it (Do).
    void Add(UndoAction* action);
    // Deletes the whole history.
    void Clear();
    // Takes back the last applied action; false when there is none. An action that no longer finds what it
    // changed is refused, and the whole history goes with it: the actions around it would not fit either.
    bool Undo();
    // Applies again the first action taken back; false when there is none or it is refused (as above).
    bool Redo();
    // Deletes the last applied action without taking it back (it changed nothing that stays).
    void DropCurrent();
    // What Undo would take back, and what Redo would apply again; null when nothing.
    UndoAction* Current() const;
    UndoAction* NextRedo() const;

    int Count() const { return static_cast<int>(actions_.size()); }
    int Position() const { return position_; }

    // The Edit menu's texts: "&Undo <name>\tCtrl+Z" and "Re&do <name>\tCtrl+Shift+Z", without a name when
    // there is nothing to take back or apply again.
    zString UndoMenuText() const;
    zString RedoMenuText() const;

private:
    std::vector<std::unique_ptr<UndoAction>> actions_;
    int position_ = 0;
};
