#include "app/StatusMessage.h"

#include "app/MainFrame.h"

namespace {

zString& StatusText()
{
    static zString text;
    return text;
}

}  // namespace

void ShowStatusMessage(const char* text)
{
    StatusText() = text != nullptr ? text : "";
    if (MainFrame* frame = MainFrame::Program())
        frame->SetStatusPane(StatusText().Text(), 0);
}

const zString& CurrentStatusMessage()
{
    return StatusText();
}
