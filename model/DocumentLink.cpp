#include "model/DocumentLink.h"

#include "foundation/Archive.h"
#include "foundation/FileStream.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <algorithm>
#include <new>
#include <string>

namespace {

constexpr uint8_t kLinkStringFlag = 42;

void LoadBlock(Archive& archive, int16_t size, std::unique_ptr<uint8_t[]>& block)
{
    if (size <= 0 || archive.Failed())
        return;
    if (!archive.Holds(static_cast<uint32_t>(size)))
        return;
    block.reset(new (std::nothrow) uint8_t[size]);
    if (block)
        archive.ReadBytes(block.get(), static_cast<uint32_t>(size));
    else
        archive.SetState(Archive::StateIoFailure);
}

void SerializeText(Archive& archive, zString& text)
{
    if (archive.IsStoring())
        StoreString(archive, text, kLinkStringFlag);
    else
        LoadString(archive, text);
}

DocumentLinkFeed* InstalledFeed = nullptr;

std::string WithoutLineEnds(const char* text)
{
    std::string kept;
    for (const char* p = text; p != nullptr && *p; ++p) {
        if (*p != '\r' && *p != '\n')
            kept += *p;
    }
    return kept;
}

} // namespace

void SetDocumentLinkFeed(DocumentLinkFeed* feed)
{
    InstalledFeed = feed;
}

DocumentLinkFeed* TheDocumentLinkFeed()
{
    return InstalledFeed;
}

DocumentLink::~DocumentLink()
{
    Unsubscribe();
    if (kind == SideFileKind && !loaded && !sideFile.IsEmpty())
        sideFile.Delete();
}

void DocumentLink::SetValue(const char* text)
{
    value = WithoutLineEnds(text).c_str();
    if (listener != nullptr)
        listener->LinkValueArrived(*this);
}

void DocumentLink::GetItemText(zString& text) const
{
    if (kind != SideFileKind) {
        text = value;
        return;
    }
    text = "";
    std::unique_ptr<FileStream> stream = sideFile.OpenStream(false);
    if (!stream || !stream->IsOpen())
        return;
    zString stored;
    LoadString(*stream, stored);
    if (!stream->Failed())
        text = stored;
}

void DocumentLink::SetSource(const char* newApplication, const char* newTopic, const char* newItem,
                             const char* newValue)
{
    // The texts may be the link's own.
    const std::string texts[] = {newApplication ? newApplication : "", newTopic ? newTopic : "",
                                 newItem ? newItem : "", WithoutLineEnds(newValue)};
    Unsubscribe();
    kind = DdeKind;
    application = texts[0].c_str();
    topic = texts[1].c_str();
    item = texts[2].c_str();
    value = texts[3].c_str();
    Subscribe();
}

void DocumentLink::Reconnect()
{
    Subscribe();
}

void DocumentLink::Subscribe()
{
    if (kind != DdeKind || InstalledFeed == nullptr)
        return;
    subscribed_ = true;
    InstalledFeed->Subscribe(*this);
}

void DocumentLink::Unsubscribe()
{
    if (!subscribed_)
        return;
    subscribed_ = false;
    if (InstalledFeed != nullptr)
        InstalledFeed->Unsubscribe(*this);
}

bool DocumentLink::WriteSideFile(const char* text, const FilePath& documentPath)
{
    if (kind != SideFileKind || sideFile.IsEmpty())
        return false;
    std::unique_ptr<FileStream> stream = sideFile.OpenStream(true);
    if (!stream || !stream->IsOpen())
        return false;
    StoreString(*stream, text);
    FilePath source = documentPath;
    source.Serialize(*stream);
    // A write refused at the last flush shows only when the file is closed.
    stream->Close();
    return !stream->Failed();
}

void DocumentLinkList::DocumentMoved(const FilePath& documentPath)
{
    for (int i = 0; i < Count(); ++i) {
        DocumentLink* link = At(i);
        if (link->kind != DocumentLink::SideFileKind || !link->sideFile.Exists())
            continue;
        zString value;
        link->GetItemText(value);
        link->WriteSideFile(value.Text(), documentPath);
    }
}

