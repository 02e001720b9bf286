#include "app/StatusMessage.h"

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
}

const zString& CurrentStatusMessage()
{
    return StatusText();
}
