#include "framework/window/IdleList.h"

void IdleList::Add(EventTarget* target, IdleFunction function)
{
    tasks_.PushBack(IdleTask{target, function});
    ++count_;
}

void IdleList::Remove(EventTarget* target, IdleFunction function)
{
    count_ -= tasks_.RemoveAll(
        [&](const IdleTask& task) { return task.target == target && task.function == function; });
}

void IdleList::Run()
{
    if (!enabled_ || count_ < 1)
        return;
    ++walking_;
    {
        WalkableList<IdleTask>::Walk walk(tasks_);
        while (IdleTask* task = walk.Next()) {
            const IdleTask call = *task;
            if ((call.target->*call.function)() != 0 && walk.RemoveCurrent())
                --count_;
        }
    }
    --walking_;
}