bool DocumentLink::CopySideFile(const FilePath& path) const
{
    if (kind != SideFileKind)
        return false;
    std::unique_ptr<FileStream> in = sideFile.OpenStream(false);
    if (!in || !in->IsOpen())
        return false;
    zString stored;
    FilePath source;
    LoadString(*in, stored);
    source.Serialize(*in);
    if (in->Failed())
        return false;
    std::unique_ptr<FileStream> out = path.OpenStream(true);
    if (!out || !out->IsOpen())
        return false;
    StoreString(*out, stored);
    source.Serialize(*out);
    out->Close();
    return !out->Failed();
}

void DocumentLink::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord().Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(index).WriteShort(static_cast<int16_t>(kind));
    } else {
        int16_t storedKind = 0;
        archive.ReadShort(index).ReadShort(storedKind);
        kind = storedKind;
        if (index < 0 && !archive.HasFormatError())
            archive.SetFormatError(FormatBadIndex);
    }
    sideFile.Serialize(archive);
    SerializeText(archive, application);
    SerializeText(archive, topic);
    SerializeText(archive, item);
    if (kind == BlockKind) {
        if (archive.IsStoring()) {
            archive.WriteShort(blockSizes[0]).WriteShort(blockSizes[1]);
            for (int i = 0; i < 2; ++i) {
                if (blockSizes[i] > 0)
                    archive.WriteBytes(blocks[i].get(), static_cast<uint32_t>(blockSizes[i]));
            }
        } else {
            archive.ReadShort(blockSizes[0]).ReadShort(blockSizes[1]);
            LoadBlock(archive, blockSizes[0], blocks[0]);
            LoadBlock(archive, blockSizes[1], blocks[1]);
        }
    }
    if (archive.HasFormatError())
        return;
    VersionRecord formVersion;
    formVersion.Serialize(archive);
    SerializeText(archive, value);
    if (archive.IsLoading() && formVersion.IsOlderThan(KnownVersion::k3_0))
        return;
    SerializeText(archive, description);
    if (archive.IsStoring())
        archive.WriteShort(biDirectional);
    else
        archive.ReadShort(biDirectional);
}

void DocumentLinkList::StoreItem(Archive& archive, void* item)
{
    auto* link = static_cast<DocumentLink*>(item);
    link->Serialize(archive);
    link->loaded = true;
}

// A loaded DDE link joins its item once the whole document has loaded (ReconnectAll).
void* DocumentLinkList::LoadItem(Archive& archive)
{
    auto* link = new DocumentLink;
    link->Serialize(archive);
    link->loaded = true;
    link->listener = listener;
    return link;
}

void DocumentLinkList::ReconnectAll()
{
    for (int i = 0; i < Count(); ++i)
        At(i)->Reconnect();
}

int BuildLinkItemList(const DocumentLinkList& source, DocumentLinkList& target)
{
    int added = 0;
    for (int i = 0; i < source.Count(); ++i) {
        const DocumentLink* from = source.At(i);
        if (target.Find(from->index) != nullptr)
            continue;
        auto copy = std::make_unique<DocumentLink>(from->index);
        copy->kind = from->kind;
        copy->application = from->application;
        copy->topic = from->topic;
        copy->item = from->item;
        copy->sideFile = from->sideFile;
        copy->value = from->value;
        copy->biDirectional = from->biDirectional;
        copy->loaded = from->loaded;
        for (int b = 0; b < 2; ++b) {
            copy->blockSizes[b] = from->blockSizes[b];
            if (from->blocks[b] && from->blockSizes[b] > 0) {
                copy->blocks[b].reset(new uint8_t[from->blockSizes[b]]);
                std::copy(from->blocks[b].get(), from->blocks[b].get() + from->blockSizes[b], copy->blocks[b].get());
            }
        }
        if (!target.InsertSorted(copy.get()))
            break;
        copy.release()->Subscribe();
        ++added;
    }
    return added;
}

DocumentLink* DocumentLinkList::Find(int index) const
{
    if (index < 1)
        return nullptr;
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->index == index)
            return At(i);
    }
    return nullptr;
}

int16_t DocumentLinkList::NextIndex() const
{
    if (Count() == 0)
        return 1;
    int running = 1;
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->index > running + 1)
            return static_cast<int16_t>(running + 1);
        running = At(i)->index;
    }
    return static_cast<int16_t>(running + 1);
}

bool DocumentLinkList::InsertSorted(DocumentLink* link)
{
    int at = 0;
    while (at < Count() && At(at)->index < link->index)
        ++at;
    if (!InsertAt(at, link))
        return false;
    if (listener != nullptr)
        link->listener = listener;
    return true;
}
