#include "script/DdeLinkManager.h"

DdeLinkManager::DdeLinkManager(Clipboard* clipboard, const char* serviceName)
    : clipboard_(clipboard), objectLink_(ClipboardFormat::Register("ObjectLink")), server_(serviceName)
{
}
