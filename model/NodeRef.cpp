#include "model/NodeRef.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

void NodeRef::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        VersionRecord(VersionRecord::Current()).Serialize(archive);
        archive.WriteShort(id);
        zString path("@");
        if (node != nullptr)
            NodePathString(node, path, nullptr);
        StoreString(archive, path);
        StoreString(archive, name);
        archive.WriteShort(kNodeRefEndMark);
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    archive.ReadShort(id);
    delete loadedPath;
    loadedPath = new zString;
    LoadString(archive, *loadedPath);
    LoadString(archive, name);
    if (version.IsAtLeast(KnownVersion::k2_6)) {
        int16_t mark = 0;
        archive.ReadShort(mark);
        if (mark != kNodeRefEndMark)
            archive.SetFormatError(kNodeRefFormatError);
    }
}

void NodeRef::Resolve(TreeDocument* document)
{
    if (loadedPath != nullptr)
        node = document != nullptr ? FindNodeByPath(document->Root, loadedPath->Text()) : nullptr;
    delete loadedPath;
    loadedPath = nullptr;
}

void NodeRefList::StoreItem(Archive& archive, void* item)
{
    static_cast<NodeRef*>(item)->Serialize(archive);
}

void* NodeRefList::LoadItem(Archive& archive)
{
    auto* ref = new NodeRef;
    ref->Serialize(archive);
    return ref;
}

void* NodeRefList::CloneItem(void* item)
{
    const auto* source = static_cast<NodeRef*>(item);
    auto* copy = new NodeRef;
    copy->id = source->id;
    copy->extra = source->extra;
    copy->node = source->node;
    copy->name = source->name;
    if (source->loadedPath != nullptr)
        copy->loadedPath = new zString(*source->loadedPath);
    return copy;
}

void NodeRefList::DeleteItem(void* item)
{
    delete static_cast<NodeRef*>(item);
}

int NodeRefList::InsertSorted(NodeRef* ref)
{
    int position = 0;
    while (position < Count() && At(position)->id < ref->id)
        ++position;
    InsertAt(position, ref);
    return position;
}

NodeRef* NodeRefList::FindId(int id) const
{
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->id == id)
            return At(i);
    }
    return nullptr;
}
