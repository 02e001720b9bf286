#include "widgets/UndoHistory.h"

namespace {

zString MenuText(const char* prefix, const UndoAction* action, const char* keys)
{
    zString text(prefix);
    if (action)
        text += action->name;
    text += keys;
    return text;
}

} // namespace

void UndoHistory::Clear()
{
    position_ = 0;
    actions_.clear();
}

void UndoHistory::Add(UndoAction* action)
{
    actions_.erase(actions_.begin() + position_, actions_.end());
    if (position_ >= kCapacity) {
        actions_.erase(actions_.begin());
        --position_;
    }
    actions_.emplace_back(action);
    ++position_;
    action->Do();
}

void UndoHistory::DropCurrent()
{
    if (position_ == 0)
        return;
    actions_.erase(actions_.begin() + position_ - 1);
    --position_;
}

bool UndoHistory::Undo()
{
    UndoAction* action = Current();
    if (!action)
        return false;
    if (!action->Toggle()) {
        Clear();
        return false;
    }
    --position_;
    return true;
}

bool UndoHistory::Redo()
{
    UndoAction* action = NextRedo();
    if (!action)
        return false;
    if (!action->Toggle()) {
        Clear();
        return false;
    }
    ++position_;
    return true;
}

UndoAction* UndoHistory::Current() const
{
    return position_ > 0 ? actions_[position_ - 1].get() : nullptr;
}

UndoAction* UndoHistory::NextRedo() const
{
    return position_ < Count() ? actions_[position_].get() : nullptr;
}

zString UndoHistory::UndoMenuText() const
{
    return MenuText("&Undo ", Current(), "\tCtrl+Z");
}

zString UndoHistory::RedoMenuText() const
{
    return MenuText("Re&do ", NextRedo(), "\tCtrl+Shift+Z");
}
