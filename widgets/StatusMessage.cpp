#include "widgets/StatusMessage.h"

#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"

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
    TheShell().SetStatusPane(StatusText().Text(), 0);
}

const zString& CurrentStatusMessage()
{
    return StatusText();
}
