// Command lines from a client over DDE: queued, run one at a time while no script file, analysis or modal
// window is busy, a failed line dropping the rest of its transaction; refused while a loop of the system's
// (a menu, a move, a drag) holds the program.

#include "script/ScriptManager.h"

#include "widgets/DdeLinkManager.h"
#include "widgets/MessageBoxes.h"
#include "widgets/Shell.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "script/ScriptMgrTopic.h"

#include <string>
#include <vector>

bool ScriptManager::IsBusy() const
{
    return waitingForAnalysis != 0 || queueTaskRegistered_ || (TheApp != nullptr && TheApp->Idle()->Count() > 0) ||
           InModalState() || InSystemLoop();
}

void ScriptManager::SubmitCommands(const std::vector<std::string>& lines, uint32_t transaction)
{
    for (size_t i = 0; i < lines.size(); ++i)
        queue_.push_back({lines[i], transaction, i + 1 == lines.size()});
    if (!queueTaskRegistered_ && TheApp != nullptr) {
        TheApp->Idle()->Add(this, &ScriptManager::RunQueuedCommand);
        queueTaskRegistered_ = true;
    }
}

bool ScriptManager::InModalState()
{
    return !DialogFrameCL::ModalStack().empty() || MessageBoxesShowing() > 0;
}

bool ScriptManager::InSystemLoop()
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &thread))
        return false;
    const DWORD loops = GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE;
    return (thread.flags & loops) != 0 || thread.hwndCapture != nullptr;
}

long ScriptManager::RunQueuedCommand()
{
    if (stream_ || waitingForAnalysis != 0 || InModalState() || InSystemLoop())
        return 0;
    if (!queue_.empty()) {
        const QueuedLine queued = queue_.front();
        queue_.pop_front();
        // The client waits for the answer and answers no other message meanwhile: a document's links, which
        // would ask every program's windows for their partner, connect once it has been answered.
        if (queued.transaction != 0 && heldLinks_ == nullptr && (heldLinks_ = TheShell().Links()) != nullptr)
            heldLinks_->HoldConnections();
        const bool ran = RunClientLine(queued.line);
        // A line whose analysis goes on from the idle loop has run once the analysis has ended; nothing after
        // it runs before.
        if (ran && waitingForAnalysis != 0)
            awaitedLine_ = queued;
        else
            EndQueuedLine(queued, ran);
        WatchBoxesOfTheWait();
    }
    if (!queue_.empty())
        return 0;
    queueTaskRegistered_ = false;
    return 1;
}

void ScriptManager::EndQueuedLine(const QueuedLine& queued, bool ran)
{
    if (!ran) {
        // The rest of a failed transaction is dropped.
        for (bool last = queued.last; !last && !queue_.empty(); queue_.pop_front())
            last = queue_.front().last;
    }
    if (queued.transaction != 0 && (!ran || queued.last)) {
        if (topic_)
            topic_->AnswerTransaction(queued.transaction, ran);
        ReleaseHeldLinks();
    }
}

void ScriptManager::ReleaseHeldLinks()
{
    if (heldLinks_ != nullptr)
        heldLinks_->ReleaseConnections();
    heldLinks_ = nullptr;
}

bool ScriptManager::RunClientLine(const std::string& line)
{
    clientLine_ = true;
    clientFailed_ = false;
    // The program's own error boxes (a file that does not open, a roll back that fails) fail the line too.
    MessageBoxPresenter previous;
    previous = SetMessageBoxPresenter([this, &previous](const MessageBoxRequest& request) {
        if (!IsErrorBox(request))
            return previous(request);
        clientFailed_ = true;
        return IDOK;
    });
    ExecuteLine(line);
    SetMessageBoxPresenter(previous);
    clientLine_ = false;
    return !clientFailed_;
}
