#include "tests/support/MessageBoxRecorder.h"

#include "widgets/StatusMessage.h"

#include <windows.h>

MessageBoxRecorder::MessageBoxRecorder()
{
    previous_ = SetMessageBoxPresenter([this](const MessageBoxRequest& request) { return Present(request); });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxPresenter(previous_);
}

int MessageBoxRecorder::Present(const MessageBoxRequest& request)
{
    boxes_.push_back({request.caption, request.text, request.style, request.help, CurrentStatusMessage().Text()});
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    unsigned buttons = request.style & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}
