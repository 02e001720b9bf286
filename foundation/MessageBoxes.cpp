#include "foundation/MessageBoxes.h"

#include "foundation/Host.h"

#include <windows.h>

namespace {

const char* const ProductName = "KIVO";

int ShowBox(const char* caption, const char* text, int help, unsigned style)
{
    MessageBoxRequest request{caption ? caption : ProductName, text ? text : "", style, help};
    return TheHost().PresentMessage(request);
}

} // namespace

int ShowErrorBox(const char* caption, const char* text, int help)
{
    if (!Host::Silenced(Silence::Notices))
        ShowBox(caption, text, help, MB_OK | MB_ICONHAND);
    return 1;
}

int ShowInfoBox(const char* caption, const char* text, int help)
{
    if (!Host::Silenced(Silence::Notices))
        ShowBox(caption, text, help, MB_OK | MB_ICONASTERISK);
    return 1;
}

int AskOkCancel(const char* caption, const char* text, int help, int kind)
{
    unsigned icon = kind == 1 ? MB_ICONASTERISK : kind == 3 ? MB_ICONQUESTION : MB_ICONHAND;
    return ShowBox(caption, text, help, MB_OKCANCEL | icon) == IDOK ? 1 : 2;
}

int AskYesNoCancel(const char* caption, const char* text, int help)
{
    switch (ShowBox(caption, text, help, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return 1;
    case IDNO:
        return 3;
    default:
        return 2;
    }
}

int AskYesNo(const char* caption, const char* text, int help)
{
    return ShowBox(caption, text, help, MB_YESNO | MB_ICONQUESTION) == IDYES ? 1 : 3;
}
