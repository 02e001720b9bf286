#include "foundation/NameList.h"

#include "foundation/StoredNameList.h"
#include "foundation/StoredString.h"

#include <cstring>

NameList::NameList(int16_t growBy, bool ownsItems) : PtrArray(growBy, ownsItems) {}

NameList::~NameList() { Clear(); }

void NameList::StoreItem(Archive& archive, void* item)
{
    if (item)
        static_cast<zString*>(item)->Serialize(archive);
    else
        zString().Serialize(archive);
}

void* NameList::LoadItem(Archive& archive)
{
    auto* text = new zString;
    text->Serialize(archive);
    return text;
}

void* NameList::CloneItem(void* item) { return item ? new zString(*static_cast<zString*>(item)) : nullptr; }

void NameList::DeleteItem(void* item) { delete static_cast<zString*>(item); }

void NameList::Assign(const NameList& other, bool clone)
{
    if (&other == this)
        return;
    Clear();
    Copy(other, clone);
}

bool NameList::AddCopy(zString& text, bool clearSource)
{
    auto* copy = new zString(text);
    if (!Add(copy)) {
        delete copy;
        return false;
    }
    if (clearSource)
        text.Clear();
    return true;
}

bool NameList::AddCopy(const zString& text)
{
    auto* copy = new zString(text);
    if (!Add(copy)) {
        delete copy;
        return false;
    }
    return true;
}

bool NameList::AddText(const char* text)
{
    auto* copy = new zString(text);
    if (!Add(copy)) {
        delete copy;
        return false;
    }
    return true;
}

int16_t NameList::InsertSorted(zString* text)
{
    int16_t position = Count();
    for (int16_t i = 0; i < Count(); ++i) {
        const zString* item = At(i);
        if (item && std::strcmp(item->Text(), text->Text()) >= 0) {
            position = i;
            break;
        }
    }
    return InsertAt(position, text) ? position : -1;
}

bool NameList::Contains(const char* text) const
{
    for (int16_t i = 0; i < Count(); ++i) {
        const zString* item = At(i);
        if (!item)
            return false;
        if (*item == text)
            return true;
    }
    return false;
}

bool NameList::Join(zString& out, const char* separator, uint32_t maxLength) const
{
    const uint32_t separatorLength = separator ? static_cast<uint32_t>(std::strlen(separator)) : 0;
    uint32_t added = 0;
    for (int16_t i = 0; i < Count(); ++i) {
        const zString* item = At(i);
        uint32_t itemLength = item ? item->Length() : 0;
        if (added + itemLength > maxLength)
            return false;
        if (item)
            out += *item;
        added += itemLength;
        if (i == Count() - 1)
            break;
        if (added + separatorLength > maxLength)
            return false;
        if (separator)
            out += separator;
        added += separatorLength;
    }
    return true;
}

StoredNameList::~StoredNameList() = default;

void StoredNameList::StoreItem(Archive& archive, void* item)
{
    StoreString(archive, item ? static_cast<zString*>(item)->Text() : "");
}

void* StoredNameList::LoadItem(Archive& archive)
{
    auto* text = new zString;
    LoadString(archive, *text);
    return text;
}
