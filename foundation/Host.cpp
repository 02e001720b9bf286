#include "foundation/Host.h"

#include <windows.h>

namespace {

Host& HeadlessHost()
{
    static Host host;
    return host;
}

Host* installed = nullptr;

}  // namespace

int Host::silenced[2] = {0, 0};

bool Host::Silenced(Silence kind)
{
    return silenced[static_cast<int>(kind)] > 0;
}

int Host::PresentMessage(const MessageBoxRequest& request)
{
    const unsigned buttons = request.style & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

bool Host::EscapePressed()
{
    return false;
}

bool Host::ShiftAndControlHeld()
{
    return false;
}

uint32_t Host::TickCount()
{
    return GetTickCount();
}

int32_t Host::PushProgress(const char*, double)
{
    return 1;
}

void Host::StepProgress(int32_t, double) {}

void Host::PopProgress(int32_t) {}

void Host::PushWaitCursor() {}

void Host::PopCursor() {}

PixelsPerInch Host::ScreenResolution()
{
    return {96.0, 96.0};
}

void Host::ShowStatus(const char*) {}

void Host::CommandsChanged() {}

void Host::TablesChanged(TablesEvent) {}

void Host::AddIdleTask(IdleWork*) {}

void Host::RemoveIdleTask(IdleWork*) {}

Host::TableConflictChoice Host::ChooseTableConflict(const char*)
{
    return IgnoreNewTable;
}

Host::PasteChoice Host::ChoosePasteMerge()
{
    return SumEntries;
}

bool Host::EditTableProperties(const LookupTable*, TableProperties&)
{
    return false;
}

bool Host::DefaultFont(const char*, FontRecord&)
{
    return false;
}

void Host::ShowVariableDefinitions(const char*, const NameList&) {}

bool Host::LocateFile(const char*, const char*, const char* const*, zString&)
{
    return false;
}

Host& TheHost()
{
    return installed != nullptr ? *installed : HeadlessHost();
}

Host* SetHost(Host* host)
{
    Host* previous = installed;
    installed = host;
    return previous;
}
