#pragma once
// The document links' manager: the program's DDE server under its service name, its DDE client, and the
// clipboard format "ObjectLink" that other programs' links are pasted in.

#include "framework/window/ClipboardFormat.h"
#include "framework/window/DdeInstance.h"

#include <memory>

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

private:
    Clipboard* clipboard_;
    ClipboardFormat objectLink_;
    DdeServer server_;
    DdeClient client_;
};
