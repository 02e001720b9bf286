#include "model/BranchNameList.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/TreeNode.h"

void BranchNameOf(const TreeNode* child, zString& out)
{
    out.Clear();
    if (child == nullptr)
        return;
    for (const char* p = child->text.Text(); *p != '\0'; ++p) {
        if (*p == '\r') {
            out += '\n';
            if (p[1] == '\n')
                ++p;
        } else {
            out += *p;
        }
    }
}

BranchName::BranchName(const TreeNode* child)
{
    BranchNameOf(child, name);
}

bool BranchName::NameMatches(const TreeNode* child) const
{
    zString childName;
    BranchNameOf(child, childName);
    childName.MakeUpper();
    zString ownName(name);
    ownName.MakeUpper();
    return ownName == childName;
}

void BranchName::Assign(const BranchName& source)
{
    name = source.name;
    comment = source.comment;
}

void BranchName::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(kMark);
        StoreString(archive, name);
        StoreString(archive, comment);
        return;
    }
    int16_t mark = 0;
    archive.ReadShort(mark);
    if (mark != kMark) {
        archive.SetFormatError(35);
        return;
    }
    LoadString(archive, name);
    LoadString(archive, comment);
}

void BranchNameList::StoreItem(Archive& archive, void* item)
{
    static_cast<BranchName*>(item)->Serialize(archive);
}

void* BranchNameList::LoadItem(Archive& archive)
{
    auto* record = new BranchName;
    record->Serialize(archive);
    return record;
}

void* BranchNameList::CloneItem(void* item)
{
    auto* record = new BranchName;
    record->Assign(*static_cast<const BranchName*>(item));
    return record;
}

void BranchNameList::DeleteItem(void* item)
{
    delete static_cast<BranchName*>(item);
}

bool BranchNameList::AllEmpty() const
{
    for (int i = 0; i < Count(); ++i) {
        if (!At(i)->IsEmpty())
            return false;
    }
    return true;
}

bool BranchNameList::MatchesChildren(const TreeNode* node) const
{
    if (AllEmpty())
        return true;
    if (Count() != node->childCount)
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (!At(i)->NameMatches(node->GetChild(i)))
            return false;
    }
    return true;
}

void BranchNameList::ExtendToChildren(const TreeNode* node)
{
    while (Count() < node->childCount) {
        auto* record = new BranchName;
        if (!Add(record)) {
            delete record;
            break;
        }
    }
    while (Count() > node->childCount)
        DeleteAt(Count() - 1);
    for (int i = 0; i < Count(); ++i)
        BranchNameOf(node->GetChild(i), At(i)->name);
}
