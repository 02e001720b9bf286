#include "model/DocumentLink.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <new>
#include <string>

namespace {

constexpr uint8_t kLinkStringFlag = 42;

void LoadBlock(Archive& archive, int16_t size, std::unique_ptr<uint8_t[]>& block)
{
    if (size <= 0 || archive.Failed())
        return;
    if (static_cast<uint32_t>(size) > archive.BytesLeft()) {
        archive.SetState(Archive::StateIoFailure);
        return;
    }
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

} // namespace

void DocumentLink::SetValue(const char* text)
{
    std::string kept;
    for (const char* p = text; p != nullptr && *p; ++p) {
        if (*p != '\r' && *p != '\n')
            kept += *p;
    }
    value = kept.c_str();
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
    static_cast<DocumentLink*>(item)->Serialize(archive);
}

void* DocumentLinkList::LoadItem(Archive& archive)
{
    auto* link = new DocumentLink;
    link->Serialize(archive);
    return link;
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
    return InsertAt(at, link);
}
