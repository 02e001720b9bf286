#include "widgets/DocumentLinks.h"

#include "widgets/DocumentWindow.h"
#include "formula/BuiltinRegistry.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/Clipboard.h"
#include "model/DocumentLink.h"
#include "widgets/DdeLinkManager.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

int CreateDdeLink(DocumentLinkList& links, const char* application, const char* topic, const char* item,
                  const char* value)
{
    for (int i = 0; i < links.Count(); ++i) {
        DocumentLink* link = links.At(i);
        if (link->kind == DocumentLink::DdeKind && link->application == application && link->topic == topic &&
            link->item == item) {
            link->Reconnect();
            if (value != nullptr && *value != '\0')
                link->SetValue(value);
            return link->index;
        }
    }
    auto link = std::make_unique<DocumentLink>(links.NextIndex());
    link->application = application;
    link->topic = topic;
    link->item = item;
    link->SetValue(value != nullptr ? value : "");
    const int index = link->index;
    if (!links.InsertSorted(link.get()))
        return 0;
    link.release()->Subscribe();
    return index;
}

int PasteLinkFromClipboard(DdeLinkManager& manager, DocumentLinkList& links, DocumentWindow& window,
                           zString& formula, int index)
{
    if (!manager.CanPasteLink())
        return 0;
    const std::unique_ptr<char[]> value(manager.LinkClipboard()->GetText());
    zString application, topic, item;
    if (!manager.ReadClipboardLink(application, topic, item)) {
        ShowErrorBox(nullptr, "The link item on the clipboard is not formed properly. Please contact the publisher "
                              "of the server application.", 0);
        return 0;
    }
    if (FilePath(topic.Text()).EqualsNoCase(FilePath(window.FullPath().Text()))) {
        ShowErrorBox(nullptr, "You may not create a link to a node in the same tree.", 0);
        return 0;
    }
    if (index < 1)
        index = CreateDdeLink(links, application.Text(), topic.Text(), item.Text(), value ? value.get() : "");
    if (index < 1)
        return 0;
    formula = (std::string(kBuiltinFunctions[BuiltinSub].name) + "(" + std::to_string(index) + ")").c_str();
    return index;
}
