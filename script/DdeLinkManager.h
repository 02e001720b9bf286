#pragma once
// The document links' manager: the program's DDE server under its service name, its DDE client, and the
// clipboard format "ObjectLink" that links travel in between programs: the service name, the topic and the
// item, each ended by a zero byte, then one more zero byte. The same copy puts the value as text.

#include "foundation/zString.h"
#include "framework/window/ClipboardFormat.h"
#include "framework/window/DdeInstance.h"

#include <memory>
#include <string>

class Clipboard;

class DdeLinkManager {
public:
    DdeLinkManager(Clipboard* clipboard, const char* serviceName);
    DdeLinkManager(const DdeLinkManager&) = delete;
    DdeLinkManager& operator=(const DdeLinkManager&) = delete;

    DdeServer& Server() { return server_; }
    DdeClient& Client() { return client_; }
    const ClipboardFormat& ObjectLinkFormat() const { return objectLink_; }
    Clipboard* LinkClipboard() const { return clipboard_; }

    // Empties the clipboard, then puts the text and a link to the item of the topic on this service; false
    // when the clipboard took neither.
    bool CopyLinkToClipboard(const char* topic, const char* item, const char* text);
    // The clipboard holds a link and its text.
    bool CanPasteLink() const;
    // The link on the clipboard; false when there is none or its three texts do not end within the block.
    bool ReadClipboardLink(zString& application, zString& topic, zString& item);

private:
    Clipboard* clipboard_;
    std::string serviceName_;
    ClipboardFormat objectLink_;
    DdeServer server_;
    DdeClient client_;
};
