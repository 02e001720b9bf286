#include "widgets/MessageBoxes.h"

#include "widgets/CursorStack.h"
#include "widgets/HelpContext.h"
#include "widgets/MessageOwnerWindow.h"
#include "widgets/StatusMessage.h"

#include <windows.h>

namespace {

int PresentOnScreen(const MessageBoxRequest& request)
{
    // In front of whatever program has the foreground, as every box the person must answer.
    return MessageBoxA(MessageOwnerWindow(), request.text, request.caption, request.style | MB_SETFOREGROUND);
}

MessageBoxPresenter& Presenter()
{
    static MessageBoxPresenter presenter = PresentOnScreen;
    return presenter;
}

} // namespace

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    MessageBoxPresenter previous = Presenter();
    Presenter() = presenter ? std::move(presenter) : MessageBoxPresenter(PresentOnScreen);
    return previous;
}

namespace {
int BoxesShowing = 0;
} // namespace

int MessageBoxesShowing()
{
    return BoxesShowing;
}

int PresentMessageBox(const MessageBoxRequest& request)
{
    HelpContextScope helpScope(request.help);
    WaitCursorScope arrow(CursorStack::kArrow);
    if (request.help > 0)
        ShowStatusMessage("Press F1 for help");
    ++BoxesShowing;
    const int answer = Presenter()(request);
    --BoxesShowing;
    ShowStatusMessage("");
    return answer;
}
