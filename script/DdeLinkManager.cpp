#include "script/DdeLinkManager.h"

#include "framework/window/Clipboard.h"

#include <cstring>

DdeLinkManager::DdeLinkManager(Clipboard* clipboard, const char* serviceName)
    : clipboard_(clipboard), serviceName_(serviceName), objectLink_(ClipboardFormat::Register("ObjectLink")),
      server_(serviceName)
{
}

bool DdeLinkManager::CopyLinkToClipboard(const char* topic, const char* item, const char* text)
{
    if (clipboard_ == nullptr)
        return false;
    clipboard_->Empty();
    // The block's last zero byte is the clipboard's own.
    std::string link = serviceName_;
    link.push_back('\0');
    link += topic;
    link.push_back('\0');
    link += item;
    link.push_back('\0');
    const int putText = clipboard_->PutText(text);
    const int putLink = clipboard_->PutBlock(link.data(), static_cast<uint32_t>(link.size()), objectLink_);
    return putText != 0 || putLink != 0;
}

bool DdeLinkManager::CanPasteLink() const
{
    return clipboard_ != nullptr && clipboard_->HasFormat(objectLink_) && clipboard_->HasText();
}

bool DdeLinkManager::ReadClipboardLink(zString& application, zString& topic, zString& item)
{
    if (clipboard_ == nullptr)
        return false;
    uint32_t size = 0;
    const std::unique_ptr<uint8_t[]> block(clipboard_->GetBlock(objectLink_, size));
    if (!block)
        return false;
    const char* at = reinterpret_cast<const char*>(block.get());
    const char* end = at + size;
    zString* texts[] = {&application, &topic, &item};
    for (zString* text : texts) {
        const void* zero = std::memchr(at, '\0', static_cast<size_t>(end - at));
        if (zero == nullptr)
            return false;
        *text = at;
        at = static_cast<const char*>(zero) + 1;
    }
    return true;
}
