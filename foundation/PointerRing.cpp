#include "foundation/PointerRing.h"

#include "foundation/Archive.h"
#include "foundation/ObjectSequence.h"
#include "foundation/Storable.h"

#include <new>

PointerRing::~PointerRing()
{
    while (tail)
        PopFront();
}

PointerRing::Node* PointerRing::InsertAfterTail(void* item)
{
    Node* node = new (std::nothrow) Node{nullptr, item};
    if (!node)
        return nullptr;
    if (tail) {
        node->next = tail->next;
        tail->next = node;
    } else {
        node->next = node;
        tail = node;
    }
    ++count;
    return node;
}

int PointerRing::PushBack(void* item)
{
    Node* node = InsertAfterTail(item);
    if (!node)
        return 0;
    tail = node;
    return 1;
}

int PointerRing::PushFront(void* item) { return InsertAfterTail(item) ? 1 : 0; }

void* PointerRing::PopFront()
{
    if (!tail)
        return nullptr;
    Node* first = tail->next;
    void* item = first->item;
    if (first == tail)
        tail = nullptr;
    else
        tail->next = first->next;
    delete first;
    --count;
    return item;
}

void PointerRing::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteLong(static_cast<int32_t>(count));
        PointerRingIterator walk(*this);
        for (uint32_t i = 0; i < count; ++i)
            archive.WriteObject(static_cast<zStorable*>(walk.Next()));
        return;
    }
    ReadObjectSequence(archive, [this](zStorable* object) { return PushBack(object); });
}

void* PointerRingIterator::Next()
{
    if (!current)
        return nullptr;
    current = current->next;
    void* item = current->item;
    if (current == tail)
        current = nullptr;
    return item;
}
